#ifndef ZENDRIK_TOOLS_SIM_SIMTCPSERVER_H
#define ZENDRIK_TOOLS_SIM_SIMTCPSERVER_H

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

class SimInstrument;

// Raw SCPI over TCP (the "::SOCKET" resources; port 5025 by custom).
class SimTcpServer : public QObject {
    Q_OBJECT
public:
    SimTcpServer(SimInstrument& inst, QObject* parent = nullptr);
    // Port 0 picks a free port.
    bool Listen(const QHostAddress& address, quint16 port, QString* error);
    quint16 Port() const { return server_.serverPort(); }

private:
    void OnConnection();
    SimInstrument& inst_;
    QTcpServer server_;
};

#endif
