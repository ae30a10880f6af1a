#include "chart/canvas/PlotFiltersColor.h"

#include "chart/canvas/PlotFiltersSupport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

using filtersupport::Blue;
using filtersupport::ClampByte;
using filtersupport::Green;
using filtersupport::Pack;
using filtersupport::Red;
using filtersupport::RoundInt;

namespace {

constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;
constexpr int kUndefinedHue = kHlsMax * 2 / 3;

// Runs fn(pixel) on every pixel of the rectangle and stores what it returns.
template <class Fn>
void ForEachPixel(std::vector<uint32_t*>& rows, const QRect& r, Fn fn)
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        uint32_t* row = rows[static_cast<size_t>(y)];
        for (int x = r.left(); x <= r.right(); ++x)
            row[x] = fn(row[x]);
    }
}

int HueToRGB(int n1, int n2, int hue)
{
    if (hue < 0)
        hue += kHlsMax;
    if (hue > kHlsMax)
        hue -= kHlsMax;
    if (hue < kHlsMax / 6)
        return n1 + (((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6));
    if (hue < kHlsMax / 2)
        return n2;
    if (hue < kHlsMax * 2 / 3)
        return n1 + (((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6));
    return n1;
}

} // namespace

HlsColor RGBToHLS(int red, int green, int blue)
{
    HlsColor out;
    const int cMax = std::max({red, green, blue});
    const int cMin = std::min({red, green, blue});
    out.luminance = ((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax);
    if (cMax == cMin) {
        out.saturation = 0;
        out.hue = kUndefinedHue;
        return out;
    }
    const int delta = cMax - cMin;
    if (out.luminance <= kHlsMax / 2)
        out.saturation = (delta * kHlsMax + (cMax + cMin) / 2) / (cMax + cMin);
    else
        out.saturation = (delta * kHlsMax + (2 * kRgbMax - cMax - cMin) / 2) / (2 * kRgbMax - cMax - cMin);
    const int rDelta = ((cMax - red) * (kHlsMax / 6) + delta / 2) / delta;
    const int gDelta = ((cMax - green) * (kHlsMax / 6) + delta / 2) / delta;
    const int bDelta = ((cMax - blue) * (kHlsMax / 6) + delta / 2) / delta;
    if (red == cMax)
        out.hue = bDelta - gDelta;
    else if (green == cMax)
        out.hue = kHlsMax / 3 + rDelta - bDelta;
    else
        out.hue = 2 * kHlsMax / 3 + gDelta - rDelta;
    if (out.hue < 0)
        out.hue += kHlsMax;
    if (out.hue > kHlsMax)
        out.hue -= kHlsMax;
    return out;
}

void HLSToRGB(const HlsColor& hls, int& red, int& green, int& blue)
{
    const int h = hls.hue;
    const int l = hls.luminance;
    const int s = hls.saturation;
    if (s == 0) {
        red = green = blue = ClampByte(l * kRgbMax / kHlsMax);
        return;
    }
    const int magic2 = l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax
                                        : l + s - (l * s + kHlsMax / 2) / kHlsMax;
    const int magic1 = 2 * l - magic2;
    red = ClampByte((HueToRGB(magic1, magic2, h + kHlsMax / 3) * kRgbMax + kHlsMax / 2) / kHlsMax);
    green = ClampByte((HueToRGB(magic1, magic2, h) * kRgbMax + kHlsMax / 2) / kHlsMax);
    blue = ClampByte((HueToRGB(magic1, magic2, h - kHlsMax / 3) * kRgbMax + kHlsMax / 2) / kHlsMax);
}

// --- Invert -------------------------------------------------------------------------------------

const TPlotFilterClass& TInvertFilter::Class()
{
    static const TPlotFilterClass c{"TInvertFilter", &filtersupport::Make<TInvertFilter>};
    return c;
}

QString TInvertFilter::Description() const { return QStringLiteral("Invert"); }

void TInvertFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    ForEachPixel(Rows(), ClippedRect(bitmap, rect), [](uint32_t p) { return p ^ 0x00FFFFFFu; });
}

// --- Gray scale ---------------------------------------------------------------------------------

const TPlotFilterClass& TGrayScaleFilter::Class()
{
    static const TPlotFilterClass c{"TGrayScaleFilter", &filtersupport::Make<TGrayScaleFilter>};
    return c;
}

QString TGrayScaleFilter::Description() const { return QStringLiteral("Gray scale"); }

void TGrayScaleFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    const TGrayMethod method = Method;
    ForEachPixel(Rows(), ClippedRect(bitmap, rect), [method](uint32_t p) {
        const int r = Red(p), g = Green(p), b = Blue(p);
        int m = 0;
        switch (method) {
        case gmSimple: m = (r + g + b) / 3; break;
        case gmEye: m = ClampByte(RoundInt(0.3 * r + 0.59 * g + 0.11 * b)); break;
        case gmEye2: m = (11 * r + 16 * g + 5 * b) >> 5; break;
        }
        return Pack(m, m, m);
    });
}

void TGrayScaleFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddChoice(QStringLiteral("Method"),
                      {QStringLiteral("Simple"), QStringLiteral("Eye"), QStringLiteral("Eye 2")});
}

std::vector<FilterProperty> TGrayScaleFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("Method"), static_cast<int>(Method)});
    return list;
}

bool TGrayScaleFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Method")) {
        int32_t v = 0;
        if (!filtersupport::SetInt(value, v) || v < gmSimple || v > gmEye2)
            return false;
        Method = static_cast<TGrayMethod>(v);
        return true;
    }
    return TPlotFilter::SetProperty(name, value);
}

// --- Flip and reverse ---------------------------------------------------------------------------

const TPlotFilterClass& TFlipFilter::Class()
{
    static const TPlotFilterClass c{"TFlipFilter", &filtersupport::Make<TFlipFilter>};
    return c;
}

QString TFlipFilter::Description() const { return QStringLiteral("Flip"); }

void TFlipFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    const QRect r = ClippedRect(bitmap, rect);
    const int height = r.bottom() - r.top() + 1;
    auto& rows = Rows();
    for (int i = 0; i < height / 2; ++i) {
        uint32_t* a = rows[static_cast<size_t>(r.top() + i)];
        uint32_t* b = rows[static_cast<size_t>(r.bottom() - i)];
        std::swap_ranges(a + r.left(), a + r.right() + 1, b + r.left());
    }
}

const TPlotFilterClass& TReverseFilter::Class()
{
    static const TPlotFilterClass c{"TReverseFilter", &filtersupport::Make<TReverseFilter>};
    return c;
}

QString TReverseFilter::Description() const { return QStringLiteral("Reverse"); }

void TReverseFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    const QRect r = ClippedRect(bitmap, rect);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        uint32_t* row = Rows()[static_cast<size_t>(y)];
        if (r.right() >= r.left())
            std::reverse(row + r.left(), row + r.right() + 1);
    }
}

// --- Amount filters -----------------------------------------------------------------------------

void TAmountFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddInteger(QStringLiteral("Amount"), 0, 0);
    creator.AddCheckBox(QStringLiteral("Percent"));
    UpdateAmountRange();
}

void TAmountFilter::UpdateAmountRange()
{
    if (!editor_)
        return;
    const int limit = Percent ? 100 : 255;
    editor_->SetIntegerRange(QStringLiteral("Amount"), onlyPositive_ ? 0 : -limit, limit);
}

void TAmountFilter::EditorChanged(const QString& property)
{
    if (property == QLatin1String("Percent"))
        UpdateAmountRange();
    TPlotFilter::EditorChanged(property);
}

std::vector<FilterProperty> TAmountFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("Amount"), Amount});
    list.push_back({QStringLiteral("Percent"), Percent});
    return list;
}

bool TAmountFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Amount"))
        return filtersupport::SetInt(value, Amount);
    if (name == QLatin1String("Percent"))
        return filtersupport::SetBool(value, Percent);
    return TPlotFilter::SetProperty(name, value);
}

TMosaicFilter::TMosaicFilter()
{
    Amount = 8;
    onlyPositive_ = true;
}

const TPlotFilterClass& TMosaicFilter::Class()
{
    static const TPlotFilterClass c{"TMosaicFilter", &filtersupport::Make<TMosaicFilter>};
    return c;
}

QString TMosaicFilter::Description() const { return QStringLiteral("Mosaic"); }

void TMosaicFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty() || Amount <= 0)
        return;
    const QRect r = ClippedRect(bitmap, rect);
    const int a = Amount;
    auto& rows = Rows();
    // Full blocks while there is room for one more; the last block column runs to Right and the
    // last block row stops one short of Bottom, so the bottom row keeps its pixels.
    for (int y = r.top(); y <= r.bottom() - 1;) {
        const int yEnd = y < r.bottom() - a ? y + a - 1 : r.bottom() - 1;
        for (int x = r.left(); x <= r.right();) {
            const int xEnd = x < r.right() - a ? x + a - 1 : r.right();
            int64_t sr = 0, sg = 0, sb = 0;
            for (int yy = y; yy <= yEnd; ++yy)
                for (int xx = x; xx <= xEnd; ++xx) {
                    const uint32_t p = rows[static_cast<size_t>(yy)][xx];
                    sr += Red(p);
                    sg += Green(p);
                    sb += Blue(p);
                }
            const double inv = 1.0 / static_cast<double>((yEnd - y + 1) * (xEnd - x + 1));
            const uint32_t avg = Pack(ClampByte(RoundInt(static_cast<double>(sr) * inv)),
                                      ClampByte(RoundInt(static_cast<double>(sg) * inv)),
                                      ClampByte(RoundInt(static_cast<double>(sb) * inv)));
            for (int yy = y; yy <= yEnd; ++yy)
                std::fill(rows[static_cast<size_t>(yy)] + x, rows[static_cast<size_t>(yy)] + xEnd + 1, avg);
            x = xEnd + 1;
        }
        y = yEnd + 1;
    }
}

const TPlotFilterClass& TBrightnessFilter::Class()
{
    static const TPlotFilterClass c{"TBrightnessFilter", &filtersupport::Make<TBrightnessFilter>};
    return c;
}

QString TBrightnessFilter::Description() const { return QStringLiteral("Brightness"); }

void TBrightnessFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty() || Amount == 0)
        return;
    const int add = Percent ? RoundInt(255.0 * Amount * 0.01) : Amount;
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<size_t>(i)] = static_cast<uint8_t>(ClampByte(i + add));
    ForEachPixel(Rows(), ClippedRect(bitmap, rect), [&table](uint32_t p) {
        return Pack(table[static_cast<size_t>(Red(p))], table[static_cast<size_t>(Green(p))],
                    table[static_cast<size_t>(Blue(p))]);
    });
}

const TPlotFilterClass& TContrastFilter::Class()
{
    static const TPlotFilterClass c{"TContrastFilter", &filtersupport::Make<TContrastFilter>};
    return c;
}

QString TContrastFilter::Description() const { return QStringLiteral("Contrast"); }

void TContrastFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const int factor = Percent ? RoundInt(c * Amount * 0.01) : Amount;
        // C++ integer division truncates toward zero, as the rule wants.
        table[static_cast<size_t>(c)] = static_cast<uint8_t>(ClampByte(c + (factor * (c - 128)) / 256));
    }
    ForEachPixel(Rows(), ClippedRect(bitmap, rect), [&table](uint32_t p) {
        return Pack(table[static_cast<size_t>(Red(p))], table[static_cast<size_t>(Green(p))],
                    table[static_cast<size_t>(Blue(p))]);
    });
}

TGammaCorrectionFilter::TGammaCorrectionFilter()
{
    Amount = 70;
    onlyPositive_ = true;
}

const TPlotFilterClass& TGammaCorrectionFilter::Class()
{
    static const TPlotFilterClass c{"TGammaCorrectionFilter", &filtersupport::Make<TGammaCorrectionFilter>};
    return c;
}

QString TGammaCorrectionFilter::Description() const { return QStringLiteral("Gamma correction"); }

void TGammaCorrectionFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    const double g = std::max(std::abs(static_cast<double>(Amount)) * 0.01, 0.001);
    std::array<uint8_t, 256> table{};
    for (int i = 1; i < 256; ++i)
        table[static_cast<size_t>(i)] =
            static_cast<uint8_t>(ClampByte(RoundInt(255.0 * std::exp(std::log(i / 255.0) / g))));
    ForEachPixel(Rows(), ClippedRect(bitmap, rect), [&table](uint32_t p) {
        return Pack(table[static_cast<size_t>(Red(p))], table[static_cast<size_t>(Green(p))],
                    table[static_cast<size_t>(Blue(p))]);
    });
}

// --- Colour and hue/luminance/saturation --------------------------------------------------------

const TPlotFilterClass& TColorFilter::Class()
{
    static const TPlotFilterClass c{"TColorFilter", &filtersupport::Make<TColorFilter>};
    return c;
}

QString TColorFilter::Description() const { return QStringLiteral("Color"); }

void TColorFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty() || (Red == 0 && Green == 0 && Blue == 0))
        return;
    const int dr = Red, dg = Green, db = Blue;
    ForEachPixel(Rows(), ClippedRect(bitmap, rect), [dr, dg, db](uint32_t p) {
        return Pack(ClampByte(filtersupport::Red(p) + dr), ClampByte(filtersupport::Green(p) + dg),
                    ClampByte(filtersupport::Blue(p) + db));
    });
}

void TColorFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddInteger(QStringLiteral("Red"), -255, 255);
    creator.AddInteger(QStringLiteral("Green"), -255, 255);
    creator.AddInteger(QStringLiteral("Blue"), -255, 255);
}

std::vector<FilterProperty> TColorFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("Blue"), Blue});
    list.push_back({QStringLiteral("Green"), Green});
    list.push_back({QStringLiteral("Red"), Red});
    return list;
}

bool TColorFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Red"))
        return filtersupport::SetInt(value, Red);
    if (name == QLatin1String("Green"))
        return filtersupport::SetInt(value, Green);
    if (name == QLatin1String("Blue"))
        return filtersupport::SetInt(value, Blue);
    return TPlotFilter::SetProperty(name, value);
}

const TPlotFilterClass& THueLumSatFilter::Class()
{
    static const TPlotFilterClass c{"THueLumSatFilter", &filtersupport::Make<THueLumSatFilter>};
    return c;
}

QString THueLumSatFilter::Description() const { return QStringLiteral("Hue,Lum,Sat"); }

void THueLumSatFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty() || (Hue == 0 && Luminance == 0 && Saturation == 0))
        return;
    const int dh = Hue, dl = Luminance, ds = Saturation;
    // The sums stay on the 0..240 scale of the conversion; anything above would come back from
    // HLSToRGB as channels beyond 255.
    auto clampHls = [](int v) { return std::clamp(v, 0, kHlsMax); };
    ForEachPixel(Rows(), ClippedRect(bitmap, rect), [&](uint32_t p) {
        HlsColor hls = RGBToHLS(Red(p), Green(p), Blue(p));
        if (dh != 0)
            hls.hue = clampHls(hls.hue + dh);
        if (dl != 0)
            hls.luminance = clampHls(hls.luminance + dl);
        if (ds != 0)
            hls.saturation = clampHls(hls.saturation + ds);
        int r = 0, g = 0, b = 0;
        HLSToRGB(hls, r, g, b);
        return Pack(r, g, b);
    });
}

void THueLumSatFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddInteger(QStringLiteral("Hue"), -255, 255);
    creator.AddInteger(QStringLiteral("Luminance"), -255, 255);
    creator.AddInteger(QStringLiteral("Saturation"), -255, 255);
}

std::vector<FilterProperty> THueLumSatFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("Hue"), Hue});
    list.push_back({QStringLiteral("Luminance"), Luminance});
    list.push_back({QStringLiteral("Saturation"), Saturation});
    return list;
}

bool THueLumSatFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Hue"))
        return filtersupport::SetInt(value, Hue);
    if (name == QLatin1String("Luminance"))
        return filtersupport::SetInt(value, Luminance);
    if (name == QLatin1String("Saturation"))
        return filtersupport::SetInt(value, Saturation);
    return TPlotFilter::SetProperty(name, value);
}

// --- Bevel --------------------------------------------------------------------------------------

const TPlotFilterClass& TBevelFilter::Class()
{
    static const TPlotFilterClass c{"TBevelFilter", &filtersupport::Make<TBevelFilter>};
    return c;
}

QString TBevelFilter::Description() const { return QStringLiteral("Bevel"); }

void TBevelFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    const QRect r = ClippedRect(bitmap, rect);
    const int height = r.bottom() - r.top() + 1;
    const int width = r.right() - r.left() + 1;
    auto& rows = Rows();
    const int bright = Bright;
    auto shift = [bright](uint32_t& p, int sign) {
        const int d = sign * bright;
        p = Pack(ClampByte(Red(p) + d), ClampByte(Green(p) + d), ClampByte(Blue(p) + d));
    };
    for (int i = 0; i < Size; ++i) {
        const bool rowsLeft = 2 * i < height;
        const bool colsLeft = 2 * i < width;
        if (!rowsLeft && !colsLeft)
            break;
        if (rowsLeft) {
            uint32_t* top = rows[static_cast<size_t>(r.top() + i)];
            uint32_t* bottom = rows[static_cast<size_t>(r.bottom() - i)];
            for (int x = r.left() + i; x <= r.right() - i; ++x) {
                shift(top[x], +1);
                shift(bottom[x], -1);
            }
        }
        if (colsLeft) {
            for (int y = r.top() + i + 1; y <= r.bottom() - i; ++y) {
                shift(rows[static_cast<size_t>(y)][r.left() + i], +1);
                shift(rows[static_cast<size_t>(y)][r.right() - i], -1);
            }
        }
    }
}

void TBevelFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddInteger(QStringLiteral("Bright"), 0, 255);
    creator.AddInteger(QStringLiteral("Size"), 0, 1000);
}

std::vector<FilterProperty> TBevelFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("Bright"), Bright});
    list.push_back({QStringLiteral("Size"), Size});
    return list;
}

bool TBevelFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Bright"))
        return filtersupport::SetInt(value, Bright);
    if (name == QLatin1String("Size"))
        return filtersupport::SetInt(value, Size);
    return TPlotFilter::SetProperty(name, value);
}

QStringList TGrayScaleFilter::EnumNames(const QString& property) const
{
    if (property == QLatin1String("Method"))
        return {"gmSimple", "gmEye", "gmEye2"};
    return TPlotFilter::EnumNames(property);
}
