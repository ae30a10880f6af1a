#ifndef ZENDRIK_TESTS_DATAFILES_PROJECTFIXTURE_H
#define ZENDRIK_TESTS_DATAFILES_PROJECTFIXTURE_H

#include "ChartFake.h"
#include "DataFilesTestSupport.h"

#include "app/Log.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/GeneratorViewValues.h"
#include "datafiles/GridInstrument.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectTargets.h"
#include "datafiles/SegmentTable.h"
#include "datafiles/TableBuffer.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

// An axis with the chart library's rule: a minimum above the maximum (or the reverse) is refused.
class CheckedAxis : public AxisBounds {
public:
    CheckedAxis(double minimum, double maximum) : min_(minimum), max_(maximum) {}
    double Minimum() const override { return min_; }
    double Maximum() const override { return max_; }
    void SetMinimum(double v) override
    {
        if (v > max_)
            throw std::logic_error("Axis Minimum Value must be <= Maximum");
        min_ = v;
    }
    void SetMaximum(double v) override
    {
        if (v < min_)
            throw std::logic_error("Axis Maximum Value must be >= Minimum");
        max_ = v;
    }

private:
    double min_;
    double max_;
};

// Records what the grid sends; connected unless told otherwise.
class RecordingInstrument : public GridInstrument {
public:
    bool connected = true;
    QStringList sent;

    bool Connected() const override { return connected; }
    int32_t SweepWaitMarginMs() const override { return 3000; }
    void SetDetector(const QString& v) override { sent << "DET " + v; }
    void SetSweepTime(const QString& v) override { sent << "SWT " + v; }
    void SetRbw(const QString& v) override { sent << "RBW " + v; }
    void SetSpan(const QString& v) override { sent << "SPAN " + v; }
    void SetAttenuation(const QString& v) override { sent << "ATT " + v; }
    void SetPreamp(const QString& v) override { sent << "PRE " + v; }
};

// A working folder holding the shipped data (src/, rep/) and everything a project fills: the
// three grids, the generator values, the table buffer, the series, axes, segment tables and
// check lists of a main window.
struct ProjectFixture {
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    DebugLog debug;
    MessageLog messages;
    ParameterGridModel mainGrid{MainParameterRows()};
    ParameterGridModel coverageGrid{CoverageParameterRows()};
    ParameterGridModel generatorGrid{GeneratorSettingsRows()};
    GeneratorViewValues generator;
    TableBuffer table;
    CountingChart chart;
    CheckedAxis frequencyAxis{9, 30000};
    CheckedAxis levelAxis{-11, 120};
    CheckedAxis coverageAxis{-110, -10};
    SegmentTable segments1, segments2;
    CheckListModel list1, list2;
    GridState state;
    RecordingInstrument instrument;
    ProjectTargets t;
    QStringList reportsRead;

    ProjectFixture()
    {
        EXPECT_TRUE(dir.isValid());
        CopyFolder(QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src"), dir.filePath(QStringLiteral("src")));
        CopyFolder(QStringLiteral(ZENDRIK_SOURCE_DIR "/data/rep"), dir.filePath(QStringLiteral("rep")));
        ApplyFileLists(mainGrid, ListDataFiles(dir.path()));
        debug.DebugMode = 1;
        debug.TimeText = [] { return QStringLiteral("t"); };
        t.MainGrid = &mainGrid;
        t.CoverageGrid = &coverageGrid;
        t.GeneratorGrid = &generatorGrid;
        t.Generator = &generator;
        t.Table = &table;
        for (const MainSeriesRow& row : kMainChartSeries)
            t.Series[row.Role] = &chart.NewSeries();
        for (TChartSeries** s :
             {&t.Coverage.cableCorrection, &t.Coverage.amplifierCorrection, &t.Coverage.antennaFactor})
            *s = &chart.NewSeries();
        t.FrequencyAxis = &frequencyAxis;
        t.LevelAxis = &levelAxis;
        t.Coverage.levelAxis = &coverageAxis;
        t.Segments = {&segments1, &segments2};
        t.SegmentLists = {&list1, &list2};
        t.State = &state;
        t.Instrument = &instrument;
        t.Files.WorkingFolder = dir.path();
        t.Files.Dialogs = &dialogs;
        t.Files.Debug = &debug;
        t.Files.Messages = &messages;
        t.LoadReportHeader = [this](const QString& path) { reportsRead << path; };
    }

    static void CopyFolder(const QString& from, const QString& to)
    {
        QDir().mkpath(to);
        for (const QString& name : QDir(from).entryList(QDir::Files))
            QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
    }

    // What the operator saw besides the data: boxes and error lines.
    QStringList Complaints() const
    {
        QStringList all = dialogs.infos + dialogs.errors;
        for (const QString& line : messages.Lines())
            if (line.startsWith(QLatin1String("Error: ")) || line.startsWith(QLatin1String("Warning: ")))
                all << line;
        return all;
    }
};

#endif
