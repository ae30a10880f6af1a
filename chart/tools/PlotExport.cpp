#include "chart/tools/PlotExport.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/PlotMessages.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QSaveFile>
#include <algorithm>
#include <exception>

namespace {

// An export draws the panel at another size: the geometry of that drawing must not stay behind
// for the mouse handling and overlays of the on-screen chart, which read it until the next
// render.
class PanelGeometryGuard {
public:
    explicit PanelGeometryGuard(TCustomPlotPanel& panel)
        : panel_(panel)
        , bounds_(panel.ChartBounds)
        , rect_(panel.ChartRect)
        , width_(panel.ChartWidth)
        , height_(panel.ChartHeight)
        , xCenter_(panel.ChartXCenter)
        , yCenter_(panel.ChartYCenter)
    {
    }
    ~PanelGeometryGuard()
    {
        panel_.ChartBounds = bounds_;
        panel_.ChartRect = rect_;
        panel_.ChartWidth = width_;
        panel_.ChartHeight = height_;
        panel_.ChartXCenter = xCenter_;
        panel_.ChartYCenter = yCenter_;
    }
    PanelGeometryGuard(const PanelGeometryGuard&) = delete;
    PanelGeometryGuard& operator=(const PanelGeometryGuard&) = delete;

private:
    TCustomPlotPanel& panel_;
    TRect bounds_;
    TRect rect_;
    int32_t width_;
    int32_t height_;
    int32_t xCenter_;
    int32_t yCenter_;
};

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Inside a catch block: the text for a caller that takes one; a caller that takes none (a
// preview, an editor's handler) has the failure reported through the chart library's hook.
void StepFailed(QString* error, const QString& text)
{
    if (error)
        *error = text;
    else
        ReportChartError("RunExportStep");
}

} // namespace

// ---- pictures by extension

bool TPlotGraphic::LoadFromFile(const QString& fileName)
{
    image_ = QImage();
    const char* format = nullptr;
    switch (kind_) {
    case gcJPEGImage:
        format = "jpeg";
        break;
    case gcBitmap:
        format = "bmp";
        break;
    case gcNone:
    case gcMetafile:
        return false;
    }
    QImageReader reader(fileName, format);
    image_ = reader.read();
    return !image_.isNull();
}

// ---- the format base

TPlotExportFormat::TPlotExportFormat() = default;

TPlotExportFormat::~TPlotExportFormat() = default;

void TPlotExportFormat::SetFilterIndex(int32_t& index)
{
    ++index;
    FilterIndex = index;
}

TCustomPlotPanel& TPlotExportFormat::RequirePanel() const
{
    if (!Panel)
        throw ChartException(PlotMessage(PlotMsg::ErrExportNoPanel));
    return *Panel;
}

void TPlotExportFormat::CheckSize()
{
    const TCustomPlotPanel& panel = RequirePanel();
    if (Width == 0)
        Width = panel.width();
    if (Height == 0)
        Height = panel.height();
}

bool TPlotExportFormat::SaveToFile(const QString& fileName, QString* error)
{
    // Nothing touches the target before the whole picture is in memory: a failed drawing or
    // encoding leaves the old file for whoever reads it next (the mail attaches it).
    QByteArray bytes;
    const bool built = RunExportStep(
        [&] {
            RequirePanel();
            Options(true);
            CheckSize();
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            SaveToStream(buffer);
        },
        error);
    if (!built)
        return false;
    return WriteExportFile(fileName, bytes, error);
}

// ---- helpers

QImage DrawPanelBitmap(TCustomPlotPanel& panel, const TRect& rect, QImage::Format format)
{
    // The panel switches its buffered display off for the drawing and back on, also when the
    // drawing throws; the guard does the same for the geometry.
    PanelGeometryGuard guard(panel);
    return panel.CreateBitmapRect(panel.GetBackColor(), rect, format);
}

gdi::Metafile DrawPanelMetafile(TCustomPlotPanel& panel, const TRect& rect, bool enhanced)
{
    PanelGeometryGuard guard(panel);
    return panel.CreateChartMetafile(enhanced, rect);
}

bool RunExportStep(const std::function<void()>& step, QString* error)
{
    try {
        step();
        return true;
    } catch (const ChartException& e) {
        StepFailed(error, e.Message());
    } catch (const std::exception& e) {
        StepFailed(error, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        StepFailed(error, QStringLiteral("The chart could not be drawn"));
    }
    return false;
}

bool WriteExportFile(const QString& fileName, const QByteArray& bytes, QString* error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        SetError(error,
            QStringLiteral("Cannot write %1: %2")
                .arg(QDir::toNativeSeparators(fileName), file.errorString()));
        file.cancelWriting();
        return false;
    }
    return true;
}

// ---- registry

void RegisterExportFormat(TPlotExportFormats& formats, const TPlotExportFormatClass& formatClass)
{
    formats.Classes.push_back(&formatClass);
}

void UnregisterExportFormat(TPlotExportFormats& formats, const TPlotExportFormatClass& formatClass)
{
    const auto it = std::find(formats.Classes.begin(), formats.Classes.end(), &formatClass);
    if (it != formats.Classes.end())
        formats.Classes.erase(it);
}

std::unique_ptr<TPlotGraphic> GraphicForExtension(const TPlotExportFormats& formats, const QString& extension)
{
    const QString wanted = extension.toUpper();
    for (const TPlotExportFormatClass* formatClass : formats.Classes) {
        // A fresh object answers as a format whose options form was never shown.
        const std::unique_ptr<TPlotExportFormat> format = formatClass->create();
        if (wanted != QLatin1Char('.') + format->FileExtension().toUpper())
            continue;
        const TPlotGraphicClass kind = format->GraphicClass();
        return kind == gcNone ? nullptr : std::make_unique<TPlotGraphic>(kind);
    }
    return nullptr;
}
