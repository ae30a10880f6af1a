#include "datafiles/ParameterGridModel.h"
#include "datafiles/ParameterGridRows.h"
#include "measurement/PeakRemeasure.h"

RemeasureGrid ReadRemeasureGrid(const ParameterGridModel& grid)
{
    using namespace gridkeys;
    return {grid.Value(kSpan),       grid.Value(kRbw),    grid.Value(kDetector),
            grid.Value(kAttenuator), grid.Value(kPreAmp), grid.Value(kSweep)};
}

bool RemeasureGrid::NotValid(const QString& value) { return value == kNotValid; }
