#include "tools/sim/Simulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int gSignalFd[2] = {-1, -1};
volatile std::sig_atomic_t gServing = 0;
void OnSignal(int signal)
{
    // Still starting (waiting for another simulator's lock, say): nothing is served or
    // registered yet, and the loop that would end cleanly is not running.
    if (!gServing)
        ::_exit(128 + signal);
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(gSignalFd[1], &c, 1);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.contains("--help") || args.contains("-h")) {
        out << SimulatorUsage();
        return 0;
    }
    SimulatorOptions options;
    QString logFile, message;
    if (args.contains("--lines")) {
        args.removeAll("--lines");
        args << "--tcp" << "0";
        if (!ParseSimulatorArguments(args, &options, &logFile, &message)) {
            err << message << "\n";
            return 2;
        }
        SimEmissions s(options.seed);
        for (const auto& l : s.Lines())
            out << QString::number(l.frequencyHz, 'f', 0) << " Hz  " << QString::number(l.levelDbuv, 'f', 1)
                << " dBuV\n";
        return 0;
    }
    if (!ParseSimulatorArguments(args, &options, &logFile, &message)) {
        err << message << "\n" << SimulatorUsage();
        return 2;
    }

    // A wait at start (another simulator's registration lock) is told at once, not after it.
    options.notice = [](const QString& text) {
        std::fprintf(stderr, "zendrik-sim: %s\n", text.toLocal8Bit().constData());
        std::fflush(stderr);
    };
    Simulator sim(options);
    std::unique_ptr<QFile> log;
    if (!logFile.isEmpty()) {
        log = std::make_unique<QFile>(logFile);
        if (!log->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            err << "cannot open log file " << logFile << "\n";
            return 2;
        }
        QFile* f = log.get();
        auto sink = [f](const SimLogEntry& e) {
            f->write(QByteArray::number(e.virtualMs, 'f', 3) + '\t' + e.transport.toLatin1() + '\t' + e.message + '\n');
            f->flush();
        };
        sim.Instrument().SetLogSink(sink);
        if (sim.Gps())
            sim.Gps()->SetLogSink(sink);
    }
    // Whoever starts the program may stop it as soon as it has read the port: the handlers come
    // first, so that a stop ends the loop and unregisters from rpcbind instead of killing it.
    ::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalFd);
    QSocketNotifier notifier(gSignalFd[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    if (!sim.Start(&message)) {
        err << "zendrik-sim: " << message << "\n";
        return 1;
    }
    gServing = 1;
    out << "zendrik-sim: " << (sim.Gps() ? QStringLiteral("NMEA receiver") : sim.Instrument().Family().idn) << "\n";
    if (sim.TcpPort())
        out << "  raw SCPI: TCPIP0::" << options.address.toString() << "::" << sim.TcpPort() << "::SOCKET\n";
    // A VISA resource of VXI-11 names no port: the client asks rpcbind, which knows only a
    // registered server. Unregistered, this one is reached only by a client given its port.
    if (sim.Vxi11Port() && options.vxi11Register)
        out << "  VXI-11:   TCPIP0::" << options.address.toString() << "::INSTR (port " << sim.Vxi11Port() << ")\n";
    else if (sim.Vxi11Port())
        out << "  VXI-11:   core channel on " << options.address.toString() << " port " << sim.Vxi11Port()
            << ", not registered with rpcbind: no VISA resource reaches it\n";
    if (!sim.PtyPath().isEmpty())
        out << "  serial:   ASRL" << sim.PtyPath() << "::INSTR\n";
    out.flush();
    const int rc = app.exec();
    sim.Stop();
    return rc;
}
