#include "EmfReader.h"

#include "EmfCallText.h"

#include "platform/gdi/EmfWriter.h"

#include <QRegion>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <optional>

namespace emfread {

namespace {

using namespace text;

// The smallest size of every record this reader knows (type, bytes); the variable parts are
// checked where they are read.
const std::map<uint32_t, uint32_t>& MinimumSizes()
{
    static const std::map<uint32_t, uint32_t> sizes = {
        {1, 88}, {3, 28}, {4, 28}, {14, 20}, {15, 20}, // header, polygon, polyline, end, pixel
        {18, 12}, {19, 12}, {20, 12}, {22, 12}, {24, 12}, {25, 12}, {57, 12}, // modes and colours
        {27, 16}, {54, 16}, // move to, line to
        {37, 12}, {38, 28}, {39, 24}, {40, 12}, {82, 104}, {94, 32}, {95, 52}, // objects
        {42, 24}, {43, 24}, {44, 32}, {45, 40}, {46, 40}, {47, 40}, // box shapes and arcs
        {59, 8}, {60, 8}, {61, 8}, {62, 24}, {63, 24}, {64, 24}, {67, 12}, {68, 8}, // paths
        {75, 16}, {76, 100}, {81, 80}, {84, 76}, {86, 28}, {87, 28}, // clip, transfers, text, 16-bit polys
    };
    return sizes;
}

// A device-independent bitmap of 24 or 32 bits per pixel, uncompressed, in either row order.
QImage Dib(
    const QByteArray& rec, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits, uint32_t cbBits, QString& error)
{
    const uint64_t size = static_cast<uint64_t>(rec.size());
    if (cbBmi < 40 || uint64_t {offBmi} + cbBmi > size || uint64_t {offBits} + cbBits > size) {
        error = QStringLiteral("bitmap outside its record");
        return {};
    }
    const char* h = rec.constData() + offBmi;
    const int32_t width = qFromLittleEndian<int32_t>(h + 4);
    const int32_t height = qFromLittleEndian<int32_t>(h + 8);
    const uint16_t planes = qFromLittleEndian<uint16_t>(h + 12);
    const uint16_t bits = qFromLittleEndian<uint16_t>(h + 14);
    const uint32_t compression = qFromLittleEndian<uint32_t>(h + 16);
    if (qFromLittleEndian<uint32_t>(h) < 40 || planes != 1 || (bits != 24 && bits != 32) || compression != 0
        || width <= 0 || height == 0) {
        error = QStringLiteral("bitmap header");
        return {};
    }
    const int rows = std::abs(height);
    const uint64_t stride = ((uint64_t {static_cast<uint32_t>(width)} * bits + 31) / 32) * 4;
    if (stride * static_cast<uint64_t>(rows) > cbBits) {
        error = QStringLiteral("bitmap bits short");
        return {};
    }
    QImage image(width, rows, QImage::Format_RGB32);
    const int step = bits / 8;
    for (int r = 0; r < rows; ++r) {
        const uchar* src
            = reinterpret_cast<const uchar*>(rec.constData() + offBits) + stride * static_cast<uint64_t>(r);
        const int y = height > 0 ? rows - 1 - r : r;
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(src[x * step + 2], src[x * step + 1], src[x * step]));
    }
    return image;
}

class Reader {
public:
    explicit Reader(Picture& p)
        : p_(p)
    {
    }
    void Run(const QByteArray& file);

private:
    bool Fail(const QString& why)
    {
        if (p_.error.isEmpty())
            p_.error = QStringLiteral("record %1: %2").arg(p_.list.size()).arg(why);
        return false;
    }
    bool Header(const Record& r, qsizetype fileSize);
    bool Create(const Record& r, int kind, const QString& text);
    bool Select(uint32_t handle);
    bool Delete(uint32_t handle);
    bool Decode(const Record& r);

    Picture& p_;
    // The object table: kind (0 free, 1 pen, 2 brush, 3 font) and what the object is. Entry 0
    // holds the defaults of the device, which stand for its stock objects.
    std::vector<std::pair<int, QString>> objects_;
    int pen_ = 0, brush_ = 0, font_ = 0; // selected: a handle, or 0 for a stock object
    QString stockPen_ = PenText(gdi::PS_SOLID, 1, 0);
    QString stockBrush_ = QStringLiteral("brush solid ffffff");
    QString stockFont_ = QStringLiteral("font stock");
    uint32_t rop2_ = gdi::R2_COPYPEN, bkMode_ = gdi::OPAQUE, bkColor_ = 0xFFFFFF, textColor_ = 0, align_ = 0,
             fill_ = gdi::ALTERNATE, arcDirection_ = gdi::AD_COUNTERCLOCKWISE;
    bool inPath_ = false;
    // The clip: none, or its rectangles. A reset followed at once by an intersection is one
    // selection of a region.
    std::optional<std::vector<std::array<int32_t, 4>>> clip_;
    bool resetPending_ = false;
    // The last polyline, so that a trace cut into joined pieces of the largest count a 16-bit
    // reader takes reads back as the one line it was.
    std::vector<gdi::Point> line_;
    QString lineAttrs_;
    size_t lineRecord_ = SIZE_MAX;
    size_t linePiece_ = 0;

    QString PenNow() const { return pen_ ? objects_[static_cast<size_t>(pen_)].second : stockPen_; }
    QString BrushNow() const { return brush_ ? objects_[static_cast<size_t>(brush_)].second : stockBrush_; }
    QString FontNow() const { return font_ ? objects_[static_cast<size_t>(font_)].second : stockFont_; }
};

bool Reader::Header(const Record& r, qsizetype fileSize)
{
    for (int i = 0; i < 4; ++i) {
        p_.bounds[static_cast<size_t>(i)] = r.I(8 + 4 * i);
        p_.frame[static_cast<size_t>(i)] = r.I(24 + 4 * i);
    }
    if (r.U(40) != 0x464D4520)
        return Fail(QStringLiteral("signature"));
    if (r.U(44) != 0x00010000)
        return Fail(QStringLiteral("version"));
    p_.bytes = r.U(48);
    p_.records = r.U(52);
    p_.handles = static_cast<uint16_t>(r.U(56) & 0xFFFF);
    if (p_.bytes != static_cast<uint64_t>(fileSize))
        return Fail(QStringLiteral("header byte count %1, file %2").arg(p_.bytes).arg(fileSize));
    if (p_.handles < 1)
        return Fail(QStringLiteral("no handle table"));
    const uint32_t chars = r.U(60), offset = r.U(64);
    if (chars > 0
        && (offset < 88 || uint64_t {offset} + 2ull * chars > static_cast<uint64_t>(r.bytes.size())))
        return Fail(QStringLiteral("description outside the header"));
    if (chars > 0)
        p_.description
            = QString::fromUtf16(reinterpret_cast<const char16_t*>(r.bytes.constData() + offset), chars);
    p_.device = {r.I(72), r.I(76)};
    p_.millimetres = {r.I(80), r.I(84)};
    // The extensions are there when the header is long enough and the description comes after them.
    if (r.bytes.size() >= 108 && (chars == 0 || offset >= 108))
        p_.micrometres = {r.I(100), r.I(104)};
    objects_.assign(p_.handles, {0, QString()});
    return true;
}

bool Reader::Create(const Record& r, int kind, const QString& text)
{
    const uint32_t handle = r.U(8);
    if (handle == 0 || handle >= p_.handles)
        return Fail(QStringLiteral("handle %1 outside the table of %2").arg(handle).arg(p_.handles));
    if (objects_[handle].first != 0)
        return Fail(QStringLiteral("handle %1 is taken").arg(handle));
    size_t lowest = 1;
    while (objects_[lowest].first != 0)
        ++lowest;
    if (lowest != handle)
        return Fail(QStringLiteral("handle %1 created while %2 is free").arg(handle).arg(lowest));
    objects_[handle] = {kind, text};
    p_.highestHandle = std::max(p_.highestHandle, static_cast<int>(handle));
    int live = 0;
    for (const auto& o : objects_)
        live += o.first != 0 ? 1 : 0;
    p_.maxLive = std::max(p_.maxLive, live);
    return true;
}

bool Reader::Select(uint32_t handle)
{
    if (handle & 0x80000000u) {
        const uint32_t stock = handle & 0x7FFFFFFF;
        static const char* brushes[] = {"ffffff", "c0c0c0", "808080", "404040", "000000"};
        if (stock <= 5) {
            brush_ = 0;
            stockBrush_ = stock == 5 ? QStringLiteral("brush null")
                                     : QStringLiteral("brush solid ") + QLatin1String(brushes[stock]);
        } else if (stock >= 6 && stock <= 8) {
            pen_ = 0;
            stockPen_ = PenText(stock == 8 ? gdi::PS_NULL : gdi::PS_SOLID, 1, stock == 6 ? 0xFFFFFF : 0);
        } else if (stock >= 10 && stock <= 17 && stock != 15) {
            font_ = 0;
            stockFont_ = QStringLiteral("font stock");
        } else {
            return Fail(QStringLiteral("unknown stock object %1").arg(stock));
        }
        return true;
    }
    if (handle == 0 || handle >= p_.handles || objects_[handle].first == 0)
        return Fail(QStringLiteral("selection of handle %1, which holds nothing").arg(handle));
    switch (objects_[handle].first) {
    case 1:
        pen_ = static_cast<int>(handle);
        break;
    case 2:
        brush_ = static_cast<int>(handle);
        break;
    default:
        font_ = static_cast<int>(handle);
        break;
    }
    return true;
}

bool Reader::Delete(uint32_t handle)
{
    if (handle == 0 || handle >= p_.handles || objects_[handle].first == 0)
        return Fail(QStringLiteral("deletion of handle %1, which holds nothing").arg(handle));
    if (static_cast<int>(handle) == pen_ || static_cast<int>(handle) == brush_
        || static_cast<int>(handle) == font_)
        return Fail(QStringLiteral("deletion of the selected handle %1").arg(handle));
    objects_[handle] = {0, QString()};
    return true;
}

bool Reader::Decode(const Record& r)
{
    const qsizetype size = r.bytes.size();
    auto points = [&](bool small) -> std::optional<std::vector<gdi::Point>> {
        const uint32_t n = r.U(24);
        const uint64_t each = small ? 4 : 8;
        if (28 + each * n > static_cast<uint64_t>(size)) {
            Fail(QStringLiteral("%1 points do not fit").arg(n));
            return std::nullopt;
        }
        std::vector<gdi::Point> pts(n);
        const char* d = r.bytes.constData() + 28;
        for (uint32_t i = 0; i < n; ++i) {
            pts[i] = small ? gdi::Point {qFromLittleEndian<int16_t>(d + 4 * i),
                         qFromLittleEndian<int16_t>(d + 4 * i + 2)}
                           : gdi::Point {qFromLittleEndian<int32_t>(d + 8 * i),
                               qFromLittleEndian<int32_t>(d + 8 * i + 4)};
        }
        return pts;
    };
    auto paint = [&](bool pen, bool brush) {
        if (inPath_)
            return QString();
        QString s;
        if (pen)
            s += QStringLiteral(" | ") + PenNow();
        if (brush)
            s += QStringLiteral(" | ") + BrushNow();
        return s + QStringLiteral(" | ") + Modes(rop2_);
    };
    auto add = [&](const QString& call) { p_.calls << call; };
    if (resetPending_ && !(r.type == 75 && r.U(12) != gdi::RGN_COPY)) {
        add(QStringLiteral("Clip none"));
        resetPending_ = false;
    }
    switch (r.type) {
    case 15:
        add(QStringLiteral("SetPixel %1 %2 %3").arg(r.I(8)).arg(r.I(12)).arg(Hex(r.U(16))));
        break;
    case 18:
        bkMode_ = r.U(8);
        break;
    case 19:
        fill_ = r.U(8);
        break;
    case 20:
        rop2_ = r.U(8);
        break;
    case 22:
        align_ = r.U(8);
        break;
    case 57:
        arcDirection_ = r.U(8);
        break;
    case 24:
        textColor_ = r.U(8);
        break;
    case 25:
        bkColor_ = r.U(8);
        break;
    case 27:
        add(QStringLiteral("MoveTo %1 %2").arg(r.I(8)).arg(r.I(12)));
        break;
    case 54:
        add(QStringLiteral("LineTo %1 %2").arg(r.I(8)).arg(r.I(12)) + paint(true, false));
        break;
    case 37:
        return Select(r.U(8));
    case 40:
        return Delete(r.U(8));
    case 38:
        return Create(r, 1, PenText(r.U(12), r.I(16), r.U(24)));
    case 95: {
        const uint32_t entries = r.U(48);
        if (52 + 4ull * entries > static_cast<uint64_t>(size))
            return Fail(QStringLiteral("pen style entries do not fit"));
        if (r.U(36) != gdi::BS_SOLID)
            return Fail(QStringLiteral("pen with a brush this reader does not draw"));
        QString text = PenText(r.U(28), r.U(32), r.U(40));
        if ((r.U(28) & gdi::PS_STYLE_MASK) == gdi::PS_USERSTYLE) {
            text += QStringLiteral(" user");
            for (uint32_t i = 0; i < entries; ++i)
                text += QLatin1Char(' ') + QString::number(r.U(52 + 4 * static_cast<int>(i)));
        }
        return Create(r, 1, text);
    }
    case 39: {
        const uint32_t style = r.U(12);
        if (style == gdi::BS_SOLID)
            return Create(r, 2, QStringLiteral("brush solid ") + Hex(r.U(16)));
        if (style == gdi::BS_NULL)
            return Create(r, 2, QStringLiteral("brush null"));
        if (style == gdi::BS_HATCHED && r.U(20) <= 5)
            return Create(r, 2, QStringLiteral("brush hatch %1 %2").arg(r.U(20)).arg(Hex(r.U(16))));
        return Fail(QStringLiteral("brush style %1").arg(style));
    }
    case 94: {
        if (r.U(12) != 0)
            return Fail(QStringLiteral("pattern colours not in the bitmap"));
        QString error;
        const QImage pattern = Dib(r.bytes, r.U(16), r.U(20), r.U(24), r.U(28), error);
        if (pattern.isNull())
            return Fail(error);
        return Create(r, 2, PatternText(pattern));
    }
    case 82: {
        const char* face = r.bytes.constData() + 40;
        int len = 0;
        while (len < 32 && qFromLittleEndian<uint16_t>(face + 2 * len) != 0)
            ++len;
        if (len == 32)
            return Fail(QStringLiteral("face name without its end"));
        return Create(r, 3,
            FontText(
                r.I(12), r.I(20), r.I(28), QString::fromUtf16(reinterpret_cast<const char16_t*>(face), len)));
    }
    case 3:
    case 4:
    case 86:
    case 87: {
        const auto pts = points(r.type >= 86);
        if (!pts)
            return false;
        const bool polygon = r.type == 3 || r.type == 86;
        if (polygon) {
            add(QStringLiteral("Polygon ") + Points(*pts) + paint(true, true)
                + (inPath_ ? QString() : QStringLiteral(" f%1").arg(fill_)));
            break;
        }
        const QString attrs = paint(true, false);
        if (!inPath_ && lineRecord_ + 1 == p_.list.size()
            && linePiece_ == static_cast<size_t>(gdi::kEmfMaxPolyPoints) && attrs == lineAttrs_
            && !pts->empty() && line_.back() == pts->front()) {
            line_.insert(line_.end(), pts->begin() + 1, pts->end());
            p_.calls.back() = QStringLiteral("Polyline ") + Points(line_) + attrs;
        } else {
            line_ = *pts;
            add(QStringLiteral("Polyline ") + Points(line_) + attrs);
        }
        lineAttrs_ = attrs;
        lineRecord_ = p_.list.size();
        linePiece_ = pts->size();
        break;
    }
    case 42:
    case 43:
        add((r.type == 42 ? QStringLiteral("Ellipse ") : QStringLiteral("Rectangle "))
            + Numbers({r.I(8), r.I(12), r.I(16), r.I(20)}) + Direction(arcDirection_) + paint(true, true));
        break;
    case 44:
        add(QStringLiteral("RoundRect ") + Numbers({r.I(8), r.I(12), r.I(16), r.I(20), r.I(24), r.I(28)})
            + Direction(arcDirection_) + paint(true, true));
        break;
    case 45:
    case 46:
    case 47: {
        static const char* names[] = {"Arc ", "Chord ", "Pie "};
        add(QLatin1String(names[r.type - 45])
            + Numbers({r.I(8), r.I(12), r.I(16), r.I(20), r.I(24), r.I(28), r.I(32), r.I(36)})
            + Direction(arcDirection_) + paint(true, r.type != 45));
        break;
    }
    case 59:
        inPath_ = true;
        add(QStringLiteral("BeginPath"));
        break;
    case 60:
        inPath_ = false;
        add(QStringLiteral("EndPath"));
        break;
    case 61:
        add(QStringLiteral("CloseFigure"));
        break;
    case 68:
        inPath_ = false;
        add(QStringLiteral("AbortPath"));
        break;
    case 62:
        add(QStringLiteral("FillPath | ") + BrushNow() + QStringLiteral(" f%1").arg(fill_));
        break;
    case 63:
        add(QStringLiteral("StrokeAndFillPath | ") + PenNow() + QStringLiteral(" | ") + BrushNow()
            + QStringLiteral(" f%1").arg(fill_));
        break;
    case 64:
        add(QStringLiteral("StrokePath | ") + PenNow());
        break;
    case 67:
        add(QStringLiteral("ClipPath %1 f%2").arg(r.U(8)).arg(fill_));
        break;
    case 75: {
        const uint32_t dataSize = r.U(8), mode = r.U(12);
        if (16 + uint64_t {dataSize} > static_cast<uint64_t>(size))
            return Fail(QStringLiteral("region data outside its record"));
        if (dataSize == 0) {
            if (mode != gdi::RGN_COPY)
                return Fail(QStringLiteral("no region for mode %1").arg(mode));
            clip_.reset();
            resetPending_ = true;
            break;
        }
        if (dataSize < 32)
            return Fail(QStringLiteral("region header cut off"));
        const uint32_t count = r.U(24);
        if (r.U(16) != 32 || r.U(20) != 1 || 32 + 16ull * count > dataSize || r.U(28) < 16ull * count)
            return Fail(QStringLiteral("region header"));
        std::vector<std::array<int32_t, 4>> rects;
        for (uint32_t i = 0; i < count; ++i) {
            const int at = 48 + 16 * static_cast<int>(i);
            rects.push_back({r.I(at), r.I(at + 4), r.I(at + 8), r.I(at + 12)});
        }
        if (mode == gdi::RGN_AND && clip_) {
            auto region = [](const std::vector<std::array<int32_t, 4>>& list) {
                QRegion q;
                for (const auto& a : list)
                    q += QRect(a[0], a[1], a[2] - a[0], a[3] - a[1]);
                return q;
            };
            const QRegion both = region(*clip_).intersected(region(rects));
            rects.clear();
            for (const QRect& q : both)
                rects.push_back({q.left(), q.top(), q.left() + q.width(), q.top() + q.height()});
        } else if (mode != gdi::RGN_AND && mode != gdi::RGN_COPY) {
            return Fail(QStringLiteral("region mode %1").arg(mode));
        }
        clip_ = rects;
        resetPending_ = false;
        add(Rects(rects));
        break;
    }
    case 76: {
        if (r.U(88) != 0 || r.U(96) != 0)
            return Fail(QStringLiteral("block transfer with a source"));
        add(QStringLiteral("PatBlt ") + Numbers({r.I(24), r.I(28), r.I(32), r.I(36), r.U(40)})
            + QStringLiteral(" | ") + BrushNow());
        break;
    }
    case 81: {
        QString error;
        const QImage image = Dib(r.bytes, r.U(48), r.U(52), r.U(56), r.U(60), error);
        if (image.isNull())
            return Fail(error);
        if (r.U(64) != 0)
            return Fail(QStringLiteral("bitmap colours through a palette"));
        const int32_t x = r.I(24), y = r.I(28), sx = r.I(32), sy = r.I(36);
        add(QStringLiteral("Image ")
            + Numbers({x, y, int64_t {x} + r.I(72), int64_t {y} + r.I(76), sx, sy, int64_t {sx} + r.I(40),
                int64_t {sy} + r.I(44), r.U(68)})
            + QStringLiteral(" | %1x%2 %3").arg(image.width()).arg(image.height()).arg(Checksum(image)));
        p_.images.push_back(image);
        break;
    }
    case 84: {
        const uint32_t chars = r.U(44), offString = r.U(48), offDx = r.U(72);
        if (uint64_t {offString} + 2ull * chars > static_cast<uint64_t>(size) || offString < 76)
            return Fail(QStringLiteral("text outside its record"));
        if (offDx == 0 || uint64_t {offDx} + 4ull * chars > static_cast<uint64_t>(size))
            return Fail(QStringLiteral("advances outside the record"));
        if (r.U(24) != gdi::GM_COMPATIBLE && r.U(24) != gdi::GM_ADVANCED)
            return Fail(QStringLiteral("graphics mode"));
        const QString text
            = QString::fromUtf16(reinterpret_cast<const char16_t*>(r.bytes.constData() + offString), chars);
        int64_t width = 0;
        for (uint32_t i = 0; i < chars; ++i) {
            const int32_t dx = r.I(static_cast<int>(offDx + 4 * i));
            if (dx < 0)
                return Fail(QStringLiteral("negative advance"));
            width += dx;
        }
        QString call
            = QStringLiteral("Text %1 %2 \"%3\" w=%4 | ").arg(r.I(36)).arg(r.I(40)).arg(text).arg(width)
            + FontNow() + QStringLiteral(" | %1 a%2").arg(Hex(textColor_)).arg(align_);
        if (!inPath_)
            call += bkMode_ == gdi::OPAQUE ? QStringLiteral(" | opaque ") + Hex(bkColor_)
                                           : QStringLiteral(" | transparent");
        add(call);
        break;
    }
    default:
        break;
    }
    return true;
}

void Reader::Run(const QByteArray& file)
{
    qsizetype at = 0;
    bool ended = false;
    while (at < file.size()) {
        if (ended)
            return (void)Fail(QStringLiteral("bytes after the end record"));
        if (file.size() - at < 8)
            return (void)Fail(QStringLiteral("record header cut off"));
        Record r;
        r.type = qFromLittleEndian<uint32_t>(file.constData() + at);
        const uint32_t size = qFromLittleEndian<uint32_t>(file.constData() + at + 4);
        if (size < 8 || size % 4 != 0 || size > static_cast<uint64_t>(file.size() - at))
            return (void)Fail(QStringLiteral("size %1 of type %2").arg(size).arg(r.type));
        const auto known = MinimumSizes().find(r.type);
        if (known == MinimumSizes().end())
            return (void)Fail(QStringLiteral("unknown type %1").arg(r.type));
        if (size < known->second)
            return (void)Fail(QStringLiteral("type %1 of %2 bytes").arg(r.type).arg(size));
        if ((r.type == 1) != p_.list.empty())
            return (void)Fail(QStringLiteral("the header is not the first record"));
        r.bytes = file.mid(at, size);
        at += size;
        const bool ok = r.type == 1 ? Header(r, file.size()) : Decode(r);
        if (!ok)
            return;
        if (r.type == 14) {
            if (size != 20 || r.U(16) != size || r.U(8) != 0)
                return (void)Fail(QStringLiteral("end record"));
            ended = true;
        }
        p_.list.push_back(std::move(r));
    }
    if (!ended)
        return (void)Fail(QStringLiteral("no end record"));
    if (p_.records != p_.list.size())
        Fail(QStringLiteral("header counts %1 records, file has %2").arg(p_.records).arg(p_.list.size()));
}

} // namespace

uint32_t Record::U(int at) const
{
    return qFromLittleEndian<uint32_t>(bytes.constData() + at);
}
int32_t Record::I(int at) const
{
    return qFromLittleEndian<int32_t>(bytes.constData() + at);
}

int Picture::Count(uint32_t type) const
{
    return static_cast<int>(
        std::count_if(list.begin(), list.end(), [type](const Record& r) { return r.type == type; }));
}

const Record* Picture::First(uint32_t type) const
{
    const auto it
        = std::find_if(list.begin(), list.end(), [type](const Record& r) { return r.type == type; });
    return it == list.end() ? nullptr : &*it;
}

Picture Read(const QByteArray& file)
{
    Picture p;
    Reader(p).Run(file);
    return p;
}

} // namespace emfread
