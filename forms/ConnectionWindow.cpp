#include "forms/ConnectionWindow.h"

#include "app/AppContext.h"
#include "app/TextRoutines.h"
#include "forms/FormServices.h"
#include "instrument/InstrumentState.h"
#include "platform/system/EventPump.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <exception>

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

void MarkConnected(QPushButton* button, bool connected)
{
    button->setProperty("connected", connected);
    button->setIcon(connected ? button->style()->standardIcon(QStyle::SP_DialogApplyButton) : QIcon());
}

} // namespace

ConnectionWindow::ConnectionWindow(AppContext& app, InstrumentState& instrument, FormServices& services)
    : QDialog(nullptr), app_(app), instrument_(instrument), services_(services)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Connect VISA USB"));
    EventPump* pump = app.Pump;
    if (!pump) {
        ownPump_ = std::make_unique<QtEventPump>();
        pump = ownPump_.get();
    }
    context_ = std::make_unique<ScpiContext>(ScpiContext{instrument.Visa, instrument.Device, app.Settings, app.Debug,
                                                         app.Messages, *pump, instrument.Status});
    if (!instrument.Visa.ShowErrorDialog) {
        ownsErrorDialog_ = true;
        instrument.Visa.ShowErrorDialog = [this](const QString& text) {
            if (services_.ShowMessage)
                services_.ShowMessage(text);
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
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setVisible(false);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(QStringLiteral("DSA IP"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit3 = new QLineEdit(QStringLiteral("*IDN?"), this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setMaxLength(128);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    for (int i = 1; i <= 18; ++i)
        ComboBox1->addItem(QStringLiteral("COM%1").arg(i));
    ComboBox1->addItem(QStringLiteral("COM20"));

    BitBtn3 = MakeButton(this, "BitBtn3", QStringLiteral("Search"), QStringLiteral("search for Devices"));
    BitBtn4 = MakeButton(this, "BitBtn4", QStringLiteral("Connect Visa"), QStringLiteral("please select item first"));
    BitBtn5 = MakeButton(this, "BitBtn5", QStringLiteral("Disconnect Visa"));
    BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("Get Info"));
    Button3 = MakeButton(this, "Button3", QStringLiteral("SND SCPI"));
    Button5 = MakeButton(this, "Button5", QStringLiteral("Get Visa Version"));
    Button6 = MakeButton(this, "Button6", QStringLiteral("Rd DSA Status"));
    Button6->setVisible(false);
    BitBtn6 = MakeButton(this, "BitBtn6", QStringLiteral("Connect Visa"));
    Button4 = MakeButton(this, "Button4", QStringLiteral("RD RMC"));
    BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("Connect WinUSB"));

    grid->addWidget(ListBox1, 0, 0, 1, 4);
    grid->addWidget(Edit1, 1, 0);
    grid->addWidget(Edit2, 1, 1, 1, 2);
    grid->addWidget(ComboBox1, 1, 3);
    grid->addWidget(BitBtn3, 2, 0);
    grid->addWidget(BitBtn4, 2, 1);
    grid->addWidget(BitBtn5, 2, 2);
    grid->addWidget(BitBtn2, 2, 3);
    grid->addWidget(Edit3, 3, 0, 1, 2);
    grid->addWidget(Button3, 3, 2);
    grid->addWidget(Button5, 3, 3);
    grid->addWidget(Button6, 4, 0);
    grid->addWidget(BitBtn6, 4, 1);
    grid->addWidget(Button4, 4, 2);
    grid->addWidget(BitBtn1, 4, 3);
    grid->addWidget(Memo1, 5, 0, 1, 4);
    grid->addWidget(StatusBar1, 6, 0, 1, 4);

    connect(BitBtn3, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn3Click(); }); });
    connect(ListBox1, &QListWidget::itemClicked, this, [this] { Guarded([this] { ListBox1Click(); }); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn4Click(); }); });
    connect(BitBtn5, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn5Click(); }); });
    connect(Edit1, &QLineEdit::editingFinished, this, [this] { Guarded([this] { Edit1Exit(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { Guarded([this] { Button3Click(); }); });
    connect(Button5, &QPushButton::clicked, this, [this] { Guarded([this] { Button5Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn2Click(); }); });
    connect(Button6, &QPushButton::clicked, this, [this] { Guarded([this] { Button6Click(); }); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn1Click(); }); });
}

// No exception leaves a handler: it ends as an error line and the window stays as it was.
template <class F> void ConnectionWindow::Guarded(F&& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        app_.Messages.Append(QStringLiteral("Error: ") + QString::fromLocal8Bit(e.what()));
    }
}

void ConnectionWindow::PrepareForKind(int32_t kind)
{
    instrument_.Device.ConnectionKind = kind;
    Edit2->clear();
    const bool visa = kind == 2 || kind == 3;
    const bool serial = kind == 4 || kind == 5;
    ListBox1->setVisible(kind >= 1 && kind <= 3);
    BitBtn3->setVisible(kind >= 1 && kind <= 3);
    Edit1->setVisible(kind == 3);
    BitBtn4->setVisible(visa);
    BitBtn5->setVisible(visa);
    Edit3->setVisible(visa);
    Button3->setVisible(visa);
    Button5->setVisible(visa);
    BitBtn2->setVisible(visa || kind == 4);
    ComboBox1->setVisible(serial);
    BitBtn6->setVisible(serial);
    Button4->setVisible(kind == 4);
    BitBtn1->setVisible(kind == 1);
    Button6->setVisible(app_.Debug.DebugMode == 1);
    switch (kind) {
    case 1: setWindowTitle(QStringLiteral("Connect WinUSB")); break;
    case 2: setWindowTitle(QStringLiteral("Connect Visa USB")); break;
    case 3: {
        QStringList own;
        GetLocalIpAddresses(own);
        own.removeAll(QStringLiteral("127.0.0.1"));
        setWindowTitle(QStringLiteral("Connect Visa TCP  ") + own.value(0));
        ListBox1->clear();
        ListBox1->addItem(QString::fromLatin1(kRsFactoryAddressHint));
        Edit1->setText(ReadInstrumentAddress(app_.WorkingFolder));
        break;
    }
    case 4: setWindowTitle(QStringLiteral("Connect Visa GPS COM  ")); break;
    default: break;
    }
}

void ConnectionWindow::BitBtn3Click()
{
    InstrumentList list;
    switch (instrument_.Device.ConnectionKind) {
    case 1: SearchWinUsbDevices(instrument_.Usb.SysRoot, &list.Lines, &list.Resources); break;
    case 2: SearchUsbInstruments(*context_, &list); break;
    case 3:
        if (!SearchTcpInstruments(&list) && services_.ShowMessage)
            services_.ShowMessage(QStringLiteral("No IP(s) found"));
        break;
    default: return;
    }
    ListBox1->clear();
    ListBox1->addItems(list.Lines);
    ListBox2->clear();
    ListBox2->addItems(list.Resources);
}

void ConnectionWindow::ListBox1Click()
{
    const int kind = instrument_.Device.ConnectionKind;
    const int row = ListBox1->currentRow();
    if ((kind == 1 || kind == 2) && row >= 0 && row < ListBox2->count())
        Edit2->setText(ListBox2->item(row)->text());
}

void ConnectionWindow::ShowUnsupported(const QString& message)
{
    if (!message.isEmpty() && services_.ShowMessage)
        services_.ShowMessage(message);
}

void ConnectionWindow::BitBtn4Click()
{
    const bool tcp = instrument_.Device.ConnectionKind == 3;
    if (tcp)
        Edit2->setText(TcpResourceName(Edit1->text()));
    const ConnectOutcome out = ConnectInstrument(*context_, Edit2->text(), tcp);
    if (!out.Opened)
        return;
    MarkConnected(BitBtn4, true);
    ShowUnsupported(out.Identity.UnsupportedMessage);
    emit Connected(ControlsForFamily(instrument_.Device));
}

void ConnectionWindow::BitBtn5Click()
{
    DisconnectInstrument(*context_);
    MarkConnected(BitBtn4, false);
    MarkConnected(BitBtn1, false);
}

void ConnectionWindow::Edit1Exit()
{
    QString error;
    if (!WriteInstrumentAddress(app_.WorkingFolder, Edit1->text(), &error))
        app_.Messages.Append(QStringLiteral("Error: ") + error);
}

void ConnectionWindow::AddLines(const QStringList& lines)
{
    for (const QString& line : lines)
        Memo1->appendPlainText(line);
}

void ConnectionWindow::Button3Click() { Memo1->appendPlainText(SendFreeCommand(*context_, Edit3->text())); }

void ConnectionWindow::Button5Click() { Memo1->appendPlainText(VisaVersionText(instrument_.Visa)); }

void ConnectionWindow::BitBtn2Click()
{
    const int kind = instrument_.Device.ConnectionKind;
    if ((kind != 2 && kind != 3) || instrument_.Device.DeviceConnected != 1)
        return;
    Memo1->clear();
    AddLines(InstrumentInfoLines(*context_));
}

void ConnectionWindow::Button6Click() { AddLines(InstrumentStatusLines(*context_)); }

void ConnectionWindow::BitBtn1Click()
{
    WinUsbDll& usb = instrument_.Usb;
    if (!LoadWinUsbDll(usb, app_.Debug)) {
        instrument_.Status.SetText(InstrumentStatus::kConnectionPanel, QStringLiteral("none"));
        app_.Messages.Append(QStringLiteral("Error: WinUsb.DLL not found"));
        return;
    }
    Memo1->clear();
    if (OpenWinUsbDevice(usb, app_.Debug, Edit2->text())) {
        MarkConnected(BitBtn1, true);
        instrument_.Device.DeviceConnected = 0;
        instrument_.Status.SetText(InstrumentStatus::kConnectionPanel, QStringLiteral("WinUsb"));
    }
    StatusBar1->showMessage(WinUsbHandlesText(usb));
}
