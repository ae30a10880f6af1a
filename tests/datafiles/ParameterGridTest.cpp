#include "ProjectFixture.h"

#include "common/TestSupport.h"
#include "datafiles/ParameterGridValidation.h"
#include "datafiles/ProjectFile.h"

#include <QColor>
#include <QSignalSpy>
#include <QSize>

namespace {

using namespace gridkeys;

TEST(ParameterGrid, RowsInOrderWithTheirListsAndFlags)
{
    ParameterGridModel grid(MainParameterRows());
    QStringList keys;
    int separators = 0;
    for (int r = 0; r < grid.rowCount(); ++r) {
        const QModelIndex value = grid.index(r, 1);
        if (grid.data(value, ParameterGridModel::SeparatorRole).toBool()) {
            ++separators;
            EXPECT_EQ(grid.data(value).toString(), " ");
            EXPECT_EQ(grid.data(value, Qt::SizeHintRole).toSize().height(), 1);
            EXPECT_EQ(grid.flags(value), Qt::NoItemFlags);
            continue;
        }
        keys << grid.data(grid.index(r, 0)).toString();
    }
    EXPECT_EQ(grid.rowCount(), 28);
    EXPECT_EQ(separators, 5);
    EXPECT_EQ(keys, (QStringList{"Chart Start[Hz]", "Chart Stop[Hz]", "High[dBuV]", "Low[dBuV]", "Limit1", "Limit2",
                                 "Margin1[dB]", "Margin2[dB]", "Cable Cor", "Lisn/Att Cor", "Amp Cor", "Ant Cor",
                                 "Seg-Set1", "Seg-Set2", "Detector", "Sweep [ms]", "RBW [Hz]", "Span [Hz]", "PreAmp",
                                 "Attenuator [dB]", "Report", "MaxHold", "Marker"}));
    EXPECT_EQ(grid.headerData(0, Qt::Horizontal).toString(), "Parameter");
    EXPECT_EQ(grid.Value(kLow), "-11");
    EXPECT_EQ(grid.Value(kSweep), "250");
    EXPECT_EQ(grid.Value(kMaxHold), "off");
    EXPECT_EQ(grid.PickList(kRbw).first(), "120000");
    const QModelIndex detector = grid.index(grid.RowOf(kDetector), 1);
    EXPECT_TRUE(grid.data(detector, ParameterGridModel::ReadOnlyRole).toBool());
    EXPECT_FALSE(grid.data(grid.index(grid.RowOf(kAttenuator), 1), ParameterGridModel::ReadOnlyRole).toBool());
    EXPECT_FALSE(grid.data(grid.index(grid.RowOf(kHigh), 1), ParameterGridModel::PickListRole).isValid());

    // A read-only list row takes only an entry of its list; an editable one any text.
    QSignalSpy edited(&grid, &ParameterGridModel::ValueEdited);
    EXPECT_FALSE(grid.setData(detector, "PK"));
    EXPECT_TRUE(grid.setData(detector, "RMS"));
    EXPECT_TRUE(grid.setData(grid.index(grid.RowOf(kAttenuator), 1), "35"));
    EXPECT_FALSE(grid.setData(grid.index(grid.RowOf(kHigh), 0), "x"));
    grid.SetValue(kHigh, "99");
    ASSERT_EQ(edited.size(), 2);
    EXPECT_EQ(edited[1][1].toString(), "35");
    grid.SetLocked(true);
    EXPECT_FALSE(grid.flags(detector) & Qt::ItemIsEditable);

    // The file pick lists come from the working folder, "none" first.
    QTemporaryDir dir;
    WriteIni(dir.path(), "src/b.LIM", {"[General]"});
    WriteIni(dir.path(), "src/a.lim", {"[General]"});
    WriteIni(dir.path(), "rep/demo.rep", {"[Data]"});
    ApplyFileLists(grid, ListDataFiles(dir.path()));
    EXPECT_EQ(grid.PickList(kLimit2), (QStringList{"none", "a.lim", "b.LIM"}));
    EXPECT_EQ(grid.PickList(kReport), (QStringList{"none", "demo.rep"}));
    EXPECT_EQ(grid.PickList(kCableCor), QStringList{"none"});

    // The owner drawing: a legend of the chart's colours.
    GridPalette palette;
    palette.ChartBackground = clWhite;
    palette.Limit1 = clRed;
    ApplyGridColors(grid, palette);
    const auto color = [&](const QString& key, int column, int role) {
        return grid.data(grid.index(grid.RowOf(key), column), role).value<QColor>();
    };
    EXPECT_EQ(color(kDetector, 1, Qt::BackgroundRole), QColor(0xA6, 0xCA, 0xF0));
    EXPECT_EQ(color(kHigh, 0, Qt::ForegroundRole), QColor(Qt::black));
    EXPECT_EQ(color(kLimit1, 0, Qt::BackgroundRole), QColor(Qt::red));
    EXPECT_FALSE(grid.data(grid.index(grid.RowOf(kLimit1), 1), Qt::BackgroundRole).isValid());
    palette.ChartBackground = clMedGray;
    ApplyGridColors(grid, palette);
    EXPECT_EQ(color(kLow, 1, Qt::ForegroundRole), QColor(Qt::white));
}

struct Edit {
    QString key;
    QString typed;
    QString cell;
    QStringList sent;
};

TEST(ParameterGrid, InstrumentRowsWriteBackAndSend)
{
    ProjectFixture f;
    AttachGridValidation(f.t);
    const std::vector<Edit> edits = {
        {kDetector, "QPEAK", "QPEAK", {"DET QPEAK"}},
        {kSweep, "3000000", "auto", {}},
        {kSweep, "2.999.999", "2999999", {"SWT 2999.999"}},
        {kSweep, "250", "250", {"SWT 0.25"}},
        {kSweep, "AUTO", "auto", {"SWT AUTO"}},
        {kSweep, "", "", {}},
        {kRbw, "3000000", "9000", {}},
        {kRbw, "1.000.000", "1000000", {"RBW 1000000"}},
        {kRbw, "120k", "120000", {"RBW 120000"}},
        {kRbw, "0", "9000", {}},
        {kSpan, "2.500.000.000", "2500000000", {"SPAN 2500000000"}},
        {kSpan, "3000000001", "20000", {}},
        {kSpan, "1G", "1000000000", {"SPAN 1000000000"}},
        {kAttenuator, "55", "0", {}},
        {kAttenuator, "20", "20", {"ATT 20"}},
        {kAttenuator, "auto", "auto", {"ATT AUTO"}},
        {kPreAmp, "off", "off", {"PRE OFF"}},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE((e.key + " <- " + e.typed).toStdString());
        f.instrument.sent.clear();
        f.mainGrid.setData(f.mainGrid.index(f.mainGrid.RowOf(e.key), 1), e.typed);
        EXPECT_EQ(f.mainGrid.Value(e.key), e.cell);
        EXPECT_EQ(f.instrument.sent, e.sent);
    }
    EXPECT_TRUE(f.debug.Lines().contains("t: Property: Span [Hz]-->2.500.000.000"));

    // Without a device the cells are checked all the same, but nothing is sent.
    f.instrument.connected = false;
    f.instrument.sent.clear();
    ValidateParameter(f.t, kRbw, "9k");
    ValidateParameter(f.t, kDetector, "NEG");
    EXPECT_EQ(f.mainGrid.Value(kRbw), "9000");
    EXPECT_EQ(f.mainGrid.Value(kDetector), "NEG");
    EXPECT_EQ(f.instrument.sent, QStringList());

    ValidateParameter(f.t, kMaxHold, "on");
    ValidateParameter(f.t, kMarker, "on");
    ValidateParameter(f.t, kMarker, "off");
    EXPECT_EQ(f.state.MaxHold, 1);
    EXPECT_EQ(f.state.ShowMarkerNumbers, 0);
}

TEST(ParameterGrid, RangeRowsMoveTheAxesOrShowNotValid)
{
    ProjectFixture f;
    ValidateParameter(f.t, kChartStart, "30.000.000"); // at the axis maximum of 30000 kHz
    EXPECT_EQ(f.mainGrid.Value(kChartStart), "not valid");
    ValidateParameter(f.t, kChartStart, "150k");
    EXPECT_EQ(f.mainGrid.Value(kChartStart), "150000");
    EXPECT_EQ(f.frequencyAxis.Minimum(), 150);
    ValidateParameter(f.t, kChartStop, "1000,5");
    EXPECT_EQ(f.mainGrid.Value(kChartStop), "not valid");
    ValidateParameter(f.t, kChartStop, "1M");
    EXPECT_EQ(f.frequencyAxis.Maximum(), 1000);
    ValidateParameter(f.t, kLow, "120");
    EXPECT_EQ(f.mainGrid.Value(kLow), "not valid");
    ValidateParameter(f.t, kLow, "-40");
    ValidateParameter(f.t, kHigh, "2000000000"); // no level a chart shows
    EXPECT_EQ(f.mainGrid.Value(kHigh), "not valid");
    ValidateParameter(f.t, kHigh, "x");
    EXPECT_EQ(f.mainGrid.Value(kHigh), "not valid");
    EXPECT_EQ(f.levelAxis.Minimum(), -40);
    EXPECT_EQ(f.levelAxis.Maximum(), 120);
}

TEST(ParameterGrid, FileRowsAndMarginsRedrawTheChart)
{
    ProjectFixture f;
    f.t.Series[SeriesRole::masterCorrection]->AddPointXY(1, 1);
    ValidateParameter(f.t, kLimit1, "cispr32_b_qp.lim");
    const int points = f.t.Series[SeriesRole::limitLine1]->Count();
    EXPECT_GT(points, 80);
    EXPECT_EQ(f.t.Series[SeriesRole::marginLine1]->Count(), 0);

    ValidateParameter(f.t, kMargin1, "6");
    EXPECT_EQ(f.state.MarginDb[MeasureSet::Set1], 6);
    ASSERT_EQ(f.t.Series[SeriesRole::marginLine1]->Count(), points);
    EXPECT_DOUBLE_EQ(f.t.Series[SeriesRole::marginLine1]->GetPointY(3),
                     f.t.Series[SeriesRole::limitLine1]->GetPointY(3) - 6);
    ValidateParameter(f.t, kMargin1, "150");
    EXPECT_EQ(f.mainGrid.Value(kMargin1), "0");
    EXPECT_EQ(f.state.MarginDb[MeasureSet::Set1], 0);
    EXPECT_EQ(f.t.Series[SeriesRole::marginLine1]->Count(), 0);
    EXPECT_EQ(f.t.Series[SeriesRole::limitLine1]->Count(), points);

    ValidateParameter(f.t, kCableCor, "cable_rg58_5m.cac");
    EXPECT_GT(f.t.Series[SeriesRole::cableCorrection]->Count(), 0);
    EXPECT_EQ(f.t.Series[SeriesRole::masterCorrection]->Count(), 0);
    ValidateParameter(f.t, kCableCor, "none");
    EXPECT_EQ(f.t.Series[SeriesRole::cableCorrection]->Count(), 0);

    ValidateParameter(f.t, kSegSet2, "cispr_b_150k-30m_av.seg");
    EXPECT_GT(f.segments2.Count, 1);
    EXPECT_EQ(f.list2.Count(), f.segments2.Count + 1);
    EXPECT_DOUBLE_EQ(f.t.Series[SeriesRole::segmentMarks2]->GetPointY(0), f.levelAxis.Minimum() + 10);
    ValidateParameter(f.t, kReport, "demo.rep");
    EXPECT_EQ(f.reportsRead, QStringList{".\\rep\\demo.rep"});
    EXPECT_TRUE(f.debug.Lines().contains("t: file selected: .\\src\\cispr_b_150k-30m_av.seg"));
    EXPECT_EQ(f.Complaints(), QStringList());
}

} // namespace
