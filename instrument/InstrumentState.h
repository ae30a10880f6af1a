#ifndef ZENDRIK_INSTRUMENT_INSTRUMENTSTATE_H
#define ZENDRIK_INSTRUMENT_INSTRUMENTSTATE_H

#include "instrument/AnalyserHold.h"
#include "instrument/DeviceState.h"
#include "instrument/GpsReceiver.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/UsbClaimTest.h"
#include "instrument/visa/VisaSession.h"

// Everything the program keeps about its instrument: the VISA sessions, the identified device,
// the status-bar texts, the USB test, the GPS receiver and who holds the analyser. Owned by the
// program entry, passed by reference.
struct InstrumentState {
    VisaState Visa;
    DeviceState Device;
    InstrumentStatus Status;
    UsbClaimTest Usb;
    GpsReceiverState Gps;
    AnalyserHold Hold;
};

#endif
