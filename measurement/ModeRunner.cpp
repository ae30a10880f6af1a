#include "measurement/ModeRunner.h"

#include "measurement/MeasureTime.h"
#include "measurement/ReceiverRunners.h"
#include "measurement/SweepRunners.h"

std::unique_ptr<ModeRunner> MakeModeRunner(MeasureMode mode)
{
    switch (mode) {
    case MeasureMode::Sweep: return MakeSweepRunner();
    case MeasureMode::EmiScan: return MakeEmiScanRunner();
    case MeasureMode::EmiFix: return MakeEmiFixRunner();
    case MeasureMode::Emi: return MakeEmiRunner();
    }
    return nullptr;
}
