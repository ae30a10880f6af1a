#include "tools/sim/Simulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int gSignalFd[2] = {-1, -1};
void OnSignal(int)
{
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
    // Handlers first: a caller may stop the simulator as soon as it has read the banner, and the
    // stop must still end in Stop() (which takes the VXI-11 registration back).
    ::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalFd);
    QSocketNotifier notifier(gSignalFd[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    if (!sim.Start(&message)) {
        err << "zendrik-sim: " << message << "\n";
        return 1;
    }
    out << "zendrik-sim: " << (sim.Gps() ? QStringLiteral("NMEA receiver") : sim.Instrument().Family().idn) << "\n";
    if (sim.TcpPort())
        out << "  raw SCPI: TCPIP0::" << options.address.toString() << "::" << sim.TcpPort() << "::SOCKET\n";
    if (sim.Vxi11Port())
        out << "  VXI-11:   TCPIP0::" << options.address.toString() << "::INSTR (port " << sim.Vxi11Port() << ")\n";
    if (!sim.PtyPath().isEmpty())
        out << "  serial:   ASRL" << sim.PtyPath() << "::INSTR\n";
    out.flush();

    const int rc = app.exec();
    sim.Stop();
    return rc;
}
