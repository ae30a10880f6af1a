#include "datafiles/ProjectFile.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/PlausibleRanges.h"
#include "app/TextRoutines.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFilePaths.h"
#include "datafiles/GeneratorViewValues.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectItems.h"
#include "datafiles/ProjectTargets.h"
#include "datafiles/TableFiles.h"
#include "datafiles/ValueBounds.h"
#include "platform/inifile/IniFile.h"

#include <QFileInfo>

#include <functional>
#include <memory>

namespace {

using namespace gridkeys;

const QString kFilesSection = QStringLiteral("Files");
const QString kProjKey = QStringLiteral("proj");
const QString kSetUp = QStringLiteral("SetUp");
// GAP1 and GAP2 have always been written under this spelling; sections match without regard to
// case, so they land in [SetUp].
const QString kSetUpMargins = QStringLiteral("SetUP");
const QString kSetUp2 = QStringLiteral("SetUp2");
const QString kSetUp3 = QStringLiteral("SetUp3");
const QString kSetUp4 = QStringLiteral("SetUp4");

using namespace valuebounds;

// One grid row in a project: file key, grid key, default when the key is missing, whether the
// reader removes thousands dots, and what the value may hold. Every key of a project names its
// bound (a key without one does not compile), so that no value reaches a grid or a box unchecked.
struct GridKey {
    QString FileKey;
    const QString& Row;
    QString Default;
    bool RemoveDots;
    const ValueBound& Bound;
};

const std::vector<GridKey>& MainKeys()
{
    static const std::vector<GridKey> keys = {
        {QStringLiteral("Start_Hz"), kChartStart, QString(), true, kHz},
        {QStringLiteral("Stop_Hz"), kChartStop, QString(), true, kHz},
        {QStringLiteral("High_Pegel"), kHigh, QString(), true, kDbuv},
        {QStringLiteral("Low_Pegel"), kLow, QString(), true, kDbuv},
        {QStringLiteral("Det"), kDetector, QString(), false, kDetectorName},
        {QStringLiteral("Sweep"), kSweep, QString(), true, kSweepMs},
        {QStringLiteral("RBW"), kRbw, QString(), true, kRbwHz},
        {QStringLiteral("SPAN"), kSpan, QString(), true, kSpanHz},
        {QStringLiteral("PREAMP"), kPreAmp, QString(), false, kOnOff},
        {QStringLiteral("LIM1"), kLimit1, QString(), false, kFile},
        {QStringLiteral("LIM2"), kLimit2, QString(), false, kFile},
        {QStringLiteral("CABLE"), kCableCor, QString(), false, kFile},
        {QStringLiteral("AMP"), kAmpCor, QString(), false, kFile},
        {QStringLiteral("ATT"), kAttenuator, QStringLiteral("auto"), false, kAttenuationDb},
        {QStringLiteral("ANT"), kAntCor, QString(), false, kFile},
        {QStringLiteral("LISN"), kLisnCor, QString(), false, kFile},
        {QStringLiteral("SEG1"), kSegSet1, QString(), false, kFile},
        {QStringLiteral("SEG2"), kSegSet2, QString(), false, kFile},
        {QStringLiteral("GAP1"), kMargin1, QString(), false, kMarginDb},
        {QStringLiteral("GAP2"), kMargin2, QString(), false, kMarginDb},
        {QStringLiteral("REP"), kReport, QString(), false, kFile},
    };
    return keys;
}

const std::vector<GridKey>& CoverageKeys()
{
    static const std::vector<GridKey> keys = {
        {QStringLiteral("FREQ_A"), kFreqA, QStringLiteral("140000000"), false, kHz},
        {QStringLiteral("FREQ_B"), kFreqB, QStringLiteral("150000000"), false, kHz},
        {QStringLiteral("FREQ_C"), kFreqC, QStringLiteral("160000000"), false, kHz},
        {QStringLiteral("High_Pegel_dbm"), kHighDbm, QStringLiteral("-10"), false, kDbm},
        {QStringLiteral("Low_Pegel_dbm"), kLowDbm, QStringLiteral("-120"), false, kDbm},
        {QStringLiteral("CABLE"), kCableCor, kNoFile, false, kFile},
        {QStringLiteral("AMP"), kAmpCor, kNoFile, false, kFile},
        {QStringLiteral("ANT"), kAntCor, kNoFile, false, kFile},
        {QStringLiteral("ATT"), kAttenuator, QStringLiteral("auto"), false, kAttenuationDb},
        {QStringLiteral("Det"), kDetector, QStringLiteral("POS"), false, kDetectorName},
        {QStringLiteral("Sweep"), kSweep, QStringLiteral("auto"), true, kSweepMs},
        {QStringLiteral("RBW"), kRbw, QStringLiteral("10000"), true, kRbwHz},
        {QStringLiteral("SPAN"), kSpan, QStringLiteral("20000"), true, kSpanHz},
        {QStringLiteral("PREAMP"), kPreAmp, QStringLiteral("off"), false, kOnOff},
    };
    return keys;
}

const std::vector<GridKey>& GeneratorGridKeys()
{
    static const std::vector<GridKey> keys = {
        {QStringLiteral("AMP"), kAmpCor, kNoFile, false, kFile},
        {QStringLiteral("TC"), kTemCor, kNoFile, false, kFile},
        {QStringLiteral("SEPT"), kSeptum, QStringLiteral("2.8"), false, kSeptumCm},
    };
    return keys;
}

// The generator view's boxes in file order: section, key, the box, its read default and bound.
using GeneratorVisitor = std::function<void(const QString& section, const QString& key, QString& box,
                                            const QString& readDefault, const ValueBound& bound)>;

void VisitGeneratorValues(GeneratorViewValues& g, const GeneratorVisitor& visit)
{
    // The read defaults are the start-up values, except that a project without the sixth band's
    // dwell time reads 10000 ms there.
    const GeneratorViewValues startUp;
    const auto plain = [&](const QString& key, QString& box, const QString& def, const ValueBound& bound) {
        visit(kSetUp3, key, box, def, bound);
    };
    plain(QStringLiteral("T0"), g.T0, startUp.T0, kRampMs);
    plain(QStringLiteral("STEP_U"), g.StepUp, startUp.StepUp, kRampSteps);
    plain(QStringLiteral("T1"), g.T1, startUp.T1, kRampMs);
    plain(QStringLiteral("T2"), g.T2, startUp.T2, kRampMs);
    plain(QStringLiteral("STEP_D"), g.StepDown, startUp.StepDown, kRampSteps);
    plain(QStringLiteral("T3"), g.T3, startUp.T3, kRampMs);
    plain(QStringLiteral("T4"), g.T4, startUp.T4, kRampMs);
    plain(QStringLiteral("FREQ"), g.RampFreq, startUp.RampFreq, kWholeHz);
    plain(QStringLiteral("LPOW"), g.LowPower, startUp.LowPower, kGeneratorDbm);
    plain(QStringLiteral("HPOW"), g.HighPower, startUp.HighPower, kGeneratorDbm);
    for (int i = 0; i < GeneratorViewValues::kFixedRows; ++i)
        plain(QStringLiteral("FixFreq%1Hz").arg(i + 1), g.FixedHz[i], startUp.FixedHz[i], kWholeHz);
    for (int i = 0; i < GeneratorViewValues::kFixedRows; ++i)
        plain(QStringLiteral("FixFreq%1dBm").arg(i + 1), g.FixedDbm[i], startUp.FixedDbm[i], kGeneratorDbm);
    for (int i = 0; i < GeneratorViewValues::kBands; ++i) {
        GeneratorViewValues::Band& b = g.Bands[i];
        const GeneratorViewValues::Band& d = startUp.Bands[i];
        const QString band = QStringLiteral("Band%1").arg(i + 1);
        plain(band + QStringLiteral("StartHz"), b.StartHz, d.StartHz, kWholeHz);
        plain(band + QStringLiteral("StopHz"), b.StopHz, d.StopHz, kWholeHz);
        plain(band + QStringLiteral("StepHz"), b.StepHz, d.StepHz, kStepHz);
        plain(band + QStringLiteral("DwellSec"), b.DwellMs,
              i == GeneratorViewValues::kBands - 1 ? QStringLiteral("10000") : d.DwellMs, kDwellMs);
        plain(band + QStringLiteral("dBm"), b.Dbm, d.Dbm, kGeneratorDbm);
    }
    visit(kSetUp4, QStringLiteral("Freq"), g.ManualFreq, startUp.ManualFreq, kWholeHz);
    visit(kSetUp4, QStringLiteral("Amp"), g.ManualAmp, startUp.ManualAmp, kGeneratorDbm);
    visit(kSetUp4, QStringLiteral("Freq_inc"), g.ManualFreqInc, startUp.ManualFreqInc, kWholeHz);
    visit(kSetUp4, QStringLiteral("Amp_inc"), g.ManualAmpInc, startUp.ManualAmpInc, kStepDb);
}

QString LastProjectPath(const QString& workingFolder)
{
    return workingFolder + QLatin1Char('/') + QLatin1String(kLastProjectFile);
}

SaveDialogSettings ProjectDialog(const QString& title, const QString& fileName)
{
    SaveDialogSettings d = TableSaveDialog(QStringLiteral("prj"), fileName);
    d.Title = title;
    return d;
}

// A grid of targets, or one with its start-up values when the window has none.
struct GridOrDefaults {
    GridOrDefaults(const ParameterGridModel* grid, std::vector<ParameterRow> (*rows)())
    {
        if (grid == nullptr) {
            owned = std::make_unique<ParameterGridModel>(rows());
            grid = owned.get();
        }
        model = grid;
    }
    std::unique_ptr<ParameterGridModel> owned;
    const ParameterGridModel* model;
};

// A value its key cannot hold (a number beyond what the program can set or measure, "nan",
// "1e308", a word the view does not know) is not read: one line names the key, and the cell or
// box keeps what it held, so that the next save cannot write the value back. The key's read
// default, which a missing key gets, is always taken.
bool TakeValue(const DataFileContext& files, const QString& section, const QString& key, const QString& value,
               const QString& readDefault, const ValueBound& bound)
{
    if (value == readDefault || Allows(bound, value))
        return true;
    if (files.Messages != nullptr)
        files.Messages->Append(QStringLiteral("Warning: project value [%1] %2=%3 lies outside %4 and is not read")
                                   .arg(section, key, datafiles::QuoteInMessage(value), AllowedText(bound)));
    return false;
}

void WriteGrid(IniFile& ini, const QString& section, const ParameterGridModel& grid, const std::vector<GridKey>& keys)
{
    for (const GridKey& k : keys) {
        const bool margin = section == kSetUp && (k.Row == kMargin1 || k.Row == kMargin2);
        ini.WriteString(margin ? kSetUpMargins : section, k.FileKey, grid.Value(k.Row));
    }
}

void ReadGrid(const IniFile& ini, const QString& section, ParameterGridModel* grid, const std::vector<GridKey>& keys,
              const DataFileContext& files)
{
    if (grid == nullptr)
        return;
    for (const GridKey& k : keys) {
        // Checked as the grid will hold it: a level "1.000" with its dot removed is 1000.
        const QString v = ini.ReadString(section, k.FileKey, k.Default);
        const QString cell = k.RemoveDots ? RemoveDots(v) : v;
        if (TakeValue(files, section, k.FileKey, cell, k.Default, k.Bound))
            grid->SetValue(k.Row, cell);
    }
}

} // namespace

QString ReadLastProject(const QString& workingFolder, QString* refused)
{
    const IniFile ini(LastProjectPath(workingFolder));
    if (refused != nullptr)
        *refused = ini.LoadError();
    return ini.ReadString(kFilesSection, kProjKey, QString());
}

bool WriteLastProject(const QString& projectName, const DataFileContext& context)
{
    const QString path = LastProjectPath(context.WorkingFolder);
    IniFile ini(path);
    ini.Clear();
    ini.WriteString(kFilesSection, kProjKey, projectName);
    return datafiles::CommitDataFile(ini, path, context);
}

SaveDialogSettings SaveProjectDialog(const QString& workingFolder, QString* refused)
{
    QString name = ReadLastProject(workingFolder, refused);
    if (name.isEmpty())
        name = QStringLiteral("test.prj");
    return ProjectDialog(QStringLiteral("Save project"), name);
}

SaveDialogSettings LoadProjectDialog(const QString& workingFolder, QString* refused)
{
    QString name = ReadLastProject(workingFolder, refused);
    const QString file = name.isEmpty() ? QString() : datafiles::ResolveDataPath(workingFolder, datafiles::SourcePath(name));
    if (file.isEmpty() || !QFileInfo(file).isFile())
        name.clear();
    return ProjectDialog(QStringLiteral("Load project"), name);
}

bool SaveProjectFile(const ProjectTargets& targets, const QString& chosenPath, bool optTgFieldValue)
{
    const QString file = datafiles::AbsoluteSavePath(targets.Files.WorkingFolder, chosenPath);
    IniFile ini(file);
    ini.Clear();
    datafiles::WriteDataFileHeader(ini);
    const GridOrDefaults main(targets.MainGrid, &MainParameterRows);
    const GridOrDefaults coverage(targets.CoverageGrid, &CoverageParameterRows);
    WriteGrid(ini, kSetUp, *main.model, MainKeys());
    WriteGrid(ini, kSetUp2, *coverage.model, CoverageKeys());
    GeneratorViewValues generator = targets.Generator != nullptr ? *targets.Generator : GeneratorViewValues();
    VisitGeneratorValues(generator,
                         [&ini](const QString& section, const QString& key, QString& box, const QString&,
                                const ValueBound&) { ini.WriteString(section, key, box); });
    if (optTgFieldValue) {
        const GridOrDefaults settings(targets.GeneratorGrid, &GeneratorSettingsRows);
        WriteGrid(ini, kSetUp3, *settings.model, GeneratorGridKeys());
    }
    return datafiles::CommitDataFile(ini, file, targets.Files);
}

namespace {

void ReadProject(ProjectTargets& targets, const IniFile& ini, bool optTgFieldValue)
{
    const DataFileContext& files = targets.Files;
    ReadGrid(ini, kSetUp, targets.MainGrid, MainKeys(), files);
    ReadGrid(ini, kSetUp2, targets.CoverageGrid, CoverageKeys(), files);
    if (targets.Generator != nullptr) {
        VisitGeneratorValues(*targets.Generator,
                             [&ini, &files](const QString& section, const QString& key, QString& box,
                                            const QString& def, const ValueBound& bound) {
                                 const QString v = ini.ReadString(section, key, def);
                                 if (TakeValue(files, section, key, v, def, bound))
                                     box = v;
                             });
    }
    if (optTgFieldValue)
        ReadGrid(ini, kSetUp3, targets.GeneratorGrid, GeneratorGridKeys(), files);
}

// A file the INI layer refused (too large, a line too long) is reported with its own reason;
// any other file without the project's section [SetUp] is not a project (a missing key takes its
// default, but a file without the section is some other file).
bool RefuseAsProject(const IniFile& ini, const QString& name, const DataFileContext& files)
{
    if (datafiles::ReportUnreadDataFile(ini, files))
        return true;
    if (ini.SectionExists(kSetUp))
        return false;
    files.Error(QStringLiteral("No project file (no [SetUp] section): ") + datafiles::QuoteInMessage(name));
    return true;
}

} // namespace

void ReadProjectFile(ProjectTargets& targets, const QString& chosenPath, bool optTgFieldValue)
{
    // A foreign file reads as an empty one: every key takes its default. One that is there but
    // was not read (too large, a line too long) is reported and changes nothing.
    const IniFile ini(datafiles::AbsoluteSavePath(targets.Files.WorkingFolder, chosenPath));
    if (!datafiles::ReportUnreadDataFile(ini, targets.Files))
        ReadProject(targets, ini, optTgFieldValue);
}

std::optional<QString> LoadProject(ProjectTargets& targets, const QString& chosenPath, bool optTgFieldValue)
{
    QString name = chosenPath;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = QFileInfo(name).fileName();
    // Read as a project, any other file would empty the grid and name no file in every row. The
    // file is read once: what was checked is what fills the grids.
    const IniFile ini(datafiles::AbsoluteSavePath(targets.Files.WorkingFolder, chosenPath));
    if (RefuseAsProject(ini, name, targets.Files))
        return std::nullopt;
    WriteLastProject(name, targets.Files);
    ReadProject(targets, ini, optTgFieldValue);
    for (const QString& kind : ProjectApplyOrder(optTgFieldValue))
        ApplyProjectFiles(targets, kind);
    if (targets.UpdateMeasureTimeEstimate)
        targets.UpdateMeasureTimeEstimate();
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString MainWindowCaption(const QString& captionProjectText, const QString& captionFileText)
{
    return QStringLiteral("Zendrik ") + captionProjectText + QLatin1Char(' ') + captionFileText;
}
