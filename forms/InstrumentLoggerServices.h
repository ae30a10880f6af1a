#ifndef ZENDRIK_FORMS_INSTRUMENTLOGGERSERVICES_H
#define ZENDRIK_FORMS_INSTRUMENTLOGGERSERVICES_H

#include "app/LoggerServices.h"
#include "forms/WindowScpiContext.h"

struct AppContext;
struct InstrumentState;
enum class InstrumentMode;

// The log window's instrument buttons, served by the program's instrument state. The chart
// operations stay empty until the main chart exists.
class InstrumentLoggerServices final : public LoggerServices {
public:
    InstrumentLoggerServices(AppContext& app, InstrumentState& instrument);
    ~InstrumentLoggerServices() override;
    void SelectSpectrumMode() override;
    void SelectReceiverMode() override;

private:
    void SelectMode(InstrumentMode mode, const QString& button);

    InstrumentState& instrument_;
    WindowScpiContext context_;
};

#endif
