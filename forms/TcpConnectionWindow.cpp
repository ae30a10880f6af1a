#include "forms/TcpConnectionWindow.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpSocket>
#include <QTimer>

namespace {
const QString kQuery = QStringLiteral("*IDN?");
}

TcpConnectionWindow::TcpConnectionWindow(AppContext& app) : QDialog(nullptr), app_(app)
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
    tcpClient = new QTcpSocket(this);
    tcpClient->setObjectName(QStringLiteral("IdTCPClient1"));

    connect(connectButton, &QPushButton::clicked, this, &TcpConnectionWindow::connectTcp);
    connect(disconnectButton, &QPushButton::clicked, this, &TcpConnectionWindow::disconnectTcp);
    connect(sendButton, &QPushButton::clicked, this, &TcpConnectionWindow::sendIdentificationQuery);
    connect(readTimer, &QTimer::timeout, this, &TcpConnectionWindow::showReceivedLines);
    connect(tcpClient, &QTcpSocket::stateChanged, this, &TcpConnectionWindow::UpdateSendButton);
}

TcpConnectionWindow::~TcpConnectionWindow() = default;

bool TcpConnectionWindow::IsConnected() const
{
    return tcpClient->state() == QAbstractSocket::ConnectedState;
}

void TcpConnectionWindow::UpdateSendButton() { sendButton->setEnabled(IsConnected()); }

void TcpConnectionWindow::connectTcp()
{
    if (IsConnected() || tcpClient->state() != QAbstractSocket::UnconnectedState) {
        tcpClient->abort();
    }
    tcpClient->connectToHost(Host, Port);
    const bool ok = tcpClient->waitForConnected(ConnectTimeoutMs);
    if (!ok && tcpClient->error() != QAbstractSocket::UnknownSocketError &&
        tcpClient->error() != QAbstractSocket::SocketTimeoutError)
        replyMemo->appendPlainText(QStringLiteral("tcp connection error"));
    replyMemo->appendPlainText(IsConnected() ? QStringLiteral("tcp connected")
                                             : QStringLiteral("tcp not connected"));
    if (!ok)
        tcpClient->abort();
    UpdateSendButton();
    // The lines that come back are shown by the timer while the test runs.
    if (IsConnected())
        readTimer->start();
}

void TcpConnectionWindow::disconnectTcp()
{
    if (!IsConnected())
        return;
    tcpClient->disconnectFromHost();
    if (tcpClient->state() != QAbstractSocket::UnconnectedState)
        tcpClient->abort();
    replyMemo->appendPlainText(QStringLiteral("tcp disconnected"));
    readTimer->stop();
    UpdateSendButton();
}

void TcpConnectionWindow::sendIdentificationQuery()
{
    if (!IsConnected()) {
        replyMemo->appendPlainText(QStringLiteral("Sending: ") + kQuery + QStringLiteral(" is not possible"));
        return;
    }
    tcpClient->write(kQuery.toLatin1() + '\n');
    tcpClient->flush();
    replyMemo->appendPlainText(QStringLiteral("Sending: ") + kQuery + QStringLiteral(" is done"));
}

void TcpConnectionWindow::showReceivedLines()
{
    ++ticks_;
    tickCounterEdit->setText(QString::number(ticks_));
    while (tcpClient->canReadLine()) {
        QByteArray line = tcpClient->readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        replyMemo->appendPlainText(QString::fromLatin1(line));
    }
}
