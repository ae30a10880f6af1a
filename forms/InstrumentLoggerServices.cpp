#include "forms/InstrumentLoggerServices.h"

#include "app/AppContext.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/InstrumentState.h"
#include "instrument/PanelCommands.h"
#include "instrument/ScpiContext.h"

InstrumentLoggerServices::InstrumentLoggerServices(AppContext& app, InstrumentState& instrument)
    : instrument_(instrument), context_(app, instrument)
{
}

InstrumentLoggerServices::~InstrumentLoggerServices() = default;

void InstrumentLoggerServices::SelectSpectrumMode()
{
    SelectMode(InstrumentMode::Spectrum, QStringLiteral("\"R&S SPEC Mode\""));
}

void InstrumentLoggerServices::SelectReceiverMode()
{
    SelectMode(InstrumentMode::Receiver, QStringLiteral("\"R&S REC Mode\""));
}

// A write to an analyser that fell silent waits out its time-out, as any window command does.
void InstrumentLoggerServices::SelectMode(InstrumentMode mode, const QString& button)
{
    RunAnalyserCommand(*context_, {button, QStringLiteral("not sent")}, [this, mode] {
        SelectInstrumentMode(instrument_.Visa, context_->Debug, instrument_.Device, mode);
    });
}
