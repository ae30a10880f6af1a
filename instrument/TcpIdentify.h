#ifndef ZENDRIK_INSTRUMENT_TCPIDENTIFY_H
#define ZENDRIK_INSTRUMENT_TCPIDENTIFY_H

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class QTcpSocket;

// The identification test over a raw TCP connection ("Connect TCP"): it connects, writes the
// identification query as one line and hands back the lines the device answers, as many as come
// and whenever they come, so the window shows them as they arrive. Nothing is checked: the test
// shows what the device says, sets no identity and is never used by a measurement.
class TcpIdentifyLink {
public:
    enum class ConnectResult {
        Connected,
        NoAnswer, // nothing came back within the time-out
        Failed,   // refused, unknown host, no network, ...
    };
    // What the query did: its text and whether it was written (never without a connection).
    struct QueryResult {
        QString Query;
        bool Sent = false;
    };

    TcpIdentifyLink();
    ~TcpIdentifyLink();
    TcpIdentifyLink(const TcpIdentifyLink&) = delete;
    TcpIdentifyLink& operator=(const TcpIdentifyLink&) = delete;

    bool IsConnected() const;
    // Drops a connection there is first, then waits up to timeoutMs for the peer.
    ConnectResult Connect(const QString& host, uint16_t port, int timeoutMs);
    // False when there was no connection to end.
    bool Disconnect();
    QueryResult SendIdentificationQuery();
    // The whole lines received since the last call, without their line ends.
    QStringList TakeAnswerLines();

    // Called whenever the connection comes or goes; the peer may end it at any time.
    std::function<void()> OnConnectionChanged;

private:
    std::unique_ptr<QTcpSocket> socket_;
};

#endif
