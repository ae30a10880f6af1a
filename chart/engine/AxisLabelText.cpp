// Writing one axis label or title: lines, rotation, frame, and the exponent of a number.
#include "chart/engine/ChartAxis.h"

#include "app/NumberText.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/AxisTitle.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr uint32_t kAlignLeft = 0;
constexpr uint32_t kAlignRight = 2;
constexpr uint32_t kAlignCenter = 6;
constexpr uint32_t kAlignBottom = 8;
constexpr QChar kLineSeparator(13);

int Round(double value)
{
    return static_cast<int>(RoundHalfEven(value));
}

} // namespace

void TChartAxis::WriteLabelLine(int x, int y, int z, int angle, const QString& line, uint32_t align)
{
    TCanvas3D& canvas = chart_.Canvas();
    if (angle != 0) {
        canvas.RotateLabelAtDepth(x, y, z, line, angle);
        return;
    }
    const int e = line.toUpper().indexOf(QChar('E'));
    if (!labelsExponent_ || e < 0) {
        canvas.TextOutAtDepth(x, y, z, line);
        return;
    }
    const QString mantissa = line.left(e);
    const QString exponent = line.mid(e + 1);
    const int raise = canvas.FontHeight() - 1;
    TFont& font = canvas.Font();
    const int32_t size = font.Size();
    const int32_t small = size - size / 4;
    const int exponentY = y - raise / 2 + 2;
    if ((align & kAlignCenter) == 0) {
        canvas.TextOutAtDepth(x, y, z, mantissa);
        const int mantissaWidth = canvas.TextWidth(mantissa);
        font.SetSize(small);
        canvas.TextOutAtDepth(x + mantissaWidth + 1, exponentY, z, exponent);
    } else {
        font.SetSize(small);
        const int w = canvas.TextWidth(exponent) + 1;
        canvas.TextOutAtDepth((align & kAlignCenter) == kAlignCenter ? x + w / 2 : x, exponentY, z, exponent);
        font.SetSize(size);
        canvas.TextOutAtDepth(x - w, y, z, mantissa);
    }
    font.SetSize(size);
}

void TChartAxis::DrawLabelText(int x, int y, int angle, const QString& text, TPlotCustomShape* format, int z)
{
    TCanvas3D& canvas = chart_.Canvas();
    TPlotCustomShape* shape = format ? format : &items_->Format();
    if (!isDepth_)
        z = depthOffset_;
    angle = NormalizeAxisAngle(angle);
    if (angle % 90 != 0 && !isDepth_) {
        DrawSlantedLabel(x, y, z, angle, text, shape);
        return;
    }
    const int half = canvas.FontHeight() / 2;
    static constexpr uint32_t kTable[2][2] = {{kAlignRight, kAlignLeft}, {kAlignCenter, kAlignCenter | kAlignBottom}};
    const int h = horizontal_ ? 1 : 0;
    const int o = otherSide_ ? 1 : 0;
    const int n = otherSide_ ? 0 : 1;
    uint32_t align = kAlignLeft;
    switch (angle) {
    case 0:
        align = kTable[h][o];
        if (!horizontal_ && labelsAlign_ == alOpposite) {
            align = otherSide_ ? kAlignRight : kAlignLeft;
            const int size = LabelsSizeValue();
            x += otherSide_ ? size : -size;
        }
        if (!horizontal_ && !isDepth_)
            y -= half;
        break;
    case 90:
        align = horizontal_ ? kTable[0][o] : kTable[1][n];
        if (horizontal_)
            x -= half;
        if (isDepth_)
            y += half;
        break;
    case 180:
        align = kTable[h][n];
        if (!horizontal_ || isDepth_)
            y += half;
        break;
    case 270:
        align = horizontal_ ? kTable[0][n] : kTable[1][o];
        if (horizontal_)
            x += half;
        if (isDepth_)
            y += half;
        break;
    default:
        // Only a depth axis gets here; the others slant their labels about the tick.
        align = kAlignLeft;
        break;
    }

    QStringList lines = text.split(kLineSeparator);
    int count = static_cast<int>(lines.size());
    int lineHeight = canvas.FontHeight();
    if (angle == 180 || angle == 270)
        lineHeight = -lineHeight;
    const int spread = static_cast<int>(RoundHalfEven(lineHeight * 0.5 * (count + 1)));
    if (horizontal_) {
        if (angle == 0)
            y -= otherSide_ ? lineHeight * count : lineHeight;
        else if (angle == 180)
            y -= otherSide_ ? lineHeight : lineHeight * count;
        else if (angle == 90 || angle == 270)
            x -= spread;
    } else {
        if (angle == 0 || angle == 180)
            y -= spread;
        else if (angle == 90)
            x -= otherSide_ ? lineHeight : lineHeight * count;
        else if (angle == 270)
            x -= otherSide_ ? lineHeight * count : lineHeight;
    }

    if (dynamic_cast<TChartAxisTitle*>(shape) || shape != &items_->Format()) {
        int width = 0;
        for (const QString& line : lines)
            width = std::max(width, canvas.TextWidth(line));
        canvas.AssignFont(&shape->Font());
        const int height = canvas.FontHeight() * count;
        const int margin = canvas.TextWidth(QStringLiteral("W")) / 2;
        TRect box;
        if (angle == 0) {
            box.Left = x;
            box.Top = y + lineHeight - ((align & kAlignBottom) ? height : 0);
            box.Right = box.Left + width;
            box.Bottom = box.Top + height;
            const int shift = (align & kAlignCenter) == kAlignCenter ? width / 2
                            : (align & kAlignCenter) == kAlignRight ? width
                                                                    : 0;
            box.Left -= shift;
            box.Right -= shift;
        } else {
            // Around the rotated text, on the side of the anchor where the text lies.
            const double radians = angle * 0.017453292519943295;
            const int dx = static_cast<int>(RoundHalfEven(width * std::cos(radians)));
            const int dy = static_cast<int>(RoundHalfEven(-width * std::sin(radians)));
            box.Left = std::min(x, x + dx) - std::abs(lineHeight);
            box.Right = std::max(x, x + dx) + std::abs(lineHeight);
            box.Top = std::min(y, y + dy) - std::abs(lineHeight);
            box.Bottom = std::max(y, y + dy) + std::abs(lineHeight);
        }
        box.Left -= margin;
        box.Right += margin;
        shape->ShapeBounds = z != 0 ? canvas.CalcRect3D(box, z) : box;
        if (!shape->Transparent()) {
            shape->DrawOnCanvas(canvas, shape->ShapeBounds, z, angle);
            canvas.Brush().SetStyle(bsClear);
        }
        canvas.AssignFont(&shape->Font());
    }

    canvas.SetTextAlign(align);
    bool draw = true;
    QString shown = text;
    if (OnDrawLabel) {
        OnDrawLabel(this, x, y, z, shown, draw);
        lines = shown.split(kLineSeparator);
        count = static_cast<int>(lines.size());
    }
    if (draw) {
        for (const QString& line : lines) {
            if (angle == 90 || angle == 270)
                x += lineHeight;
            else
                y += lineHeight;
            WriteLabelLine(x, y, z, angle, line, align);
        }
    }
    canvas.SetTextAlign(kAlignLeft);
}

// --- Slanted labels -----------------------------------------------------------------------------

// A label slanted by an angle that is no multiple of 90 degrees is a block of lines turned about
// its first line's start. It is anchored by the edge it ends (or starts) with: the end when it
// reads towards the axis, the start when it reads away. The middle of that edge stands on the tick,
// and the block's nearest corner on the line the labels start from, so the block reaches outwards
// from there by its real extent across the axis.
TChartAxis::SlantedBlock TChartAxis::PlaceSlanted(int x, int y, int angle, int width, int lines,
                                                  int lineHeight) const
{
    const double radians = angle * 0.017453292519943295;
    const double c = std::cos(radians), s = std::sin(radians);
    // Along the text (u) and from one line to the next (v), in screen coordinates (y down).
    const std::array<double, 2> u{c, -s}, v{s, c};
    const size_t across = horizontal_ ? 1 : 0;
    const size_t along = 1 - across;
    // Away from the plot: down from the bottom axis, right from the right axis, else up or left.
    const double outward = horizontal_ != otherSide_ ? 1.0 : -1.0;
    const bool towards = u[across] * outward < 0;
    const double e = towards ? -1.0 : 1.0;
    const double h = static_cast<double>(lineHeight) * lines;
    // The corners, relative to the first line's reference point.
    const double corners[4] = {0.0, h * v[across], e * width * u[across],
                               e * width * u[across] + h * v[across]};
    double nearest = corners[0] * outward;
    for (const double corner : corners)
        nearest = std::min(nearest, corner * outward);
    const std::array<int, 2> at{x, y};
    std::array<double, 2> start{};
    start[along] = at[along] - h * 0.5 * v[along];
    start[across] = at[across] - outward * nearest;
    SlantedBlock block;
    block.Align = towards ? kAlignRight : kAlignLeft;
    block.X = start[0];
    block.Y = start[1];
    block.LineX = lineHeight * v[0];
    block.LineY = lineHeight * v[1];
    block.TextX = e * width * u[0];
    block.TextY = e * width * u[1];
    return block;
}

int TChartAxis::SlantedExtent(int angle, int width, int lines, int lineHeight) const
{
    const double radians = angle * 0.017453292519943295;
    const double along = std::fabs(horizontal_ ? std::sin(radians) : std::cos(radians));
    const double across = std::fabs(horizontal_ ? std::cos(radians) : std::sin(radians));
    return static_cast<int>(std::ceil(width * along + static_cast<double>(lineHeight) * lines * across));
}

void TChartAxis::DrawSlantedLabel(int x, int y, int z, int angle, const QString& text, TPlotCustomShape* shape)
{
    TCanvas3D& canvas = chart_.Canvas();
    QStringList lines = text.split(kLineSeparator);
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, canvas.TextWidth(line));
    const int lineHeight = canvas.FontHeight();
    const SlantedBlock block = PlaceSlanted(x, y, angle, width, static_cast<int>(lines.size()), lineHeight);
    if (dynamic_cast<TChartAxisTitle*>(shape) || shape != &items_->Format()) {
        // The frame goes round the turned block, half a "W" wider on each side.
        const double n = static_cast<double>(lines.size());
        const double xs[4] = {block.X, block.X + block.LineX * n, block.X + block.TextX,
                              block.X + block.TextX + block.LineX * n};
        const double ys[4] = {block.Y, block.Y + block.LineY * n, block.Y + block.TextY,
                              block.Y + block.TextY + block.LineY * n};
        canvas.AssignFont(&shape->Font());
        const int margin = canvas.TextWidth(QStringLiteral("W")) / 2;
        const TRect box{Round(*std::min_element(xs, xs + 4)) - margin, Round(*std::min_element(ys, ys + 4)),
                        Round(*std::max_element(xs, xs + 4)) + margin, Round(*std::max_element(ys, ys + 4))};
        shape->ShapeBounds = z != 0 ? canvas.CalcRect3D(box, z) : box;
        if (!shape->Transparent()) {
            shape->DrawOnCanvas(canvas, shape->ShapeBounds, z, 0);
            canvas.Brush().SetStyle(bsClear);
        }
        canvas.AssignFont(&shape->Font());
    }
    canvas.SetTextAlign(block.Align);
    int firstX = Round(block.X), firstY = Round(block.Y);
    bool draw = true;
    QString shown = text;
    if (OnDrawLabel) {
        OnDrawLabel(this, firstX, firstY, z, shown, draw);
        lines = shown.split(kLineSeparator);
    }
    for (int k = 0; draw && k < lines.size(); ++k)
        WriteLabelLine(firstX + Round(k * block.LineX), firstY + Round(k * block.LineY), z, angle, lines[k],
                       block.Align);
    canvas.SetTextAlign(kAlignLeft);
}
