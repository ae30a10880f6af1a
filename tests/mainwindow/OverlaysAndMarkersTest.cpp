// The marks over the main chart drawn on a chart with axes (recorded and rasterised), the level
// read-out, and the Marker tab: placing, refusing and copying markers, harmonics, "Select 6
// maxpeaks" and the peak lists' crosshair.
#include "chart/engine/AxisTestSupport.h"
#include "common/TestSupport.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "mainwindow/ChartOverlays.h"
#include "mainwindow/FaderSmoothing.h"
#include "mainwindow/LevelReadout.h"
#include "mainwindow/MainWindowColors.h"
#include "mainwindow/MarkStamps.h"
#include "mainwindow/MarkerStore.h"
#include "mainwindow/MarkerTab.h"
#include "measurement/PeakLists.h"
#include "measurement/SmoothRangeStore.h"
#include "platform/gdi/RasterDC.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using enum MeasureSet;

namespace axistest {
// Found by argument lookup from the comparisons of gtest and std::vector.
inline bool operator==(const RecordingCanvas::Line& a, const RecordingCanvas::Line& b)
{
    return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1 && a.color == b.color;
}
inline void PrintTo(const RecordingCanvas::Line& l, std::ostream* os)
{
    *os << "(" << l.x0 << "," << l.y0 << ")-(" << l.x1 << "," << l.y1 << ") #" << std::hex << l.color;
}
} // namespace axistest

namespace {

using L = QStringList;
using axistest::AxisChart;
using axistest::RecordingCanvas;

// The recording canvas with its ellipses.
class MarkCanvas : public RecordingCanvas {
public:
    MarkCanvas()
    {
        InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, 1300, 600});
        SetProjectionCentre(0, TRect{0, 0, 1300, 600});
        ResetState();
    }
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override
    {
        ellipses.push_back({x1, y1, x2, y2, Pen().Color()});
        RecordingCanvas::Ellipse(x1, y1, x2, y2);
    }
    L Texts() const
    {
        L out;
        for (const auto& t : texts)
            out << t.text;
        return out;
    }
    std::vector<Line> ellipses;
};

// A chart over pixels 100..1100 (bottom, kHz) and 450..50 (left, dBuV).
struct Overlays : testing::Test {
    Overlays()
    {
        axistest::Prepare(*chart.bottom, 0, 1000);
        axistest::Prepare(*chart.left, 0, 100);
    }
    OverlayPainter Painter() { return {canvas, *chart.bottom, *chart.left}; }
    int X(double khz) const { return chart.bottom->ValueToPixel(khz); }
    int Y(double dbuv) const { return chart.left->ValueToPixel(dbuv); }

    AxisChart chart;
    MarkCanvas canvas;
    MainWindowColors colors = StartupColors();
    const TColor circle = colors.PeakCircles[Set1], cross = colors.RemeasureCrosses[Set1];
    const PeakMarkColours set1Colours{circle, cross, colors.ChartBackground};
    PeakLists peaks1{Set1};
    PeakLists peaks2{Set2};
    MarkerStore markers1, markers2;
};

using Line = RecordingCanvas::Line;

void SetList(QStringListModel& model, const L& texts) { model.setStringList(texts); }

} // namespace

TEST(LevelReadout, BinarySearchMatchesAWalkAndTheStatusTellsWhereXLies)
{
    TChartSeries trace;
    for (auto [x, y] : {std::pair{10.0, 5.0}, {12.0, 9.0}, {20.0, 1.0}})
        trace.AddPointXY(x, y);
    QString debug;
    EXPECT_EQ(InterpolateSeriesLevel(trace, 10).Level, 5.0); // the first point counts as a point
    EXPECT_EQ(InterpolateSeriesLevel(trace, 10).Status, '^');
    const TraceLevel between = InterpolateSeriesLevel(trace, 16, &debug);
    EXPECT_DOUBLE_EQ(between.Level, 5.0);
    EXPECT_EQ(between.Status, '~');
    EXPECT_EQ(debug, "12<=>20 9<->1 k=-1 x=16 d=21 y=5");
    for (int64_t x : {9, 21})
        EXPECT_EQ(InterpolateSeriesLevel(trace, x).Status, '!');
    EXPECT_EQ(InterpolateSeriesLevel(trace, 21).Level, 0.0);

    // A long uneven trace against a plain walk.
    TChartSeries longTrace;
    std::mt19937_64 rng(3);
    std::vector<double> xs{0}, ys{0};
    for (int i = 1; i < 3000; ++i) {
        xs.push_back(xs.back() + 0.1 + (rng() % 70) / 10.0);
        ys.push_back(static_cast<double>(rng() % 1000) / 10.0);
        longTrace.AddPointXY(xs.back(), ys.back());
    }
    longTrace.AddPointXY(0, 0);
    for (int64_t x = 1; x < xs.back(); x += 7) {
        const size_t i = static_cast<size_t>(std::lower_bound(xs.begin(), xs.end(), x) - xs.begin()) - 1;
        const double expected = ys[i] + (ys[i + 1] - ys[i]) * (x - xs[i]) / (xs[i + 1] - xs[i]);
        EXPECT_NEAR(InterpolateSeriesLevel(longTrace, x).Level, expected, 1e-9) << x;
    }
}

TEST_F(Overlays, MouseReadoutUpToOneKhzBeyondTheAxis)
{
    TChartSeries set1;
    set1.AddPointXY(100, 60);
    set1.AddPointXY(1001, 70);
    const std::optional<MouseReadout> r = ChartMouseReadout(X(100), *chart.bottom, &set1, nullptr, -107, "dBm");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Frequency, "100 kHz");
    EXPECT_EQ(r->Set1, "^ -47.00 dBm");
    EXPECT_EQ(r->Set2, "! -107.00 dBm");
    // 1 kHz right of the maximum still reads, below the minimum nothing does.
    axistest::Prepare(*chart.bottom, 10, 1000);
    const int beyond = chart.bottom->ValueToPixel(1001);
    EXPECT_TRUE(ChartMouseReadout(beyond, *chart.bottom, &set1, nullptr, 0, "dBm"));
    EXPECT_FALSE(ChartMouseReadout(chart.bottom->ValueToPixel(8), *chart.bottom, &set1, nullptr, 0, "dBm"));
}

TEST_F(Overlays, CrosshairHarmonicsAndFlagsAtTheAxesPixels)
{
    DrawCrosshair(Painter(), colors.Crosshair, 250, 40);
    EXPECT_EQ(canvas.lines, (std::vector<Line>{{X(250), Y(100), X(250), Y(0), colors.Crosshair},
                                               {X(1000), Y(40), X(0), Y(40), colors.Crosshair}}));
    canvas.Forget();

    // Harmonics of 150 MHz on a view up to 1 GHz: the seventh lies outside.
    axistest::Prepare(*chart.bottom, 100, 1000000);
    DrawHarmonics(Painter(), colors.Crosshair, 150000, 7);
    EXPECT_EQ(canvas.lines.size(), 6u);
    EXPECT_EQ(canvas.Texts(), (L{"*1", "*2", "*3", "*4", "*5", "*6"}));
    EXPECT_EQ(canvas.texts[5].x, chart.bottom->ValueToPixel(900000));
    EXPECT_EQ(canvas.texts[5].y, 350);
    canvas.Forget();
    DrawHarmonics(Painter(), colors.Crosshair, 150000, std::numeric_limits<int>::max()); // ends at the axis
    EXPECT_EQ(canvas.Texts(), (L{"*1", "*2", "*3", "*4", "*5", "*6"}));
    canvas.Forget();

    axistest::Prepare(*chart.bottom, 0, 1000);
    DrawMarkerFlag(Painter(), colors[TraceColor::correctedTrace1], "1 500 kHz", 500, 200);
    const int x = X(500);
    EXPECT_EQ(canvas.lines, (std::vector<Line>{{x, 200, x - 6, 194, colors[TraceColor::correctedTrace1]},
                                               {x - 6, 194, x + 6, 194, colors[TraceColor::correctedTrace1]},
                                               {x + 6, 194, x, 200, colors[TraceColor::correctedTrace1]}}));
    EXPECT_EQ(canvas.texts.at(0).y, 180);
    DrawMarkerFlag(Painter(), colors[TraceColor::correctedTrace1], "on the bound", 0, 200); // strictly inside only
    EXPECT_EQ(canvas.texts.size(), 1u);
}

TEST_F(Overlays, PeakMarksOnlyStrictlyInsideAndCrossesOnlyWithPeaks)
{
    SetList(peaks1.Freqs, {"0.00", "100.00", "200,50", "x", "300.00", "1000.00"});
    SetList(peaks1.Levels, {"50.00", "100.00", "40,00", "30.00", "20.00", "50.00"});
    SetList(peaks1.MeasureFreqs, {"700.25"});
    SetList(peaks1.MeasureLevels, {"21.00"});
    DrawPeakMarks(Painter(), peaks1, set1Colours, true);
    ASSERT_EQ(canvas.ellipses.size(), 2u); // 200.5 kHz and 300 kHz; the bounds and "x" are skipped
    EXPECT_EQ(canvas.ellipses[0], (Line{X(200.5) - 3, Y(40) + 3, X(200.5) + 3, Y(40) - 3, circle}));
    EXPECT_EQ(canvas.Texts(), (L{"3", "5"}));
    EXPECT_EQ(canvas.texts[0].y, Y(40) - 15);
    ASSERT_EQ(canvas.lines.size(), 2u);
    EXPECT_EQ(canvas.lines[0], (Line{X(700.25) - 3, Y(21) + 3, X(700.25) + 3, Y(21) - 3, cross}));
    // The circle is drawn in its colour, filled with the back colour.
    EXPECT_EQ(canvas.GetPixel(X(300), Y(20) - 3), colors.PeakCircles[Set1]);
    EXPECT_EQ(canvas.GetPixel(X(300), Y(20)), colors.ChartBackground);

    canvas.Forget();
    canvas.ellipses.clear();
    SetList(peaks1.Freqs, {});
    DrawPeakMarks(Painter(), peaks1, set1Colours, false);
    EXPECT_TRUE(canvas.lines.empty());
}

TEST_F(Overlays, StampedMarksLookLikeTheMarksDrawnDirectly)
{
    // A background of stripes, so that the antialiased numbers blend over different colours.
    MarkCanvas direct, stamped;
    for (MarkCanvas* c : {&direct, &stamped}) {
        for (int i = 0; i < 26; ++i) {
            c->Brush().SetColor(static_cast<TColor>(0x3050A0 + i * 0x081F07));
            c->FillRect(TRect{100 + i * 40, 40, 140 + i * 40, 460});
        }
    }
    SetList(peaks1.Freqs, {"100.5", "300", "301", "550,5", "900"});
    SetList(peaks1.Levels, {"20", "50", "52", "70", "99"});
    SetList(peaks1.MeasureFreqs, {"300", "901"});
    SetList(peaks1.MeasureLevels, {"50", "95"});
    MarkStamps stamps;
    for (int pass = 0; pass < 2; ++pass) {
        for (MarkCanvas* c : {&direct, &stamped}) {
            OverlayPainter p{*c, *chart.bottom, *chart.left, c == &stamped ? &stamps : nullptr};
            DrawPeakMarks(p, peaks1, set1Colours, true);
            DrawMarkerFlag(p, colors[TraceColor::correctedTrace2], "12 345.678 MHz -12.34 dBm", 400 + pass * 200, 300);
        }
    }
    EXPECT_EQ(stamps.Count(), 5 + 1 + 1); // a circle per number, one cross, one flag
    const QImage a = static_cast<gdi::RasterDC*>(direct.GetHandle())->Image();
    const QImage b = static_cast<gdi::RasterDC*>(stamped.GetHandle())->Image();
    int differ = 0, marked = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differ += std::abs(qRed(p) - qRed(q)) > 2 || std::abs(qGreen(p) - qGreen(q)) > 2 ||
                      std::abs(qBlue(p) - qBlue(q)) > 2;
            marked += (p & 0xFFFFFF) == 0x00FF00; // the circles' lime
        }
    }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(marked, 100);
}

TEST_F(Overlays, PaintDrawsMarksFlagsSegmentHeightsAndEndLabelsIntoTheChart)
{
    TChartSeries& marks1 = chart.NewSeries();
    marks1.AddPointXY(300, 70);
    marks1.AddPointXY(600, 70);
    SetList(peaks1.Freqs, {"500"});
    SetList(peaks1.Levels, {"50"});
    SetList(peaks2.Freqs, {"600"});
    SetList(peaks2.Levels, {"50"});
    markers1.Count = 1;
    markers1.Marker(1) = MakeMarker(1, 400, 30, 123);
    MarkCanvas* buffer = nullptr;
    {
        auto own = std::make_unique<MarkCanvas>();
        buffer = own.get();
        chart.SetCanvas(std::move(own));
    }
    chart.bottom->Items().Add(400);
    chart.bottom->Items().Add(600);
    OverlayScene scene{colors, colors.ChartBackground};
    scene.Sets[Set1].Peaks = &peaks1;
    scene.Sets[Set2].Peaks = &peaks2;
    scene.Sets[Set2].View = false;
    scene.Sets[Set1].Markers = &markers1;
    scene.Unit = LevelUnit::dBpW;
    scene.Sets[Set1].SegmentMarks = &marks1;
    chart.bottom->SetRange(150, 1150);
    chart.left->SetRange(50, 150);
    chart.OnBeforeDrawSeries = [&] { DrawMainChartOverlays({chart.Canvas(), *chart.bottom, *chart.left}, scene); };
    chart.RepaintNow();
    // Segment marks 1.6 % above the bottom of the level axis: round(51.6).
    EXPECT_EQ(marks1.GetPointY(0), 52);
    EXPECT_EQ(marks1.GetPointY(1), 52);
    EXPECT_EQ(buffer->ellipses.size(), 0u); // 50 dBuV lies on the level axis' minimum
    EXPECT_TRUE(buffer->Texts().contains("1 400 kHz 13.00 dBpW"));
    EXPECT_TRUE(buffer->Texts().contains("150 kHz"));
    EXPECT_TRUE(buffer->Texts().contains("1.150 MHz"));
}

TEST_F(Overlays, MarkersArePlacedRefusedClearedAndCopied)
{
    TChartSeries corrected1;
    corrected1.AddPointXY(100, 40);
    corrected1.AddPointXY(900, 80);
    MarkerBoxes boxes;
    ArmMarker(boxes, Set1, true);
    EXPECT_TRUE(boxes.Sets[Set1].Armed && boxes.Sets[Set1].Show && !boxes.Sets[Set2].Armed);
    EXPECT_FALSE(boxes.Harmonics);
    MessageLog messages;
    DebugLog debug;
    int repaints = 0;
    OverlayPainter front = Painter();
    ChartClick click{front,  [&repaints] { ++repaints; }, boxes, {&markers1, &markers2}, {&corrected1, nullptr},
                     colors, 7, -107, "dBm", messages, debug};

    const ChartBounds frozen = ChartMouseDown(click, X(500));
    EXPECT_EQ(frozen.Bottom, (AxisRange{0, 1000}));
    EXPECT_EQ(frozen.Left, (AxisRange{0, 100}));
    EXPECT_FALSE(boxes.Sets[Set1].Armed);
    ASSERT_EQ(markers1.Count, 1);
    const MarkerRecord& m = markers1.Marker(1);
    EXPECT_EQ(m.X, 500);
    EXPECT_EQ(m.Y, Y(60));
    EXPECT_EQ((L{m.FrequencyText, m.FreqLevelText, m.LabelDbuv, m.LabelDbm, m.LabelDbpw}),
              (L{"500", "500 kHz 60.00", "1 500 kHz 60.00 dBuV", "1 500 kHz -47.00 dBm", "1 500 kHz 43.00 dBpW"}));
    EXPECT_EQ(canvas.Texts(), L{"1 500 kHz -47.00 dBm"});
    EXPECT_EQ(MakeMarker(3, 150000, 45.2, 0).LabelDbuv, "3 150.000 MHz 45.20 dBuV");

    // A click beyond the range places nothing, and set 2 is not looked at.
    boxes.Sets[Set1].Armed = boxes.Sets[Set2].Armed = true;
    ChartMouseDown(click, X(1000) + 30);
    EXPECT_FALSE(boxes.Sets[Set1].Armed);
    EXPECT_TRUE(boxes.Sets[Set2].Armed);
    EXPECT_EQ(markers1.Count + markers2.Count, 1);
    boxes.Sets[Set2].Armed = false;

    // The 51st marker is refused; "Clear Last" frees a slot.
    for (int i = 0; i < 50; ++i) {
        boxes.Sets[Set1].Armed = true;
        ChartMouseDown(click, X(200));
    }
    EXPECT_EQ(markers1.Count, 50);
    EXPECT_EQ(messages.Lines(), L{"Info: out of markers for set 1"});
    ClearLastMarker(markers1);
    boxes.Sets[Set1].Armed = true;
    ChartMouseDown(click, X(200));
    EXPECT_EQ(markers1.Count, 50);
    EXPECT_EQ(messages.Lines().size(), 1);

    // Harmonics redraw the chart first and are not drawn while the magnifier is on.
    canvas.Forget();
    boxes = MarkerBoxes{};
    boxes.Harmonics = true;
    boxes.Magnify = true;
    ChartMouseDown(click, X(100));
    EXPECT_EQ(repaints, 0);
    boxes.Magnify = false;
    ChartMouseDown(click, X(100));
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(canvas.Texts(), (L{"*1", "*2", "*3", "*4", "*5", "*6", "*7"}));

    // "Copy Markers": numbers in the frequency and level lists, which the re-measurement and the
    // peak marks read; the old lists of both sets go.
    ClearAllMarkers(markers1);
    markers1.Count = 2;
    markers1.Marker(1) = MakeMarker(1, 150000, 45.2, 0);
    markers1.Marker(2) = MakeMarker(2, 300, -3.456, 0);
    peaks2.AddPeak(10, 20, 30);
    peaks1.MeasureLines.setStringList({"old"});
    CopyMarkers({&markers1, &markers2}, {&peaks1, &peaks2});
    EXPECT_EQ(peaks1.Lines.stringList(), (L{"1 150.000 MHz 45.20 dBuV", "2 300 kHz -3.46 dBuV"}));
    EXPECT_EQ(peaks1.Freqs.stringList(), (L{"150000", "300"}));
    EXPECT_EQ(peaks1.Levels.stringList(), (L{"45.20", "-3.46"}));
    EXPECT_EQ(peaks1.MeasureLines.rowCount() + peaks2.Lines.rowCount() + peaks2.Grid.RowCount(), 2);
    EXPECT_EQ(SelectMaxPeaks(peaks1.Levels.stringList()), (std::vector<int>{0, 1, 0, 0, 0, 0}));
}

TEST(MarkerTab, PeakTextsReadAsTheAnySeparatorConversionReadsThem)
{
    for (const char* t : {"1.5", "1,5", " -3,25 ", "+.5", "1e3", "1,5e2", "1.000,5", "1,2,3", "1..2", "e5", "-",
                          "", "12a", "\t40.00\n", "1e999", "nan", "\xb5", "1-2"}) {
        double fast = 0, slow = 0;
        const QString text = QString::fromLatin1(t);
        const bool a = ParsePeakText(text, fast);
        EXPECT_EQ(a, TryStrToFloatAnySep(text, slow)) << t;
        if (a) {
            EXPECT_EQ(fast, slow) << t;
        }
    }
}

TEST(MarkerTab, SixHighestPeaksTiesFirstAndTextsThatDoNotParse)
{
    EXPECT_EQ(SelectMaxPeaks({"10", "30,5", "x", "30.5", "20", "-20000", "5", "40", "1"}),
              (std::vector<int>{7, 1, 3, 4, 0, 6}));
    EXPECT_TRUE(SelectMaxPeaks({}).empty());
    MarkerBoxes boxes;
    boxes.Sets[Set1].Armed = true;
    boxes.Harmonics = true;
    ArmMarker(boxes, Set2, true);
    EXPECT_TRUE(boxes.Sets[Set2].Armed && !boxes.Sets[Set1].Armed && boxes.Sets[Set2].Show);
    EXPECT_FALSE(boxes.Harmonics);
    ArmMarker(boxes, Set2, false);
    EXPECT_FALSE(boxes.Sets[Set2].Armed);
}

TEST_F(Overlays, DoubleClickPutsTheCrosshairOnTheClickedPeak)
{
    int repaints = 0;
    const L freqs{"100.00", "250,50", "bad"};
    const L levels{"10.00", "42.00", "1"};
    EXPECT_FALSE(ShowPeakCrosshair(Painter(), [&] { ++repaints; }, colors.Crosshair, freqs, levels, 2));
    EXPECT_FALSE(ShowPeakCrosshair(Painter(), [&] { ++repaints; }, colors.Crosshair, freqs, levels, 3));
    EXPECT_EQ(repaints, 0);
    ASSERT_TRUE(ShowPeakCrosshair(Painter(), [&] { ++repaints; }, colors.Crosshair, freqs, levels, 1));
    EXPECT_EQ(repaints, 1);
    ASSERT_EQ(canvas.lines.size(), 2u);
    EXPECT_EQ(canvas.lines[0].x0, X(250.5));
    EXPECT_EQ(canvas.lines[1].y0, Y(42));
}

TEST(Fader, RectanglesSmoothAndClearRestoresTheTraceExactly)
{
    TChartSeries corrected, overlay, compensation;
    for (int i = 0; i <= 400; ++i)
        corrected.AddPointXY(1000 + i * 0.5, std::sin(i * 1.3) * 20 + 40);
    const std::vector<double> before(corrected.YValues().Values().begin(), corrected.YValues().Values().end());
    DebugLog debug;
    MessageLog messages;
    SmoothRangeStore store;
    const SetSmoothing smoothing = FaderSmoothing(corrected, overlay, compensation, debug);
    ZoomRequest r;
    r.Frozen = {{0, 100}, {1000, 1200}};
    r.Fader = FaderMode::Fade;
    for (auto [from, to] : {std::pair{1010.2, 1050.7}, {1100.0, 1180.4}}) {
        r.Zoomed = {{0, 100}, {from, to}};
        ApplyZoomRules(r, store, smoothing, debug, messages);
    }
    EXPECT_EQ(store.Count, 2);
    EXPECT_EQ(corrected.GetPointY(20), before[20]); // 1010 kHz, the left end
    EXPECT_NE(corrected.GetPointY(21), before[21]);
    EXPECT_EQ(compensation.GetPointColor(0), clBlack);
    r.Fader = FaderMode::Clear;
    r.Zoomed = {{0, 100}, {1000, 1200}};
    ApplyZoomRules(r, store, smoothing, debug, messages);
    EXPECT_EQ(std::vector<double>(corrected.YValues().Values().begin(), corrected.YValues().Values().end()), before);
    EXPECT_EQ(overlay.Count() + compensation.Count(), 0);
}
