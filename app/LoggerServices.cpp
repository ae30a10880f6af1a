#include "app/LoggerServices.h"

#include "app/Log.h"
#include "app/NumberText.h"

void DumpSeriesPoints(DebugLog& log, const QString& prefix, const std::vector<SeriesPoint>& points)
{
    // Formatting thousands of points is wasted when nobody sees the lines.
    if (!log.DebugMode)
        return;
    for (std::size_t i = 0; i < points.size(); ++i)
        log.LogMessage(prefix + QString::number(i) + QLatin1Char(' ') + FloatToStr(points[i].x) + QLatin1Char('/')
                       + FloatToStr(points[i].y));
}

void DumpSeries1(DebugLog& log, const LoggerServices& services)
{
    log.LogMessage(QStringLiteral("-->s1 : "));
    DumpSeriesPoints(log, QStringLiteral("-->s1 : "), services.SeriesPoints(1));
}

void DumpSeriesX(DebugLog& log, const LoggerServices& services)
{
    log.LogMessage(QStringLiteral("-->s7"));
    DumpSeriesPoints(log, QStringLiteral("-->s7 : "), services.SeriesPoints(7));
    log.LogMessage(QStringLiteral("-->s3"));
    DumpSeriesPoints(log, QStringLiteral("-->s3 : "), services.SeriesPoints(3));
    log.LogMessage(QStringLiteral("-->s6"));
    DumpSeriesPoints(log, QStringLiteral("-->s6 : "), services.SeriesPoints(6));
}

void DumpBottomAxisLabels(DebugLog& log, const LoggerServices& services)
{
    log.LogMessage(QStringLiteral("rd items-------------"));
    if (!log.DebugMode)
        return;
    const std::vector<double> values = services.BottomAxisLabelValues();
    for (std::size_t i = 0; i < values.size(); ++i)
        log.LogMessage(QStringLiteral("item ") + QString::number(i) + QLatin1Char(':') + FloatToStr(values[i]));
}
