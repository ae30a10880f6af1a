// The connection window driven through its controls: the kinds, the address file, search,
// connect against a small raw-socket instrument, the service buttons and disconnect.
#include "app/AppContext.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/ConnectionWindow.h"
#include "forms/FormServices.h"
#include "instrument/InstrumentState.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <atomic>
#include <gtest/gtest.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using testsupport::Control;

namespace {

// An instrument on a raw socket in a thread of its own: answers "*IDN?" with its identification
// and every other query with "0"; records the messages.
class FakeInstrument {
public:
    explicit FakeInstrument(QByteArray idn) : idn_(std::move(idn))
    {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listen_, 4);
        socklen_t len = sizeof a;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~FakeInstrument()
    {
        ::shutdown(listen_, SHUT_RDWR);
        ::close(listen_);
        const int c = conn_.exchange(-1);
        if (c >= 0)
            ::shutdown(c, SHUT_RDWR);
        thread_.join();
    }
    QString Resource() const { return QStringLiteral("TCPIP0::127.0.0.1::%1::SOCKET").arg(port_); }
    QByteArrayList Messages()
    {
        std::lock_guard<std::mutex> l(m_);
        return messages_;
    }

private:
    void Serve()
    {
        for (;;) {
            const int c = ::accept(listen_, nullptr, nullptr);
            if (c < 0)
                return;
            conn_ = c;
            QByteArray buffer;
            char chunk[512];
            ssize_t n;
            while ((n = ::read(c, chunk, sizeof chunk)) > 0) {
                buffer.append(chunk, n);
                qsizetype nl;
                while ((nl = buffer.indexOf('\n')) >= 0) {
                    const QByteArray m = buffer.left(nl);
                    buffer.remove(0, nl + 1);
                    {
                        std::lock_guard<std::mutex> l(m_);
                        messages_ << m;
                    }
                    QByteArray answer;
                    if (m == "*IDN?")
                        answer = idn_ + "\n";
                    else if (m.endsWith('?'))
                        answer = "0\n";
                    if (!answer.isEmpty() && ::write(c, answer.constData(), static_cast<size_t>(answer.size())) < 0)
                        break;
                }
            }
            ::close(c);
            int expected = c;
            conn_.compare_exchange_strong(expected, -1);
        }
    }

    QByteArray idn_;
    int listen_ = -1;
    uint16_t port_ = 0;
    std::atomic<int> conn_{-1};
    std::thread thread_;
    std::mutex m_;
    QByteArrayList messages_;
};

struct ConnectionWindowFixture : ::testing::Test {
    QTemporaryDir folder;
    AppContext app;
    InstrumentState instrument;
    FormServices services;
    QStringList shown;
    std::unique_ptr<ConnectionWindow> form;

    void SetUp() override
    {
        app.WorkingFolder = folder.path();
        services.showMessage = [this](const QString& t) { shown << t; };
        // Names never reach the system resolver: a test must not send a query off the machine.
        BuiltinVisaOptions vo;
        vo.hostLookup = [](const std::string&, visaio::Address*) { return EAI_NONAME; };
        LoadVisaLibrary(instrument.Visa, app.Debug, std::make_unique<BuiltinVisaBackEnd>(vo));
        form = std::make_unique<ConnectionWindow>(app, instrument, services);
    }
    QStringList MemoLines() const
    {
        return Control<QPlainTextEdit>(*form, "Memo1").toPlainText().split('\n', Qt::SkipEmptyParts);
    }
};

} // namespace

TEST_F(ConnectionWindowFixture, KindsSetCaptionControlsAndTheAddressField)
{
    form->prepareForKind(LinkKind::VisaUsb);
    EXPECT_EQ(form->windowTitle(), "Connect Visa USB");
    EXPECT_EQ(instrument.Device.ConnectionKind, LinkKind::VisaUsb);
    EXPECT_FALSE(Control<QLineEdit>(*form, "Edit1").isVisibleTo(form.get()));
    EXPECT_TRUE(Control<QPushButton>(*form, "BitBtn4").isVisibleTo(form.get()));
    EXPECT_FALSE(Control<QPushButton>(*form, "BitBtn1").isVisibleTo(form.get()));

    Control<QLineEdit>(*form, "Edit2").setText("left over");
    form->prepareForKind(LinkKind::VisaTcp);
    EXPECT_TRUE(form->windowTitle().startsWith("Connect Visa TCP  "));
    EXPECT_EQ(Control<QLineEdit>(*form, "Edit2").text(), "");
    // No ".\emc_ip.ini" yet.
    EXPECT_EQ(Control<QLineEdit>(*form, "Edit1").text(), "xxx.xxx.xxx.xxx");
    EXPECT_EQ(Control<QListWidget>(*form, "ListBox1").count(), 1);
    EXPECT_TRUE(Control<QListWidget>(*form, "ListBox1").item(0)->text().contains("FPC1000"));

    // Leaving the field writes a fresh file with only section "IP", key "ADR".
    Control<QLineEdit>(*form, "Edit1").setText("10.0.0.7");
    emit Control<QLineEdit>(*form, "Edit1").editingFinished();
    EXPECT_EQ(testsupport::ReadAll(QDir(folder.path()).filePath("emc_ip.ini")), "[IP]\r\nADR=10.0.0.7\r\n");
    Control<QLineEdit>(*form, "Edit1").clear();
    form->prepareForKind(LinkKind::VisaTcp);
    EXPECT_EQ(Control<QLineEdit>(*form, "Edit1").text(), "10.0.0.7");

    form->prepareForKind(LinkKind::WinUsb);
    EXPECT_EQ(form->windowTitle(), "Connect WinUSB");
    EXPECT_TRUE(Control<QPushButton>(*form, "BitBtn1").isVisibleTo(form.get()));
    EXPECT_FALSE(Control<QPushButton>(*form, "BitBtn4").isVisibleTo(form.get()));
    EXPECT_FALSE(Control<QPushButton>(*form, "Button6").isVisibleTo(form.get()));
    app.Debug.DebugMode = 1;
    form->prepareForKind(LinkKind::VisaUsb);
    EXPECT_TRUE(Control<QPushButton>(*form, "Button6").isVisibleTo(form.get()));
}

TEST_F(ConnectionWindowFixture, ConnectIdentifyServiceAndDisconnect)
{
    FakeInstrument fake("Siglent Technologies,SSA3032X,SSA3XAB1234567,3.2.2.5.0");
    // A resource typed in without "Search" connects.
    form->prepareForKind(LinkKind::VisaUsb);
    QSignalSpy connected(form.get(), &ConnectionWindow::connected);
    Control<QLineEdit>(*form, "Edit2").setText(fake.Resource());
    Control<QPushButton>(*form, "BitBtn4").click();
    EXPECT_EQ(instrument.Device.DeviceFamily, 2);
    EXPECT_EQ(instrument.Device.SiglentSeries, 1);
    EXPECT_EQ(instrument.Device.DeviceConnected, 1);
    EXPECT_EQ(instrument.Status.Text(StatusBarPanel::Model), "Siglent SSA-3225");
    EXPECT_TRUE(Control<QPushButton>(*form, "BitBtn4").property("connected").toBool());
    ASSERT_EQ(connected.count(), 1);
    const auto controls = connected.at(0).at(0).value<FamilyControls>();
    EXPECT_TRUE(controls.VbwGroupEnabled);
    EXPECT_TRUE(shown.isEmpty());

    Control<QLineEdit>(*form, "Edit3").setText(":SENS:FREQ:STAR?");
    Control<QPushButton>(*form, "Button3").click();
    Control<QPushButton>(*form, "Button5").click();
    EXPECT_EQ(MemoLines(), QStringList({"0", "Visa: 1.0.0.0"}));
    Control<QPushButton>(*form, "BitBtn2").click();
    EXPECT_EQ(MemoLines().value(0), "Siglent Technologies,SSA3032X,SSA3XAB1234567,3.2.2.5.0");
    EXPECT_TRUE(fake.Messages().contains("SYST:OPT?"));

    Control<QPushButton>(*form, "BitBtn5").click();
    EXPECT_EQ(instrument.Device.DeviceConnected, 0);
    EXPECT_EQ(instrument.Visa.VisaResourceManager, 0u);
    EXPECT_FALSE(Control<QPushButton>(*form, "BitBtn4").property("connected").toBool());
    EXPECT_EQ(instrument.Status.Text(StatusBarPanel::Model), "");
}

TEST_F(ConnectionWindowFixture, UnsupportedDeviceAndFailedOpen)
{
    FakeInstrument fake("Some Maker,Model 1,123,1.0");
    form->prepareForKind(LinkKind::VisaUsb);
    ASSERT_EQ(instrument.Visa.VisaLibrary->viOpenDefaultRM(&instrument.Visa.VisaResourceManager), visa::VI_SUCCESS);
    Control<QLineEdit>(*form, "Edit2").setText(fake.Resource());
    Control<QPushButton>(*form, "BitBtn4").click();
    EXPECT_EQ(instrument.Device.DeviceFamily, 0);
    EXPECT_EQ(shown, QStringList{"Sorry, this device is not supported yet by this version of Zendrik"});

    // "SA TCP" with a wrong address after a good connection: the open fails, the first panel
    // says "none", and nothing of the analyser before still looks connected.
    FakeInstrument good("Rigol Technologies,DSA815,DSA8A1234567,00.01.19.00.02");
    Control<QLineEdit>(*form, "Edit2").setText(good.Resource());
    Control<QPushButton>(*form, "BitBtn4").click();
    ASSERT_EQ(instrument.Device.DeviceConnected, 1);
    Control<QPushButton>(*form, "Button3").click();
    EXPECT_EQ(MemoLines(), QStringList{"Rigol Technologies,DSA815,DSA8A1234567,00.01.19.00.02"});
    form->prepareForKind(LinkKind::VisaTcp);
    Control<QPushButton>(*form, "BitBtn4").click();
    EXPECT_EQ(Control<QLineEdit>(*form, "Edit2").text(), "TCPIP0::xxx.xxx.xxx.xxx::INSTR");
    EXPECT_EQ(instrument.Status.Text(StatusBarPanel::Connection), "none");
    EXPECT_EQ(instrument.Status.Text(StatusBarPanel::Model), "");
    EXPECT_EQ(instrument.Device.DeviceConnected, 0);
    EXPECT_TRUE(MemoLines().isEmpty());
    EXPECT_FALSE(Control<QPushButton>(*form, "BitBtn4").property("connected").toBool());
    EXPECT_EQ(app.Messages.Lines(), QStringList{"Error: could not open TCPIP0::xxx.xxx.xxx.xxx::INSTR: no such host"});

    // An identification longer than one read says so.
    FakeInstrument talkative("Rigol Technologies,DSA815," + QByteArray(3000, 'x'));
    form->prepareForKind(LinkKind::VisaUsb);
    ASSERT_EQ(instrument.Visa.VisaLibrary->viOpenDefaultRM(&instrument.Visa.VisaResourceManager), visa::VI_SUCCESS);
    Control<QLineEdit>(*form, "Edit2").setText(talkative.Resource());
    Control<QPushButton>(*form, "BitBtn4").click();
    EXPECT_EQ(instrument.Device.DeviceConnected, 0);
    EXPECT_EQ(app.Messages.Lines().value(1),
              "Error: the answer to *IDN? from " + talkative.Resource() + " is longer than 2048 bytes");
}

TEST_F(ConnectionWindowFixture, AnUnreadableAddressFileAndWhyAnOpenFailed)
{
    ASSERT_TRUE(testsupport::WriteAll(folder.filePath("emc_ip.ini"), "[IP]\r\nADR=" + QByteArray(70000, '1') + "\r\n"));
    form->prepareForKind(LinkKind::VisaTcp);
    EXPECT_TRUE(app.Messages.Lines().value(0).startsWith("Error: Cannot read \"" + folder.filePath("emc_ip.ini")));
    form->prepareForKind(LinkKind::VisaUsb);
    ASSERT_EQ(instrument.Visa.VisaLibrary->viOpenDefaultRM(&instrument.Visa.VisaResourceManager), visa::VI_SUCCESS);
    for (const QString why : {"TCPIP0::127.0.0.1::1::SOCKET: connection refused", "TCPIP0::no.such.host::INSTR: no such host",
                              "TCPIP0::127.0.0.1::99999::SOCKET: malformed address"}) {
        Control<QLineEdit>(*form, "Edit2").setText(why.section(": ", 0, 0));
        Control<QPushButton>(*form, "BitBtn4").click();
        EXPECT_EQ(app.Messages.Lines().last(), "Error: could not open " + why);
    }
}

TEST_F(ConnectionWindowFixture, UsbSearchFillsBothListsAndAClickCopiesTheResource)
{
    QTemporaryDir sys;
    QDir d(sys.path());
    ASSERT_TRUE(d.mkpath("bus/usb/devices/3-2"));
    testsupport::WriteAll(sys.filePath("bus/usb/devices/3-2/idVendor"), "1ab1\n");
    testsupport::WriteAll(sys.filePath("bus/usb/devices/3-2/busnum"), "3\n");
    testsupport::WriteAll(sys.filePath("bus/usb/devices/3-2/devnum"), "12\n");
    testsupport::WriteAll(sys.filePath("bus/usb/devices/3-2/product"), "DSA815\n");
    instrument.Usb.SysRoot = sys.path();
    form->prepareForKind(LinkKind::WinUsb);
    Control<QPushButton>(*form, "BitBtn3").click();
    ASSERT_EQ(Control<QListWidget>(*form, "ListBox1").count(), 1);
    EXPECT_EQ(Control<QListWidget>(*form, "ListBox2").item(0)->text(), "/dev/bus/usb/003/012");
    Control<QListWidget>(*form, "ListBox1").setCurrentRow(0);
    emit Control<QListWidget>(*form, "ListBox1").itemClicked(Control<QListWidget>(*form, "ListBox1").item(0));
    EXPECT_EQ(Control<QLineEdit>(*form, "Edit2").text(), "/dev/bus/usb/003/012");

    // The test of a device that is not there leaves the handles at 0 in the window's status bar.
    Control<QPushButton>(*form, "BitBtn1").click();
    EXPECT_EQ(Control<QStatusBar>(*form, "StatusBar1").currentMessage().left(5),
              instrument.Usb.LibraryStarted ? "WUH: " : "");
    EXPECT_FALSE(Control<QPushButton>(*form, "BitBtn1").property("connected").toBool());
}
