#ifndef ZENDRIK_CHART_ENGINE_SERIESSTREAM_H
#define ZENDRIK_CHART_ENGINE_SERIESSTREAM_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class ChartComponent;
class TChartSeries;

// The stored points of a series ("Data"), little-endian: a flags byte (1 X values, 2 colours,
// 4 labels, 8 mark positions), the 4-byte point count, then per point the X value (flag 1), the
// mandatory value, the colour (flag 2), the label (flag 4: a length byte and up to 255 bytes of
// UTF-8), one double per further value list and the mark position (flag 8, 34 bytes).
QByteArray WriteSeriesData(TChartSeries& series);
// Replaces the points of series by the stored ones. The whole blob is checked first: a damaged
// one raises ChartException and leaves the series as it was.
void ReadSeriesData(TChartSeries& series, const QByteArray& data);
// "Data" is written when the series always stores its points, or when its points were read from
// the stream and it may store them.
bool StoresSeriesData(const TChartSeries& series);

// What a series names in the stream and finds only once the whole form is read.
struct SeriesStreamLinks {
    QStringList DataSources;
    int CustomHorizAxis = -1;
    int CustomVertAxis = -1;
};

// The series' extra stream properties, as named values of the form-description stream:
// "Identifier", "Style", "Data", "DataSources" (component names) and "CustomHorizAxis" /
// "CustomVertAxis" (the axis' index in the chart's axes list). Only what is set is written.
void WriteSeriesProperties(TChartSeries& series, QByteArray& out);
// Takes one property read from the stream; false for a name that is not one of them. A value of
// the wrong type or a damaged "Data" raises ChartException and changes nothing. Names and axis
// indexes go to links.
bool ReadSeriesProperty(TChartSeries& series, const QString& name, const QVariant& value, SeriesStreamLinks& links);

// Looks a component up by its name; null when there is none.
using ComponentFinder = std::function<ChartComponent*(const QString& name)>;
// After loading: attaches the named sources that exist and may feed the series, and the custom
// axes whose index is in the chart's axes list with the right orientation (the rest is skipped),
// then reloads the series. Without a finder the names are looked up among the chart's series.
void ResolveSeriesLinks(TChartSeries& series, const SeriesStreamLinks& links, const ComponentFinder& find = {});

#endif
