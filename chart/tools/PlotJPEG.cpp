#include "chart/tools/PlotJPEG.h"

#include "chart/canvas/PlotPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/PlotMessages.h"
#include "chart/tools/JpegEncoder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIODevice>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

// ---- options form

TPlotJPEGOptions::TPlotJPEGOptions(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PlotJPEGOptions"));
    auto* performanceGroup = new QGroupBox(QStringLiteral("&Performance:"), this);
    qualityButton = new QRadioButton(QStringLiteral("Q&uality"), performanceGroup);
    qualityButton->setObjectName(QStringLiteral("qualityButton"));
    speedButton = new QRadioButton(QStringLiteral("&Speed"), performanceGroup);
    speedButton->setObjectName(QStringLiteral("speedButton"));
    auto* buttons = new QButtonGroup(performanceGroup);
    buttons->addButton(qualityButton, jpBestQuality);
    buttons->addButton(speedButton, jpBestSpeed);
    qualityButton->setChecked(true);
    auto* performanceLayout = new QVBoxLayout(performanceGroup);
    performanceLayout->addWidget(qualityButton);
    performanceLayout->addWidget(speedButton);

    grayScaleBox = new QCheckBox(QStringLiteral("&Gray scale"), this);
    grayScaleBox->setObjectName(QStringLiteral("grayScaleBox"));

    auto* qualityLabel = new QLabel(QStringLiteral("% &Quality:"), this);
    qualityEdit = new QSpinBox(this);
    qualityEdit->setObjectName(QStringLiteral("qualityEdit"));
    qualityEdit->setRange(1, 100);
    qualityEdit->setValue(95);
    qualityLabel->setBuddy(qualityEdit);
    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(qualityLabel);
    qualityRow->addWidget(qualityEdit);
    qualityRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(performanceGroup);
    layout->addWidget(grayScaleBox);
    layout->addLayout(qualityRow);
    layout->addStretch();
}

TJPEGPerformance TPlotJPEGOptions::Performance() const
{
    return speedButton->isChecked() ? jpBestSpeed : jpBestQuality;
}

bool TPlotJPEGOptions::GrayScale() const
{
    return grayScaleBox->isChecked();
}

int TPlotJPEGOptions::Quality() const
{
    return qualityEdit->value();
}

// ---- the format

namespace {

std::unique_ptr<TPlotExportFormat> CreateJPEGFormat()
{
    return std::make_unique<TJPEGExportFormat>();
}

} // namespace

const TPlotExportFormatClass& TJPEGExportFormat::Class()
{
    static const TPlotExportFormatClass formatClass {"TJPEGExportFormat", &CreateJPEGFormat};
    return formatClass;
}

TJPEGExportFormat::TJPEGExportFormat() = default;

TJPEGExportFormat::~TJPEGExportFormat() = default;

QString TJPEGExportFormat::Description() const
{
    return PlotMessage(PlotMsg::ExportAsJPEG);
}

QString TJPEGExportFormat::FileExtension() const
{
    return QStringLiteral("jpg");
}

QString TJPEGExportFormat::FileFilter() const
{
    return PlotMessage(PlotMsg::ExportFilterJPEG);
}

TPlotJPEGOptions* TJPEGExportFormat::JPEGOptions(bool check)
{
    if (!options_ && check)
        options_ = std::make_unique<TPlotJPEGOptions>();
    return options_.get();
}

QByteArray TJPEGExportFormat::BuildJPEG()
{
    TCustomPlotPanel& panel = RequirePanel();
    const TPlotJPEGOptions& form = *JPEGOptions(true);
    TJPEGDefaults options;
    options.CompressionQuality = static_cast<uint8_t>(form.Quality());
    options.GrayScale = form.GrayScale();
    options.Performance = form.Performance();
    CheckSize();
    return CreateJPEGFromPanel(panel, options, 0, 0, Width, Height);
}

void TJPEGExportFormat::SaveToStream(QIODevice& stream)
{
    const QByteArray bytes = BuildJPEG();
    if (stream.write(bytes) != bytes.size())
        throw ChartException(stream.errorString());
}

bool TJPEGExportFormat::CopyToClipboard(QString* error)
{
    return RunExportStep(
        [this] {
            const QImage picture = QImage::fromData(BuildJPEG(), "JPEG");
            if (picture.isNull())
                throw ChartException(QStringLiteral("The JPEG picture cannot be read back"));
            QGuiApplication::clipboard()->setImage(picture);
        },
        error);
}

QByteArray CreateJPEGFromPanel(TCustomPlotPanel& panel, const TJPEGDefaults& options, int32_t left,
    int32_t top, int32_t width, int32_t height)
{
    const QImage bitmap
        = DrawPanelBitmap(panel, TRect {left, top, left + width, top + height}, QImage::Format_RGB888);
    JpegEncoding encoding;
    encoding.Quality = options.CompressionQuality;
    encoding.GrayScale = options.GrayScale;
    encoding.FastDct = options.Performance == jpBestSpeed;
    encoding.Progressive = options.ProgressiveEncoding;
    QByteArray bytes;
    QString error;
    if (!EncodeJpeg(bitmap, encoding, bytes, &error))
        throw ChartException(error);
    return bytes;
}
