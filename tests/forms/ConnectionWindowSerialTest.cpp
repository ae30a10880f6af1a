// The serial group of the connection window: a typed resource, "Connect Visa" and "RD RMC"
// against the simulated NMEA receiver, and "Get Info" for the receiver.
#include "app/AppContext.h"
#include "common/Controls.h"
#include "forms/FormServices.h"
#include "forms/ConnectionWindow.h"
#include "instrument/InstrumentState.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using testsupport::Control;

TEST(ConnectionWindowSerial, ConnectsTheReceiverOnATypedResourceAndReadsAPosition)
{
    SimulatorOptions o;
    o.pty = true;
    o.gps = true;
    Simulator sim(o);
    QString error;
    ASSERT_TRUE(sim.Start(&error)) << error.toStdString();

    AppContext app;
    VirtualEventPump pump;
    app.Pump = &pump;
    InstrumentState instrument;
    FormServices services;
    QStringList shown;
    services.showMessage = [&](const QString& t) { shown << t; };
    LoadVisaLibrary(instrument.Visa, app.Debug, std::make_unique<BuiltinVisaBackEnd>());
    ConnectionWindow form(app, instrument, services);
    form.prepareForKind(LinkKind::GpsReceiver);
    EXPECT_TRUE(Control<QPushButton>(form, "Button4").isVisibleTo(&form));
    Control<QLineEdit>(form, "Edit2").setText("ASRL" + sim.PtyPath() + "::INSTR"); // the list shows "COM1"
    Control<QPushButton>(form, "BitBtn6").click();
    EXPECT_EQ(Control<QLineEdit>(form, "Edit2").text(), "ASRL" + sim.PtyPath() + "::INSTR");
    EXPECT_TRUE(Control<QPushButton>(form, "BitBtn6").property("connected").toBool());
    EXPECT_EQ(instrument.Gps.GpsConnected, 1);

    Control<QPushButton>(form, "Button4").click();
    EXPECT_EQ(instrument.Gps.View.Display.Utc, "093000.00");
    EXPECT_EQ(instrument.Gps.View.Display.Status, "fix");
    Control<QPushButton>(form, "BitBtn2").click();
    EXPECT_EQ(Control<QPlainTextEdit>(form, "Memo1").toPlainText(),
              "$PERDINFO,OPUS3PVT,zendrik-sim receiver,1.00*40");
    EXPECT_TRUE(shown.isEmpty()) << shown.join("|").toStdString();
    CloseGpsReceiver(form.context(), instrument.Gps);
}
