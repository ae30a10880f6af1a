#ifndef ZENDRIK_CHART_TOOLS_PLOTJPEG_H
#define ZENDRIK_CHART_TOOLS_PLOTJPEG_H

#include "chart/tools/PlotExport.h"

#include <QWidget>
#include <cstdint>
#include <memory>

class QCheckBox;
class QRadioButton;
class QSpinBox;

enum TJPEGPerformance : uint8_t { jpBestQuality, jpBestSpeed };
enum TJPEGPixelFormat : uint8_t { jf24Bit, jf8Bit };
enum TJPEGScale : uint8_t { jsFullSize, jsHalf, jsQuarter, jsEighth };

// The JPEG picture's settings record, with the picture class's defaults. Scale, smoothing and
// progressive display are settings of decoding: a compression ignores them.
struct TJPEGDefaults {
    uint8_t CompressionQuality = 90;
    bool GrayScale = false;
    TJPEGPerformance Performance = jpBestQuality;
    TJPEGPixelFormat PixelFormat = jf24Bit;
    bool ProgressiveDisplay = false;
    bool ProgressiveEncoding = false;
    TJPEGScale Scale = jsFullSize;
    bool Smoothing = true;
};

// The JPEG format's options: performance, gray scale and quality.
class TPlotJPEGOptions : public QWidget {
    Q_OBJECT
public:
    explicit TPlotJPEGOptions(QWidget* parent = nullptr);

    TJPEGPerformance Performance() const;
    bool GrayScale() const;
    int Quality() const;

    QRadioButton* qualityButton; // "Q&uality"
    QRadioButton* speedButton; // "&Speed"
    QCheckBox* grayScaleBox; // "&Gray scale"
    QSpinBox* qualityEdit; // "% &Quality:" with its up-down control
};

class TJPEGExportFormat : public TPlotExportFormat {
public:
    static const TPlotExportFormatClass& Class();

    TJPEGExportFormat();
    ~TJPEGExportFormat() override;

    const TPlotExportFormatClass& FormatClass() const override { return Class(); }
    bool CopyToClipboard(QString* error = nullptr) override;
    QString Description() const override;
    QString FileExtension() const override;
    QString FileFilter() const override;
    TPlotGraphicClass GraphicClass() const override { return gcJPEGImage; }
    void SaveToStream(QIODevice& stream) override;
    QWidget* Options(bool check = true) override { return JPEGOptions(check); }
    TPlotJPEGOptions* JPEGOptions(bool check = true);

    // The picture as the bytes of a JPEG file, with the options form's settings. Throws
    // ChartException without a panel or when libjpeg refuses the picture.
    QByteArray BuildJPEG();

private:
    std::unique_ptr<TPlotJPEGOptions> options_;
};

// The panel drawn into a 24-bit bitmap of width x height and compressed with the settings.
// Throws ChartException with libjpeg's message when the compression fails.
QByteArray CreateJPEGFromPanel(TCustomPlotPanel& panel, const TJPEGDefaults& options, int32_t left,
    int32_t top, int32_t width, int32_t height);

#endif
