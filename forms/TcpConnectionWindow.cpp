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
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Button1 = new QPushButton(QStringLiteral("connect"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("disconnect"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new QPushButton(QStringLiteral("send"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setEnabled(false);
    grid->addWidget(Button1, 0, 0);
    grid->addWidget(Button2, 0, 1);
    grid->addWidget(Button3, 0, 2);
    grid->addWidget(Edit1, 0, 3);
    grid->addWidget(Memo1, 1, 0, 1, 4);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    IdTCPClient1 = new QTcpSocket(this);
    IdTCPClient1->setObjectName(QStringLiteral("IdTCPClient1"));

    connect(Button1, &QPushButton::clicked, this, &TcpConnectionWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TcpConnectionWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TcpConnectionWindow::Button3Click);
    connect(Timer1, &QTimer::timeout, this, &TcpConnectionWindow::Timer1Timer);
    connect(IdTCPClient1, &QTcpSocket::stateChanged, this, &TcpConnectionWindow::UpdateSendButton);
}

TcpConnectionWindow::~TcpConnectionWindow() = default;

bool TcpConnectionWindow::IsConnected() const
{
    return IdTCPClient1->state() == QAbstractSocket::ConnectedState;
}

void TcpConnectionWindow::UpdateSendButton() { Button3->setEnabled(IsConnected()); }

void TcpConnectionWindow::Button1Click()
{
    if (IsConnected() || IdTCPClient1->state() != QAbstractSocket::UnconnectedState) {
        IdTCPClient1->abort();
    }
    IdTCPClient1->connectToHost(Host, Port);
    const bool ok = IdTCPClient1->waitForConnected(ConnectTimeoutMs);
    if (!ok && IdTCPClient1->error() != QAbstractSocket::UnknownSocketError &&
        IdTCPClient1->error() != QAbstractSocket::SocketTimeoutError)
        Memo1->appendPlainText(QStringLiteral("tcp connection error"));
    Memo1->appendPlainText(IsConnected() ? QStringLiteral("tcp connected") : QStringLiteral("tcp not connected"));
    if (!ok)
        IdTCPClient1->abort();
    UpdateSendButton();
    // The lines that come back are shown by the timer while the test runs.
    if (IsConnected())
        Timer1->start();
}

void TcpConnectionWindow::Button2Click()
{
    if (!IsConnected())
        return;
    IdTCPClient1->disconnectFromHost();
    if (IdTCPClient1->state() != QAbstractSocket::UnconnectedState)
        IdTCPClient1->abort();
    Memo1->appendPlainText(QStringLiteral("tcp disconnected"));
    Timer1->stop();
    UpdateSendButton();
}

void TcpConnectionWindow::Button3Click()
{
    if (!IsConnected()) {
        Memo1->appendPlainText(QStringLiteral("Sending: ") + kQuery + QStringLiteral(" is not possible"));
        return;
    }
    IdTCPClient1->write(kQuery.toLatin1() + '\n');
    IdTCPClient1->flush();
    Memo1->appendPlainText(QStringLiteral("Sending: ") + kQuery + QStringLiteral(" is done"));
}

void TcpConnectionWindow::Timer1Timer()
{
    ++ticks_;
    Edit1->setText(QString::number(ticks_));
    while (IdTCPClient1->canReadLine()) {
        QByteArray line = IdTCPClient1->readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        Memo1->appendPlainText(QString::fromLatin1(line));
    }
}
