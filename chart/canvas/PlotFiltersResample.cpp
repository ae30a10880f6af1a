#include "chart/canvas/PlotFiltersResample.h"

#include "chart/canvas/PlotFiltersColor.h"
#include "chart/canvas/PlotFiltersSupport.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

using filtersupport::RoundInt;

namespace {

struct Contribution {
    int index;
    int weight;
};

double Sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

double Lanczos3(double x)
{
    x = std::abs(x);
    return x < 3.0 ? Sinc(x) * Sinc(x / 3.0) : 0.0;
}

double Triangle(double x)
{
    x = std::abs(x);
    return x < 1.0 ? 1.0 - x : 0.0;
}

// Integer weights of every destination index along one direction. The window around the mapped
// source position is support / Min(s, 1) wide: when enlarging, a window of support / s would
// cut off the outer lobes of the kernel and leave every other pixel visibly darker.
std::vector<std::vector<Contribution>> Contributions(int sourceSize, int destSize, bool fast)
{
    const double support = fast ? 1.0 : 3.0;
    const double s = static_cast<double>(destSize - 1) / static_cast<double>(sourceSize - 1);
    const double m = std::min(s, 1.0);
    const double window = support / m;
    std::vector<std::vector<Contribution>> table(static_cast<size_t>(destSize));
    for (int i = 0; i < destSize; ++i) {
        const double c = i / s;
        const int lo = static_cast<int>(std::floor(c - window));
        const int hi = static_cast<int>(std::ceil(c + window));
        auto& list = table[static_cast<size_t>(i)];
        for (int j = lo; j <= hi; ++j) {
            const double k = fast ? Triangle((c - j) * m) : Lanczos3((c - j) * m);
            const int w = RoundInt(1024.0 * m * k);
            if (w == 0)
                continue;
            // Mirrored at the edges; a very small source can mirror past the far edge, which is
            // held at the last pixel instead of being read outside the bitmap.
            int src = j < 0 ? -j : (j >= sourceSize ? 2 * sourceSize - 1 - j : j);
            src = std::clamp(src, 0, sourceSize - 1);
            list.push_back({src, w});
        }
    }
    return table;
}

inline uint32_t WeightedPixel(const std::vector<Contribution>& list, const uint32_t* base, ptrdiff_t stride)
{
    int r = 0, g = 0, b = 0;
    for (const Contribution& c : list) {
        const uint32_t p = base[c.index * stride];
        r += c.weight * static_cast<int>((p >> 16) & 0xFF);
        g += c.weight * static_cast<int>((p >> 8) & 0xFF);
        b += c.weight * static_cast<int>(p & 0xFF);
    }
    // 256 * 1024 itself would give 256 after the shift; everything at or above it is white.
    auto channel = [](int sum) { return sum < 0 ? 0 : (sum >= 256 * 1024 ? 255 : (sum >> 10)); };
    return filtersupport::Pack(channel(r), channel(g), channel(b));
}

} // namespace

QImage NewFilterBitmap(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (!image.isNull())
        image.fill(0xFFFFFFFFu);
    return image;
}

bool SmoothStretch(const QImage& source, QImage& destination)
{
    return SmoothStretchQuality(source, destination, false);
}

bool SmoothStretchQuality(const QImage& source, QImage& destination, bool fast)
{
    const QImage src = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    EnsureFilterFormat(destination);
    const int sw = src.width(), sh = src.height();
    const int dw = destination.width(), dh = destination.height();
    if (sw <= 1 || sh <= 1 || dw < 2 || dh < 2)
        return false;

    const auto horiz = Contributions(sw, dw, fast);
    QImage middle = NewFilterBitmap(dw, sh);
    if (middle.isNull())
        return false;
    for (int y = 0; y < sh; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
        auto* out = reinterpret_cast<uint32_t*>(middle.scanLine(y));
        for (int x = 0; x < dw; ++x)
            out[x] = WeightedPixel(horiz[static_cast<size_t>(x)], in, 1);
    }

    const auto vert = Contributions(sh, dh, fast);
    const auto* base = reinterpret_cast<const uint32_t*>(middle.constBits());
    const ptrdiff_t stride = middle.bytesPerLine() / 4;
    for (int y = 0; y < dh; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(destination.scanLine(y));
        const auto& list = vert[static_cast<size_t>(y)];
        for (int x = 0; x < dw; ++x)
            out[x] = WeightedPixel(list, base + x, stride);
    }
    return true;
}

void StretchNearest(const QImage& source, const QRect& sourceArea, QImage& destination, const QRect& destArea)
{
    const QRect s = sourceArea.intersected(source.rect());
    const QRect d = destArea.intersected(destination.rect());
    if (s.isEmpty() || d.isEmpty() || destArea.width() <= 0 || destArea.height() <= 0)
        return;
    const QImage src = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    EnsureFilterFormat(destination);
    const int64_t sw = sourceArea.width(), sh = sourceArea.height();
    const int64_t dw = destArea.width(), dh = destArea.height();
    // Each destination pixel takes the source pixel under its centre.
    for (int y = d.top(); y <= d.bottom(); ++y) {
        const int sy = std::clamp(static_cast<int>(sourceArea.top() + ((2 * (y - destArea.top()) + 1) * sh) / (2 * dh)),
                                  s.top(), s.bottom());
        const auto* in = reinterpret_cast<const uint32_t*>(src.constScanLine(sy));
        auto* out = reinterpret_cast<uint32_t*>(destination.scanLine(y));
        for (int x = d.left(); x <= d.right(); ++x) {
            const int sx = std::clamp(
                static_cast<int>(sourceArea.left() + ((2 * (x - destArea.left()) + 1) * sw) / (2 * dw)), s.left(),
                s.right());
            out[x] = in[sx];
        }
    }
}

namespace {

// Resamples smoothly when the sizes allow it, else stretches to the nearest pixel, so that a
// bitmap one pixel wide or high is still scaled rather than left blank.
void Resample(const QImage& source, QImage& destination, bool smooth)
{
    if (smooth && SmoothStretch(source, destination))
        return;
    StretchNearest(source, source.rect(), destination, destination.rect());
}

void DrawAt(const QImage& source, QImage& destination, int left, int top)
{
    const QRect target = QRect(left, top, source.width(), source.height()).intersected(destination.rect());
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(source.constScanLine(y - top));
        auto* out = reinterpret_cast<uint32_t*>(destination.scanLine(y));
        std::copy(in + (target.left() - left), in + (target.right() - left) + 1, out + target.left());
    }
}

} // namespace

// --- Resize -------------------------------------------------------------------------------------

const TPlotFilterClass& TResizeFilter::Class()
{
    static const TPlotFilterClass c{"TResizeFilter", &filtersupport::Make<TResizeFilter>};
    return c;
}

QString TResizeFilter::Description() const { return QStringLiteral("Resize"); }

void TResizeFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty() || Width < 1 || Height < 1)
        return;
    QImage result = NewFilterBitmap(Width, Height);
    if (result.isNull())
        return;
    Resample(bitmap, result, true);
    bitmap = result;
}

void TResizeFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddInteger(QStringLiteral("Width"), 0, 10000);
    creator.AddInteger(QStringLiteral("Height"), 0, 10000);
}

std::vector<FilterProperty> TResizeFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("Height"), Height});
    list.push_back({QStringLiteral("Width"), Width});
    return list;
}

bool TResizeFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Width"))
        return filtersupport::SetInt(value, Width);
    if (name == QLatin1String("Height"))
        return filtersupport::SetInt(value, Height);
    return TPlotFilter::SetProperty(name, value);
}

// --- Crop ---------------------------------------------------------------------------------------

const TPlotFilterClass& TCropFilter::Class()
{
    static const TPlotFilterClass c{"TCropFilter", &filtersupport::Make<TCropFilter>};
    return c;
}

QString TCropFilter::Description() const { return QStringLiteral("Crop"); }

void TCropFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty() || Width < 1 || Height < 1)
        return;
    // The crop area is kept on the bitmap: an area reaching past an edge is cut there.
    const int left = std::clamp(Left, 0, bitmap.width() - 1);
    const int top = std::clamp(Top, 0, bitmap.height() - 1);
    const int width = std::min(Width, bitmap.width() - left);
    const int height = std::min(Height, bitmap.height() - top);
    const QImage part = bitmap.copy(left, top, width, height);
    if (part.isNull())
        return;
    // Stretched over the whole bitmap, so that the cropped part fills it edge to edge.
    Resample(part, bitmap, Smooth);
}

void TCropFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TResizeFilter::CreateEditor(creator, std::move(onChange));
    creator.AddInteger(QStringLiteral("Left"), 0, 10000);
    creator.AddInteger(QStringLiteral("Top"), 0, 10000);
    creator.AddCheckBox(QStringLiteral("Smooth"));
}

std::vector<FilterProperty> TCropFilter::Properties() const
{
    auto list = TResizeFilter::Properties();
    list.push_back({QStringLiteral("Left"), Left});
    list.push_back({QStringLiteral("Smooth"), Smooth});
    list.push_back({QStringLiteral("Top"), Top});
    return list;
}

bool TCropFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Left"))
        return filtersupport::SetInt(value, Left);
    if (name == QLatin1String("Top"))
        return filtersupport::SetInt(value, Top);
    if (name == QLatin1String("Smooth"))
        return filtersupport::SetBool(value, Smooth);
    return TResizeFilter::SetProperty(name, value);
}

// --- Zoom ---------------------------------------------------------------------------------------

const TPlotFilterClass& TZoomFilter::Class()
{
    static const TPlotFilterClass c{"TZoomFilter", &filtersupport::Make<TZoomFilter>};
    return c;
}

QString TZoomFilter::Description() const { return QStringLiteral("Zoom"); }

void TZoomFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    const QRect r = ClippedRect(bitmap, rect);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    // Beyond 0..100 the crop would start outside the rectangle.
    const double percent = std::clamp(Percent, 0.0, 100.0);
    const int w = r.width();
    const int h = r.height();
    const int dx = RoundInt(w * percent * 0.005);
    const int dy = RoundInt(h * percent * 0.005);
    TCropFilter crop;
    crop.Width = std::max(1, w - 2 * dx);
    crop.Height = std::max(1, h - 2 * dy);
    crop.Smooth = Smooth;
    if (bitmap.width() == w && bitmap.height() == h) {
        crop.Left = r.left() + dx;
        crop.Top = r.top() + dy;
        crop.ApplyToBitmap(bitmap);
        return;
    }
    QImage part = bitmap.copy(r);
    if (part.isNull())
        return;
    crop.Left = dx;
    crop.Top = dy;
    crop.ApplyToBitmap(part);
    DrawAt(part, bitmap, r.left(), r.top());
}

void TZoomFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddInteger(QStringLiteral("Percent"), 0, 100);
    creator.AddCheckBox(QStringLiteral("Smooth"));
}

std::vector<FilterProperty> TZoomFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("Percent"), Percent});
    list.push_back({QStringLiteral("Smooth"), Smooth});
    return list;
}

bool TZoomFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Percent")) {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (ok)
            Percent = v;
        return ok;
    }
    if (name == QLatin1String("Smooth"))
        return filtersupport::SetBool(value, Smooth);
    return TPlotFilter::SetProperty(name, value);
}

// --- Rotate -------------------------------------------------------------------------------------

const TPlotFilterClass& TRotateFilter::Class()
{
    static const TPlotFilterClass c{"TRotateFilter", &filtersupport::Make<TRotateFilter>};
    return c;
}

QString TRotateFilter::Description() const { return QStringLiteral("Rotate"); }

void TRotateFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    while (Angle >= 360.0)
        Angle -= 360.0;
    const int w = bitmap.width();
    const int h = bitmap.height();
    if (Angle == 0.0)
        return;
    if (Angle == 180.0) {
        TFlipFilter().ApplyToBitmap(bitmap);
        TReverseFilter().ApplyToBitmap(bitmap);
        return;
    }
    if (Angle == 90.0 || Angle == 270.0) {
        QImage result = NewFilterBitmap(h, w);
        if (result.isNull())
            return;
        // Counter-clockwise by the angle: at 90 the top-right corner moves to the top left.
        const bool quarter = Angle == 90.0;
        for (int y = 0; y < w; ++y) {
            auto* out = reinterpret_cast<uint32_t*>(result.scanLine(y));
            for (int x = 0; x < h; ++x) {
                const int sx = quarter ? w - 1 - y : y;
                const int sy = quarter ? x : h - 1 - x;
                out[x] = reinterpret_cast<const uint32_t*>(bitmap.constScanLine(sy))[sx];
            }
        }
        bitmap = result;
        return;
    }

    const double a = (360.0 - Angle) * std::numbers::pi / 180.0;
    const double ca = std::cos(a);
    const double sa = std::sin(a);
    int nw = w;
    int nh = h;
    if (AutoSize) {
        nw = RoundInt(std::abs(w * ca) + std::abs(h * sa));
        nh = RoundInt(std::abs(w * sa) + std::abs(h * ca));
    }
    if (nw < 2 || nh < 2)
        return;
    QImage result = AutoSize ? NewFilterBitmap(nw, nh) : bitmap.copy();
    if (result.isNull())
        return;
    if (BackColor != clNone)
        result.fill(filtersupport::ColorToPixel(BackColor));
    const double scx = (w - 1) * 0.5, scy = (h - 1) * 0.5;
    const double dcx = (nw - 1) * 0.5, dcy = (nh - 1) * 0.5;
    for (int y = 0; y < nh; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(result.scanLine(y));
        const double yr = y - dcy;
        for (int x = 0; x < nw; ++x) {
            const double xr = x - dcx;
            const int sx = RoundInt(xr * ca + yr * sa + scx);
            const int sy = RoundInt(-xr * sa + yr * ca + scy);
            if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                out[x] = reinterpret_cast<const uint32_t*>(bitmap.constScanLine(sy))[sx];
        }
    }
    bitmap = result;
}

void TRotateFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddInteger(QStringLiteral("Angle"), 0, 360);
    creator.AddCheckBox(QStringLiteral("AutoSize"));
    creator.AddColor(QStringLiteral("BackColor"));
}

std::vector<FilterProperty> TRotateFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("Angle"), Angle});
    list.push_back({QStringLiteral("AutoSize"), AutoSize});
    list.push_back({QStringLiteral("BackColor"), static_cast<int>(BackColor)});
    return list;
}

bool TRotateFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Angle")) {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (ok)
            Angle = v;
        return ok;
    }
    if (name == QLatin1String("AutoSize"))
        return filtersupport::SetBool(value, AutoSize);
    if (name == QLatin1String("BackColor"))
        return filtersupport::SetInt(value, BackColor);
    return TPlotFilter::SetProperty(name, value);
}

void RotateBitmap(QImage& bitmap, double angle)
{
    TRotateFilter rotate;
    rotate.Angle = angle;
    rotate.ApplyToBitmap(bitmap);
}

// --- Mirror -------------------------------------------------------------------------------------

const TPlotFilterClass& TMirrorFilter::Class()
{
    static const TPlotFilterClass c{"TMirrorFilter", &filtersupport::Make<TMirrorFilter>};
    return c;
}

QString TMirrorFilter::Description() const { return QStringLiteral("Mirror"); }

void TMirrorFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    const int w = bitmap.width();
    const int h = bitmap.height();
    const bool vertical = Direction == mdDown || Direction == mdUp;
    const int64_t nw = vertical ? w : 2 * static_cast<int64_t>(w);
    const int64_t nh = vertical ? 2 * static_cast<int64_t>(h) : h;
    if (nw > INT_MAX || nh > INT_MAX)
        return;
    QImage result = NewFilterBitmap(static_cast<int>(nw), static_cast<int>(nh));
    if (result.isNull())
        return;
    QImage copy = bitmap.copy();
    if (vertical)
        TFlipFilter().ApplyToBitmap(copy);
    else
        TReverseFilter().ApplyToBitmap(copy);
    switch (Direction) {
    case mdDown: DrawAt(bitmap, result, 0, 0); DrawAt(copy, result, 0, h); break;
    case mdUp: DrawAt(copy, result, 0, 0); DrawAt(bitmap, result, 0, h); break;
    case mdRight: DrawAt(bitmap, result, 0, 0); DrawAt(copy, result, w, 0); break;
    case mdLeft: DrawAt(copy, result, 0, 0); DrawAt(bitmap, result, w, 0); break;
    }
    bitmap = result;
}

void TMirrorFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddChoice(QStringLiteral("Direction"),
                      {QStringLiteral("Down"), QStringLiteral("Up"), QStringLiteral("Right"), QStringLiteral("Left")});
}

std::vector<FilterProperty> TMirrorFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("Direction"), static_cast<int>(Direction)});
    return list;
}

bool TMirrorFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Direction")) {
        int32_t v = 0;
        if (!filtersupport::SetInt(value, v) || v < mdDown || v > mdLeft)
            return false;
        Direction = static_cast<TMirrorDirection>(v);
        return true;
    }
    return TPlotFilter::SetProperty(name, value);
}

// --- Tile ---------------------------------------------------------------------------------------

const TPlotFilterClass& TTileFilter::Class()
{
    static const TPlotFilterClass c{"TTileFilter", &filtersupport::Make<TTileFilter>};
    return c;
}

QString TTileFilter::Description() const { return QStringLiteral("Tile"); }

void TTileFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    NumCols = std::max(NumCols, 1);
    NumRows = std::max(NumRows, 1);
    const QRect r = ClippedRect(bitmap, rect);
    const int tileW = (r.right() - r.left()) / NumCols;
    const int tileH = (r.bottom() - r.top()) / NumRows;
    if (tileW < 1 || tileH < 1)
        return;
    QImage tile = NewFilterBitmap(tileW, tileH);
    if (tile.isNull())
        return;
    Resample(bitmap, tile, true);
    for (int row = 0; row < NumRows; ++row)
        for (int col = 0; col < NumCols; ++col)
            DrawAt(tile, bitmap, col * tileW, row * tileH);
}

void TTileFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddInteger(QStringLiteral("NumCols"), 1, 100);
    creator.AddInteger(QStringLiteral("NumRows"), 1, 100);
}

std::vector<FilterProperty> TTileFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("NumCols"), NumCols});
    list.push_back({QStringLiteral("NumRows"), NumRows});
    return list;
}

bool TTileFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("NumCols"))
        return filtersupport::SetInt(value, NumCols);
    if (name == QLatin1String("NumRows"))
        return filtersupport::SetInt(value, NumRows);
    return TPlotFilter::SetProperty(name, value);
}

QStringList TMirrorFilter::EnumNames(const QString& property) const
{
    if (property == QLatin1String("Direction"))
        return {"mdDown", "mdUp", "mdRight", "mdLeft"};
    return TPlotFilter::EnumNames(property);
}
