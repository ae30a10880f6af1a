#include "forms/InstrumentLoggerServices.h"

#include "instrument/InstrumentState.h"

bool InstrumentLoggerServices::DeviceConnected() const
{
    return instrument_.Device.DeviceConnected != 0;
}

void InstrumentLoggerServices::VisaWriteString(const QString& command)
{
    ::VisaWriteString(instrument_.Visa, debug_, command);
}
