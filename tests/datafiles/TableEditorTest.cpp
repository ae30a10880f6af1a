#include "ProjectFixture.h"

#include "common/TestSupport.h"
#include "datafiles/TableEditor.h"

namespace {

using Mark = TableBuffer::CellMark;

TEST(TableEditor, LaunchersSetUpTheGridForTheirKind)
{
    TableBuffer grid;
    std::optional<TableKind> kind;
    grid.SetCell(1, 1, "150000");
    ASSERT_TRUE(PrepareEditorKind(kind, TableKind::Limit, grid));
    EXPECT_EQ(grid.Cell(0, 1), "Limit[Hz]");
    EXPECT_EQ(grid.Cell(0, 2), "dBuV");
    EXPECT_EQ(grid.Cell(0, 3), "");
    EXPECT_EQ(grid.Cell(7, 0), "Freq7");
    EXPECT_EQ(grid.Cell(1, 1), "150000");

    ASSERT_TRUE(PrepareEditorKind(kind, TableKind::Segment, grid));
    EXPECT_EQ(kind, TableKind::Segment);
    EXPECT_EQ(grid.Cell(0, 7), "Detector");
    EXPECT_EQ(grid.Cell(1, 1), "");
    grid.SetCell(1, 1, "9000");
    EXPECT_FALSE(PrepareEditorKind(kind, TableKind::Segment, grid));
    EXPECT_EQ(grid.Cell(1, 1), "9000");
    EXPECT_FALSE(PrepareEditorKind(kind, TableKind::Tc, grid));
    EXPECT_EQ(EditorKindInfoOf(TableKind::Amplifier)->Caption, "Edit gain factor");

    ProjectFixture f;
    const QStringList lims = ListEditorFiles(f.dir.path(), TableKind::Limit);
    EXPECT_EQ(lims.size(), QDir(f.dir.filePath("src")).entryList({"*.lim"}).size());
    EXPECT_EQ(FileCountText(lims.size()), "Files " + QString::number(lims.size()));
    EXPECT_TRUE(LoadEditorFile(TableKind::Cable, grid, "cable_rg58_5m.cac", f.t.Files));
    EXPECT_EQ(f.dialogs.questions, QStringList{"Load Cable File \".\\src\\cable_rg58_5m.cac\""});
    EXPECT_EQ(EditorSaveDialog(TableKind::Antenna, "x").Filter, "ant|*.ant");
    EXPECT_EQ(SegmentColumnPicks(6), (QStringList{"on", "off"}));
    EXPECT_TRUE(SegmentColumnTakesTyping(5));
    EXPECT_FALSE(SegmentColumnTakesTyping(7));
}

TEST(TableEditor, VerifyMarksCellsAndDrawsThePreview)
{
    ProjectFixture f;
    TableBuffer grid;
    TChartSeries& preview = f.chart.NewSeries();
    grid.SetLevelLinear(true);
    const QStringList rows[] = {{"150.000", "66"}, {"500000", "56,5"}, {"1x", "50"}, {"", ""}};
    for (int r = 0; r < 4; ++r) {
        grid.SetCell(r + 1, 1, rows[r][0]);
        grid.SetCell(r + 1, 2, rows[r][1]);
    }
    VerifyTable(TableKind::Segment, grid, &preview, clRed, true, f.t.Files);
    EXPECT_EQ(grid.Mark(1, 1), Mark::Black);
    EXPECT_EQ(preview.Count(), 0);

    VerifyTable(TableKind::Limit, grid, &preview, clRed, true, f.t.Files);
    EXPECT_EQ(grid.Mark(1, 1), Mark::Green);
    EXPECT_EQ(grid.Mark(1, 2), Mark::Green);
    EXPECT_EQ(grid.Mark(2, 1), Mark::Black);
    EXPECT_EQ(grid.Mark(2, 2), Mark::Red);
    EXPECT_EQ(grid.Mark(3, 1), Mark::Red);
    EXPECT_EQ(grid.Mark(3, 2), Mark::Black);
    // The curve would end at row 2: nothing is drawn, and the log says why.
    EXPECT_EQ(preview.Count(), 0);
    EXPECT_EQ(f.messages.Lines(), QStringList{"Error: Limit table \"Cisperxxx\" not drawn (row 3: the frequency 1x is no number)"});
    grid.SetCell(3, 1, "");
    grid.SetCell(3, 2, "");
    VerifyTable(TableKind::Limit, grid, &preview, clRed, true, f.t.Files);
    ASSERT_EQ(preview.Count(), 89);
    EXPECT_DOUBLE_EQ(preview.GetPointY(87), 66 - 348 * 9.5 / 350);
    EXPECT_DOUBLE_EQ(preview.GetPointY(88), 56.5);
    EXPECT_EQ(grid.Range().StopHz, "600000");

    // With autoscale the range follows the table, both ends of each axis at once: a level range
    // wholly above the old one is taken although its minimum is above the old maximum.
    datafiles::SetAxisPair(f.levelAxis, -200, -100);
    const PlotRangeMarks marks = ApplyPlotRange(grid.Range(), f.frequencyAxis, f.levelAxis);
    EXPECT_EQ(marks.StartHz, FieldMark::Green);
    // The extremes start at 10 kHz.
    EXPECT_EQ(std::pair(f.frequencyAxis.Minimum(), f.frequencyAxis.Maximum()), (std::pair<double, double>(10, 600)));
    EXPECT_EQ(marks.LevelMin, FieldMark::Green);
    EXPECT_EQ(std::pair(f.levelAxis.Minimum(), f.levelAxis.Maximum()), (std::pair<double, double>(0, 86)));
}

TEST(TableEditor, PlotRangeFields)
{
    CheckedAxis freq(9, 30000);
    CheckedAxis level(-11, 120);
    EXPECT_EQ(ApplyPlotRangeField(PlotRangeField::StartHz, "1.000.000", freq, level), FieldMark::Red);
    EXPECT_EQ(ApplyPlotRangeField(PlotRangeField::StartHz, "", freq, level), FieldMark::Unchanged);
    EXPECT_EQ(ApplyPlotRangeField(PlotRangeField::StartHz, "1000000", freq, level), FieldMark::Green);
    EXPECT_EQ(freq.Minimum(), 1000);
    EXPECT_EQ(ApplyPlotRangeField(PlotRangeField::StartHz, "40000000", freq, level), FieldMark::Red);
    EXPECT_EQ(ApplyPlotRangeField(PlotRangeField::StopHz, "999999", freq, level), FieldMark::Red);
    EXPECT_EQ(freq.Minimum(), 1000);
    EXPECT_EQ(ApplyPlotRangeField(PlotRangeField::LevelMax, "1.000", freq, level), FieldMark::Green);
    EXPECT_EQ(level.Maximum(), 1000);
    EXPECT_EQ(ApplyPlotRangeField(PlotRangeField::LevelMin, "1000", freq, level), FieldMark::Red);
    const TableBuffer::PlotRange r = PlotRangeOfAxes(freq, level);
    EXPECT_EQ(r.StartHz, "1000000");
    EXPECT_EQ(r.StopHz, "30000000");
    EXPECT_EQ(r.LevelMin, "-11");
}

} // namespace
