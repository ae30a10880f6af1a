#include "measurement/TracePoints.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "chart/engine/ChartSeries.h"
#include "instrument/TraceTransfer.h"

#include <vector>

void StartRawTrace(TChartSeries& raw, int points)
{
    raw.Clear();
    raw.ReservePoints(points);
}

int AddTracePoints(TChartSeries& series, TColor color, const TraceReadResult& read)
{
    // One block, so that the series gives back the room its columns grew by.
    std::vector<double> xs(read.Points.size());
    std::vector<double> ys(read.Points.size());
    for (size_t i = 0; i < read.Points.size(); ++i) {
        xs[i] = read.Points[i].x;
        ys[i] = read.Points[i].y;
    }
    TChartSeries::UpdateScope scope(series);
    series.AddPointsXY(xs, ys, color);
    return static_cast<int>(read.Points.size());
}

void AddTracePoint(ScpiContext& c, TChartSeries& series, TColor color, double frequencyHz, double level)
{
    const double x = static_cast<double>(RoundHalfEven(frequencyHz / 1000.0));
    series.AddPointXY(x, level, QString(), color);
    if (!c.Debug.DebugMode)
        return;
    c.Debug.LogMessage(QStringLiteral("Stop  Raw xValue: ") + FloatToStr(x));
    c.Debug.LogMessage(QStringLiteral("Start Raw  Count: ") + QString::number(series.Count()));
}
