// The TCP test window against a server on loopback.
#include "app/AppContext.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/TcpConnectionWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

using testsupport::Control;

namespace {

QStringList Lines(const TcpConnectionWindow& f)
{
    return Control<QPlainTextEdit>(f, "Memo1").toPlainText().split('\n', Qt::SkipEmptyParts);
}

// Lets the event loop run until cond holds (at most 3 s).
template <class C> bool WaitFor(C cond)
{
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return cond();
}

} // namespace

TEST(TcpConnectionWindow, SendBeforeConnectSendsNothing)
{
    AppContext app;
    TcpConnectionWindow f(app);
    EXPECT_EQ(f.windowTitle(), "Connect TCP");
    EXPECT_EQ(f.Port, 5555);
    EXPECT_FALSE(Control<QPushButton>(f, "Button3").isEnabled());
    f.sendIdentificationQuery();
    EXPECT_EQ(Lines(f), QStringList{"Sending: *IDN? is not possible"});
    f.disconnectTcp(); // not connected: nothing
    EXPECT_EQ(Lines(f).size(), 1);
}

TEST(TcpConnectionWindow, ConnectSendReadLinesAndDisconnect)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QTcpSocket* peer = nullptr;
    QByteArray received;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        peer = server.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, [&] {
            received += peer->readAll();
            if (received.endsWith('\n'))
                peer->write("Maker,Model,1,2\nsecond line\n");
        });
    });
    AppContext app;
    TcpConnectionWindow f(app);
    f.Port = server.serverPort();
    Control<QPushButton>(f, "Button1").click();
    EXPECT_EQ(Lines(f), QStringList{"tcp connected"});
    EXPECT_TRUE(Control<QPushButton>(f, "Button3").isEnabled());
    EXPECT_TRUE(Control<QTimer>(f, "Timer1").isActive());
    ASSERT_TRUE(WaitFor([&] { return peer != nullptr; }));
    Control<QPushButton>(f, "Button3").click();
    ASSERT_TRUE(WaitFor([&] { return Lines(f).size() >= 4; }));
    EXPECT_EQ(received, "*IDN?\n");
    EXPECT_EQ(Lines(f), QStringList({"tcp connected", "Sending: *IDN? is done", "Maker,Model,1,2", "second line"}));
    EXPECT_GT(Control<QLineEdit>(f, "Edit1").text().toInt(), 0);

    // Connecting again drops the old connection first.
    Control<QPushButton>(f, "Button1").click();
    EXPECT_EQ(Lines(f).last(), "tcp connected");
    Control<QPushButton>(f, "Button2").click();
    EXPECT_EQ(Lines(f).last(), "tcp disconnected");
    EXPECT_FALSE(Control<QTimer>(f, "Timer1").isActive());
    EXPECT_FALSE(Control<QPushButton>(f, "Button3").isEnabled());
}

TEST(TcpConnectionWindow, RefusedConnection)
{
    // A port nobody listens on: take a free one and close it again.
    quint16 port = 0;
    {
        QTcpServer s;
        ASSERT_TRUE(s.listen(QHostAddress::LocalHost));
        port = s.serverPort();
    }
    AppContext app;
    TcpConnectionWindow f(app);
    f.Port = port;
    f.connectTcp();
    EXPECT_EQ(Lines(f), QStringList({"tcp connection error", "tcp not connected"}));
    EXPECT_FALSE(Control<QPushButton>(f, "Button3").isEnabled());
}
