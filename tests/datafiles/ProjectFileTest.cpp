#include "ProjectFixture.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "common/TestSupport.h"
#include "datafiles/ProjectFile.h"
#include "datafiles/ProjectItems.h"
#include "platform/inifile/IniFile.h"

#include <QRegularExpression>

namespace {

using namespace gridkeys;

QStringList ShippedProjects()
{
    return QDir(QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src")).entryList({QStringLiteral("*.prj")}, QDir::Files);
}

// The file without its date line, which says when it was written.
QByteArray WithoutDate(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).remove(QRegularExpression(QStringLiteral("Date=[^\r\n]*"))).toUtf8();
}

int Count(const TChartSeries* s)
{
    return s->Count();
}

TEST(ProjectFile, EveryShippedProjectLoadsAndFillsGridSeriesAndSegmentTables)
{
    const QStringList projects = ShippedProjects();
    ASSERT_GE(projects.size(), 10);
    for (const QString& name : projects) {
        SCOPED_TRACE(name.toStdString());
        ProjectFixture f;
        const IniFile prj(f.dir.filePath(QStringLiteral("src/") + name));
        const std::optional<QString> caption = LoadProject(f.t, QStringLiteral(".\\src\\") + name, false);

        EXPECT_EQ(f.Complaints(), QStringList());
        EXPECT_EQ(caption, "[" + name + "]");
        EXPECT_EQ(ReadLastProject(f.dir.path()), name);
        EXPECT_EQ(f.mainGrid.Value(kLimit1), prj.ReadString("SetUp", "LIM1", ""));
        EXPECT_EQ(f.mainGrid.Value(kChartStop), RemoveDots(prj.ReadString("SetUp", "Stop_Hz", "")));
        EXPECT_EQ(f.frequencyAxis.Maximum(), RoundHalfEven(f.mainGrid.Value(kChartStop).toDouble() / 1000.0));
        EXPECT_EQ(f.levelAxis.Maximum(), f.mainGrid.Value(kHigh).toDouble());
        EXPECT_EQ(f.state.MarginDb[MeasureSet::Set1], 6);
        EXPECT_GT(Count(f.t.Series[SeriesRole::limitLine1]), 1);
        EXPECT_GT(Count(f.t.Series[SeriesRole::limitLine2]), 1);
        EXPECT_EQ(Count(f.t.Series[SeriesRole::marginLine1]), Count(f.t.Series[SeriesRole::limitLine1]));
        EXPECT_DOUBLE_EQ(f.t.Series[SeriesRole::marginLine1]->GetPointY(0),
                         f.t.Series[SeriesRole::limitLine1]->GetPointY(0) - 6);
        for (const auto& [row, series] : {std::pair{kCableCor, f.t.Series[SeriesRole::cableCorrection]},
                                          std::pair{kLisnCor, f.t.Series[SeriesRole::lisnCorrection]},
                                          std::pair{kAmpCor, f.t.Series[SeriesRole::amplifierCorrection]},
                                          std::pair{kAntCor, f.t.Series[SeriesRole::antennaFactor]}})
            EXPECT_EQ(Count(series) > 0, f.mainGrid.Value(row) != kNoFile) << row.toStdString();
        EXPECT_GT(f.segments1.Count, 0);
        EXPECT_GT(f.segments2.Count, 0);
        EXPECT_EQ(f.list2.Count(), f.segments2.Count + 1);
        EXPECT_EQ(Count(f.t.Series[SeriesRole::segmentMarks1]), f.segments1.Count + 1);
        EXPECT_EQ(f.reportsRead, QStringList{".\\rep\\demo.rep"});
    }
}

TEST(ProjectFile, SaveThenLoadGivesBackTheSameFile)
{
    const QStringList projects = ShippedProjects();
    for (int i = 0; i < projects.size(); ++i) {
        const QString& name = projects[i];
        const bool withGenerator = i % 2 == 1; // with and without the generator's option keys
        SCOPED_TRACE(name.toStdString());
        ProjectFixture a;
        LoadProject(a.t, QStringLiteral(".\\src\\") + name, withGenerator);
        ASSERT_TRUE(SaveProjectFile(a.t, QStringLiteral(".\\src\\copy.prj"), withGenerator));
        const QByteArray first = ReadFile(a.dir.filePath(QStringLiteral("src/copy.prj")));

        ProjectFixture b;
        QFile::copy(a.dir.filePath(QStringLiteral("src/copy.prj")), b.dir.filePath(QStringLiteral("src/copy.prj")));
        LoadProject(b.t, QStringLiteral(".\\src\\copy.prj"), withGenerator);
        ASSERT_TRUE(SaveProjectFile(b.t, QStringLiteral(".\\src\\again.prj"), withGenerator));
        EXPECT_EQ(WithoutDate(ReadFile(b.dir.filePath(QStringLiteral("src/again.prj")))), WithoutDate(first));
        EXPECT_EQ(first.contains("SEPT=2.8"), withGenerator);
    }
}

TEST(ProjectFile, KeysDefaultsAndDots)
{
    ProjectFixture f;
    WriteIni(f.dir.path(), QStringLiteral("src/p.prj"),
             {"[SetUP]", "Start_Hz=150.000", "Stop_Hz=30.000.000", "LIM1=none", "GAP1=7", "GAP2=-3",
              "[SetUp2]", "FREQ_A=140.000.000", "Sweep=10.000", "[SetUp3]", "AMP=preamp_20db.amp"});
    f.generator.Bands[5].DwellMs = "1";
    ReadProjectFile(f.t, QStringLiteral(".\\src\\p.prj"), false);
    EXPECT_EQ(f.mainGrid.Value(kChartStart), "150000");
    EXPECT_EQ(f.mainGrid.Value(kMargin1), "7");
    EXPECT_EQ(f.mainGrid.Value(kMargin2), "-3");
    EXPECT_EQ(f.mainGrid.Value(kAttenuator), "auto");
    EXPECT_EQ(f.mainGrid.Value(kDetector), "");
    EXPECT_EQ(f.coverageGrid.Value(kFreqA), "140.000.000");
    EXPECT_EQ(f.coverageGrid.Value(kSweep), "10000");
    EXPECT_EQ(f.coverageGrid.Value(kLowDbm), "-120");
    EXPECT_EQ(f.generator.Bands[5].DwellMs, "10000");
    EXPECT_EQ(f.generator.Bands[4].DwellMs, "1000");
    EXPECT_EQ(f.generator.FixedHz[11], "900.000.000");
    EXPECT_EQ(f.generator.ManualFreqInc, "100.000");
    EXPECT_EQ(f.generatorGrid.Value(kAmpCor), kNoFile); // only read with the option
    ReadProjectFile(f.t, QStringLiteral(".\\src\\p.prj"), true);
    EXPECT_EQ(f.generatorGrid.Value(kAmpCor), "preamp_20db.amp");
    EXPECT_EQ(f.generatorGrid.Value(kSeptum), "2.8");

    ASSERT_TRUE(SaveProjectFile(f.t, QStringLiteral(".\\src\\q.prj"), false));
    const IniFile q(f.dir.filePath(QStringLiteral("src/q.prj")));
    EXPECT_EQ(q.ReadSections(), (QStringList{"Application", "SetUp", "SetUp2", "SetUp3", "SetUp4"}));
    EXPECT_EQ(q.ReadSection("SetUp").mid(17), (QStringList{"SEG2", "GAP1", "GAP2", "REP"}));
    EXPECT_FALSE(q.ValueExists("SetUp3", "AMP"));
}

// A number no analyser or limit can have (one flipped exponent bit) is refused key by key: one
// line each, the row keeps what it showed, and the next save cannot write the value back.
TEST(ProjectFile, ImpossibleNumbersAreRefusedKeyByKeyAndNeverWrittenBack)
{
    ProjectFixture f;
    f.mainGrid.SetValue(kChartStart, "150000");
    WriteIni(f.dir.path(), "src/p.prj", {"[SetUp]", "Start_Hz=nan", "Stop_Hz=30.000.000", "High_Pegel=1e308",
                                         "Low_Pegel=-10,5", "[SetUp2]", "High_Pegel_dbm=-201", "[SetUp3]",
                                         "FixFreq1Hz=2.000.000.000.000", "LPOW=-20"});
    ReadProjectFile(f.t, ".\\src\\p.prj", false);
    const QString line = "Warning: project value [%1] %2=%3 lies outside %4 and is not read";
    EXPECT_EQ(f.messages.Lines(), (QStringList{line.arg("SetUp", "Start_Hz", "nan", "0..1e+12 Hz"),
                                               line.arg("SetUp", "High_Pegel", "1e308", "-200..300 dBuV"),
                                               line.arg("SetUp2", "High_Pegel_dbm", "-201", "-200..200 dBm"),
                                               line.arg("SetUp3", "FixFreq1Hz", "2.000.000.000.000", "whole numbers 0..1e+12 Hz")}));
    EXPECT_TRUE(f.mainGrid.Value(kChartStop) == "30000000" && f.mainGrid.Value(kLow) == "-10,5");
    ASSERT_TRUE(SaveProjectFile(f.t, ".\\src\\q.prj", false));
    EXPECT_EQ(IniFile(f.dir.filePath("src/q.prj")).ReadString("SetUp", "Start_Hz", ""), "150000");
}

// Every key of a project (the generator's option keys too) refuses "nan", infinities, 1e308 and
// values beyond its kind's range with one line naming it; the next save writes what was there.
// Round r gives each key its r-th such value; file names meet the path rules when applied.
TEST(ProjectFile, EveryKeyRefusesWhatItCannotHold)
{
    ProjectFixture f;
    ASSERT_TRUE(SaveProjectFile(f.t, ".\\src\\p.prj", true));
    const QString file = f.dir.filePath("src/p.prj");
    const QByteArray clean = WithoutDate(ReadFile(file));
    const std::pair<const char*, QStringList> beyond[] = {
        {"^(Start_Hz|Stop_Hz|FREQ_.|FREQ|Freq|Freq_inc|FixFreq\\d+Hz|Band\\dSt(art|op)Hz)$", {"-1", "1.000.000.000.001"}},
        {"^(RBW|SPAN|Band\\dStepHz)$", {"0", "1,5"}}, {"^RBW$", {"1000001"}}, {"^(Sweep|ATT)$", {"AUTO", "-1"}},
        {"^Sweep$", {"3000000"}}, {"^ATT$", {"51"}}, {"^GAP.$", {"101", "6.5"}}, {"^(Det|PREAMP)$", {"junk", "pos", "ON"}},
        {"^(High|Low)_Pegel$", {"301"}}, {"dBm$|^(LPOW|HPOW|Amp)$", {"-201", "-20.5"}}, {"_dbm$", {"-201"}},
        {"^STEP_.$", {"31", "2.5"}}, {"^T.$", {"-1", "86400001"}}, {"DwellSec$", {"0", "99999999999"}},
        {"^SEPT$", {"0", "101"}}, {"^Amp_inc$", {"201"}}, {"^(LIM.|CABLE|AMP|ANT|LISN|SEG.|REP|TC)$", {}}};
    for (int round = 0; round < 7; ++round) {
        IniFile ini(file);
        QStringList refused, named;
        for (const QString section : {"SetUp", "SetUp2", "SetUp3", "SetUp4"})
            for (const QString& key : ini.ReadSection(section)) {
                QStringList values = {"nan", "inf", "-inf", "1e308"};
                for (const auto& [pattern, more] : beyond)
                    if (QRegularExpression(pattern).match(key).hasMatch())
                        values = more.isEmpty() ? more : values + more;
                if (round < values.size()) {
                    ini.WriteString(section, key, values[round]);
                    refused << section + "] " + key;
                }
            }
        ASSERT_TRUE(ini.UpdateFile());
        f.messages.Clear();
        ReadProjectFile(f.t, ".\\src\\p.prj", true);
        for (const QString& line : f.messages.Lines())
            named << line.section('[', 1).section('=', 0, 0);
        named.sort();
        refused.sort();
        EXPECT_EQ(named, refused) << round;
        EXPECT_TRUE(round > 0 || refused.size() == 12 + 11 + 65 + 4);
        ASSERT_TRUE(SaveProjectFile(f.t, ".\\src\\p.prj", true));
        EXPECT_EQ(WithoutDate(ReadFile(file)), clean) << round;
    }
}

TEST(ProjectFile, DialogsOfferTheLastProject)
{
    ProjectFixture f;
    EXPECT_EQ(SaveProjectDialog(f.dir.path()).FileName, "test.prj");
    EXPECT_EQ(LoadProjectDialog(f.dir.path()).FileName, "");
    LoadProject(f.t, f.dir.filePath(QStringLiteral("src/conducted_cispr14.prj")), false);
    EXPECT_EQ(SaveProjectDialog(f.dir.path()).FileName, "conducted_cispr14.prj");
    EXPECT_EQ(LoadProjectDialog(f.dir.path()).Title, "Load project");
    EXPECT_EQ(LoadProjectDialog(f.dir.path()).FileName, "conducted_cispr14.prj");
    QFile::remove(f.dir.filePath(QStringLiteral("src/conducted_cispr14.prj")));
    EXPECT_EQ(LoadProjectDialog(f.dir.path()).FileName, "");
    ASSERT_TRUE(testsupport::WriteAll(f.dir.filePath("emc_prj.ini"), "[Files]\r\nproj=" + QByteArray(70000, 'p') + "\r\n"));
    QString refused;
    EXPECT_EQ(SaveProjectDialog(f.dir.path(), &refused).FileName, "test.prj");
    EXPECT_TRUE(refused.startsWith("Cannot read \"" + f.dir.filePath("emc_prj.ini"))) << refused.toStdString();
    EXPECT_EQ(MainWindowCaption("[a.prj]", "x.drw"), "Zendrik [a.prj] x.drw");
}

TEST(ProjectItems, NamesFromFilesFollowThePathRules)
{
    ProjectFixture f;
    QDir().mkpath(f.dir.filePath("src/sub"));
    QFile::copy(f.dir.filePath("src/cable_rg58_5m.cac"), f.dir.filePath("src/sub/Cable.CAC"));
    QFile::copy(f.dir.filePath("src/cispr14_qp.lim"), f.dir.filePath("secret.lim"));
    f.mainGrid.SetValue(kCableCor, "SUB\\cable.cac");
    f.mainGrid.SetValue(kLimit1, "..\\secret.lim");
    f.mainGrid.SetValue(kAntCor, QString(5000, QLatin1Char('x')));
    for (const char* kind : {"CABLE", "LIM1", "ANT"})
        ApplyProjectFiles(f.t, kind);
    EXPECT_GT(f.t.Series[SeriesRole::cableCorrection]->Count(), 0);
    EXPECT_EQ(f.t.Series[SeriesRole::limitLine1]->Count(), 0);
    ASSERT_EQ(f.dialogs.infos.size(), 2);
    EXPECT_EQ(f.dialogs.infos[0], "Limit File not found: .\\src\\..\\secret.lim");
    EXPECT_EQ(f.dialogs.infos[1], "Antenna File not found: .\\src\\" + QString(194, QLatin1Char('x')) + "...");
}

TEST(ProjectItems, ItemsAndTheirEdgeCases)
{
    ProjectFixture f;
    LoadProject(f.t, QStringLiteral(".\\src\\conducted_cispr32_b.prj"), false);
    ASSERT_GT(f.t.Series[SeriesRole::cableCorrection]->Count(), 0);

    // Start equal to stop leaves the axis; a proper range is set in whole kHz.
    f.mainGrid.SetValue(kChartStart, "150.000");
    f.mainGrid.SetValue(kChartStop, "150000");
    ApplyProjectFiles(f.t, "START_HZ");
    EXPECT_EQ(std::pair(f.frequencyAxis.Minimum(), f.frequencyAxis.Maximum()), (std::pair<double, double>(150, 30000)));
    f.mainGrid.SetValue(kChartStart, "9000");
    f.mainGrid.SetValue(kChartStop, "1.000.000");
    ApplyProjectFiles(f.t, "STOP_HZ");
    EXPECT_EQ(std::pair(f.frequencyAxis.Minimum(), f.frequencyAxis.Maximum()), (std::pair<double, double>(9, 1000)));

    // A level range wholly below the old one: both ends are set without a refusal.
    f.mainGrid.SetValue(kHigh, "-20");
    f.mainGrid.SetValue(kLow, "-90");
    ApplyProjectFiles(f.t, "LIM1");
    EXPECT_EQ(std::pair(f.levelAxis.Minimum(), f.levelAxis.Maximum()), (std::pair<double, double>(-90, -20)));
    EXPECT_EQ(f.Complaints(), QStringList());

    f.mainGrid.SetValue(kLimit1, kNoFile);
    f.mainGrid.SetValue(kCableCor, kNoFile);
    f.mainGrid.SetValue(kSegSet1, kNoFile);
    f.mainGrid.SetValue(kMargin1, "abc");
    for (const char* kind : {"LIM1", "CABLE", "SEG1", "GAP1", "NOSUCH", "lim2"})
        ApplyProjectFiles(f.t, kind);
    EXPECT_EQ(f.t.Series[SeriesRole::limitLine1]->Count(), 0);
    EXPECT_EQ(f.t.Series[SeriesRole::marginLine1]->Count(), 0);
    // A correction "none" is no correction, whatever was loaded before.
    EXPECT_EQ(f.t.Series[SeriesRole::cableCorrection]->Count(), 0);
    EXPECT_EQ(f.segments1.Count, 0);
    EXPECT_EQ(f.list1.Count(), 1);
    EXPECT_EQ(f.state.MarginDb[MeasureSet::Set1], 6);
    EXPECT_GT(f.t.Series[SeriesRole::limitLine2]->Count(), 0);

    f.mainGrid.SetValue(kSegSet2, "gone.seg");
    ApplyProjectFiles(f.t, "SEG2");
    EXPECT_EQ(f.dialogs.infos, QStringList{"SEG2 File not found: .\\src\\gone.seg"});
    EXPECT_EQ(f.segments2.Count, 0);
    EXPECT_EQ(f.list2.Count(), 1);

    // A table that draws nothing, or that is refused, is said at once and refuses a run with the
    // same reason, as a missing one does.
    WriteIni(f.dir.filePath("src"), "one.ant", {"[Data]", "Freq1=2000", "Lev1=1"});
    WriteIni(f.dir.filePath("src"), "fall.ant", {"[Data]", "Freq1=2000", "Lev1=1", "Freq2=1000", "Lev2=2"});
    for (const char* file : {"one.ant", "fall.ant"}) {
        f.mainGrid.SetValue(kAntCor, file);
        ApplyProjectFiles(f.t, "ANT");
    }
    const QString fall = "Antenna File not usable: .\\src\\fall.ant";
    const QString row = " (row 2: the frequency 1000 Hz lies below the 2000 Hz of row 1)";
    EXPECT_EQ(f.dialogs.errors, QStringList({"Error: Antenna File not usable: .\\src\\one.ant (no two of its points draw a line)",
                                             "Error: " + fall + row}));
    EXPECT_EQ(datafiles::MissingCorrection(f.t), fall + row);
    f.mainGrid.SetValue(kAntCor, "gone.ant");
    EXPECT_EQ(datafiles::MissingCorrection(f.t), "Antenna File not found: .\\src\\gone.ant");

    // The coverage view: level axis and its corrections, with the cable read-out in the debug log.
    f.coverageGrid.SetValue(kHighDbm, "-200");
    f.coverageGrid.SetValue(kLowDbm, "-100");
    f.coverageGrid.SetValue(kCableCor, "cable_rg58_5m.cac");
    for (const char* kind : {"High_dBm", "Low_dBm", "CABLE_FF"})
        ApplyProjectFiles(f.t, kind);
    EXPECT_EQ(f.coverageAxis.Maximum(), -10);
    EXPECT_EQ(f.coverageAxis.Minimum(), -100);
    EXPECT_GT(f.t.Coverage.cableCorrection->Count(), 0);
    EXPECT_TRUE(f.debug.Lines().filter(QRegularExpression("Cable FREQ_B:150000000Hz :-[0-9.]+dB$")).size() == 1)
        << f.debug.Lines().join('\n').toStdString();
}

// A limit file, a segment file and a project grown past the size a data file may have are refused
// unread, each with one message naming it, shown the way the reader shows its other failures.
TEST(ProjectFile, FilesTooLargeAreRefusedUnreadWithAMessageNamingThem)
{
    ProjectFixture f;
    LoadProject(f.t, QStringLiteral(".\\src\\conducted_cispr32_b.prj"), false);
    ASSERT_EQ(f.Complaints(), QStringList());
    const auto grow = [&f](const QString& name) {
        QFile file(f.dir.filePath("src/" + name));
        EXPECT_TRUE(file.resize(IniFile::kMaxFileBytes + 1)) << name.toStdString();
        return "Error: Cannot read \"" + file.fileName() +
               "\": it holds 67108865 bytes, more than the 67108864 a settings or data file may hold";
    };

    // The table reader: an error box and the same line in the message log.
    const QString limit = grow(f.mainGrid.Value(kLimit1));
    ApplyProjectFiles(f.t, "LIM1");
    EXPECT_EQ(f.Complaints(), QStringList({limit, limit}));
    EXPECT_EQ(f.t.Series[SeriesRole::limitLine1]->Count(), 0);

    // The segment loader: one line naming the file, as for a bad segment, and no box.
    f.dialogs.errors.clear();
    f.messages.Clear();
    const QString segments = f.mainGrid.Value(kSegSet1);
    const QString unread = grow(segments).mid(7);
    ApplyProjectFiles(f.t, "SEG1");
    EXPECT_EQ(f.Complaints(), QStringList{"Error: SEG1 File holds no segment: .\\src\\" + segments + " (" + unread + ")"});
    EXPECT_EQ(f.segments1.Count, 0);

    // "Load Proj": the size is the reason given, and the grid keeps what it held.
    f.dialogs.errors.clear();
    f.messages.Clear();
    ASSERT_TRUE(QFile::copy(f.dir.filePath("src/conducted_cispr14.prj"), f.dir.filePath("src/big.prj")));
    const QString project = grow("big.prj");
    QStringList before;
    for (int r = 0; r < f.mainGrid.rowCount(); ++r)
        before << f.mainGrid.data(f.mainGrid.index(r, 1)).toString();
    EXPECT_FALSE(LoadProject(f.t, QStringLiteral(".\\src\\big.prj"), false));
    EXPECT_EQ(f.Complaints(), QStringList({project, project}));
    for (int r = 0; r < f.mainGrid.rowCount(); ++r)
        EXPECT_EQ(f.mainGrid.data(f.mainGrid.index(r, 1)).toString(), before[r]) << r;
}

TEST(SegmentTable, ErrorQuotesAtMost200CharactersOfABadValue)
{
    ProjectFixture f;
    const QString bad(60'000, QLatin1Char('7'));
    WriteIni(f.dir.path(), "src/big.seg", {"[Data]", "FRQa__1=1x" + bad});
    f.mainGrid.SetValue(kSegSet1, "big.seg");
    ApplyProjectFiles(f.t, "SEG1");
    EXPECT_EQ(f.Complaints(), QStringList{"Error: SEG1 File holds no segment: .\\src\\big.seg (Segment File Error Seg: 1 1x" +
                                          bad.left(198) + "...)"});
}

} // namespace
