#ifndef ZENDRIK_TOOLS_SIM_SIMULATOR_H
#define ZENDRIK_TOOLS_SIM_SIMULATOR_H

#include "tools/sim/NmeaReceiver.h"
#include "tools/sim/SimFaults.h"
#include "tools/sim/SimInstrument.h"

#include <QHostAddress>
#include <QString>
#include <functional>
#include <memory>

struct SimulatorOptions {
    QString family = QStringLiteral("dsa815");
    QString idn;              // replaces the family's "*IDN?" answer when not empty
    uint64_t seed = 1;
    double timeScale = 1.0;   // real seconds per virtual second
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    int tcpPort = -1;         // raw SCPI: -1 off, 0 a free port
    bool vxi11 = false;
    int vxi11Port = 0;        // 0 a free port
    uint32_t vxi11Program = 0x0607AF;
    uint32_t vxi11Version = 1;
    bool vxi11Register = true; // register with rpcbind
    int vxi11LockWaitMs = 120000; // how long registering waits for another simulator's lock
    // Told, from the simulator's thread, what starting waits for (another simulator's lock).
    std::function<void(const QString&)> notice;
    bool pty = false;
    bool gps = false;         // the pseudo-terminal is an NMEA receiver
    NmeaFaults gpsFaults;
    SimFaults faults;
};

// The analyser simulator with its transports, running on a thread of its own so that a test can
// talk to it with blocking calls from the test's thread.
class Simulator {
public:
    explicit Simulator(SimulatorOptions options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Starts the transports; false with a readable reason when one cannot start.
    bool Start(QString* error);
    void Stop();

    quint16 TcpPort() const;
    quint16 Vxi11Port() const;
    QString PtyPath() const;
    const SimulatorOptions& Options() const { return options_; }
    // Thread-safe: the command log, faults and settings can be used from any thread.
    SimInstrument& Instrument() { return *instrument_; }
    // The NMEA receiver of --gps (thread-safe too); null without it.
    NmeaReceiver* Gps() { return gps_.get(); }

    struct Runner;

private:
    SimulatorOptions options_;
    std::unique_ptr<SimInstrument> instrument_;
    std::unique_ptr<NmeaReceiver> gps_;
    std::unique_ptr<Runner> runner_;
};

// Parses the command line of zendrik-sim; false with a message for bad input.
bool ParseSimulatorArguments(const QStringList& args, SimulatorOptions* options, QString* logFile, QString* message);
QString SimulatorUsage();

#endif
