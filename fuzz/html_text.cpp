// The HTML subset of chart texts (titles, marks, legend items), which chart files and the
// operator supply: measured and drawn, with pictures from a loader that never touches the disk.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotHtml.h"
#include "fuzz/FuzzSupport.h"

#include <QBuffer>
#include <QImage>

namespace {

struct CanvasLook {
    QString fontName;
    int32_t fontHeight;
    TFontStyles fontStyle;
    TColor fontColor;
    TColor penColor;
    TColor brushColor;
    uint32_t align;

    static CanvasLook Of(TPlotCanvas& c)
    {
        return {c.Font().Name(), c.Font().Height(), c.Font().Style(), c.Font().Color(),
                c.Pen().Color(), c.Brush().Color(), c.GetTextAlign()};
    }
    bool operator==(const CanvasLook&) const = default;
};

const HtmlImageHooks& Hooks()
{
    static const QByteArray png = [] {
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(qRgb(0, 128, 255));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        return bytes;
    }();
    static const HtmlImageHooks hooks{
        [](const QString& ext) { return ext == QLatin1String("PNG") ? QByteArray("png") : QByteArray(); },
        [](const QString& source, QByteArray& stream) {
            // Some names load, the others are missing files.
            if (source.size() % 2 != 0)
                return 1;
            stream = png;
            return 0;
        }};
    return hooks;
}

// Lays the text out; false when it raised the parser's exception (any other exception escapes and
// is a finding).
bool Process(TPlotCanvas& canvas, bool draw, const QString& text, gdi::Size& extent)
{
    try {
        HtmlTextProcess(canvas, 3, 4, extent, draw, text, Hooks());
        return true;
    } catch (const HtmlParserException&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::EnsureGuiApplication();
    static TPlotCanvas3D canvas;
    static const bool ready = [] {
        canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, 240, 160});
        return true;
    }();
    (void)ready;
    canvas.ResetState();
    canvas.Font().SetColor(clNavy);
    canvas.Pen().SetColor(clGreen);

    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const CanvasLook before = CanvasLook::Of(canvas);
    gdi::Size measured{-1, -1};
    const bool measuredOk = Process(canvas, false, text, measured);
    fuzz::Check(CanvasLook::Of(canvas) == before, "measuring hands the canvas back as it was");
    gdi::Size drawn{-1, -1};
    const bool drawnOk = Process(canvas, true, text, drawn);
    fuzz::Check(CanvasLook::Of(canvas) == before, "drawing hands the canvas back as it was");
    fuzz::Check(measuredOk == drawnOk, "a text that measures also draws");
    if (measuredOk)
        fuzz::Check(measured == drawn && measured.cx >= 0 && measured.cy >= 0, "drawing covers what was measured");
    // Anchored at the centre of each line and the bottom of the block: the same block, laid out
    // in a second pass.
    canvas.SetTextAlign(gdi::TA_CENTER | gdi::TA_BOTTOM);
    const CanvasLook aligned = CanvasLook::Of(canvas);
    gdi::Size centred{-1, -1};
    const bool centredOk = Process(canvas, true, text, centred);
    fuzz::Check(CanvasLook::Of(canvas) == aligned, "aligned drawing hands the canvas back as it was");
    fuzz::Check(centredOk == measuredOk && (!centredOk || centred == measured), "aligned drawing covers the same block");
    return 0;
}
