#include "forms/InstrumentLoggerServices.h"

#include "instrument/InstrumentState.h"
#include "instrument/PanelCommands.h"

void InstrumentLoggerServices::SelectSpectrumMode()
{
    SelectInstrumentMode(instrument_.Visa, debug_, instrument_.Device, InstrumentMode::Spectrum);
}

void InstrumentLoggerServices::SelectReceiverMode()
{
    SelectInstrumentMode(instrument_.Visa, debug_, instrument_.Device, InstrumentMode::Receiver);
}
