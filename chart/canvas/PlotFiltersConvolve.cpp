#include "chart/canvas/PlotFiltersConvolve.h"

#include "chart/canvas/PlotFiltersSupport.h"

#include <cmath>

TConvolveFilter::TConvolveFilter() = default;

void TConvolveFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    Convolve(bitmap, rect);
}

void TConvolveFilter::Convolve(QImage& bitmap, const QRect& rect)
{
    float sum = 0.0f;
    for (float w : Weights)
        sum += w;
    // Kernels whose weights cancel out (an emboss-like edge kernel, a blur with a negative
    // centre) would divide by zero; they are applied unscaled.
    Scale = sum != 0.0f ? 1.0f / sum : 1.0f;

    const QRect r = ClippedRect(bitmap, rect);
    const int x0 = r.left() + 1;
    const int x1 = r.right() - 1;
    const int y0 = r.top() + 1;
    const int y1 = r.bottom() - 1;
    if (x1 < x0 || y1 < y0)
        return;
    const int innerW = x1 - x0 + 1;
    std::vector<uint32_t> scratch(static_cast<size_t>(innerW) * static_cast<size_t>(y1 - y0 + 1));
    const auto& rows = Rows();
    const double scale = Scale;
    double w[9];
    for (int i = 0; i < 9; ++i)
        w[i] = Weights[static_cast<size_t>(i)];

    for (int y = y0; y <= y1; ++y) {
        const uint32_t* up = rows[static_cast<size_t>(y - 1)];
        const uint32_t* mid = rows[static_cast<size_t>(y)];
        const uint32_t* down = rows[static_cast<size_t>(y + 1)];
        uint32_t* out = &scratch[static_cast<size_t>(y - y0) * static_cast<size_t>(innerW)];
        for (int x = x0; x <= x1; ++x) {
            const uint32_t p[9] = {up[x - 1],   up[x],   up[x + 1],   mid[x - 1], mid[x],
                                   mid[x + 1], down[x - 1], down[x], down[x + 1]};
            int channel[3];
            for (int c = 0; c < 3; ++c) {
                const int shift = 16 - 8 * c; // red, green, blue
                double acc = 0.0;
                for (int k = 0; k < 9; ++k)
                    acc += w[k] * static_cast<double>((p[k] >> shift) & 0xFF);
                channel[c] = filtersupport::ClampByte(std::nearbyint(acc * scale));
            }
            out[x - x0] = filtersupport::Pack(channel[0], channel[1], channel[2]);
        }
    }
    for (int y = y0; y <= y1; ++y) {
        const uint32_t* in = &scratch[static_cast<size_t>(y - y0) * static_cast<size_t>(innerW)];
        std::copy(in, in + innerW, rows[static_cast<size_t>(y)] + x0);
    }
}

const TPlotFilterClass& TBlurFilter::Class()
{
    static const TPlotFilterClass c{"TBlurFilter", &filtersupport::Make<TBlurFilter>};
    return c;
}

QString TBlurFilter::Description() const { return QStringLiteral("Blur"); }

void TBlurFilter::Apply(QImage& bitmap, const QRect& rect)
{
    TPlotFilter::Apply(bitmap, rect);
    if (Rows().empty())
        return;
    Weights.fill(1.0f);
    Weights[4] = static_cast<float>(Amount);
    for (int step = 0; step < Steps; ++step)
        Convolve(bitmap, rect);
}

void TBlurFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    TPlotFilter::CreateEditor(creator, std::move(onChange));
    creator.AddInteger(QStringLiteral("Amount"), 0, 50);
    creator.AddInteger(QStringLiteral("Steps"), 0, 20);
}

std::vector<FilterProperty> TBlurFilter::Properties() const
{
    auto list = TPlotFilter::Properties();
    list.push_back({QStringLiteral("Amount"), Amount});
    list.push_back({QStringLiteral("Steps"), Steps});
    return list;
}

bool TBlurFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Amount"))
        return filtersupport::SetInt(value, Amount);
    if (name == QLatin1String("Steps"))
        return filtersupport::SetInt(value, Steps);
    return TPlotFilter::SetProperty(name, value);
}

TSharpenFilter::TSharpenFilter()
{
    Weights.fill(-0.125f);
    Weights[4] = 2.0f;
}

const TPlotFilterClass& TSharpenFilter::Class()
{
    static const TPlotFilterClass c{"TSharpenFilter", &filtersupport::Make<TSharpenFilter>};
    return c;
}

QString TSharpenFilter::Description() const { return QStringLiteral("Sharpen"); }

TEmbossFilter::TEmbossFilter()
{
    Weights = {0.0f, -1.0f, 0.0f, -1.0f, 1.0f, 1.0f, 0.0f, -1.0f, 0.0f};
}

const TPlotFilterClass& TEmbossFilter::Class()
{
    static const TPlotFilterClass c{"TEmbossFilter", &filtersupport::Make<TEmbossFilter>};
    return c;
}

QString TEmbossFilter::Description() const { return QStringLiteral("Emboss"); }

TSoftenFilter::TSoftenFilter()
{
    Weights = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 1.0f};
}

const TPlotFilterClass& TSoftenFilter::Class()
{
    static const TPlotFilterClass c{"TSoftenFilter", &filtersupport::Make<TSoftenFilter>};
    return c;
}

QString TSoftenFilter::Description() const { return QStringLiteral("Antialias"); }
