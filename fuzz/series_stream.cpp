// The stored points of a series ("Data" of a chart's form description): a blob either loads
// whole or is refused with the series left as it was; one that loads writes back to bytes that
// read to the same points.
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesStream.h"
#include "fuzz/FuzzSupport.h"

#include <cstring>
#include <vector>

namespace {

std::vector<double> Points(TChartSeries& s)
{
    std::vector<double> v{static_cast<double>(s.Count())};
    for (int i = 0; i < s.Count(); ++i)
        v.insert(v.end(), {s.XValues().Value(i), s.YValues().Value(i), static_cast<double>(s.GetValueColor(i))});
    return v;
}

// Bitwise, so that NaN and -0 compare as stored.
bool Same(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray blob(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TChartSeries series;
    series.AddPointXY(1, 2);
    series.AddPointXY(3, 4);
    const std::vector<double> before = Points(series);
    try {
        ReadSeriesData(series, blob);
    } catch (const ChartException&) {
        fuzz::Check(Same(Points(series), before), "a refused blob leaves the series as it was");
        return 0;
    }
    const std::vector<double> loaded = Points(series);
    TChartSeries again;
    ReadSeriesData(again, WriteSeriesData(series));
    fuzz::Check(Same(Points(again), loaded), "what was read writes back to the same points");
    return 0;
}
