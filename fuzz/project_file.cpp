// Projects: a ".prj" file read into the grids and applied item by item (axes, limit lines,
// corrections, segment tables) against the shipped data, then every main-grid row committed as if
// the operator had typed its value.
#include "app/Log.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/DataFileDialogs.h"
#include "datafiles/GeneratorViewValues.h"
#include "datafiles/GridInstrument.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ParameterGridValidation.h"
#include "datafiles/ProjectFile.h"
#include "datafiles/ProjectTargets.h"
#include "datafiles/SegmentTable.h"
#include "datafiles/TableBuffer.h"
#include "fuzz/FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <vector>

namespace {

// An axis with the chart's rule: an end past the other one is refused as the chart refuses it.
class CheckedAxis final : public AxisBounds {
public:
    CheckedAxis(double minimum, double maximum) : min_(minimum), max_(maximum) {}
    double Minimum() const override { return min_; }
    double Maximum() const override { return max_; }
    void SetMinimum(double v) override
    {
        if (v > max_)
            throw AxisException(QStringLiteral("Axis Minimum Value must be <= Maximum"));
        min_ = v;
    }
    void SetMaximum(double v) override
    {
        if (v < min_)
            throw AxisException(QStringLiteral("Axis Maximum Value must be >= Minimum"));
        max_ = v;
    }

private:
    double min_;
    double max_;
};

class Instrument final : public GridInstrument {
public:
    bool Connected() const override { return true; }
    int32_t SweepWaitMarginMs() const override { return 3000; }
    void SetDetector(const QString&) override {}
    void SetSweepTime(const QString&) override {}
    void SetRbw(const QString&) override {}
    void SetSpan(const QString&) override {}
    void SetAttenuation(const QString&) override {}
    void SetPreamp(const QString&) override {}
};

class Dialogs final : public DataFileDialogs {
public:
    bool ConfirmLoad(const QString&) override { return true; }
    void ShowError(const QString&) override {}
    void ShowInfo(const QString&) override {}
};

class Chart final : public ChartParent {
public:
    ~Chart() override
    {
        destroying_ = true;
        owned_.clear();
    }
    void Repaint() override {}
    TChartSeriesList& SeriesList() override { return list_; }
    TChartTools& Tools() override { return tools_; }
    bool ChartDestroying() const override { return destroying_; }
    TChartSeries* NewSeries()
    {
        owned_.push_back(std::make_unique<TChartSeries>());
        owned_.back()->SetParentChart(this);
        return owned_.back().get();
    }

private:
    TChartSeriesList list_;
    TChartTools tools_;
    std::vector<std::unique_ptr<TChartSeries>> owned_;
    bool destroying_ = false;
};

// The working folder, made once: the shipped names, so that a project finds the files it names,
// but every table a short one (the tables have their own target, and a 6 GHz limit line drawn on
// the 4 kHz grid for every input would leave no time for the project itself); segment files and
// report headers as shipped.
const QString& WorkingFolder()
{
    static const QString folder = [] {
        const QString root = fuzz::FreshScratchFolder(QStringLiteral("project"));
        const QByteArray table("[General]\r\nName=short\r\n[Data]\r\nFreq1=150000\r\nLev1=66\r\n"
                               "Freq2=500000\r\nLev2=56\r\nFreq3=1000000\r\nLev3=56\r\n");
        for (const char* sub : {"src", "rep"}) {
            const QString from = QStringLiteral(ZENDRIK_SOURCE_DIR "/data/") + QLatin1String(sub);
            const QString to = root + QLatin1Char('/') + QLatin1String(sub);
            QDir().mkpath(to);
            for (const QString& name : QDir(from).entryList(QDir::Files)) {
                const QString suffix = QFileInfo(name).suffix();
                if (suffix == QLatin1String("seg") || suffix == QLatin1String("rep"))
                    QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
                else if (suffix != QLatin1String("prj"))
                    fuzz::WriteScratchFile(QStringLiteral("project/") + QLatin1String(sub) + QLatin1Char('/') + name,
                                           table);
            }
        }
        return root;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = WorkingFolder();
    fuzz::WriteScratchFile(QStringLiteral("project/src/fuzz.prj"),
                           QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    Dialogs dialogs;
    DebugLog debug;
    MessageLog messages;
    ParameterGridModel mainGrid{MainParameterRows()};
    ParameterGridModel coverageGrid{CoverageParameterRows()};
    ParameterGridModel generatorGrid{GeneratorSettingsRows()};
    GeneratorViewValues generator;
    TableBuffer table;
    Chart chart;
    CheckedAxis frequencyAxis{9, 30000};
    CheckedAxis levelAxis{-11, 120};
    CheckedAxis coverageAxis{-110, -10};
    const auto segments1 = std::make_unique<SegmentTable>();
    const auto segments2 = std::make_unique<SegmentTable>();
    CheckListModel list1, list2;
    GridState state;
    Instrument instrument;

    ProjectTargets t;
    t.MainGrid = &mainGrid;
    t.CoverageGrid = &coverageGrid;
    t.GeneratorGrid = &generatorGrid;
    t.Generator = &generator;
    t.Table = &table;
    for (const MainSeriesRow& row : kMainChartSeries)
        t.Series[row.Role] = chart.NewSeries();
    for (TChartSeries** s : {&t.Coverage.cableCorrection, &t.Coverage.amplifierCorrection, &t.Coverage.antennaFactor})
        *s = chart.NewSeries();
    t.FrequencyAxis = &frequencyAxis;
    t.LevelAxis = &levelAxis;
    t.Coverage.levelAxis = &coverageAxis;
    t.Segments = {segments1.get(), segments2.get()};
    t.SegmentLists = {&list1, &list2};
    t.State = &state;
    t.Instrument = &instrument;
    t.Files.WorkingFolder = folder;
    t.Files.Dialogs = &dialogs;
    t.Files.Debug = &debug;
    t.Files.Messages = &messages;
    t.LoadReportHeader = [](const QString&) {};

    ApplyFileLists(mainGrid, ListDataFiles(folder));
    LoadProject(t, QStringLiteral(".\\src\\fuzz.prj"), (size & 1) != 0);
    for (int row = 0; row < mainGrid.RowCount(); ++row) {
        const QString key = mainGrid.Definition(row).Key;
        ValidateParameter(t, key, mainGrid.Value(key));
    }
    fuzz::Check(frequencyAxis.Minimum() <= frequencyAxis.Maximum() && levelAxis.Minimum() <= levelAxis.Maximum(),
                "the axes keep their order");
    fuzz::Check(segments1->Count >= 0 && segments1->Count <= SegmentTable::kMaxSegments &&
                    segments2->Count >= 0 && segments2->Count <= SegmentTable::kMaxSegments,
                "segment tables within their size");
    return 0;
}
