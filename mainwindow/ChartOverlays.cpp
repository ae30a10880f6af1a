#include "mainwindow/ChartOverlays.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "chart/canvas/PlotCanvas.h"
#include "chart/engine/AxisItems.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesMarks.h"
#include "mainwindow/MainWindowColors.h"
#include "mainwindow/MarkStamps.h"
#include "mainwindow/MarkerStore.h"
#include "measurement/PeakLists.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr int kHarmonicRow = 350;
constexpr int kEndLabelGap = 70;
constexpr int kEndLabelOffset = 7;
constexpr double kSegmentMarkHeightPercent = 1.6;
// Pixels between a segment number's box and the ends of the frequency axis, clear of the level
// axis' line and of the plot's frame.
constexpr int kSegmentNumberClearance = 2;

void SetPen(TCanvas3D& c, TColor colour, TPenStyle style, int width)
{
    TPen& pen = c.Pen();
    pen.SetColor(colour);
    pen.SetStyle(style);
    pen.SetWidth(width);
    pen.SetMode(pmCopy);
}

// The columns a mark takes: its box with the frame and the shadow drawn right of it.
int MarkRight(TSeriesMarks& marks, const TSeriesMarkPosition& position)
{
    int right = position.LeftTop.X + position.Width;
    if (marks.Pen().Visible())
        right += marks.Pen().Width();
    if (marks.HasShadow() && marks.Shadow().Visible())
        right += std::max(0, marks.Shadow().HorizSize());
    return right;
}

// Texts over the traces let them show through; a clear brush means that on the chart's canvas.
void ClearBrush(TCanvas3D& c)
{
    c.Brush().SetStyle(bsClear);
    c.SetBackMode(cbmTransparent);
}

// A brush given a colour fills again (a clear brush turns solid), as the peak circles expect
// after the clear brush of the number before them.
void SetBrush(TCanvas3D& c, TColor colour)
{
    c.Brush().SetColor(colour);
    c.Brush().SetStyle(bsSolid);
}

int Pixel(const TChartAxis& axis, double value) { return axis.ValueToPixel(value); }

bool InsideBottomPixels(const OverlayPainter& p, int x)
{
    const int a = Pixel(p.Bottom, p.Bottom.CurrentMinimum());
    const int b = Pixel(p.Bottom, p.Bottom.CurrentMaximum());
    return x > std::min(a, b) && x < std::max(a, b);
}

void VerticalAcrossPlot(const OverlayPainter& p, int x)
{
    p.Canvas.MoveTo(x, Pixel(p.Left, p.Left.CurrentMaximum()));
    p.Canvas.LineTo(x, Pixel(p.Left, p.Left.CurrentMinimum()));
}

// A mark's frequency (kHz) and level (dBuV).
struct Mark {
    double X;
    double Y;
};

bool ParsedInside(const OverlayPainter& p, const QString& xText, const QString& yText, Mark& m)
{
    if (!ParsePeakText(xText, m.X) || !ParsePeakText(yText, m.Y))
        return false;
    return m.X > p.Bottom.CurrentMinimum() && m.X < p.Bottom.CurrentMaximum() && m.Y > p.Left.CurrentMinimum() &&
           m.Y < p.Left.CurrentMaximum();
}

enum StampKind { kCircle = 1, kCross, kFlag };

// The marks at a pixel, as the canvas draws them.
void FlagAt(TCanvas3D& c, TColor colour, const QString& text, int32_t x, int32_t y)
{
    SetBrush(c, colour);
    SetPen(c, colour, psDash, 2);
    c.MoveTo(x, y);
    c.LineTo(x - 6, y - 6);
    c.LineTo(x + 6, y - 6);
    c.LineTo(x, y);
    // The size of the peak numbers, whether or not peaks were drawn before.
    c.Font().SetColor(colour);
    c.Font().SetSize(10);
    c.SetBackMode(cbmTransparent);
    c.TextOut(x, y - 20, text);
}

void CircleAt(TCanvas3D& c, TColor colour, TColor back, const QString& number, int32_t x, int32_t y)
{
    SetPen(c, colour, psSolid, 2);
    SetBrush(c, back);
    c.Ellipse(x - 3, y + 3, x + 3, y - 3);
    TFont& font = c.Font();
    font.SetColor(colour);
    font.SetSize(10);
    ClearBrush(c);
    if (!number.isEmpty())
        c.TextOut(x, y - 15, number);
}

void CrossAt(TCanvas3D& c, TColor colour, TColor back, int32_t x, int32_t y)
{
    SetPen(c, colour, psSolid, 2);
    SetBrush(c, back);
    c.MoveTo(x - 3, y + 3);
    c.LineTo(x + 3, y - 3);
    c.MoveTo(x + 3, y + 3);
    c.LineTo(x - 3, y - 3);
}

void Put(const OverlayPainter& p, const StampKey& key, int32_t x, int32_t y, const MarkStamps::Drawing& draw)
{
    if (p.Stamps)
        p.Stamps->Put(p.Canvas, key, x, y, draw);
    else
        draw(p.Canvas, x, y);
}

void DrawStoredFlags(const OverlayPainter& p, const MarkerStore& store, TColor colour, LevelUnit unit, bool atLevels)
{
    for (int32_t n = 1; n <= store.Count; ++n) {
        const MarkerRecord& m = store.Marker(n);
        DrawMarkerFlag(p, colour, m.Label(unit), m.X, atLevels ? Pixel(p.Left, m.Level) : m.Y);
    }
}

} // namespace

bool ParsePeakText(const QString& text, double& value)
{
    constexpr qsizetype kShort = 63;
    QStringView t(text);
    while (!t.isEmpty() && t.front().unicode() <= 0x20)
        t = t.mid(1);
    while (!t.isEmpty() && t.back().unicode() <= 0x20)
        t.chop(1);
    if (t.size() > kShort)
        return TryStrToFloatAnySep(text, value);
    char s[kShort + 1];
    qsizetype n = 0;
    bool dot = false, comma = false;
    for (QChar c : t) {
        char ch = static_cast<char>(c.unicode());
        if (c.unicode() >= 0x80)
            return false;
        if (ch == '.') {
            dot = true;
        } else if (ch == ',') {
            // The first comma is the decimal mark; a second one is no number.
            if (comma)
                return false;
            comma = true;
            ch = '.';
        } else if (!((ch >= '0' && ch <= '9') || ch == 'e' || ch == 'E' || ch == '+' || ch == '-')) {
            return false;
        }
        s[n++] = ch;
    }
    if (n == 0 || (dot && comma))
        return false;
    const bool negative = s[0] == '-';
    const qsizetype start = s[0] == '+' || s[0] == '-' ? 1 : 0;
    if (start >= n || !((s[start] >= '0' && s[start] <= '9') || s[start] == '.'))
        return false;
    double v = 0;
    const auto [end, ec] = std::from_chars(s + start, s + n, v, std::chars_format::general);
    if (ec != std::errc() || end != s + n || !std::isfinite(v))
        return false;
    value = negative ? -v : v;
    return true;
}

void DrawCrosshair(const OverlayPainter& p, TColor colour, double x, double y)
{
    SetPen(p.Canvas, colour, psSolid, 1);
    VerticalAcrossPlot(p, Pixel(p.Bottom, x));
    const int py = Pixel(p.Left, y);
    p.Canvas.MoveTo(Pixel(p.Bottom, p.Bottom.CurrentMaximum()), py);
    p.Canvas.LineTo(Pixel(p.Bottom, p.Bottom.CurrentMinimum()), py);
}

void DrawHarmonicLine(const OverlayPainter& p, TColor colour, const QString& text, double x, double row)
{
    SetPen(p.Canvas, colour, psDash, 1);
    const int px = Pixel(p.Bottom, x);
    if (!InsideBottomPixels(p, px))
        return;
    VerticalAcrossPlot(p, px);
    p.Canvas.SetBackMode(cbmTransparent);
    p.Canvas.TextOut(px, static_cast<int32_t>(RoundHalfEven(row)), text);
}

void DrawMarkerFlag(const OverlayPainter& p, TColor colour, const QString& text, double x, double row)
{
    const int px = Pixel(p.Bottom, x);
    const int py = static_cast<int>(RoundHalfEven(row));
    if (!InsideBottomPixels(p, px))
        return;
    // One reference captured: the drawing fits std::function's own room, no allocation per mark.
    const StampKey key{kFlag, colour, 0, 0, text};
    Put(p, key, px, py, [&key](TCanvas3D& c, int32_t cx, int32_t cy) { FlagAt(c, key.First, key.Text, cx, cy); });
}

void DrawPeakCircle(const OverlayPainter& p, int number, TColor colour, TColor back, bool showNumber, double x,
                    double y)
{
    const StampKey key{kCircle, colour, back, showNumber ? number : 0, {}};
    Put(p, key, Pixel(p.Bottom, x), Pixel(p.Left, y), [&key](TCanvas3D& c, int32_t cx, int32_t cy) {
        CircleAt(c, key.First, key.Second, key.Number > 0 ? QString::number(key.Number) : QString(), cx, cy);
    });
}

void DrawPeakCross(const OverlayPainter& p, TColor colour, TColor back, double x, double y)
{
    const StampKey key{kCross, colour, back, 0, {}};
    Put(p, key, Pixel(p.Bottom, x), Pixel(p.Left, y),
        [&key](TCanvas3D& c, int32_t cx, int32_t cy) { CrossAt(c, key.First, key.Second, cx, cy); });
}

void DrawPeakMarks(const OverlayPainter& p, const PeakLists& peaks, const PeakMarkColours& colours, bool showNumbers)
{
    const QStringList freqs = peaks.Freqs.stringList();
    if (freqs.isEmpty())
        return;
    const QStringList levels = peaks.Levels.stringList();
    Mark m{};
    for (qsizetype i = 0; i < freqs.size() && i < levels.size(); ++i) {
        if (!ParsedInside(p, freqs[i], levels[i], m))
            continue;
        DrawPeakCircle(p, static_cast<int>(i) + 1, colours.Circle, colours.Back, showNumbers, m.X, m.Y);
    }
    const QStringList measuredFreqs = peaks.MeasureFreqs.stringList();
    const QStringList measuredLevels = peaks.MeasureLevels.stringList();
    for (qsizetype i = 0; i < measuredFreqs.size() && i < measuredLevels.size(); ++i)
        if (ParsedInside(p, measuredFreqs[i], measuredLevels[i], m))
            DrawPeakCross(p, colours.Cross, colours.Back, m.X, m.Y);
}

void DrawBottomAxisLabels(const OverlayPainter& p, bool scaledKhz)
{
    TChartAxis& axis = p.Bottom;
    TAxisItems& items = axis.Items();
    if (items.Count() == 0)
        return;
    // The end values as the other frequency labels show them (they are read with "." whatever
    // the program-wide mark is, which this drawing leaves alone).
    auto text = [scaledKhz](double khz) {
        const QString t = FormatMachine(khz);
        return scaledKhz ? KhzToScaledText(t) : KhzToKhzText(t);
    };
    // The axis lists its labels from the top value down on a linear scale and upwards on the
    // logarithmic one: the labels next to the ends are found by value.
    const TAxisItem* lowest = items[0];
    const TAxisItem* highest = items[0];
    for (int i = 1; i < items.Count(); ++i) {
        if (items[i]->Value() < lowest->Value())
            lowest = items[i];
        if (items[i]->Value() > highest->Value())
            highest = items[i];
    }
    TCanvas3D& canvas = p.Canvas;
    auto width = [&canvas](const QString& t, TPlotFont* font) {
        if (font)
            canvas.AssignFont(font);
        return canvas.TextWidth(t);
    };
    const int itemWidth = std::max(width(lowest->Text(), &axis.LabelsFont()), width(highest->Text(), nullptr));
    const double minimum = axis.CurrentMinimum();
    const double maximum = axis.CurrentMaximum();
    const int minPixel = Pixel(axis, minimum);
    const int maxPixel = Pixel(axis, maximum);
    const int y = axis.AxisPixel() + kEndLabelOffset;
    TFont& font = canvas.Font();
    font.SetSize(8);
    font.SetColor(clBlack);
    ClearBrush(canvas);
    // An end label stands centred on its end, as the axis' own labels on theirs: it is drawn only
    // where both texts fit between the two with a blank to spare.
    const int blank = width(QStringLiteral(" "), nullptr);
    auto clear = [&](int gap, const QString& end) {
        return gap > kEndLabelGap && 2 * gap >= width(end, nullptr) + itemWidth + 2 * blank;
    };
    const QString minText = text(minimum);
    const QString maxText = text(maximum);
    if (clear(Pixel(axis, lowest->Value()) - minPixel, minText))
        axis.DrawLabelText(minPixel, y, 0, minText);
    if (clear(maxPixel - Pixel(axis, highest->Value()), maxText))
        axis.DrawLabelText(maxPixel, y, 0, maxText);
}

void DrawHarmonics(const OverlayPainter& p, TColor colour, double f, int order)
{
    // The harmonics of a positive frequency only move right, so none after the first beyond the
    // axis is drawn, whatever the order; k in 64 bits cannot wrap at the largest order.
    const double maximum = p.Bottom.CurrentMaximum();
    for (int64_t k = 1; k <= order; ++k) {
        const double x = f * static_cast<double>(k);
        if (f > 0.0 && x > maximum)
            break;
        DrawHarmonicLine(p, colour, QStringLiteral("*") + QString::number(k), x, kHarmonicRow);
    }
}

void PlaceSegmentMarks(const PerSet<TChartSeries*>& marks, const TChartAxis& left)
{
    const double minimum = left.CurrentMinimum();
    const double h = static_cast<double>(
        RoundHalfEven(minimum + (left.CurrentMaximum() - minimum) / 100.0 * kSegmentMarkHeightPercent));
    for (TChartSeries* set : marks) {
        if (!set)
            continue;
        const std::span<const double> ys = set->YValues().Values();
        for (int i = 0; i < set->Count(); ++i)
            if (ys[static_cast<size_t>(i)] != h)
                set->SetPointY(i, h);
    }
}

// The segment stops crowd together at the top of a logarithmic axis, and the last stop is the
// axis' end, so centred numbers would cover each other and run out of the plot (the "0" of the
// point before the first segment onto the level axis' labels). Every number is drawn: one whose
// box reaches past an end of the axis moves in, and one that would touch a number already
// placed goes up to the lowest row above its mark where it stays apart.
void ArrangeSegmentNumbers(TChartSeries& series, const TChartAxis& bottom)
{
    TSeriesMarks& marks = series.Marks();
    marks.Positions().Clear();
    if (!series.Active() || !marks.Visible())
        return;
    const int from = std::min(bottom.StartPixel(), bottom.EndPixel());
    const int to = std::max(bottom.StartPixel(), bottom.EndPixel());
    std::vector<int> rowEnds;   // per row, the right end of its last number
    for (int i = 0; i < series.Count(); ++i) {
        const int x = series.XToPixel(i);
        TPlotCustomShape& shape = marks.ItemOf(i);
        if (x < from || x > to || !shape.Visible())
            continue;
        TSeriesMarkPosition position = marks.MarkPosition(shape, QString::number(i), x, series.YToPixel(i));
        marks.ApplyArrowLength(position);
        const int lowest = from + kSegmentNumberClearance;
        const int highest = to - kSegmentNumberClearance - (MarkRight(marks, position) - position.LeftTop.X);
        if (highest < lowest)
            continue;
        position.LeftTop.X = std::clamp(position.LeftTop.X, lowest, highest);
        size_t row = 0;
        while (row < rowEnds.size() && position.LeftTop.X < rowEnds[row] + kSegmentNumberClearance)
            ++row;
        if (row == rowEnds.size())
            rowEnds.push_back(0);
        rowEnds[row] = MarkRight(marks, position);
        const int frame = marks.Pen().Visible() ? marks.Pen().Width() : 0;
        const int lift = static_cast<int>(row) * (position.Height + frame + kSegmentNumberClearance);
        position.LeftTop.Y -= lift;
        position.ArrowTo.Y -= lift;
        marks.Positions().SetPosition(i, position);
    }
}

void SegmentNumberText(TChartSeries* marks, int index, QString& text)
{
    const TSeriesMarkPosition* placed = marks->Marks().Positions().Position(index);
    if (!placed || !placed->Custom)
        text.clear();
}

void DrawMainChartOverlays(const OverlayPainter& p, const OverlayScene& scene)
{
    PerSet<TChartSeries*> marks;
    for (MeasureSet set : kMeasureSets)
        marks[set] = scene.Sets[set].SegmentMarks;
    PlaceSegmentMarks(marks, p.Left);
    for (const SetOverlay& set : scene.Sets)
        if (set.SegmentMarks)
            ArrangeSegmentNumbers(*set.SegmentMarks, p.Bottom);
    const MainWindowColors& c = scene.Colors;
    for (MeasureSet set : kMeasureSets) {
        const SetOverlay& s = scene.Sets[set];
        if (s.View && s.Peaks)
            DrawPeakMarks(p, *s.Peaks, {c.PeakCircles[set], c.RemeasureCrosses[set], scene.BackColor},
                          scene.ShowMarkerNumbers);
    }
    DrawBottomAxisLabels(p, scene.ScaledKhz);
    for (MeasureSet set : kMeasureSets) {
        const SetOverlay& s = scene.Sets[set];
        if (s.ShowMarkers && s.Markers)
            DrawStoredFlags(p, *s.Markers, c[kCorrectedTraceColors[set]], scene.Unit, scene.FlagsAtLevels);
    }
}
