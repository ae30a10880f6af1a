#ifndef ZENDRIK_CHART_TOOLS_PLOTEXPORT_H
#define ZENDRIK_CHART_TOOLS_PLOTEXPORT_H

#include "chart/canvas/CanvasTypes.h"

#include <QByteArray>
#include <QImage>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QWidget;
class TCustomPlotPanel;
class TPlotExportFormat;
namespace gdi {
struct Metafile;
}

// The picture kinds the export formats produce.
enum TPlotGraphicClass { gcNone, gcJPEGImage, gcBitmap, gcMetafile };

// An empty picture of one kind, to be filled from a file (pictures that HTML texts name by file).
class TPlotGraphic {
public:
    explicit TPlotGraphic(TPlotGraphicClass kind)
        : kind_(kind)
    {
    }

    TPlotGraphicClass Kind() const { return kind_; }
    // Reads the file as this kind of picture. The program has no metafile reader: a metafile
    // reads nothing and answers false, and the text draws its placeholder.
    bool LoadFromFile(const QString& fileName);
    const QImage& Image() const { return image_; }
    bool Empty() const { return image_.isNull(); }

private:
    TPlotGraphicClass kind_;
    QImage image_;
};

// What an export format class is: its name and a factory (the virtual constructor). Compared by
// address.
struct TPlotExportFormatClass {
    const char* name;
    std::unique_ptr<TPlotExportFormat> (*create)();
};

// The common base of the picture export formats: the panel to export, the picture size, the
// file writer. Failures come back as false with the reason; an existing file is then kept.
class TPlotExportFormat {
public:
    TPlotExportFormat();
    virtual ~TPlotExportFormat();
    TPlotExportFormat(const TPlotExportFormat&) = delete;
    TPlotExportFormat& operator=(const TPlotExportFormat&) = delete;

    virtual const TPlotExportFormatClass& FormatClass() const = 0;

    // Puts the picture on the clipboard.
    virtual bool CopyToClipboard(QString* error = nullptr) = 0;
    virtual int32_t GetFilterIndex() const { return FilterIndex; }
    // Takes the next entry of a combined file-dialog filter.
    virtual void SetFilterIndex(int32_t& index);
    virtual bool WantsFilterIndex(int32_t index) { return index == GetFilterIndex(); }
    // Menu text, extension without the dot, file-dialog filter.
    virtual QString Description() const = 0;
    virtual QString FileExtension() const = 0;
    virtual QString FileFilter() const = 0;
    virtual TPlotGraphicClass GraphicClass() const { return gcNone; }
    // Writes the picture. Throws ChartException (or what the chart's drawing throws) on failure.
    virtual void SaveToStream(QIODevice& stream) = 0;
    // The options form: created when missing with check set, else the current one (maybe none).
    virtual QWidget* Options(bool check = true) = 0;

    // Builds the picture in memory and writes it through a temporary file renamed over the
    // target. False and the reason when there is no panel or the picture cannot be built or
    // written; the old file stays as it was.
    bool SaveToFile(const QString& fileName, QString* error = nullptr);
    // A width or height of 0 becomes the panel's.
    void CheckSize();

    QPointer<TCustomPlotPanel> Panel; // not owned; a destroyed panel reads as none
    int32_t FilterIndex = 0;
    int32_t Height = 0;
    int32_t Width = 0;

protected:
    // The panel, or ChartException "Panel property is not set in Export format".
    TCustomPlotPanel& RequirePanel() const;
};

// The panel drawn into a new bitmap of the rectangle's size on its back colour. The panel's
// drawing settings and the geometry of its last on-screen drawing are restored afterwards, also
// when the drawing throws.
QImage DrawPanelBitmap(TCustomPlotPanel& panel, const TRect& rect, QImage::Format format);

// The panel recorded as a metafile of the rectangle's size, enhanced or not; the geometry of its
// last on-screen drawing is restored afterwards, also when the drawing throws.
gdi::Metafile DrawPanelMetafile(TCustomPlotPanel& panel, const TRect& rect, bool enhanced);

// Runs an export step; an exception becomes false and its text, so that no failure of a drawing
// or an encoding leaves an export call. Without error the failure goes to the chart library's
// error hook (ChartErrors.h).
bool RunExportStep(const std::function<void()>& step, QString* error);

// Writes bytes through a temporary file in the target's folder renamed over the target; false
// and the reason (file name included) when that fails, the old file kept.
bool WriteExportFile(const QString& fileName, const QByteArray& bytes, QString* error);

// The registered export format classes, in registration order. The application owns one.
struct TPlotExportFormats {
    int StartCount = 0;
    std::vector<const TPlotExportFormatClass*> Classes;
};

void RegisterExportFormat(TPlotExportFormats& formats, const TPlotExportFormatClass& formatClass);
void UnregisterExportFormat(TPlotExportFormats& formats, const TPlotExportFormatClass& formatClass);

// The extension hook for pictures loaded by file name: extension with its dot, in either case.
// A new empty picture of the first registered format whose extension matches; none when no
// format matches or the format makes no picture.
std::unique_ptr<TPlotGraphic> GraphicForExtension(
    const TPlotExportFormats& formats, const QString& extension);

#endif
