// Peak re-measurement against the simulated analysers: each selected peak listed with the grid's
// detector, bandwidth and sweep time and the level the analyser measured with that detector,
// corrected with the correction chain; the refusals, and Stop during a dwell.
#include "RunFixture.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "measurement/PeakRemeasure.h"

#include <cmath>
#include <mutex>

namespace {

using L = QStringList;

// What the analyser was set to and measured when the program read a level.
struct Reading {
    QString detector;
    double rbwHz;
    double markerHz;
    double levelDbuv;
};

// Records them from the simulator's command log, in its thread, before the answer goes out.
struct ReadingRecorder {
    explicit ReadingRecorder(SimInstrument& instrument) : inst(instrument)
    {
        instrument.SetLogSink([&instrument, shared = shared](const SimLogEntry& e) {
            const QByteArray m = e.message.trimmed();
            if (m != ":CALC:MARK1:Y?" && m != ":TRACE:DATA?")
                return;
            const SimSettings& s = instrument.State();
            Reading r{s.detector, s.rbwHz, m == ":TRACE:DATA?" ? (s.startHz + s.stopHz) / 2 : s.markerHz, 0};
            r.levelDbuv = m == ":CALC:MARK1:Y?" && s.markerAtPeak ? s.markerPeakDbuv : instrument.LevelAt(r.markerHz);
            std::lock_guard<std::mutex> lock(shared->first);
            shared->second.push_back(r);
        });
    }
    ~ReadingRecorder() { inst.SetLogSink({}); }
    std::vector<Reading> Readings() const
    {
        std::lock_guard<std::mutex> lock(shared->first);
        return shared->second;
    }
    SimInstrument& inst;
    std::shared_ptr<std::pair<std::mutex, std::vector<Reading>>> shared =
        std::make_shared<std::pair<std::mutex, std::vector<Reading>>>();
};

// A set-1 peak list at the first emission lines of the simulator, with a cable correction that
// rises with frequency so that every peak gets its own correction.
struct Remeasure : RunFixture {
    explicit Remeasure(const char* family, int lines = 3)
    {
        Connect(family, false);
        FillLine(chart.cable, {{0, 1.0}, {2000000, 5.0}});
        for (int i = 0; i < lines; ++i)
            peakCommands.Peaks(MeasureSet::Set1).AddPeak(LineKhz(i), 40.0 + i, 50.0);
    }
    double LineKhz(int i) const { return sim->Instrument().Spectrum().Lines()[static_cast<size_t>(i)].frequencyHz / 1000; }
    double Cable(double khz) const { return 1.0 + 4.0 * std::nearbyint(khz) / 2000000; }
    PeakLists& Peaks() { return peakCommands.Peaks(MeasureSet::Set1); }
    QString Measured(int row) const { return const_cast<Remeasure*>(this)->Peaks().MeasureLines.stringList().value(row); }
    RemeasureGrid grid{"1000000", "120000", "QPEAK", "10", "off", "5000"};
};

double Number(const QString& text) { return ParseMachine(text).value_or(NAN); }

} // namespace

TEST(PeakRemeasure, IgnoreDriftOnRigolListsTheSimulatorsLevelWithTheGridsSettings)
{
    Remeasure f("dsa815");
    ReadingRecorder recorder(f.sim->Instrument());
    f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {2, 0}, f.grid);

    const std::vector<Reading> r = recorder.Readings();
    ASSERT_EQ(r.size(), 2u);
    const PeakLists& p = f.Peaks();
    ASSERT_EQ(p.MeasureLines.rowCount(), 2);
    for (int k = 0; k < 2; ++k) {
        const int peak = k == 0 ? 0 : 2;
        const double x = f.LineKhz(peak);
        EXPECT_EQ(r[k].detector, "QPE");
        EXPECT_EQ(r[k].rbwHz, 120000);
        EXPECT_EQ(r[k].markerHz, x * 1000);
        const double corrected = r[k].levelDbuv - f.Cable(x);
        EXPECT_EQ(f.Measured(k), QString::number(peak + 1) + "  [QPEAK] " + FormatMachineFixed(x, 2) + "kHz --> " +
                                     FormatMachineFixed(x, 2) + "kHz " + FormatMachineFixed(corrected, 2) + "dBuV");
        EXPECT_NEAR(Number(p.MeasureLevels.stringList()[k]), corrected, 0.0051);
        EXPECT_EQ(p.MeasureFreqs.stringList()[k], FormatMachineFixed(x, 2));
        const int row = peak + 2;
        EXPECT_EQ((L{p.Grid.Cell(row, 5), p.Grid.Cell(row, 6), p.Grid.Cell(row, 8), p.Grid.Cell(row, 9),
                     p.Grid.Cell(row, 10)}),
                  (L{"QPEAK", FormatMachineFixed(x, 0), "", "120000", "5000"}));
        EXPECT_NEAR(Number(p.Grid.Cell(row, 7)), corrected, 0.0051);
    }
    EXPECT_EQ(p.Grid.Cell(3, 5), ""); // the unselected peak
    EXPECT_EQ(f.Lines("Info: set1 measure peak"), (L{"Info: set1 measure peak 1", "Info: set1 measure peak 3"}));
    EXPECT_EQ(f.Lines("Info: data estimated at: ").size(), 2);
    EXPECT_EQ(f.Lines("Info: peaks seg"), L{"Info: peaks seg 1 done"});
    EXPECT_TRUE(f.work.Controls.PlayEnabled);
    EXPECT_FALSE(f.work.Controls.StopEnabled);

    // The first peak's commands in order: the sweep time of the grid in seconds, the marker
    // switched on at the centre, the level read with a sweep.
    const QString centre = QString::number(std::llround(f.LineKhz(0) * 1000));
    const L first = f.SimLog(0, 28);
    EXPECT_EQ(first, (L{":INIT:CONT 0", ":CALC:MARK1:STAT OFF", "*CLS", ":UNIT:POW DBUV", ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;",
                        ":CAL:AUTO OFF", ":SENS:SWE:TIME:AUTO OFF", ":SENS:FREQ:CENT " + centre, ":SENS:FREQ:CENT?",
                        ":SENS:FREQ:SPAN 1000000",
                        ":SENS:BAND:EMIF:STAT?", ":SENS:BAND:EMIF:STAT ON", ":SENS:BAND:RES 120000",
                        ":SENS:DET:FUNC QPE", ":SENS:POW:RF:ATT 10", ":SENS:POW:GAIN OFF", ":SENS:SWE:TIME:AUTO OFF",
                        ":SENS:SWE:TIME 5", ":SENS:BAND:EMIF:STAT?", ":SENS:BAND:RES 120000", ":INIT:IMM",
                        ":SENS:SWE:TIME?", ":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON", ":CALC:MARK1:Y?",
                        ":INIT:CONT 1", ":INIT:CONT 0", ":CALC:MARK1:STAT OFF"}));
}

TEST(PeakRemeasure, ConsiderDriftTakesTheMarkerPeakOfTheSiglent)
{
    Remeasure f("ssa3032x", 2);
    f.switches.UseCompensation = true;
    FillLine(f.chart.compensation1, {{0, 2.0}, {4000000, 2.0}});
    ReadingRecorder recorder(f.sim->Instrument());
    f.grid.Detector = "POS";
    f.grid.SweepMs = "auto";
    f.grid.SpanHz = "100000";
    f.grid.RbwHz = "9000";
    f.peakCommands.MeasurePeaks(DriftHandling::Consider, {1}, f.grid);

    const std::vector<Reading> r = recorder.Readings();
    ASSERT_EQ(r.size(), 1u);
    const double fk = Number(f.Peaks().MeasureFreqs.stringList().value(0));
    EXPECT_NEAR(fk, r[0].markerHz / 1000, 0.0051); // two decimals in the list
    EXPECT_NEAR(fk, f.LineKhz(1), 100.0 / 751); // within one trace point of the line
    // dBm from the analyser, dBuV in the list; the compensation counts against the correction.
    EXPECT_NEAR(Number(f.Peaks().MeasureLevels.stringList().value(0)), r[0].levelDbuv - (f.Cable(fk) - 2.0), 0.0051);
    EXPECT_TRUE(f.SimLog().contains(":SENS:SWE:TIME:AUTO ON"));
    EXPECT_TRUE(f.SimLog().contains(":CALC:MARK1:X?"));

    // A level or a frequency no analyser reports: one line, the command ends before peak 2, no "done".
    for (const SimFaults faults : {SimFaults{.hugeValue = true}, SimFaults{.nanFrequency = true}})
        f.sim->Instrument().SetFaults(faults), f.peakCommands.MeasurePeaks(DriftHandling::Consider, {0, 1}, f.grid);
    EXPECT_EQ(f.Lines("Error: "), (L{"Error: the analyser sent a level of 1e+308 dBm; the marker level is refused",
                                     "Error: the analyser sent a frequency of nan Hz; the marker frequency is refused"}));
    EXPECT_EQ(f.Lines("Warning: "), L(2, "Warning: set1 peaks not measured: 1, 2"));
    EXPECT_TRUE(f.Lines("Info: set1 measure peak").size() == 3 && f.Lines("Info: peaks seg").size() == 1);
}

TEST(PeakRemeasure, ReceiverMeasuresAtTheFixedFrequency)
{
    Remeasure f("fpc1000", 1);
    ReadingRecorder recorder(f.sim->Instrument());
    f.grid.Detector = "VAV";
    f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {0}, f.grid);
    const std::vector<Reading> r = recorder.Readings();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].markerHz, f.LineKhz(0) * 1000);
    EXPECT_EQ(r[0].detector, "AVER");
    EXPECT_NEAR(Number(f.Peaks().MeasureLevels.stringList().value(0)), r[0].levelDbuv - f.Cable(f.LineKhz(0)), 0.0051);
    const L log = f.SimLog();
    EXPECT_TRUE(log.contains(":SENS:FREQ:MODE FIX"));
    EXPECT_EQ(log.mid(log.lastIndexOf("*OPC;*ESR?") + 1, 1), L{":TRACE:DATA?"}); // after the handshake
    EXPECT_FALSE(log.contains(":SENS:SWE:TIME 5")); // the receiver takes no sweep time

    // A level NaN or beyond reason ends it; a measurement never done, after a point's time and margins.
    const L kept = f.Peaks().MeasureLines.stringList();
    for (const SimFaults faults : {SimFaults{.nanValue = true}, {.hugeValue = true}, {.sweepNeverCompletes = true}})
        f.sim->Instrument().SetFaults(faults), f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {0}, f.grid);
    EXPECT_EQ(f.Lines("Error: "), (L{"Error: the analyser sent a level of nan dBm; the marker level is refused",
                                     "Error: the analyser sent a level of 1e+308 dBm; the marker level is refused",
                                     "Error: the analyser reported no end of its sweep within 14 s, measurement stopped"}));
    EXPECT_EQ(f.Lines("Warning: "), L(3, "Warning: set1 peaks not measured: 1"));
    EXPECT_EQ(f.Peaks().MeasureLines.stringList(), kept); // no result, so the last ones stay
    EXPECT_EQ(f.Lines("Info: peaks seg"), L{"Info: peaks seg 1 done"}); // and no "done" for any
}

TEST(PeakRemeasure, RefusalsLeaveTheListsAlone)
{
    Remeasure f("fpc1000", 2);
    f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {0}, f.grid);
    const L before = f.Peaks().MeasureLines.stringList();
    ASSERT_EQ(before.size(), 1);
    // The last write of the measurement may still be on its way: a query answered means the
    // analyser has taken everything before it.
    ScpiWrite(f.visa, f.debug, "*IDN?");
    VisaReadLine(f.visa);
    const size_t sent = f.SimLog().size();

    // A drift search is not possible in receiver mode; no selection measures nothing.
    f.peakCommands.MeasurePeaks(DriftHandling::Consider, {0}, f.grid);
    f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {}, f.grid);
    EXPECT_EQ(f.host.errorBoxes, L{"Sorry, not possible because of R&S receiver mode "});
    // Without a device: the box, and the last results stay (only the analyser could give them again).
    f.device.DeviceConnected = 0;
    f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {0}, f.grid);
    EXPECT_EQ(f.host.errorBoxes.last(), "No Device selected");
    EXPECT_EQ(f.SimLog().size(), sent);
    EXPECT_EQ(f.Peaks().MeasureLines.stringList(), before);
    EXPECT_TRUE(f.work.Controls.PlayEnabled);

    // A refused grid value: a box per peak, no result (the last ones stay), the loop goes on.
    f.device.DeviceConnected = 1;
    f.host.errorBoxes.clear();
    f.grid.AttenuatorDb = "not valid";
    f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {0, 1}, f.grid);
    EXPECT_EQ(f.host.errorBoxes, (L{"Error: ATT not set", "Error: ATT not set"}));
    EXPECT_EQ(f.Peaks().MeasureLines.stringList(), before);
    EXPECT_EQ(f.Peaks().Grid.Cell(2, 5), "QPEAK");

    // A peak beyond the analyser's range (on a chart of another analyser): one line, no result.
    f.Peaks().AddPeak(1.2e6, 40, 50);
    f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {2}, f.grid);
    EXPECT_EQ(f.Lines("Warning: "), L{"Warning: 1.200.000.000 Hz lies beyond the analyser's range (it tuned to " +
                                      InsertThousandDots(QString::number(std::llround(f.LineKhz(1) * 1000))) +
                                      " Hz); the peak is not measured"});
    EXPECT_EQ(f.Peaks().MeasureLines.stringList(), before);
}

TEST(PeakRemeasure, SweepTimeTextsOfTheGrid)
{
    Remeasure f("dsa815", 0);
    PeakRemeasureContext c{f.scpi, f.state, f.host, f.chart.series, f.switches};
    for (auto [sweepMs, sent] : {std::pair<QString, L>{"AUTO", {":SENS:SWE:TIME:AUTO ON"}},
                                 {"2999999", {":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME 2999.999"}},
                                 {"0", {}}, {"3000001", {}}}) {
        f.sim->Instrument().ClearCommandLog();
        f.grid.SweepMs = sweepMs;
        MeasurePeakLevel(c, f.grid, 30000000, PeakLevelMode::MarkerAtFrequency);
        const L log = f.SimLog();
        // Between the preamplifier and the second bandwidth command.
        const qsizetype from = log.indexOf(":SENS:POW:GAIN OFF") + 1;
        EXPECT_EQ(log.mid(from, log.lastIndexOf(":SENS:BAND:EMIF:STAT?") - from), sent) << sweepMs.toStdString();
    }
}

TEST(PeakRemeasure, StopDuringTheDwellDropsThatPeakAndEndsTheLoop)
{
    Remeasure f("dsa815");
    f.switches.Beep = true;
    // The estimate wait is 6 s + 8 s per peak after three 1 s settling waits: stop inside the
    // second peak's wait.
    f.pump.Schedule(25000, [&f] { f.run->Stop(); });
    f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {0, 1, 2}, f.grid);
    EXPECT_EQ(f.Peaks().MeasureLines.rowCount(), 1);
    EXPECT_TRUE(f.Peaks().MeasureLines.stringList()[0].startsWith("1  [QPEAK]"));
    EXPECT_EQ(f.Lines("Info: set1 measure peak").size(), 2);
    EXPECT_EQ(f.Lines("Warning: "), L{"Warning: set1 peaks not measured: 2, 3"});
    EXPECT_EQ(f.host.beeps, (L{"2000/300", "2000/300", "1000/300", "2000/300"}));
    EXPECT_TRUE(f.work.Controls.PlayEnabled);
    EXPECT_FALSE(f.work.Controls.Busy);
}

// The close request sees the re-measurement as work that goes: it stops it, and the window
// closes once the command has returned, the session closed first.
TEST(PeakRemeasure, ClosingDuringARemeasurementWaitsForItsEnd)
{
    Remeasure f("dsa815");
    bool closeAllowed = true;
    f.pump.Schedule(10000, [&f, &closeAllowed] { closeAllowed = f.run->RequestClose(); });
    f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {0, 1, 2}, f.grid);
    EXPECT_FALSE(closeAllowed);
    EXPECT_EQ(f.Lines("Info: set1 measure peak").size(), 1);
    EXPECT_EQ(f.host.closes, 1);
    EXPECT_EQ(f.visa.VisaSession, 0u);
    EXPECT_FALSE(f.work.Running());
}

// A link that closes or falls silent ends the command at once with the receivers' one line, no
// "done", and the results of the command before kept.
TEST(PeakRemeasure, ALostLinkEndsTheCommandWithOneLine)
{
    for (const char* fault : {"drop=3", "freeze=3"})
        for (const char* family : {"dsa815", "ssa3032x"}) {
            SCOPED_TRACE(std::string(family) + " " + fault);
            Remeasure f(family);
            f.debug.DebugMode = 1;
            f.SetTimeoutMs(50);
            f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {1}, f.grid);
            const L before = f.Peaks().MeasureLines.stringList() << f.Peaks().Grid.Cell(3, 7);
            const uint32_t start = f.pump.TickCount();
            SimFaults faults;
            faults.Parse(fault, nullptr);
            f.sim->Instrument().SetFaults(faults);
            size_t sent = 0;
            QObject::connect(&f.messages, &MessageLog::LineAppended, [&f, &sent](const QString& line) {
                sent = line.startsWith("Error: ") ? f.sim->Instrument().CommandLog().size() : sent;
            });
            f.peakCommands.MeasurePeaks(DriftHandling::Ignore, {0, 1, 2}, f.grid);
            EXPECT_EQ(f.Lines("Error: "), L{"Error: the link to the analyser was lost, measurement stopped"});
            EXPECT_EQ(f.Lines("Warning: ") + f.host.errorBoxes, L{"Warning: set1 peaks not measured: 1, 2, 3"});
            EXPECT_EQ(f.Lines("Info: set1 measure peak").size(), 2);
            EXPECT_EQ(f.Lines("Info: peaks seg"), L{"Info: peaks seg 1 done"});
            EXPECT_EQ(f.Peaks().MeasureLines.stringList() << f.Peaks().Grid.Cell(3, 7), before);
            EXPECT_EQ(f.device.DeviceConnected, 0);
            EXPECT_LT(f.pump.TickCount() - start, 10000u);
            EXPECT_EQ(f.sim->Instrument().CommandLog().size(), sent);
        }
}
