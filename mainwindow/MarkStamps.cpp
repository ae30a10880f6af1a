#include "mainwindow/MarkStamps.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFont.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/RasterDC.h"

#include <QImage>
#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// More stamps than any chart shows at once means the texts keep changing (peak numbers of new
// runs): start again rather than grow without end.
constexpr int kMaxStamps = 8192;
// Room around the point for what the marks draw beside, above and below it (texts above it
// whatever their alignment).
constexpr int32_t kMargin = 16;
constexpr int32_t kHeight = 72;
constexpr int32_t kOriginY = 48;
// Pixels copied together.
constexpr int32_t kGroup = 4;

gdi::RasterDC* RasterOf(TCanvas3D& canvas)
{
    if (canvas.Metafiling)
        return nullptr;
    const TPlotFont* font = canvas.FontObject;
    if (font && (font->HasShadow() || font->HasOutLine() || font->HasGradient() || font->HasPicture()))
        return nullptr;
    auto* dc = dynamic_cast<gdi::RasterDC*>(canvas.GetHandle());
    if (!dc)
        return nullptr;
    gdi::Region clip;
    return dc->GetClipRgn(clip) == 1 ? nullptr : dc;
}

uint32_t Channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

// x x a / 255 for the four channels at once, two at a time, rounded.
uint32_t Scaled(uint32_t x, uint32_t a)
{
    uint32_t rb = (x & 0x00FF00FFu) * a;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
    uint32_t ag = ((x >> 8) & 0x00FF00FFu) * a;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu) + 0x00800080u) & 0xFF00FF00u;
    return ag | rb;
}

// dst = src + dst x (1 - alpha), with src premultiplied; the result is opaque.
uint32_t Over(uint32_t src, uint32_t dst) { return (src + Scaled(dst, 255 - (src >> 24))) | 0xFF000000u; }

#if defined(__SSE2__)
// Over for four pixels, the channels in 16-bit lanes.
void Over4(const uint32_t* src, uint32_t* dst)
{
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    // Groups that cover nothing or all of the picture are most of them.
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, _mm_setzero_si128())) == 0xFFFF)
        return;
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(s, 24), _mm_set1_epi32(255))) == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), s);
        return;
    }
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
    const __m128i low = _mm_set1_epi32(0x00FF00FF);
    const __m128i inv = _mm_sub_epi32(_mm_set1_epi32(255), _mm_srli_epi32(s, 24));
    const __m128i k = _mm_or_si128(inv, _mm_slli_epi32(inv, 16));
    const __m128i half = _mm_set1_epi16(0x80);
    auto scale = [&](__m128i x) {
        __m128i t = _mm_mullo_epi16(x, k);
        t = _mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), half);
        return _mm_srli_epi16(t, 8);
    };
    const __m128i rb = scale(_mm_and_si128(d, low));
    const __m128i ag = scale(_mm_and_si128(_mm_srli_epi32(d, 8), low));
    const __m128i scaled = _mm_or_si128(rb, _mm_slli_epi32(ag, 8));
    const __m128i out = _mm_or_si128(_mm_add_epi32(s, scaled), _mm_set1_epi32(static_cast<int>(0xFF000000u)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), out);
}
#endif

} // namespace

size_t qHash(const StampKey& key, size_t seed)
{
    return qHashMulti(seed, key.Kind, key.First, key.Second, key.Number, key.Text);
}

size_t qHash(const MarkStamps::FullKey& key, size_t seed)
{
    return qHashMulti(seed, key.Mark, key.Text.FontName, key.Text.FontStyle, key.Text.Charset, key.Text.Align);
}

MarkStamps::MarkStamps() : scratch_(std::make_unique<TPlotCanvas3D>()) {}

MarkStamps::~MarkStamps() = default;

MarkStamps::TextState MarkStamps::StateOf(TCanvas3D& canvas)
{
    TFont& f = canvas.Font();
    return {f.Name(), f.Style(), f.Charset(), canvas.GetTextAlign()};
}

void MarkStamps::Put(TCanvas3D& canvas, const StampKey& key, int32_t x, int32_t y, const Drawing& draw)
{
    gdi::RasterDC* dc = RasterOf(canvas);
    if (!dc) {
        draw(canvas, x, y);
        return;
    }
    const FullKey full{key, StateOf(canvas)};
    auto it = stamps_.find(full);
    if (it == stamps_.end()) {
        if (stamps_.size() >= kMaxStamps) {
            stamps_.clear();
            runs_.clear();
            pixels_.clear();
        }
        it = stamps_.insert(full, Make(canvas, key, draw));
    }
    const Stamp& s = *it;
    QImage& image = dc->ImageForWrite();
    auto* bits = reinterpret_cast<uint32_t*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(uint32_t));
    const int32_t w = image.width();
    const int32_t h = image.height();
    for (size_t r = s.FirstRun; r < s.FirstRun + s.Runs; ++r) {
        const Run& run = runs_[r];
        const int32_t row = y + run.Dy;
        if (row < 0 || row >= h)
            continue;
        const int32_t start = x + run.Dx;
        const int32_t from = std::max(0, -start);
        const int32_t count = std::min(run.Length, w - start) - from;
        if (count <= 0)
            continue;
        uint32_t* out = bits + row * stride + (start + from);
        const uint32_t* in = pixels_.data() + run.First + static_cast<size_t>(from);
        int32_t i = 0;
#if defined(__SSE2__)
        for (; i + kGroup <= count; i += kGroup)
            Over4(in + i, out + i);
#endif
        for (; i < count; ++i)
            out[i] = Over(in[i], out[i]);
    }
}

MarkStamps::Stamp MarkStamps::Make(TCanvas3D& target, const StampKey& key, const Drawing& draw)
{
    TPlotCanvas3D& s = *scratch_;
    s.Font().Assign(target.Font());
    // Wide enough for the text at twice the width it has now (the mark may enlarge its font).
    const QString text = key.Number > 0 ? QString::number(key.Number) : key.Text;
    const int32_t half = kMargin + (text.isEmpty() ? 0 : 2 * s.TextWidth(text));
    const int32_t width = 2 * half;
    const TRect rect{0, 0, width, kHeight};
    s.InitWindow(nullptr, nullptr, clWhite, false, rect);
    s.SetTextAlign(target.GetTextAlign());

    // Drawn on black and on white: where the two differ the mark lets the background through
    // (antialiased text edges), which gives each pixel's coverage.
    QImage layers[2];
    for (int pass = 0; pass < 2; ++pass) {
        s.Font().Assign(target.Font());
        s.Brush().SetStyle(bsSolid);
        s.Brush().SetColor(pass == 0 ? clBlack : clWhite);
        s.FillRect(rect);
        draw(s, half, kOriginY);
        layers[pass] = static_cast<gdi::RasterDC*>(s.GetHandle())->Image().copy(0, 0, width, kHeight);
    }
    // Runs of a row that lie close together become one (the pixels between them stay
    // transparent), and every run is a whole number of four-pixel groups long, so that copying
    // works on groups; a transparent pixel leaves the picture as it is.
    Stamp stamp{runs_.size(), 0};
    std::vector<uint32_t> line(static_cast<size_t>(width));
    for (int32_t row = 0; row < kHeight; ++row) {
        const auto* onBlack = reinterpret_cast<const uint32_t*>(layers[0].constScanLine(row));
        const auto* onWhite = reinterpret_cast<const uint32_t*>(layers[1].constScanLine(row));
        int32_t first = -1, last = -1;
        for (int32_t col = 0; col < width; ++col) {
            if ((onBlack[col] & 0xFFFFFFu) == 0 && (onWhite[col] & 0xFFFFFFu) == 0xFFFFFFu) {
                line[static_cast<size_t>(col)] = 0;
                continue;
            }
            uint32_t through = 0;
            for (int shift : {0, 8, 16})
                through = std::max(through, Channel(onWhite[col], shift) - std::min(Channel(onWhite[col], shift),
                                                                                     Channel(onBlack[col], shift)));
            const uint32_t a = 255 - through;
            uint32_t p = a << 24;
            for (int shift : {0, 8, 16})
                p |= std::min(Channel(onBlack[col], shift), a) << shift;
            line[static_cast<size_t>(col)] = a ? p : 0;
            if (a) {
                first = first < 0 ? col : first;
                last = col;
            }
        }
        for (int32_t col = first; first >= 0 && col <= last;) {
            // A run from col to the next gap of at least one group.
            int32_t end = col;
            int32_t gap = 0;
            for (int32_t c = col; c <= last && gap < kGroup; ++c) {
                if (line[static_cast<size_t>(c)]) {
                    end = c;
                    gap = 0;
                } else {
                    ++gap;
                }
            }
            const int32_t length = (end - col + kGroup) / kGroup * kGroup;
            runs_.push_back({col - half, row - kOriginY, length, pixels_.size()});
            ++stamp.Runs;
            for (int32_t c = col; c < col + length; ++c)
                pixels_.push_back(c <= end ? line[static_cast<size_t>(c)] : 0);
            col = end + 1;
            while (col <= last && !line[static_cast<size_t>(col)])
                ++col;
        }
    }
    return stamp;
}
