#include "forms/TcpConnectionWindow.h"

#include "instrument/TcpIdentify.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

TcpConnectionWindow::TcpConnectionWindow(AppContext& app)
    : QDialog(nullptr), tcpClient(std::make_unique<TcpIdentifyLink>()), app_(app)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Connect TCP"));
    auto* grid = new QGridLayout(this);
    replyMemo = new QPlainTextEdit(this);
    replyMemo->setObjectName(QStringLiteral("Memo1"));
    tickCounterEdit = new QLineEdit(this);
    tickCounterEdit->setObjectName(QStringLiteral("Edit1"));
    tickCounterEdit->setReadOnly(true);
    connectButton = new QPushButton(QStringLiteral("connect"), this);
    connectButton->setObjectName(QStringLiteral("Button1"));
    disconnectButton = new QPushButton(QStringLiteral("disconnect"), this);
    disconnectButton->setObjectName(QStringLiteral("Button2"));
    sendButton = new QPushButton(QStringLiteral("send"), this);
    sendButton->setObjectName(QStringLiteral("Button3"));
    sendButton->setEnabled(false);
    grid->addWidget(connectButton, 0, 0);
    grid->addWidget(disconnectButton, 0, 1);
    grid->addWidget(sendButton, 0, 2);
    grid->addWidget(tickCounterEdit, 0, 3);
    grid->addWidget(replyMemo, 1, 0, 1, 4);

    readTimer = new QTimer(this);
    readTimer->setObjectName(QStringLiteral("Timer1"));
    readTimer->setInterval(100);

    connect(connectButton, &QPushButton::clicked, this, &TcpConnectionWindow::connectTcp);
    connect(disconnectButton, &QPushButton::clicked, this, &TcpConnectionWindow::disconnectTcp);
    connect(sendButton, &QPushButton::clicked, this, &TcpConnectionWindow::sendIdentificationQuery);
    connect(readTimer, &QTimer::timeout, this, &TcpConnectionWindow::showReceivedLines);
    tcpClient->OnConnectionChanged = [this] { UpdateSendButton(); };
}

TcpConnectionWindow::~TcpConnectionWindow() = default;

void TcpConnectionWindow::UpdateSendButton() { sendButton->setEnabled(tcpClient->IsConnected()); }

void TcpConnectionWindow::connectTcp()
{
    const TcpIdentifyLink::ConnectResult result = tcpClient->Connect(Host, Port, ConnectTimeoutMs);
    const bool connected = result == TcpIdentifyLink::ConnectResult::Connected;
    if (result == TcpIdentifyLink::ConnectResult::Failed)
        replyMemo->appendPlainText(QStringLiteral("tcp connection error"));
    replyMemo->appendPlainText(connected ? QStringLiteral("tcp connected") : QStringLiteral("tcp not connected"));
    UpdateSendButton();
    // The lines that come back are shown by the timer while the test runs.
    if (connected)
        readTimer->start();
}

void TcpConnectionWindow::disconnectTcp()
{
    if (!tcpClient->Disconnect())
        return;
    replyMemo->appendPlainText(QStringLiteral("tcp disconnected"));
    readTimer->stop();
    UpdateSendButton();
}

void TcpConnectionWindow::sendIdentificationQuery()
{
    const TcpIdentifyLink::QueryResult query = tcpClient->SendIdentificationQuery();
    replyMemo->appendPlainText(QStringLiteral("Sending: ") + query.Query +
                               (query.Sent ? QStringLiteral(" is done") : QStringLiteral(" is not possible")));
}

void TcpConnectionWindow::showReceivedLines()
{
    ++ticks_;
    tickCounterEdit->setText(QString::number(ticks_));
    for (const QString& line : tcpClient->TakeAnswerLines())
        replyMemo->appendPlainText(line);
}
