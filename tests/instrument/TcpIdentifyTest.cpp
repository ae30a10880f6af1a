// The identification test's link against a server on loopback.
#include "instrument/TcpIdentify.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

TEST(TcpIdentifyLink, QueryAsOneLineAndWholeAnswerLinesWithoutTheirEnds)
{
    TcpIdentifyLink link;
    EXPECT_FALSE(link.SendIdentificationQuery().Sent);
    EXPECT_FALSE(link.Disconnect());
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    ASSERT_EQ(link.Connect(QStringLiteral("127.0.0.1"), server.serverPort(), 3000),
              TcpIdentifyLink::ConnectResult::Connected);
    ASSERT_TRUE(server.waitForNewConnection(3000));
    QTcpSocket* peer = server.nextPendingConnection();
    EXPECT_EQ(link.SendIdentificationQuery().Query, "*IDN?");
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->waitForReadyRead(10) || peer->bytesAvailable() >= 6; }));
    EXPECT_EQ(peer->readAll(), "*IDN?\n");
    peer->write("Maker,Model,1,2\r\nno end yet");
    QStringList lines;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(lines += link.TakeAnswerLines()).isEmpty(); }));
    EXPECT_EQ(lines, QStringList{"Maker,Model,1,2"});
    EXPECT_TRUE(link.Disconnect());
}
