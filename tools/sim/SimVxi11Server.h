#ifndef ZENDRIK_TOOLS_SIM_SIMVXI11SERVER_H
#define ZENDRIK_TOOLS_SIM_SIMVXI11SERVER_H

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <functional>
#include <memory>

class SimInstrument;

// VXI-11 over ONC RPC on TCP: the core channel (create_link, device_write, device_read,
// device_readstb, device_clear, destroy_link, ...) and the abort channel, with the argument and
// result encodings of the XDR routines generated from our interface definition. The RPC framing
// (record marking, call and reply headers) is done here, so the server runs in Qt's event loop
// and several simulators can live in one process.
class SimVxi11Server : public QObject {
    Q_OBJECT
public:
    SimVxi11Server(SimInstrument& inst, uint32_t program, uint32_t version, QObject* parent = nullptr);
    ~SimVxi11Server() override;

    bool Listen(const QHostAddress& address, quint16 port, QString* error);
    quint16 Port() const;
    quint16 AbortPort() const;
    // Registers the core channel with the portmapper (rpcbind); unregistered on destruction.
    // Registering the standard program number is serialised between processes by a lock file,
    // so that parallel test runs take turns instead of stealing each other's registration. While
    // another process holds the lock, waiting is told once (which lock, for how long); after
    // lockWaitMs the registration gives up with an error naming the lock.
    bool Register(QString* error, int lockWaitMs = 120000,
                  const std::function<void(const QString&)>& waiting = {});
    bool Registered() const;

    // Serves one connection's byte stream without a socket, as the core channel (or the abort
    // channel) would: the record framing, the calls and the links they make, which are gone
    // afterwards. Returns the records written back; a read that would wait for its answer times
    // out at once.
    QByteArray ServeStream(const QByteArray& bytes, bool abortChannel = false);

    uint32_t Program() const;
    uint32_t Version() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

#endif
