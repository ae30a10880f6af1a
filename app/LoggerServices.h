#ifndef ZENDRIK_APP_LOGGERSERVICES_H
#define ZENDRIK_APP_LOGGERSERVICES_H

#include <QString>
#include <vector>

class DebugLog;

struct SeriesPoint {
    double x;
    double y;
};

// What the log window's test buttons need of the chart and the instrument. The main chart and
// the instrument layer fill it in; until they do, every operation does nothing visible.
class LoggerServices {
public:
    virtual ~LoggerServices() = default;
    // Points of the main chart's series SeriesN (1..29).
    virtual std::vector<SeriesPoint> SeriesPoints(int /*seriesNumber*/) const { return {}; }
    // Clears the custom labels of the bottom axis, returns it to automatic labels, repaints.
    virtual void RefreshBottomAxisLabels() {}
    virtual std::vector<double> BottomAxisLabelValues() const { return {}; }
    // "R&S SPEC Mode" and "R&S REC Mode": the instrument's mode, while one is connected.
    virtual void SelectSpectrumMode() {}
    virtual void SelectReceiverMode() {}
};

// The dumps of the log window's buttons, as debug-log lines. Numbers use the shortest general
// form with the process-wide decimal mark.
void DumpSeriesPoints(DebugLog& log, const QString& prefix, const std::vector<SeriesPoint>& points);
void DumpSeries1(DebugLog& log, const LoggerServices& services);
void DumpSeriesX(DebugLog& log, const LoggerServices& services);
void DumpBottomAxisLabels(DebugLog& log, const LoggerServices& services);

#endif
