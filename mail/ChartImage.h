#ifndef ZENDRIK_MAIL_CHARTIMAGE_H
#define ZENDRIK_MAIL_CHARTIMAGE_H

#include <QString>

class TCustomPlotPanel;

// The chart image the mail notices attach: the main chart as an 800 x 300 JPEG (quality 95,
// colour) in "out/ChartImage.jpg" below the working folder. A failure keeps an older image and
// gives the reason.
inline constexpr const char* kChartImageFile = "out/ChartImage.jpg";
bool SaveChartJpeg(TCustomPlotPanel& chart, const QString& workingFolder, QString* error = nullptr);

#endif
