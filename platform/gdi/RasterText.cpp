// Text of the raster device context: placement by the alignment flags and escapement, drawn and
// measured with the selected font through QPainter.

#include "platform/gdi/RasterDCImpl.h"

#include <QTextLayout>
#include <QTransform>
#include <cmath>

namespace gdi {

using namespace raster;

namespace {

struct TextPlacement {
    QTransform toDevice;    // text space (origin at the reference point) to device
    QPointF baseline;       // start of the baseline in text space
    QRectF cell;            // the text's cell in text space
};

// width is the text's advance; it is only looked at when something depends on it.
TextPlacement PlaceText(const QFontMetrics& m, uint32_t align, int32_t escapement, int32_t x, int32_t y,
                        int width)
{
    TextPlacement t;
    double dx = 0;
    switch (align & TA_HORIZONTAL_MASK) {
    case TA_RIGHT: dx = -width; break;
    case TA_CENTER: dx = -(width / 2); break;
    default: break;
    }
    double base = m.ascent();
    switch (align & TA_VERTICAL_MASK) {
    case TA_BASELINE: base = 0; break;
    case TA_BOTTOM: base = -m.descent(); break;
    default: break;
    }
    t.baseline = QPointF(dx, base);
    t.cell = QRectF(dx, base - m.ascent(), width, m.ascent() + m.descent());
    t.toDevice.translate(x, y);
    if (escapement != 0)
        t.toDevice.rotate(-escapement / 10.0);
    return t;
}

// The entry of a text, a new empty one when the text is not kept yet.
RasterDC::Impl::ShapedText& Entry(RasterDC::Impl::TextShapes& texts, const QString& text)
{
    // Bounded: texts that change on every drawing (a running read-out) must not pile up.
    constexpr size_t kKept = 4096;
    if (const auto hit = texts.find(text); hit != texts.end())
        return hit->second;
    if (texts.size() >= kKept)
        texts.clear();
    return texts[text];
}

// Texts drawn from their kept glyphs: one line of printable characters in a font without lines
// of its own (underline and strike-out are drawn by other rules than a glyph run's).
bool DrawsFromGlyphs(const Font& font, const QString& text)
{
    if (font.underline || font.strikeOut)
        return false;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    return true;
}

} // namespace

int RasterDC::Impl::TextWidth(const QString& text)
{
    ShapedText& entry = Entry(*texts, text);
    if (entry.width < 0)
        entry.width = metrics->horizontalAdvance(text);
    return entry.width;
}

const RasterDC::Impl::ShapedText& RasterDC::Impl::Shaped(const QString& text)
{
    ShapedText& entry = Entry(*texts, text);
    if (!entry.shaped) {
        QTextLayout layout(text, qfont);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        entry.ascent = line.ascent();
        entry.runs = layout.glyphRuns();
        entry.shaped = true;
    }
    return entry;
}

void RasterDC::TextOut(int32_t x, int32_t y, const QString& text)
{
    const DcState& s = State();
    if (s.textAlign & TA_UPDATECP) {
        x = s.pos.x;
        y = s.pos.y;
    }
    const QFontMetrics& m = *d_->metrics;
    // Measuring shapes the text as drawing does, so text placed by its left end on a transparent
    // background (every run of a formatted text) is not measured: nothing there needs the width.
    const bool needsWidth = (s.textAlign & TA_HORIZONTAL_MASK) != TA_LEFT || (s.textAlign & TA_UPDATECP) ||
                            (s.bkMode == OPAQUE && !InPath());
    const int width = needsWidth ? d_->TextWidth(text) : 0;
    const TextPlacement t = PlaceText(m, s.textAlign, s.font.escapement, x, y, width);
    if (s.textAlign & TA_UPDATECP) {
        const QPointF end = t.toDevice.map(QPointF(t.cell.right(), 0));
        if ((s.textAlign & TA_HORIZONTAL_MASK) == TA_LEFT)
            MovedTo(Point{static_cast<int32_t>(std::lround(end.x())), s.pos.y});
    }
    if (InPath()) {
        QPainterPath glyphs;
        glyphs.addText(t.baseline, d_->qfont, text);
        d_->path.addPath(t.toDevice.map(glyphs));
        return;
    }
    if (text.isEmpty())
        return;
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setTransform(t.toDevice);
    if (s.bkMode == OPAQUE)
        p.fillRect(t.cell, QColor::fromRgb(ToQRgb(s.bkColor)));
    p.setFont(d_->qfont);
    p.setPen(QColor::fromRgb(ToQRgb(s.textColor)));
    if (!DrawsFromGlyphs(s.font, text)) {
        p.drawText(t.baseline, text);
        return;
    }
    const Impl::ShapedText& shaped = d_->Shaped(text);
    for (const QGlyphRun& run : shaped.runs)
        p.drawGlyphRun(t.baseline - QPointF(0, shaped.ascent), run);
}

Size RasterDC::GetTextExtentPoint(const QString& text) const
{
    const QFontMetrics& m = *d_->metrics;
    return Size{d_->TextWidth(text), m.ascent() + m.descent()};
}

TextMetric RasterDC::GetTextMetrics() const
{
    const QFontMetrics& m = *d_->metrics;
    TextMetric tm;
    tm.ascent = m.ascent();
    tm.descent = m.descent();
    tm.height = tm.ascent + tm.descent;
    tm.internalLeading = std::max(0, tm.height - d_->qfont.pixelSize());
    tm.externalLeading = m.leading();
    tm.aveCharWidth = m.averageCharWidth();
    tm.maxCharWidth = m.maxWidth();
    return tm;
}

} // namespace gdi
