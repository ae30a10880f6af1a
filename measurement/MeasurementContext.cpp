#include "measurement/MeasurementContext.h"

#include "app/MainChartSeries.h"
#include "measurement/RunParameters.h"

SetSeries SeriesOfSet(const MeasurementContext& c, MeasureSet set)
{
    using enum SeriesRole;
    const MainChartSeries& s = c.Series;
    if (set == MeasureSet::Set2)
        return {s[rawTrace2], s[correctedTrace2], s[limitLine2], c.Switches.CorrectedColor[set]};
    return {s[rawTrace1], s[correctedTrace1], s[limitLine1], c.Switches.CorrectedColor[set]};
}
