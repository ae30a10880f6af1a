#include "measurement/SegmentWork.h"

#include "measurement/MeasureTime.h"
#include "measurement/ReceiverLoops.h"
#include "measurement/SweepRunners.h"

std::unique_ptr<SegmentWork> MakeSegmentWork(const QString& mode)
{
    if (mode == QLatin1String(measuremode::kSweep))
        return MakeSweepWork();
    if (mode == QLatin1String(measuremode::kEmiScan))
        return MakeEmiScanWork();
    if (mode == QLatin1String(measuremode::kEmiFix))
        return MakeEmiFixWork();
    if (mode == QLatin1String(measuremode::kEmi))
        return MakeEmiWork();
    return nullptr;
}
