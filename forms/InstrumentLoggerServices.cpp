#include "forms/InstrumentLoggerServices.h"

#include "app/AppContext.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/InstrumentState.h"
#include "instrument/PanelCommands.h"
#include "instrument/ScpiContext.h"
#include "platform/system/EventPump.h"

InstrumentLoggerServices::InstrumentLoggerServices(AppContext& app, InstrumentState& instrument)
    : instrument_(instrument)
{
    EventPump* pump = app.Pump;
    if (!pump) {
        ownPump_ = std::make_unique<QtEventPump>();
        pump = ownPump_.get();
    }
    context_ = std::make_unique<ScpiContext>(ScpiContext{instrument.Visa, instrument.Device, app.Settings, app.Debug,
                                                         app.Messages, *pump, instrument.Status});
}

InstrumentLoggerServices::~InstrumentLoggerServices() = default;

void InstrumentLoggerServices::SelectSpectrumMode()
{
    SelectMode(InstrumentMode::Spectrum, QStringLiteral("\"R&S SPEC Mode\" not sent"));
}

void InstrumentLoggerServices::SelectReceiverMode()
{
    SelectMode(InstrumentMode::Receiver, QStringLiteral("\"R&S REC Mode\" not sent"));
}

// A write to an analyser that fell silent waits out its time-out, as any window command does.
void InstrumentLoggerServices::SelectMode(InstrumentMode mode, const QString& ended)
{
    RunAnalyserCommand(*context_, ended, [this, mode] {
        SelectInstrumentMode(instrument_.Visa, context_->Debug, instrument_.Device, mode);
    });
}
