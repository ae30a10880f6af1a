#include "chart/series/ChartTitles.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotHtml.h"
#include "chart/engine/AxisPanel.h"

#include <algorithm>

TChartTitle::TChartTitle(PlotShapeOwner* chart, bool top) : TPlotCustomShapePosition(nullptr), top_(top)
{
    SetTransparent(true);
    SetDefaultTransparent(true);
    Font().SetColor(clBlue);
    SetParentChart(chart);
}

void TChartTitle::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (&source == this)
        return;
    if (const auto* title = dynamic_cast<const TChartTitle*>(&source)) {
        adjustFrame_ = title->adjustFrame_;
        alignment_ = title->alignment_;
        text_ = title->text_;
        vertMargin_ = title->vertMargin_;
    }
    TPlotCustomShapePosition::Assign(source);
}

void TChartTitle::SetText(const QStringList& value)
{
    text_ = value;
    Repaint();
}

bool TChartTitle::Clicked(int x, int y) const
{
    return Visible() && x >= ShapeBounds.Left && x <= ShapeBounds.Right && y >= ShapeBounds.Top &&
           y <= ShapeBounds.Bottom;
}

void TChartTitle::DrawTitle(TCustomAxisPanel& chart)
{
    if (!Visible() || text_.isEmpty())
        return;
    TPlotCanvas3D& canvas = chart.Canvas();
    const bool custom = CustomPosition();
    int f = Pen().Visible() && Pen().Color() != clDefault ? Pen().Width() : 0;
    if (Bevel() != bvNone)
        f = BevelWidth();

    TRect r = custom ? ShapeBounds : chart.ChartRect;
    if (!custom && top_)
        r.Top += f;
    canvas.AssignFont(&Font());
    const int h = canvas.FontHeight();
    const int lines = static_cast<int>(text_.size());
    const bool html = TextFormat() == ttfHtml;
    const QString htmlText = html ? HtmlLineBreaks(text_.join(QChar(13))) : QString();
    // An HTML text has the lines its breaks make, as high as its fonts and scripts make them.
    const gdi::Size htmlExtent = html ? canvas.TextExtentFormat(htmlText, true) : gdi::Size{};
    const int textHeight = html ? htmlExtent.cy : lines * h;
    if (top_ || custom)
        r.Bottom = r.Top + textHeight;
    else
        r.Top = r.Bottom - textHeight;
    const int textTop = r.Top;
    if (!custom)
        r = TRect{r.Left - f, r.Top - f, r.Right + f, r.Bottom + f};

    const int w = canvas.TextWidth(QStringLiteral("W"));
    if (adjustFrame_) {
        int widest = 0;
        if (html)
            widest = htmlExtent.cx;
        else
            for (const QString& line : text_)
                widest = std::max(widest, canvas.TextWidth(line));
        const int total = widest + w + f;
        switch (alignment_) {
        case taLeftJustify: r.Right = r.Left + total; break;
        case taRightJustify: r.Left = r.Right - total; break;
        case taCenter: {
            if (custom)
                r.Right = r.Left + total;
            const int centre = (r.Left + r.Right) / 2;
            r.Left = centre - total / 2;
            r.Right = centre + total / 2;
            break;
        }
        }
    }
    ShapeBounds = r;
    DrawOnCanvas(canvas, r, 0, 0.0);

    canvas.AssignFont(&Font());
    canvas.SetBackMode(cbmTransparent);
    canvas.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
    if (html) {
        // Anchored where the plain lines are: each line starts, ends or is centred there.
        const TextAnchor anchor = AnchorBetween(alignment_, r.Left + w / 2, r.Right - w / 2);
        canvas.SetTextAlign(anchor.Align);
        canvas.TextOutFormat(anchor.X, textTop, htmlText, true);
        canvas.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
    } else {
        for (int i = 0; i < lines; ++i) {
            const QString& line = text_[i];
            int x = 0;
            switch (alignment_) {
            case taLeftJustify: x = r.Left + w / 2; break;
            case taRightJustify: x = r.Right - canvas.TextWidth(line) - w / 2; break;
            case taCenter: x = (r.Left + r.Right) / 2 - canvas.TextWidth(line) / 2; break;
            }
            canvas.TextOut(x, textTop + i * h, line);
        }
    }

    if (custom || chart.CustomChartRect)
        return;
    int shadow = 0;
    if (!Transparent() && HasShadow() && Shadow().Visible())
        shadow = Shadow().GetSize();
    if (top_)
        chart.ChartRect.Top = r.Bottom + vertMargin_ + f + shadow;
    else
        chart.ChartRect.Bottom -= textHeight + vertMargin_ + shadow;
    chart.RecalcChartBounds();
}

TChartFootTitle::TChartFootTitle(PlotShapeOwner* chart) : TChartTitle(nullptr, false)
{
    Font().SetColor(clRed);
    Font().SetStyle(fsItalic);
    SetParentChart(chart);
}
