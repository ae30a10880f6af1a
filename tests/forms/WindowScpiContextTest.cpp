// The context a window sends its analyser commands through waits where the program waits, and
// still waits on something of its own in a window built alone.
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
    EXPECT_NE(dynamic_cast<QtEventPump*>(&alone->Pump), nullptr);

    VirtualEventPump pump;
    app.Pump = &pump;
    WindowScpiContext inProgram(app, instrument);
    EXPECT_EQ(&inProgram->Pump, &pump);
    EXPECT_EQ(&(*inProgram).Visa, &instrument.Visa);
    EXPECT_EQ(&inProgram->Messages, &app.Messages);
}
