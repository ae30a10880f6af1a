#include "RunFixture.h"

#include <atomic>
#include <unistd.h>

void FillLine(TChartSeries& s, std::initializer_list<std::pair<double, double>> points)
{
    s.Clear();
    for (const auto& [x, y] : points)
        s.AddPointXY(x, y);
}

RunFixture::RunFixture()
{
    debug.TimeText = [] { return QStringLiteral("T"); };
    visa.ShowErrorDialog = [this](const QString& t) { host.errorBoxes << t; };
}

RunFixture::~RunFixture()
{
    run.reset();
    CloseVisaSessions(visa);
    if (sim)
        sim->Stop();
}

void RunFixture::Connect(const QString& family, bool vxi11, SimFaults faults)
{
    SimulatorOptions o;
    o.family = family;
    o.seed = 1;
    // Sweeps take no noticeable real time; the program's own waits run on the virtual clock.
    o.timeScale = 1e-6;
    o.faults = faults;
    BuiltinVisaOptions vo;
    if (vxi11) {
        // A program number of this process and test, so that parallel test programs do not meet
        // in rpcbind.
        static std::atomic<uint32_t> counter{0};
        o.vxi11 = true;
        o.vxi11Program = 0x40000000u | ((static_cast<uint32_t>(::getpid()) << 6 | (counter++ & 63u)) & 0x1FFFFFFFu);
        vo.vxi11.program = o.vxi11Program;
    } else {
        o.tcpPort = 0;
    }
    sim = std::make_unique<Simulator>(o);
    QString error;
    ASSERT_TRUE(sim->Start(&error)) << error.toStdString();
    LoadVisaLibrary(visa, debug, std::make_unique<BuiltinVisaBackEnd>(vo));
    const QString resource = vxi11 ? TcpResourceName("127.0.0.1")
                                   : "TCPIP0::127.0.0.1::" + QString::number(sim->TcpPort()) + "::SOCKET";
    ASSERT_TRUE(ConnectInstrument(scpi, resource, true).Identified);
    sim->Instrument().ClearCommandLog();
}

void RunFixture::ConnectScripted(std::shared_ptr<ScriptedPeer> peer, int32_t family, int32_t model)
{
    auto backEnd = std::make_unique<BuiltinVisaBackEnd>();
    BuiltinVisaBackEnd* b = backEnd.get();
    LoadVisaLibrary(visa, debug, std::move(backEnd));
    ASSERT_EQ(visa.VisaLibrary->viOpenDefaultRM(&visa.VisaResourceManager), visa::VI_SUCCESS);
    ASSERT_EQ(b->OpenWithTransport(visa.VisaResourceManager, "TCPIP0::scripted::INSTR",
                                   std::make_unique<ScriptedTransport>(std::move(peer)), &visa.VisaSession),
              visa::VI_SUCCESS);
    device.DeviceFamily = static_cast<DeviceFamilyCode>(family);
    device.DeviceModel = model;
    device.DeviceConnected = true;
}

void RunFixture::AddSegment(MeasureSet set, int64_t startHz, int64_t stopHz, const QString& rbw, int sweepMs,
                            const QString& detector)
{
    SegmentTable& t = *context.Tables[set];
    CheckListModel& checks = *context.SegmentChecks[set];
    if (checks.Count() == 0)
        checks.AddRow("all", true);
    SegmentRecord& r = t.Segment(++t.Count);
    r = {startHz, stopHz, rbw, sweepMs, 10, "off", detector};
    t.TotalTimeMs += sweepMs + device.SweepWaitMarginMs + 3000;
    checks.AddRow(QString::number(t.Count), true);
}

void RunFixture::SetTimeoutMs(uint32_t ms)
{
    visa.VisaLibrary->viSetAttribute(visa.VisaSession, visa::VI_ATTR_TMO_VALUE, ms);
}

QStringList RunFixture::SimLog(size_t from, size_t to) const
{
    QStringList out;
    const std::vector<SimLogEntry> log = sim->Instrument().CommandLog();
    for (size_t i = from; i < std::min(to, log.size()); ++i)
        out << QString::fromLatin1(log[i].message);
    return out;
}

QStringList RunFixture::Lines(const QString& prefix) const
{
    QStringList out;
    for (const QString& l : messages.Lines())
        if (l.startsWith(prefix))
            out << l;
    return out;
}

QStringList RunFixture::RunLines() const
{
    QStringList out;
    for (const QString& l : Lines("Info: measurement"))
        if (!l.contains("calc") && !l.contains("master") && !l.contains("set1") && !l.contains("set2"))
            out << l;
    return out;
}
