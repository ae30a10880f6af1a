#ifndef ZENDRIK_FORMS_INSTRUMENTLOGGERSERVICES_H
#define ZENDRIK_FORMS_INSTRUMENTLOGGERSERVICES_H

#include "app/LoggerServices.h"

struct InstrumentState;

// The log window's instrument buttons, served by the program's instrument state. The chart
// operations stay empty until the main chart exists.
class InstrumentLoggerServices final : public LoggerServices {
public:
    InstrumentLoggerServices(InstrumentState& instrument, DebugLog& debug) : instrument_(instrument), debug_(debug) {}
    void SelectSpectrumMode() override;
    void SelectReceiverMode() override;

private:
    InstrumentState& instrument_;
    DebugLog& debug_;
};

#endif
