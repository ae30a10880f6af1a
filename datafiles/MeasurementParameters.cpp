#include "datafiles/MeasurementParameters.h"

#include "datafiles/ParameterGridModel.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectTargets.h"

QString ChooseMeasureMode(int32_t deviceFamily, bool emiZeroSpan)
{
    switch (deviceFamily) {
    case 1: // Rigol
    case 2: // Siglent
        return emiZeroSpan ? QStringLiteral("emi") : QStringLiteral("sweep");
    case 4: // R&S FPC
    case 5: // R&S FPH
        return emiZeroSpan ? QStringLiteral("emi_fix") : QStringLiteral("emi_scan");
    default:
        return {};
    }
}

MeasurementParameters TakeMeasurementParameters(const ParameterGridModel& grid, const GridState& state,
                                                const MeasurementChoices& choices)
{
    using namespace gridkeys;
    MeasurementParameters p;
    p.Detector = grid.Value(kDetector);
    p.SweepMs = grid.Value(kSweep);
    p.RbwHz = grid.Value(kRbw);
    p.SpanHz = grid.Value(kSpan);
    p.AttenuatorDb = grid.Value(kAttenuator);
    p.PreAmp = grid.Value(kPreAmp);
    p.Limit1 = grid.Value(kLimit1);
    p.Limit2 = grid.Value(kLimit2);
    p.Margin1Db = state.Margin1Db;
    p.Margin2Db = state.Margin2Db;
    p.MaxHold = state.MaxHold;
    p.Marker = state.ShowMarkerNumbers;
    p.MeasureSet = choices.MeasureSet;
    p.VbwMode = choices.VbwMode;
    p.OptVbwBox = choices.OptVbwBox;
    p.MeasureMode = ChooseMeasureMode(choices.DeviceFamily, choices.EmiZeroSpan);
    return p;
}
