#include "chart/tools/PlotEmfOptions.h"

#include "chart/canvas/PlotPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/PlotMessages.h"
#include "platform/gdi/EmfWriter.h"
#include "platform/gdi/MetafilePlayer.h"
#include "platform/gdi/WmfWriter.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QIODevice>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

namespace {

std::unique_ptr<TPlotExportFormat> CreateEMFFormat()
{
    return std::make_unique<TEMFExportFormat>();
}

} // namespace

// ---- options form

TEMFOptions::TEMFOptions(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("EMFOptions"));
    enhancedBox = new QCheckBox(QStringLiteral("&Enhanced"), this);
    enhancedBox->setObjectName(QStringLiteral("enhancedBox"));
    enhancedBox->setChecked(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(enhancedBox);
    layout->addStretch();
}

bool TEMFOptions::Enhanced() const
{
    return enhancedBox->isChecked();
}

// ---- the format

const TPlotExportFormatClass& TEMFExportFormat::Class()
{
    static const TPlotExportFormatClass formatClass {"TEMFExportFormat", &CreateEMFFormat};
    return formatClass;
}

TEMFExportFormat::TEMFExportFormat() = default;

TEMFExportFormat::~TEMFExportFormat() = default;

bool TEMFExportFormat::Enhanced() const
{
    return !options_ || options_->Enhanced();
}

QString TEMFExportFormat::Description() const
{
    return PlotMessage(PlotMsg::ExportAsMetafile);
}

QString TEMFExportFormat::FileExtension() const
{
    return Enhanced() ? QStringLiteral("emf") : QStringLiteral("wmf");
}

QString TEMFExportFormat::FileFilter() const
{
    return PlotMessage(PlotMsg::ExportFilterMetafile);
}

int32_t TEMFExportFormat::GetFilterIndex() const
{
    return Enhanced() ? FilterIndex : FilterIndex + 1;
}

void TEMFExportFormat::SetFilterIndex(int32_t& index)
{
    TPlotExportFormat::SetFilterIndex(index);
    ++index;
}

// The first entry is the enhanced one: choosing it switches "&Enhanced" back on, so that the
// file is what the chosen entry names.
bool TEMFExportFormat::WantsFilterIndex(int32_t index)
{
    if (index == FilterIndex) {
        if (options_)
            options_->enhancedBox->setChecked(true);
        return true;
    }
    if (index == FilterIndex + 1) {
        EMFOptions(true)->enhancedBox->setChecked(false);
        return true;
    }
    return false;
}

TEMFOptions* TEMFExportFormat::EMFOptions(bool check)
{
    if (!options_ && check)
        options_ = std::make_unique<TEMFOptions>();
    return options_.get();
}

gdi::Metafile TEMFExportFormat::BuildMetafile()
{
    TCustomPlotPanel& panel = RequirePanel();
    CheckSize();
    return DrawPanelMetafile(panel, TRect {0, 0, Width, Height}, Enhanced());
}

QByteArray TEMFExportFormat::BuildFile()
{
    const gdi::Metafile picture = BuildMetafile();
    return picture.Enhanced ? gdi::EncodeEmf(picture) : gdi::EncodeWmf(picture);
}

void TEMFExportFormat::SaveToStream(QIODevice& stream)
{
    const QByteArray bytes = BuildFile();
    if (stream.write(bytes) != bytes.size())
        throw ChartException(stream.errorString());
}

// Programs on this platform share no metafile clipboard type: the file's bytes go under their
// media type for those that read it, and the picture rendered for all others.
bool TEMFExportFormat::CopyToClipboard(QString* error)
{
    return RunExportStep(
        [this] {
            const gdi::Metafile picture = BuildMetafile();
            QImage rendered(picture.Width, picture.Height, QImage::Format_RGB32);
            rendered.fill(Qt::white);
            {
                QPainter painter(&rendered);
                gdi::PlayMetafile(picture, painter, QRectF(0, 0, rendered.width(), rendered.height()));
            }
            auto data = std::make_unique<QMimeData>();
            if (picture.Enhanced)
                data->setData(QStringLiteral("image/emf"), gdi::EncodeEmf(picture));
            else
                data->setData(QStringLiteral("image/wmf"), gdi::EncodeWmf(picture));
            data->setImageData(rendered);
            QGuiApplication::clipboard()->setMimeData(data.release());
        },
        error);
}
