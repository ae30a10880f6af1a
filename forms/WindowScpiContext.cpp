#include "forms/WindowScpiContext.h"

#include "app/AppContext.h"
#include "instrument/InstrumentState.h"
#include "platform/system/EventPump.h"

WindowEventPump::WindowEventPump(EventPump* programPump) : pump_(programPump)
{
    if (pump_ == nullptr) {
        own_ = std::make_unique<QtEventPump>();
        pump_ = own_.get();
    }
}

WindowEventPump::~WindowEventPump() = default;

WindowScpiContext::WindowScpiContext(AppContext& app, InstrumentState& instrument)
    : pump_(app.Pump),
      context_{instrument.Visa, instrument.Device, app.Settings, app.Debug,
               app.Messages, *pump_, instrument.Status, &instrument.Hold}
{
}

WindowScpiContext::~WindowScpiContext() = default;
