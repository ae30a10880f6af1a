#ifndef ZENDRIK_TOOLS_SIM_SIMPTY_H
#define ZENDRIK_TOOLS_SIM_SIMPTY_H

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>

class NmeaReceiver;
class SimInstrument;
class SimStreamSession;

// A pseudo-terminal for serial peers: the program opens the slave side as an ASRL resource
// ("ASRL/dev/pts/N::INSTR"); the simulator answers on the master side with the same SCPI core,
// or as an NMEA receiver when one is given.
class SimPty : public QObject {
    Q_OBJECT
public:
    SimPty(SimInstrument& inst, NmeaReceiver* gps = nullptr, QObject* parent = nullptr);
    ~SimPty() override;
    bool Open(QString* error);
    QString SlavePath() const { return slavePath_; }

private:
    void OnReadable();
    void WriteAll(const QByteArray& bytes);
    SimInstrument& inst_;
    NmeaReceiver* gps_;
    int master_ = -1;
    int slaveKeepAlive_ = -1; // keeps the line open between clients, so no hang-up is seen
    QString slavePath_;
    std::unique_ptr<QSocketNotifier> notifier_;
    SimStreamSession* session_ = nullptr;
};

#endif
