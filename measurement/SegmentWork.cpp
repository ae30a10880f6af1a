#include "measurement/SegmentWork.h"

#include "measurement/MeasureTime.h"
#include "measurement/ReceiverLoops.h"
#include "measurement/SweepRunners.h"

std::unique_ptr<SegmentWork> MakeSegmentWork(MeasureMode mode)
{
    switch (mode) {
    case MeasureMode::Sweep: return MakeSweepWork();
    case MeasureMode::EmiScan: return MakeEmiScanWork();
    case MeasureMode::EmiFix: return MakeEmiFixWork();
    case MeasureMode::Emi: return MakeEmiWork();
    }
    return nullptr;
}
