// A window's analyser commands wait where the program waits, or on a pump of the window's own.
#include "app/AppContext.h"
#include "forms/WindowScpiContext.h"
#include "instrument/InstrumentState.h"
#include "platform/system/EventPump.h"

#include <gtest/gtest.h>

TEST(WindowScpiContext, WaitsOnTheProgramsPumpOrOnItsOwn)
{
    AppContext app;
    InstrumentState instrument;
    WindowScpiContext alone(app, instrument);
    VirtualEventPump pump;
    app.Pump = &pump;
    WindowScpiContext inProgram(app, instrument);
    EXPECT_NE(dynamic_cast<QtEventPump*>(&alone->Pump), nullptr);
    EXPECT_EQ(&inProgram->Pump, &pump);
}
