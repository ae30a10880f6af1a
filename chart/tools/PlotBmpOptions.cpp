#include "chart/tools/PlotBmpOptions.h"

#include "chart/canvas/PlotColor.h"
#include "chart/canvas/PlotPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/PlotMessages.h"
#include "platform/gdi/GdiTypes.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIODevice>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

constexpr int kPreviewWidth = 200;
constexpr int kPreviewHeight = 120;

std::unique_ptr<TPlotExportFormat> CreateBMPFormat()
{
    return std::make_unique<TBMPExportFormat>();
}

} // namespace

// ---- options form

TBMPOptions::TBMPOptions(TBMPExportFormat& format, QWidget* parent)
    : QWidget(parent)
    , format_(format)
{
    setObjectName(QStringLiteral("BMPOptions"));
    monochromeBox = new QCheckBox(QStringLiteral("&Monochrome"), this);
    monochromeBox->setObjectName(QStringLiteral("monochromeBox"));
    auto* colorsLabel = new QLabel(QStringLiteral("&Colors:"), this);
    colorsCombo = new QComboBox(this);
    colorsCombo->setObjectName(QStringLiteral("colorsCombo"));
    // Entry i is pixel format number i.
    colorsCombo->addItems({QStringLiteral("Default"), QStringLiteral("2 (1 bit)"),
        QStringLiteral("16 (4 bit)"), QStringLiteral("256 (8 bit)"), QStringLiteral("32768 (15 bit)"),
        QStringLiteral("65536 (16 bit)"), QStringLiteral("16M (24 bit)"), QStringLiteral("16M (32 bit)")});
    colorsLabel->setBuddy(colorsCombo);
    filtersButton = new QPushButton(PlotMessage(PlotMsg::EditorFilters), this);
    filtersButton->setObjectName(QStringLiteral("filtersButton"));
    auto* previewLabel = new QLabel(QStringLiteral("Preview:"), this);
    previewImage = new QLabel(this);
    previewImage->setObjectName(QStringLiteral("previewImage"));
    previewImage->setFixedSize(kPreviewWidth, kPreviewHeight);
    previewImage->setAlignment(Qt::AlignCenter);

    auto* layout = new QGridLayout(this);
    layout->addWidget(monochromeBox, 0, 0, 1, 2);
    layout->addWidget(colorsLabel, 1, 0);
    layout->addWidget(colorsCombo, 1, 1);
    layout->addWidget(filtersButton, 2, 0, 1, 2, Qt::AlignLeft);
    layout->addWidget(previewLabel, 3, 0, 1, 2);
    layout->addWidget(previewImage, 4, 0, 1, 2);
    layout->setRowStretch(5, 1);

    colorsCombo->setCurrentIndex(pfDevice);
    UpdateFiltersButton();
    connect(monochromeBox, &QCheckBox::clicked, this, &TBMPOptions::MonochromeClicked);
    connect(colorsCombo, &QComboBox::currentIndexChanged, this, &TBMPOptions::RedrawPreview);
    connect(filtersButton, &QPushButton::clicked, this, &TBMPOptions::EditFilters);
}

bool TBMPOptions::Monochrome() const
{
    return monochromeBox->isChecked();
}

TPixelFormat TBMPOptions::PixelFormat() const
{
    const int index = colorsCombo->currentIndex();
    return index < pfDevice || index > pf32bit ? pfDevice : static_cast<TPixelFormat>(index);
}

void TBMPOptions::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    {
        // Selecting the entry must not draw the preview a second time.
        const QSignalBlocker quiet(colorsCombo);
        colorsCombo->setCurrentIndex(pfDevice);
    }
    UpdateFiltersButton();
    RedrawPreview();
}

void TBMPOptions::MonochromeClicked()
{
    colorsCombo->setEnabled(!monochromeBox->isChecked());
    RedrawPreview();
}

void TBMPOptions::UpdateFiltersButton()
{
    filtersButton->setEnabled(static_cast<bool>(format_.EditFilters));
}

void TBMPOptions::RedrawPreview()
{
    QImage picture;
    if (format_.Panel) {
        QByteArray file;
        if (RunExportStep([&] { file = format_.BuildBitmap(); }, nullptr))
            picture = QImage::fromData(file, "BMP");
    }
    if (picture.isNull()) {
        previewImage->clear();
        return;
    }
    previewImage->setPixmap(QPixmap::fromImage(
        picture.scaled(kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TBMPOptions::EditFilters()
{
    if (!format_.EditFilters)
        return;
    QImage bitmap;
    if (!RunExportStep([&] { bitmap = format_.DrawBitmap(); }, nullptr))
        return;
    bool confirmed = false;
    // The editor is another subsystem's dialog: nothing it throws may leave this handler.
    RunExportStep([&] { confirmed = format_.EditFilters(this, bitmap, format_.Filters()); }, nullptr);
    if (confirmed)
        RedrawPreview();
}

// ---- the format

const TPlotExportFormatClass& TBMPExportFormat::Class()
{
    static const TPlotExportFormatClass formatClass {"TBMPExportFormat", &CreateBMPFormat};
    return formatClass;
}

TBMPExportFormat::TBMPExportFormat() = default;

TBMPExportFormat::~TBMPExportFormat() = default;

QString TBMPExportFormat::Description() const
{
    return PlotMessage(PlotMsg::ExportAsBitmap);
}

QString TBMPExportFormat::FileExtension() const
{
    return QStringLiteral("bmp");
}

QString TBMPExportFormat::FileFilter() const
{
    return PlotMessage(PlotMsg::ExportFilterBitmap);
}

TBMPOptions* TBMPExportFormat::BMPOptions(bool check)
{
    if (!options_ && check)
        options_ = std::make_unique<TBMPOptions>(*this);
    return options_.get();
}

QImage TBMPExportFormat::DrawBitmap()
{
    TCustomPlotPanel& panel = RequirePanel();
    BMPOptions(true);
    CheckSize();
    return DrawPanelBitmap(panel, TRect {0, 0, Width, Height}, QImage::Format_RGB32);
}

QByteArray TBMPExportFormat::BuildBitmap()
{
    QImage bitmap = DrawBitmap();
    filters_.ApplyToBitmap(bitmap);
    const TBMPOptions& form = *BMPOptions(true);
    if (form.Monochrome())
        return EncodeMonochromeBmp(bitmap, gdi::ToQRgb(ColorToRGB(Panel->GetBackColor())));
    return EncodeBmp(bitmap, form.PixelFormat());
}

void TBMPExportFormat::SaveToStream(QIODevice& stream)
{
    const QByteArray bytes = BuildBitmap();
    if (stream.write(bytes) != bytes.size())
        throw ChartException(stream.errorString());
}

bool TBMPExportFormat::CopyToClipboard(QString* error)
{
    return RunExportStep(
        [this] {
            const QImage picture = QImage::fromData(BuildBitmap(), "BMP");
            if (picture.isNull())
                throw ChartException(QStringLiteral("The bitmap cannot be read back"));
            QGuiApplication::clipboard()->setImage(picture);
        },
        error);
}
