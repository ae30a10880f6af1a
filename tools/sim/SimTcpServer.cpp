#include "tools/sim/SimTcpServer.h"

#include "tools/sim/SimInstrument.h"
#include "tools/sim/SimStreamSession.h"

#include <QPointer>
#include <QTcpSocket>

SimTcpServer::SimTcpServer(SimInstrument& inst, QObject* parent) : QObject(parent), inst_(inst)
{
    connect(&server_, &QTcpServer::newConnection, this, &SimTcpServer::OnConnection);
}

bool SimTcpServer::Listen(const QHostAddress& address, quint16 port, QString* error)
{
    if (server_.listen(address, port))
        return true;
    if (error)
        *error = server_.errorString();
    return false;
}

void SimTcpServer::OnConnection()
{
    while (QTcpSocket* s = server_.nextPendingConnection()) {
        s->setParent(this);
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QPointer<QTcpSocket> guard(s);
        auto* session = new SimStreamSession(
            inst_, QStringLiteral("tcp"),
            [guard](const QByteArray& b) {
                if (guard)
                    guard->write(b);
            },
            [guard]() {
                if (guard)
                    guard->abort();
            },
            s);
        connect(s, &QTcpSocket::readyRead, session, [s, session]() { session->Receive(s->readAll()); });
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    }
}
