#include "instrument/TcpIdentify.h"

#include <QTcpSocket>

namespace {
const QString kQuery = QStringLiteral("*IDN?");
}

TcpIdentifyLink::TcpIdentifyLink() : socket_(std::make_unique<QTcpSocket>())
{
    QObject::connect(socket_.get(), &QTcpSocket::stateChanged, [this] {
        if (OnConnectionChanged)
            OnConnectionChanged();
    });
}

// The socket's last state change, while it is destroyed, is nobody's business any more.
TcpIdentifyLink::~TcpIdentifyLink() { QObject::disconnect(socket_.get(), nullptr, nullptr, nullptr); }

bool TcpIdentifyLink::IsConnected() const { return socket_->state() == QAbstractSocket::ConnectedState; }

TcpIdentifyLink::ConnectResult TcpIdentifyLink::Connect(const QString& host, uint16_t port, int timeoutMs)
{
    if (socket_->state() != QAbstractSocket::UnconnectedState)
        socket_->abort();
    socket_->connectToHost(host, port);
    if (socket_->waitForConnected(timeoutMs))
        return ConnectResult::Connected;
    // A peer that stays silent is no error of the network; anything else the socket noticed is.
    const QAbstractSocket::SocketError error = socket_->error();
    socket_->abort();
    return error == QAbstractSocket::UnknownSocketError || error == QAbstractSocket::SocketTimeoutError
               ? ConnectResult::NoAnswer
               : ConnectResult::Failed;
}

bool TcpIdentifyLink::Disconnect()
{
    if (!IsConnected())
        return false;
    socket_->disconnectFromHost();
    if (socket_->state() != QAbstractSocket::UnconnectedState)
        socket_->abort();
    return true;
}

TcpIdentifyLink::QueryResult TcpIdentifyLink::SendIdentificationQuery()
{
    if (!IsConnected())
        return {kQuery, false};
    socket_->write(kQuery.toLatin1() + '\n');
    socket_->flush();
    return {kQuery, true};
}

QStringList TcpIdentifyLink::TakeAnswerLines()
{
    QStringList lines;
    while (socket_->canReadLine()) {
        QByteArray line = socket_->readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        lines << QString::fromLatin1(line);
    }
    return lines;
}
