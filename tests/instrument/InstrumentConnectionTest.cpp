// Search, connect, disconnect, the service buttons and ".\emc_ip.ini", over a fake sysfs tree,
// the scripted peer and the simulator; and the USB test's failure paths.
#include "common/TestSupport.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/UsbClaimTest.h"
#include "tools/sim/Simulator.h"
#include "ScpiFixture.h"
#include "SimScpiFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <netdb.h>

namespace {

// Two USBTMC instruments as sysfs shows them.
void MakeUsbTree(const QTemporaryDir& root)
{
    QDir d(root.path());
    const struct {
        const char* dev;
        const char* vendor;
        const char* product;
        const char* serial;
        const char* devnum;
    } devices[] = {{"1-1", "1ab1", "0960", "DSA8A1234567890", "4"}, {"1-2", "f4ec", "1300", "SSA3XAB1234567", "7"}};
    int node = 0;
    for (const auto& u : devices) {
        const QString base = QString("bus/usb/devices/") + u.dev;
        ASSERT_TRUE(d.mkpath(base + "/" + u.dev + ":1.0"));
        testsupport::WriteAll(root.filePath(base + "/idVendor"), QByteArray(u.vendor) + "\n");
        testsupport::WriteAll(root.filePath(base + "/idProduct"), QByteArray(u.product) + "\n");
        testsupport::WriteAll(root.filePath(base + "/serial"), QByteArray(u.serial) + "\n");
        testsupport::WriteAll(root.filePath(base + "/product"), "Analyser\n");
        testsupport::WriteAll(root.filePath(base + "/busnum"), "1\n");
        testsupport::WriteAll(root.filePath(base + "/devnum"), QByteArray(u.devnum) + "\n");
        testsupport::WriteAll(root.filePath(base + "/" + u.dev + ":1.0/bInterfaceNumber"), "00\n");
        const QString misc = QString("class/usbmisc/usbtmc%1").arg(node++);
        ASSERT_TRUE(d.mkpath(misc));
        ASSERT_TRUE(QFile::link(root.filePath(base + "/" + u.dev + ":1.0"), root.filePath(misc + "/device")));
    }
}

// The program against a simulator, over VXI-11 or the raw socket. Host names resolve to
// nothing here, so that no lookup leaves the machine.
struct Program : ScriptedScpi {
    std::unique_ptr<Simulator> sim;
    QString StartSimulator(const QString& family, bool vxi11 = false)
    {
        SimulatorOptions o;
        o.family = family;
        o.timeScale = 0.001;
        CloseVisaSessions(visa);
        visa.VisaLibrary.reset();
        BuiltinVisaOptions vo;
        vo.timeoutMs = kTestTimeoutMs;
        vo.hostLookup = [](const std::string&, visaio::Address*) { return EAI_NONAME; };
        if (vxi11) {
            o.vxi11 = true;
            o.vxi11Program = TestRpcProgram();
            vo.vxi11.program = o.vxi11Program;
        } else {
            o.tcpPort = 0;
        }
        LoadVisaLibrary(visa, debug, std::make_unique<BuiltinVisaBackEnd>(vo));
        sim = std::make_unique<Simulator>(o);
        QString error;
        EXPECT_TRUE(sim->Start(&error)) << error.toStdString();
        return vxi11 ? TcpResourceName("127.0.0.1")
                     : "TCPIP0::127.0.0.1::" + QString::number(sim->TcpPort()) + "::SOCKET";
    }
    ~Program()
    {
        CloseVisaSessions(visa);
        if (sim)
            sim->Stop();
    }
};

} // namespace

TEST(InstrumentConnection, UsbSearchListsEveryResourceAndSearchingAgainClosesTheOldSession)
{
    QTemporaryDir root;
    MakeUsbTree(root);
    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext c{visa, device, options, debug, messages, pump, status};
    QStringList dialogs;
    visa.ShowErrorDialog = [&](const QString& t) { dialogs << t; };
    BuiltinVisaOptions o;
    o.sysRoot = root.path();
    LoadVisaLibrary(visa, debug, std::make_unique<BuiltinVisaBackEnd>(o));

    InstrumentList list;
    ASSERT_TRUE(SearchUsbInstruments(c, &list));
    EXPECT_EQ(list.Resources, QStringList({"USB0::0x1AB1::0x0960::DSA8A1234567890::INSTR",
                                           "USB0::0xF4EC::0x1300::SSA3XAB1234567::INSTR"}));
    EXPECT_EQ(list.Lines, QStringList({"Item 1 USB0::0x1AB1::0x0960::DSA8A1234567890::INSTR",
                                       "Item 2 USB0::0xF4EC::0x1300::SSA3XAB1234567::INSTR"}));
    const ViSession firstRm = visa.VisaResourceManager;
    EXPECT_NE(firstRm, 0u);
    device.DeviceConnected = 1;
    status.SetText(StatusBarPanel::Model, "DSA815-119");
    ASSERT_TRUE(SearchUsbInstruments(c, &list));
    // Searching again ends the connection the old resource manager held.
    EXPECT_EQ(status.Text(StatusBarPanel::Model), "");
    // The earlier resource manager is gone: its number no longer names anything.
    ViSession s = 0;
    EXPECT_NE(visa.VisaLibrary->viOpen(firstRm, "TCPIP0::127.0.0.1::1::SOCKET", 0, 0, &s), visa::VI_SUCCESS);
    EXPECT_EQ(device.DeviceConnected, 0);
    EXPECT_TRUE(dialogs.isEmpty());

    // No instruments at all.
    QTemporaryDir empty;
    CloseVisaSessions(visa);
    visa.VisaLibrary.reset();
    BuiltinVisaOptions none;
    none.sysRoot = empty.path();
    LoadVisaLibrary(visa, debug, std::make_unique<BuiltinVisaBackEnd>(none));
    EXPECT_FALSE(SearchUsbInstruments(c, &list));
    EXPECT_EQ(dialogs, QStringList{"no usb device found!"});
    EXPECT_TRUE(list.Lines.isEmpty());
}

TEST(InstrumentConnection, ConnectIdentifiesAndFailedOpenShowsNone)
{
    Program p;
    const QString resource = p.StartSimulator("fph");
    ConnectOutcome out = ConnectInstrument(p.c, resource, true);
    EXPECT_TRUE(out.Opened);
    EXPECT_TRUE(out.Identified);
    EXPECT_EQ(out.Answer, "Rohde&Schwarz,FPH,1321.1111K04/100789,1.70");
    EXPECT_EQ(p.device.DeviceFamily, 5);
    EXPECT_EQ(p.device.DeviceConnected, 1);
    EXPECT_EQ(p.status.Text(StatusBarPanel::Connection), resource);
    EXPECT_EQ(p.status.Text(StatusBarPanel::Model), "R&S FPH ");

    // "xxx.xxx.xxx.xxx" from a missing INI file is no address: the open fails and says "none".
    out = ConnectInstrument(p.c, TcpResourceName("xxx.xxx.xxx.xxx"), true);
    EXPECT_FALSE(out.Opened);
    EXPECT_EQ(p.status.Text(StatusBarPanel::Connection), "none");
    EXPECT_EQ(p.device.DeviceConnected, 0);
    // An empty resource ends the connect before anything is opened.
    EXPECT_FALSE(ConnectInstrument(p.c, "", true).Opened);

    DisconnectInstrument(p.c);
    EXPECT_EQ(p.visa.VisaResourceManager, 0u);
    EXPECT_EQ(p.status.Text(StatusBarPanel::Connection), "");
    EXPECT_EQ(p.status.Text(StatusBarPanel::Model), "");
    // Disconnecting twice is harmless.
    DisconnectInstrument(p.c);
}

TEST(InstrumentConnection, ControlsFollowTheFamily)
{
    DeviceState d;
    d.DeviceFamily = dfRigol;
    d.DeviceModel = 815;
    FamilyControls f = ControlsForFamily(d);
    EXPECT_TRUE(f.VbwGroupEnabled);
    EXPECT_EQ(f.EmiZeroSpanEnabled, true);
    EXPECT_EQ(f.MaxPeakEnabled, true);
    d.DeviceModel = 5000;
    f = ControlsForFamily(d);
    EXPECT_TRUE(f.VbwGroupEnabled);
    EXPECT_EQ(f.EmiZeroSpanEnabled, false);
    EXPECT_EQ(f.MaxPeakEnabled, false);
    d.DeviceFamily = dfSiglent;
    f = ControlsForFamily(d);
    EXPECT_TRUE(f.VbwGroupEnabled);
    EXPECT_EQ(f.EmiZeroSpanEnabled, true);
    EXPECT_EQ(f.MaxPeakEnabled, false);
    d.DeviceFamily = dfRsFpc;
    f = ControlsForFamily(d);
    EXPECT_FALSE(f.VbwGroupEnabled);
    EXPECT_EQ(f.MaxPeakEnabled, false);
    d.DeviceFamily = dfHameg;
    f = ControlsForFamily(d);
    EXPECT_FALSE(f.VbwGroupEnabled);
    EXPECT_FALSE(f.EmiZeroSpanEnabled.has_value());
    EXPECT_FALSE(f.MaxPeakEnabled.has_value());
}

TEST(InstrumentConnection, ServiceButtonsAgainstTheSimulator)
{
    Program p;
    ASSERT_TRUE(ConnectInstrument(p.c, p.StartSimulator("dsa815", true), true).Identified);
    EXPECT_EQ(SendFreeCommand(p.c, "*IDN?"), "Rigol Technologies,DSA815,DSA8A1234567890,00.01.19.00.02\n");
    ScpiWrite(p.visa, p.debug, ":NOT:KNOWN");
    p.debug.DebugMode = 1;
    const QStringList debugLines = InstrumentStatusLines(p.c);
    EXPECT_EQ(debugLines.value(0), "ERR:-113,\"Undefined header\"");
    EXPECT_EQ(debugLines.value(1), "STB:0");
    EXPECT_EQ(debugLines.value(2), "ESE:0");
    EXPECT_EQ(debugLines.value(3), "ESR:32"); // the command error of ":NOT:KNOWN"

    Program ssa;
    ASSERT_TRUE(ConnectInstrument(ssa.c, ssa.StartSimulator("ssa3032x", true), true).Identified);
    EXPECT_EQ(InstrumentInfoLines(ssa.c),
              QStringList({"Siglent Technologies,SSA3032X,SSA3XAB1234567,3.2.2.5.0", "Option: EMI,TG"}));

    // The R&S list their options with commas on one line, which the rule for line lists leaves
    // out.
    Program fpc;
    ASSERT_TRUE(ConnectInstrument(fpc.c, fpc.StartSimulator("fpc1500"), true).Identified);
    EXPECT_EQ(InstrumentInfoLines(fpc.c), QStringList({"Rohde&Schwarz,FPC1500,1328.6660K12/100456,1.50"}));
}

TEST(InstrumentConnection, InfoWithoutAnAnswerShowsTheReadError)
{
    ScriptedScpi s(dfRigol, 815);
    EXPECT_TRUE(InstrumentInfoLines(s.c).isEmpty());
    EXPECT_EQ(s.dialogs, QStringList{"Visa ViRead FAILED!"});
}

TEST(InstrumentConnection, VisaVersion)
{
    ScriptedScpi s;
    // The built-in back end calls itself 1.0.0 in VISA's packing (12 bits major, 12 bits minor,
    // 8 bits sub-minor: 0x00100000); a decoder that shifts wrongly shows 0.256.0.0 or 16.0.0.0.
    EXPECT_EQ(VisaVersionText(s.visa), "Visa: 1.0.0.0");
    VisaState none;
    EXPECT_EQ(VisaVersionText(none), "Visa: No version specification");
}

TEST(InstrumentConnection, AddressFile)
{
    QTemporaryDir dir;
    EXPECT_EQ(ReadInstrumentAddress(dir.path()), "xxx.xxx.xxx.xxx");
    testsupport::WriteAll(dir.filePath("emc_ip.ini"), "[Other]\r\nKey=1\r\n[ip]\r\nadr=10.0.0.9\r\n");
    EXPECT_EQ(ReadInstrumentAddress(dir.path()), "10.0.0.9");
    QString error;
    ASSERT_TRUE(WriteInstrumentAddress(dir.path(), "192.168.0.20", &error)) << error.toStdString();
    EXPECT_EQ(testsupport::ReadAll(dir.filePath("emc_ip.ini")), "[IP]\r\nADR=192.168.0.20\r\n");
    EXPECT_EQ(ReadInstrumentAddress(dir.path()), "192.168.0.20");
    EXPECT_FALSE(WriteInstrumentAddress(dir.filePath("missing/folder"), "1.2.3.4", &error));
}

TEST(InstrumentConnection, TcpSearchListsOwnAddresses)
{
    InstrumentList list;
    ASSERT_TRUE(SearchTcpInstruments(&list));
    EXPECT_TRUE(list.Lines.contains("127.0.0.1"));
    EXPECT_TRUE(list.Resources.isEmpty());
    EXPECT_EQ(TcpResourceName("10.1.2.3"), "TCPIP0::10.1.2.3::INSTR");
}

TEST(UsbClaim, SearchOpenAndHandles)
{
    QTemporaryDir root;
    MakeUsbTree(root);
    QStringList lines, paths;
    SearchUsbInstruments(root.path(), &lines, &paths);
    EXPECT_EQ(paths, QStringList{"/dev/bus/usb/001/004"});
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("Item   1   1-1   Analyser")) << lines[0].toStdString();

    UsbClaimTest usb;
    DebugLog debug;
    debug.DebugMode = 1;
    debug.TimeText = [] { return QStringLiteral("T"); };
    // libusb may be unusable in a container; the test then sees the load fail and says so.
    if (!StartUsbLibrary(usb, debug)) {
        EXPECT_EQ(debug.Lines(), QStringList{"T: Error: WINUSB.DLL could not be loaded"});
        return;
    }
    EXPECT_TRUE(StartUsbLibrary(usb, debug));
    EXPECT_EQ(debug.Lines().last(), "T: Info: WINUSB.DLL still loaded");
    // Bus 255 device 255 is no device.
    EXPECT_FALSE(OpenAndClaimUsbDevice(usb, debug, "/dev/bus/usb/255/255"));
    EXPECT_EQ(debug.Lines().last(), "T: Cannot get a handle for the device. Perhaps it's not attached.");
    EXPECT_FALSE(OpenAndClaimUsbDevice(usb, debug, "no path"));
    EXPECT_EQ(UsbHandlesText(usb), "WUH: $00000000: $00000000");
    EXPECT_FALSE(usb.InterfaceOpen);
}
