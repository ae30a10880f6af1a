#include "forms/ConnectionWindow.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "app/FlagScope.h"
#include "app/TextRoutines.h"
#include "forms/CompactView.h"
#include "forms/FormServices.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/InstrumentState.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>

namespace {

// The hint of the "SA TCP" list: where the R&S handhelds answer out of the box.
constexpr const char* kRsFactoryAddressHint = "R&S FPC1000, FPC1500 and FPH factory IP address: 172.16.10.10";

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QString& hint = {})
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    return b;
}

// While the window waits for an analyser that may take its time-out to answer.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void MarkConnected(QPushButton* button, bool connected)
{
    button->setProperty("connected", connected);
    button->setIcon(connected ? button->style()->standardIcon(QStyle::SP_DialogApplyButton) : QIcon());
}

} // namespace

ConnectionWindow::ConnectionWindow(AppContext& app, InstrumentState& instrument, FormServices& services)
    : QDialog(nullptr), app_(app), instrument_(instrument), services_(services), context_(app, instrument)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Connect VISA USB"));
    if (!instrument.Visa.ShowErrorDialog) {
        ownsErrorDialog_ = true;
        instrument.Visa.ShowErrorDialog = [this](const QString& text) {
            if (services_.showMessage)
                services_.showMessage(text);
        };
    }
    BuildControls();
}

ConnectionWindow::~ConnectionWindow()
{
    // The instrument state outlives the window: it must not call back into it.
    if (ownsErrorDialog_)
        instrument_.Visa.ShowErrorDialog = nullptr;
}

void ConnectionWindow::BuildControls()
{
    auto* grid = new QGridLayout(this);
    instrumentList = new CompactView<QListWidget>(6, this);
    instrumentList->setObjectName(QStringLiteral("ListBox1"));
    resourceList = new QListWidget(this);
    resourceList->setObjectName(QStringLiteral("ListBox2"));
    resourceList->setVisible(false);
    ipAddressEdit = new QLineEdit(this);
    ipAddressEdit->setObjectName(QStringLiteral("Edit1"));
    ipAddressEdit->setToolTip(QStringLiteral("DSA IP"));
    resourceEdit = new QLineEdit(this);
    resourceEdit->setObjectName(QStringLiteral("Edit2"));
    scpiCommandEdit = new QLineEdit(QStringLiteral("*IDN?"), this);
    scpiCommandEdit->setObjectName(QStringLiteral("Edit3"));
    scpiCommandEdit->setMaxLength(128);
    replyMemo = new CompactView<QPlainTextEdit>(6, this);
    replyMemo->setObjectName(QStringLiteral("Memo1"));
    statusLine = new QStatusBar(this);
    statusLine->setObjectName(QStringLiteral("StatusBar1"));
    serialPortCombo = new QComboBox(this);
    serialPortCombo->setObjectName(QStringLiteral("ComboBox1"));
    // COM ports and the serial devices present; a device path can be typed too.
    serialPortCombo->addItems(SerialPortChoices());
    serialPortCombo->setEditable(true);

    searchButton =
        MakeButton(this, "BitBtn3", QStringLiteral("Search"), QStringLiteral("search for Devices"));
    connectButton = MakeButton(this, "BitBtn4", QStringLiteral("Connect Visa"),
                               QStringLiteral("please select item first"));
    disconnectButton = MakeButton(this, "BitBtn5", QStringLiteral("Disconnect Visa"));
    getInfoButton = MakeButton(this, "BitBtn2", QStringLiteral("Get Info"));
    sendScpiButton = MakeButton(this, "Button3", QStringLiteral("SND SCPI"));
    visaVersionButton = MakeButton(this, "Button5", QStringLiteral("Get Visa Version"));
    readStatusButton = MakeButton(this, "Button6", QStringLiteral("Rd DSA Status"));
    readStatusButton->setVisible(false);
    serialConnectButton = MakeButton(this, "BitBtn6", QStringLiteral("Connect Visa"));
    readRmcButton = MakeButton(this, "Button4", QStringLiteral("RD RMC"));
    winUsbButton = MakeButton(this, "BitBtn1", QStringLiteral("Connect WinUSB"));

    grid->addWidget(instrumentList, 0, 0, 1, 4);
    grid->addWidget(ipAddressEdit, 1, 0);
    grid->addWidget(resourceEdit, 1, 1, 1, 2);
    grid->addWidget(serialPortCombo, 1, 3);
    grid->addWidget(searchButton, 2, 0);
    grid->addWidget(connectButton, 2, 1);
    grid->addWidget(disconnectButton, 2, 2);
    grid->addWidget(getInfoButton, 2, 3);
    grid->addWidget(scpiCommandEdit, 3, 0, 1, 2);
    grid->addWidget(sendScpiButton, 3, 2);
    grid->addWidget(visaVersionButton, 3, 3);
    grid->addWidget(readStatusButton, 4, 0);
    grid->addWidget(serialConnectButton, 4, 1);
    grid->addWidget(readRmcButton, 4, 2);
    grid->addWidget(winUsbButton, 4, 3);
    grid->addWidget(replyMemo, 5, 0, 1, 4);
    grid->addWidget(statusLine, 6, 0, 1, 4);

    connect(searchButton, &QPushButton::clicked, this, [this] { Guarded([this] { searchInstruments(); }); });
    connect(instrumentList, &QListWidget::itemClicked, this,
            [this] { Guarded([this] { selectInstrument(); }); });
    connect(connectButton, &QPushButton::clicked, this, [this] { Guarded([this] { connectVisa(); }); });
    connect(disconnectButton, &QPushButton::clicked, this, [this] { Guarded([this] { disconnectVisa(); }); });
    connect(ipAddressEdit, &QLineEdit::editingFinished, this,
            [this] { Guarded([this] { saveIpAddress(); }); });
    connect(sendScpiButton, &QPushButton::clicked, this, [this] { Guarded([this] { sendScpiCommand(); }); });
    connect(visaVersionButton, &QPushButton::clicked, this,
            [this] { Guarded([this] { showVisaVersion(); }); });
    connect(getInfoButton, &QPushButton::clicked, this,
            [this] { Guarded([this] { showInstrumentInfo(); }); });
    connect(readStatusButton, &QPushButton::clicked, this,
            [this] { Guarded([this] { showInstrumentStatus(); }); });
    connect(winUsbButton, &QPushButton::clicked, this, [this] { Guarded([this] { testUsbClaim(); }); });
    connect(serialConnectButton, &QPushButton::clicked, this, [this] { Guarded([this] { connectSerial(); }); });
    // Another port chosen: the resource field shows the resource it opens, which the operator may
    // still change by hand.
    connect(serialPortCombo, &QComboBox::currentTextChanged, this, [this](const QString& port) {
        if (serialPortCombo->isVisibleTo(this))
            resourceEdit->setText(SerialResourceName(port));
    });
    connect(readRmcButton, &QPushButton::clicked, this, [this] { Guarded([this] { readGpsRmc(); }); });
}

// No exception leaves a handler: it ends as an error line and the window stays as it was.
// Every handler lets the window work while it waits for an instrument (also for a call a silent
// analyser left under way): a second press meanwhile starts nothing on the sessions in use.
template <class F> void ConnectionWindow::Guarded(F&& handler)
{
    if (busy_)
        return;
    FlagScope busy(busy_);
    PumpedWaits pumped(*context_);
    RunLoggingErrors(app_.Messages, handler);
}

// Another window's command waits for the analyser: its sessions stay as they are until it ends.
// A run, the generator or the coverage logging holds it: the one line that says who, in this
// window's memo too (a view may cover the message log), and nothing else is done.
bool ConnectionWindow::AnalyserHeldElsewhere(const QString& what)
{
    if (instrument_.Visa.CommandUnderWay)
        return true;
    const QString held = RefuseWhileHeld(*context_, what);
    if (held.isEmpty())
        return false;
    replyMemo->appendPlainText(held);
    return true;
}

void ConnectionWindow::prepareForKind(LinkKind kind)
{
    instrument_.Device.ConnectionKind = kind;
    resourceEdit->clear();
    const bool visa = kind == LinkKind::VisaUsb || kind == LinkKind::VisaTcp;
    const bool serial = kind == LinkKind::GpsReceiver || kind == LinkKind::SerialAnalyser;
    const bool searched = kind == LinkKind::WinUsb || visa;
    instrumentList->setVisible(searched);
    searchButton->setVisible(searched);
    ipAddressEdit->setVisible(kind == LinkKind::VisaTcp);
    connectButton->setVisible(visa);
    disconnectButton->setVisible(visa);
    scpiCommandEdit->setVisible(visa);
    sendScpiButton->setVisible(visa);
    visaVersionButton->setVisible(visa);
    getInfoButton->setVisible(visa || kind == LinkKind::GpsReceiver);
    serialPortCombo->setVisible(serial);
    serialConnectButton->setVisible(serial);
    readRmcButton->setVisible(kind == LinkKind::GpsReceiver);
    winUsbButton->setVisible(kind == LinkKind::WinUsb);
    readStatusButton->setVisible(app_.Debug.DebugMode);
    switch (kind) {
    case LinkKind::WinUsb: setWindowTitle(QStringLiteral("Connect WinUSB")); break;
    case LinkKind::VisaUsb: setWindowTitle(QStringLiteral("Connect Visa USB")); break;
    case LinkKind::VisaTcp: {
        QStringList own;
        GetLocalIpAddresses(own);
        own.removeAll(QStringLiteral("127.0.0.1"));
        setWindowTitle(QStringLiteral("Connect Visa TCP  ") + own.value(0));
        instrumentList->clear();
        instrumentList->addItem(QString::fromLatin1(kRsFactoryAddressHint));
        QString refused;
        ipAddressEdit->setText(ReadInstrumentAddress(app_.WorkingFolder, &refused));
        if (!refused.isEmpty())
            app_.Messages.Append(QStringLiteral("Error: ") + refused);
        break;
    }
    case LinkKind::GpsReceiver: setWindowTitle(QStringLiteral("Connect Visa GPS COM  ")); break;
    case LinkKind::SerialAnalyser:
        instrumentList->clear();
        setWindowTitle(QStringLiteral("Connect Visa USBSER  "));
        break;
    case LinkKind::None: break;
    }
}

void ConnectionWindow::showDebugControls(bool shown)
{
    readStatusButton->setVisible(shown);
}

void ConnectionWindow::openForKind(LinkKind kind)
{
    if (kind != LinkKind::SerialAnalyser || instrument_.Device.ConnectionKind != LinkKind::SerialAnalyser)
        prepareForKind(kind);
    // A link lost since the last connect (a run, a view or a command found the analyser or the
    // receiver gone) takes the connected image with it.
    if (!instrument_.Device.DeviceConnected)
        MarkConnected(connectButton, false);
    const bool serialLink = kind == LinkKind::GpsReceiver ? instrument_.Gps.GpsConnected
                                                          : instrument_.Device.DeviceConnected;
    if (!serialLink)
        MarkConnected(serialConnectButton, false);
    setModal(true);
    show();
    raise();
}

void ConnectionWindow::searchInstruments()
{
    // A USB search opens the resource manager anew, which disconnects the analyser.
    if (instrument_.Device.ConnectionKind == LinkKind::VisaUsb
            ? AnalyserHeldElsewhere(QStringLiteral("\"Search\" refused"))
            : instrument_.Visa.CommandUnderWay)
        return;
    InstrumentList list;
    switch (instrument_.Device.ConnectionKind) {
    case LinkKind::WinUsb: SearchUsbInstruments(instrument_.Usb.SysRoot, &list.Lines, &list.Resources); break;
    case LinkKind::VisaUsb: SearchUsbInstruments(*context_, &list); break;
    case LinkKind::VisaTcp:
        if (!SearchTcpInstruments(&list) && services_.showMessage)
            services_.showMessage(QStringLiteral("No IP(s) found"));
        break;
    default: return;
    }
    instrumentList->clear();
    instrumentList->addItems(list.Lines);
    resourceList->clear();
    resourceList->addItems(list.Resources);
}

void ConnectionWindow::selectInstrument()
{
    const LinkKind kind = instrument_.Device.ConnectionKind;
    const int row = instrumentList->currentRow();
    if ((kind == LinkKind::WinUsb || kind == LinkKind::VisaUsb) && row >= 0 && row < resourceList->count())
        resourceEdit->setText(resourceList->item(row)->text());
}

void ConnectionWindow::ShowUnsupported(const QString& message)
{
    if (!message.isEmpty() && services_.showMessage)
        services_.showMessage(message);
}

void ConnectionWindow::connectVisa()
{
    if (AnalyserHeldElsewhere(QStringLiteral("\"Connect Visa\" refused")))
        return;
    const bool tcp = instrument_.Device.ConnectionKind == LinkKind::VisaTcp;
    if (tcp)
        resourceEdit->setText(TcpResourceName(ipAddressEdit->text()));
    const ConnectOutcome out = [&] {
        WaitCursor waiting;
        return ConnectInstrument(*context_, resourceEdit->text(), tcp);
    }();
    if (!out.Opened) {
        // The answers of an analyser that is no longer connected must not make it look so.
        replyMemo->clear();
        MarkConnected(connectButton, false);
        return;
    }
    MarkConnected(connectButton, true);
    ShowUnsupported(out.Identity.UnsupportedMessage);
    emit connected(ControlsForFamily(instrument_.Device));
}

void ConnectionWindow::disconnectVisa()
{
    if (AnalyserHeldElsewhere(QStringLiteral("\"Disconnect Visa\" refused")))
        return;
    {
        WaitCursor waiting;
        DisconnectInstrument(*context_);
    }
    MarkConnected(connectButton, false);
    MarkConnected(winUsbButton, false);
    if (const QString on = generatorOnLine ? generatorOnLine() : QString(); !on.isEmpty()) {
        app_.Messages.Append(on);
        replyMemo->appendPlainText(on);
    }
}

void ConnectionWindow::saveIpAddress()
{
    QString error;
    if (!WriteInstrumentAddress(app_.WorkingFolder, ipAddressEdit->text(), &error))
        app_.Messages.Append(QStringLiteral("Error: ") + error);
}

void ConnectionWindow::AddLines(const QStringList& lines)
{
    for (const QString& line : lines)
        replyMemo->appendPlainText(line);
}

void ConnectionWindow::sendScpiCommand()
{
    const AnalyserCommand send{QStringLiteral("\"SND SCPI\"")};
    if (AnalyserHeldElsewhere(send.Name + QStringLiteral(" not sent")))
        return;
    WaitCursor waiting;
    RunAnalyserCommand(*context_, send,
                       [this] { replyMemo->appendPlainText(SendFreeCommand(*context_, scpiCommandEdit->text())); });
}

void ConnectionWindow::showVisaVersion() { replyMemo->appendPlainText(VisaVersionText(instrument_.Visa)); }

void ConnectionWindow::showInstrumentInfo()
{
    const LinkKind kind = instrument_.Device.ConnectionKind;
    if (kind == LinkKind::GpsReceiver)
        return AddLines(GpsReceiverInfoLines(*context_, instrument_.Gps));
    const AnalyserCommand info{QStringLiteral("\"Get Info\"")};
    if ((kind != LinkKind::VisaUsb && kind != LinkKind::VisaTcp) || !instrument_.Device.DeviceConnected ||
        AnalyserHeldElsewhere(info.Name + QStringLiteral(" not sent")))
        return;
    WaitCursor waiting;
    RunAnalyserCommand(*context_, info, [this] {
        replyMemo->clear();
        AddLines(InstrumentInfoLines(*context_));
    });
}

void ConnectionWindow::showInstrumentStatus()
{
    const AnalyserCommand status{QStringLiteral("\"Rd DSA Status\"")};
    if (AnalyserHeldElsewhere(status.Name + QStringLiteral(" not sent")))
        return;
    WaitCursor waiting;
    RunAnalyserCommand(*context_, status, [this] { AddLines(InstrumentStatusLines(*context_)); });
}

void ConnectionWindow::testUsbClaim()
{
    // A claimed device counts as no analyser connected.
    if (AnalyserHeldElsewhere(QStringLiteral("\"Connect WinUSB\" refused")))
        return;
    UsbClaimTest& usb = instrument_.Usb;
    if (!StartUsbLibrary(usb, app_.Debug)) {
        instrument_.Status.SetText(InstrumentStatus::kConnectionPanel, QStringLiteral("none"));
        app_.Messages.Append(QStringLiteral("Error: WinUsb.DLL not found"));
        return;
    }
    replyMemo->clear();
    if (OpenAndClaimUsbDevice(usb, app_.Debug, resourceEdit->text())) {
        MarkConnected(winUsbButton, true);
        instrument_.Device.DeviceConnected = false;
        instrument_.Status.SetText(InstrumentStatus::kConnectionPanel, QStringLiteral("WinUsb"));
    }
    statusLine->showMessage(UsbHandlesText(usb));
}

void ConnectionWindow::connectSerial()
{
    // The receiver has a session of its own; an analyser's replaces the one in use.
    if (instrument_.Device.ConnectionKind == LinkKind::SerialAnalyser
            ? AnalyserHeldElsewhere(QStringLiteral("\"Connect Visa\" refused"))
            : instrument_.Visa.CommandUnderWay)
        return;
    instrumentList->clear();
    resourceList->clear();
    // A resource typed into the resource field is taken as it stands, as "SA USB" takes it;
    // otherwise the port chosen.
    const QString typed = resourceEdit->text().trimmed();
    const SerialConnectOutcome out =
        ConnectSerial(*context_, instrument_.Gps, typed.isEmpty() ? serialPortCombo->currentText() : typed);
    resourceEdit->setText(out.Resource);
    MarkConnected(serialConnectButton, out.Connected);
    ShowUnsupported(out.UnsupportedMessage);
    if (out.Connected && instrument_.Device.ConnectionKind == LinkKind::SerialAnalyser)
        emit connected(ControlsForFamily(instrument_.Device));
}

void ConnectionWindow::readGpsRmc()
{
    PollGpsReceiver(*context_, instrument_.Gps);
    emit gpsRead();
}
