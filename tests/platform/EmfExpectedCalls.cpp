// What a recording is expected to read back as, in the reader's words.
#include "EmfReader.h"

#include "EmfCallText.h"

#include "platform/gdi/EmfWriter.h"
#include "platform/gdi/RecordingDC.h"

#include <gtest/gtest.h>

namespace emfread {

using namespace text;

int32_t RecordedWidth(const gdi::Font& font, int32_t charExtra, const QString& text)
{
    gdi::RecordingDC dc(1, 1);
    dc.SetTextCharacterExtra(charExtra);
    dc.SelectFont(font);
    return dc.GetTextExtentPoint(text).cx;
}

QStringList ExpectedCalls(const gdi::Metafile& m)
{
    using namespace gdi;
    QStringList calls;
    const Pen defaultPen;
    const Brush defaultBrush;
    const Font defaultFont;
    int32_t pen = -1, brush = -1, font = -1, extra = 0;
    uint32_t rop2 = R2_COPYPEN, bkMode = OPAQUE, bkColor = 0xFFFFFF, textColor = 0, align = 0,
             fill = ALTERNATE, arcDirection = AD_COUNTERCLOCKWISE;
    bool inPath = false;
    auto penText = [&] {
        const Pen& p = pen >= 0 ? m.Pens[static_cast<size_t>(pen)] : defaultPen;
        QString s = PenText(p.style, p.width, p.color);
        if ((p.style & PS_STYLE_MASK) == PS_USERSTYLE) {
            s += QStringLiteral(" user");
            for (uint32_t v : p.userStyle)
                s += QLatin1Char(' ') + QString::number(v);
        }
        return s;
    };
    auto brushText = [&](int32_t index) {
        const Brush& b = index >= 0 ? m.Brushes[static_cast<size_t>(index)] : defaultBrush;
        switch (b.style) {
        case BS_NULL:
            return QStringLiteral("brush null");
        case BS_HATCHED:
            return QStringLiteral("brush hatch %1 %2").arg(b.hatch).arg(Hex(b.color));
        case BS_PATTERN: {
            if (b.pattern.isNull())
                return QStringLiteral("brush null");
            QImage pattern = b.pattern;
            if (pattern.format() == QImage::Format_Mono || pattern.format() == QImage::Format_MonoLSB) {
                pattern = pattern.convertToFormat(QImage::Format_Mono);
                pattern.setColor(0, ToQRgb(textColor));
                pattern.setColor(1, ToQRgb(bkColor));
            }
            return PatternText(pattern);
        }
        default:
            return QStringLiteral("brush solid ") + Hex(b.color);
        }
    };
    auto paint = [&](bool withPen, bool withBrush) {
        if (inPath)
            return QString();
        QString s;
        if (withPen)
            s += QStringLiteral(" | ") + penText();
        if (withBrush)
            s += QStringLiteral(" | ") + brushText(brush);
        return s + QStringLiteral(" | ") + Modes(rop2);
    };
    for (const MetaRecord& r : m.Records) {
        const int32_t* a = r.a;
        switch (r.op) {
        case MetaOp::SelectPen:
            pen = r.index;
            break;
        case MetaOp::SelectBrush:
            brush = r.index;
            break;
        case MetaOp::SelectFont:
            font = r.index;
            break;
        case MetaOp::SetROP2:
            rop2 = static_cast<uint32_t>(a[0]);
            break;
        case MetaOp::SetBkMode:
            bkMode = static_cast<uint32_t>(a[0]);
            break;
        case MetaOp::SetBkColor:
            bkColor = static_cast<uint32_t>(a[0]);
            break;
        case MetaOp::SetTextColor:
            textColor = static_cast<uint32_t>(a[0]);
            break;
        case MetaOp::SetTextAlign:
            align = static_cast<uint32_t>(a[0]);
            break;
        case MetaOp::SetTextCharExtra:
            extra = a[0];
            break;
        case MetaOp::SetPolyFillMode:
            fill = static_cast<uint32_t>(a[0]);
            break;
        case MetaOp::SetArcDirection:
            arcDirection = static_cast<uint32_t>(a[0]);
            break;
        case MetaOp::SetGraphicsMode:
            break;
        case MetaOp::MoveTo:
            calls << QStringLiteral("MoveTo %1 %2").arg(a[0]).arg(a[1]);
            break;
        case MetaOp::LineTo:
            calls << QStringLiteral("LineTo %1 %2").arg(a[0]).arg(a[1]) + paint(true, false);
            break;
        case MetaOp::Polyline:
            calls << QStringLiteral("Polyline ") + Points(r.points) + paint(true, false);
            break;
        case MetaOp::Polygon:
            calls << QStringLiteral("Polygon ") + Points(r.points) + paint(true, true)
                    + (inPath ? QString() : QStringLiteral(" f%1").arg(fill));
            break;
        case MetaOp::Rectangle:
            calls << QStringLiteral("Rectangle ") + Numbers({a[0], a[1], a[2], a[3]}) + Direction(arcDirection)
                    + paint(true, true);
            break;
        case MetaOp::Ellipse:
            calls << QStringLiteral("Ellipse ") + Numbers({a[0], a[1], a[2], a[3]}) + Direction(arcDirection)
                    + paint(true, true);
            break;
        case MetaOp::RoundRect:
            calls << QStringLiteral("RoundRect ") + Numbers({a[0], a[1], a[2], a[3], a[4], a[5]})
                    + Direction(arcDirection) + paint(true, true);
            break;
        case MetaOp::Arc:
        case MetaOp::Pie:
        case MetaOp::Chord: {
            const QString name = r.op == MetaOp::Arc ? QStringLiteral("Arc ")
                : r.op == MetaOp::Pie                ? QStringLiteral("Pie ")
                                                     : QStringLiteral("Chord ");
            calls << name + Numbers({a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]}) + Direction(arcDirection)
                    + paint(true, r.op != MetaOp::Arc);
            break;
        }
        case MetaOp::FillRect:
            calls << QStringLiteral("PatBlt ") + Numbers({a[0], a[1], a[2] - a[0], a[3] - a[1], PATCOPY})
                    + QStringLiteral(" | ") + brushText(r.index);
            break;
        case MetaOp::PatBlt:
            calls << QStringLiteral("PatBlt ") + Numbers({a[0], a[1], a[2], a[3], r.rop})
                    + QStringLiteral(" | ") + brushText(brush);
            break;
        case MetaOp::SetPixel:
            calls << QStringLiteral("SetPixel %1 %2 %3")
                         .arg(a[0])
                         .arg(a[1])
                         .arg(Hex(static_cast<uint32_t>(a[2])));
            break;
        case MetaOp::TextOut: {
            if (r.text.isEmpty())
                break; // draws nothing
            Font f = font >= 0 ? m.Fonts[static_cast<size_t>(font)] : defaultFont;
            // A font of height 0 is the raster back end's default character height.
            QString call = QStringLiteral("Text %1 %2 \"%3\" w=%4 | ")
                               .arg(a[0])
                               .arg(a[1])
                               .arg(r.text)
                               .arg(RecordedWidth(f, extra, r.text))
                + FontText(f.height == 0 ? -16 : f.height, f.escapement, f.weight, f.faceName.left(31))
                + QStringLiteral(" | %1 a%2").arg(Hex(textColor)).arg(align);
            if (!inPath)
                call += bkMode == OPAQUE ? QStringLiteral(" | opaque ") + Hex(bkColor)
                                         : QStringLiteral(" | transparent");
            calls << call;
            break;
        }
        case MetaOp::SelectClip: {
            if (r.index < 0) {
                calls << QStringLiteral("Clip none");
                break;
            }
            std::vector<std::array<int32_t, 4>> rects;
            for (const QRect& q : m.Regions[static_cast<size_t>(r.index)].Pixels())
                rects.push_back({q.left(), q.top(), q.left() + q.width(), q.top() + q.height()});
            calls << Rects(rects);
            break;
        }
        case MetaOp::BeginPath:
            inPath = true;
            calls << QStringLiteral("BeginPath");
            break;
        case MetaOp::EndPath:
            inPath = false;
            calls << QStringLiteral("EndPath");
            break;
        case MetaOp::AbortPath:
            inPath = false;
            calls << QStringLiteral("AbortPath");
            break;
        case MetaOp::CloseFigure:
            calls << QStringLiteral("CloseFigure");
            break;
        case MetaOp::StrokePath:
            calls << QStringLiteral("StrokePath | ") + penText();
            break;
        case MetaOp::FillPath:
            calls << QStringLiteral("FillPath | ") + brushText(brush) + QStringLiteral(" f%1").arg(fill);
            break;
        case MetaOp::StrokeAndFillPath:
            calls << QStringLiteral("StrokeAndFillPath | ") + penText() + QStringLiteral(" | ")
                    + brushText(brush) + QStringLiteral(" f%1").arg(fill);
            break;
        case MetaOp::SelectClipPath:
            calls << QStringLiteral("ClipPath %1 f%2").arg(a[0]).arg(fill);
            break;
        case MetaOp::StretchBlt: {
            const QImage& image = m.Images[static_cast<size_t>(r.index)];
            // A transfer without a raster operation copies.
            calls << QStringLiteral("Image ")
                    + Numbers({a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], r.rop ? r.rop : SRCCOPY})
                    + QStringLiteral(" | %1x%2 %3")
                          .arg(image.width())
                          .arg(image.height())
                          .arg(Checksum(image));
            break;
        }
        }
    }
    return calls;
}

Picture ExpectReadsBack(const gdi::Metafile& m)
{
    const QByteArray file = gdi::EncodeEmf(m);
    Picture p = Read(file);
    EXPECT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    EXPECT_EQ(p.bounds, (std::array<int32_t, 4> {0, 0, m.Width - 1, m.Height - 1}));
    // The frame in hundredths of a millimetre at 96 units per inch.
    EXPECT_EQ(p.frame,
        (std::array<int32_t, 4> {0, 0, static_cast<int32_t>(std::lround(m.Width * 2540.0 / 96)) - 1,
            static_cast<int32_t>(std::lround(m.Height * 2540.0 / 96)) - 1}));
    EXPECT_EQ(p.device, (std::array<int32_t, 2> {1920, 1440}));
    EXPECT_EQ(p.millimetres, (std::array<int32_t, 2> {508, 381}));
    EXPECT_EQ(p.micrometres, (std::array<int32_t, 2> {508000, 381000}));
    EXPECT_TRUE(p.description.startsWith(QStringLiteral("Zendrik"))) << p.description.toStdString();
    EXPECT_EQ(p.handles, p.highestHandle + 1);
    const QStringList expected = ExpectedCalls(m);
    const qsizetype n = std::min(expected.size(), p.calls.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (expected[i] != p.calls[i]) {
            ADD_FAILURE() << "call " << i << " differs:\n  recorded " << expected[i].left(300).toStdString()
                          << "\n  read     " << p.calls[i].left(300).toStdString();
            return p;
        }
    }
    EXPECT_EQ(p.calls.size(), expected.size());
    return p;
}

} // namespace emfread
