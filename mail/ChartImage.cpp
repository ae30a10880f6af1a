#include "mail/ChartImage.h"

#include "chart/canvas/PlotPanel.h"
#include "chart/tools/PlotJPEG.h"

#include <QDir>

namespace {
constexpr int kImageWidth = 800;
constexpr int kImageHeight = 300;
} // namespace

bool SaveChartJpeg(TCustomPlotPanel& chart, const QString& workingFolder, QString* error)
{
    const QString file = QDir(workingFolder).filePath(QString::fromLatin1(kChartImageFile));
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
        if (error)
            *error = QStringLiteral("cannot create the folder of ") + file;
        return false;
    }
    TJPEGExportFormat format;
    format.Panel = &chart;
    format.Width = kImageWidth;
    format.Height = kImageHeight;
    return format.SaveToFile(file, error);
}
