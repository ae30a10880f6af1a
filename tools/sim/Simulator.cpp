#include "tools/sim/Simulator.h"

#include "tools/sim/SimPty.h"
#include "tools/sim/SimTcpServer.h"
#include "tools/sim/SimVxi11Server.h"

#include <QThread>
#include <future>

struct Simulator::Runner : public QThread {
    Simulator& sim;
    std::promise<QString> started; // empty text: all transports up
    quint16 tcpPort = 0;
    quint16 vxiPort = 0;
    QString ptyPath;

    explicit Runner(Simulator& s) : sim(s) {}

    void run() override
    {
        const SimulatorOptions& o = sim.options_;
        QString error;
        std::unique_ptr<SimTcpServer> tcp;
        std::unique_ptr<SimVxi11Server> vxi;
        std::unique_ptr<SimPty> pty;
        if (o.tcpPort >= 0) {
            tcp = std::make_unique<SimTcpServer>(*sim.instrument_);
            if (!tcp->Listen(o.address, static_cast<quint16>(o.tcpPort), &error))
                error = QStringLiteral("TCP port %1: ").arg(o.tcpPort) + error;
            else
                tcpPort = tcp->Port();
        }
        if (error.isEmpty() && o.vxi11) {
            vxi = std::make_unique<SimVxi11Server>(*sim.instrument_, o.vxi11Program, o.vxi11Version);
            if (!vxi->Listen(o.address, static_cast<quint16>(o.vxi11Port), &error))
                error = QStringLiteral("VXI-11 port: ") + error;
            else if (o.vxi11Register && !vxi->Register(&error, o.vxi11LockWaitMs, o.notice))
                error = QStringLiteral("VXI-11: ") + error;
            else
                vxiPort = vxi->Port();
        }
        if (error.isEmpty() && o.pty) {
            pty = std::make_unique<SimPty>(*sim.instrument_, sim.gps_.get());
            if (!pty->Open(&error))
                error = QStringLiteral("pty: ") + error;
            else
                ptyPath = pty->SlavePath();
        }
        started.set_value(error);
        if (error.isEmpty())
            exec();
        // Servers die on this thread, where they were made.
        pty.reset();
        vxi.reset();
        tcp.reset();
    }
};

Simulator::Simulator(SimulatorOptions options) : options_(std::move(options))
{
    SimFamily family = FindSimFamily(options_.family).value_or(SimFamilies().front());
    if (!options_.idn.isEmpty())
        family.idn = options_.idn;
    instrument_ = std::make_unique<SimInstrument>(family, options_.seed, options_.timeScale);
    instrument_->SetFaults(options_.faults);
    if (options_.gps) {
        gps_ = std::make_unique<NmeaReceiver>();
        gps_->SetFaults(options_.gpsFaults);
    }
}

Simulator::~Simulator() { Stop(); }

bool Simulator::Start(QString* error)
{
    if (!FindSimFamily(options_.family)) {
        if (error)
            *error = QStringLiteral("unknown family: ") + options_.family;
        return false;
    }
    runner_ = std::make_unique<Runner>(*this);
    auto result = runner_->started.get_future();
    runner_->start();
    const QString e = result.get();
    if (!e.isEmpty()) {
        runner_->wait();
        runner_.reset();
        if (error)
            *error = e;
        return false;
    }
    return true;
}

void Simulator::Stop()
{
    if (!runner_)
        return;
    runner_->quit();
    runner_->wait();
    runner_.reset();
}

quint16 Simulator::TcpPort() const { return runner_ ? runner_->tcpPort : 0; }
quint16 Simulator::Vxi11Port() const { return runner_ ? runner_->vxiPort : 0; }
QString Simulator::PtyPath() const { return runner_ ? runner_->ptyPath : QString(); }

QString SimulatorUsage()
{
    return QStringLiteral(
               "usage: zendrik-sim [options]\n"
               "  --tcp PORT          raw SCPI on TCP PORT (0: any free port)\n"
               "  --vxi11             VXI-11 on a free port, registered with rpcbind\n"
               "  --vxi11-port PORT   VXI-11 on this port\n"
               "  --vxi11-program N   RPC program number (default 0x0607AF)\n"
               "  --no-register       do not register with rpcbind\n"
               "  --pty               serve on a pseudo-terminal (its path is printed)\n"
               "  --gps               the pseudo-terminal is an NMEA receiver at 9600 baud\n"
               "  --gps-fault LIST    %3\n"
               "  --family NAME       analyser to play: %1\n"
               "  --idn TEXT          replace the *IDN? answer\n"
               "  --seed N            spectrum seed (default 1)\n"
               "  --time-scale S      real seconds per virtual second (0.001: a 10 s sweep takes 10 ms)\n"
               "  --fault LIST        %2\n"
               "  --bind ADDRESS      listen address (default 127.0.0.1)\n"
               "  --log FILE          append every command received with its time\n"
               "  --lines             print the emission lines of the seed and exit\n")
        .arg(SimFamilyNames().join(", "), SimFaults::Names().join(", "), NmeaFaults::Names().join(", "));
}

bool ParseSimulatorArguments(const QStringList& args, SimulatorOptions* o, QString* logFile, QString* message)
{
    auto value = [&](int& i, QString* out) {
        if (i + 1 >= args.size()) {
            *message = QStringLiteral("missing value after ") + args[i];
            return false;
        }
        *out = args[++i];
        return true;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        QString v;
        bool ok = true;
        if (a == "--tcp") {
            if (!value(i, &v))
                return false;
            o->tcpPort = v.toInt(&ok);
            ok = ok && o->tcpPort >= 0 && o->tcpPort <= 65535;
        } else if (a == "--vxi11") {
            o->vxi11 = true;
        } else if (a == "--vxi11-port") {
            if (!value(i, &v))
                return false;
            o->vxi11 = true;
            o->vxi11Port = v.toInt(&ok);
        } else if (a == "--vxi11-program") {
            if (!value(i, &v))
                return false;
            o->vxi11Program = v.toUInt(&ok, 0);
        } else if (a == "--no-register") {
            o->vxi11Register = false;
        } else if (a == "--pty") {
            o->pty = true;
        } else if (a == "--gps") {
            o->gps = true;
        } else if (a == "--gps-fault") {
            if (!value(i, &v))
                return false;
            if (!o->gpsFaults.Parse(v, message))
                return false;
        } else if (a == "--family") {
            if (!value(i, &v))
                return false;
            if (!FindSimFamily(v)) {
                *message = QStringLiteral("unknown family %1; known: %2").arg(v, SimFamilyNames().join(", "));
                return false;
            }
            o->family = v;
        } else if (a == "--idn") {
            if (!value(i, &o->idn))
                return false;
        } else if (a == "--seed") {
            if (!value(i, &v))
                return false;
            o->seed = v.toULongLong(&ok, 0);
        } else if (a == "--time-scale") {
            if (!value(i, &v))
                return false;
            o->timeScale = v.toDouble(&ok);
            ok = ok && o->timeScale > 0;
        } else if (a == "--fault") {
            if (!value(i, &v))
                return false;
            if (!o->faults.Parse(v, message))
                return false;
        } else if (a == "--bind") {
            if (!value(i, &v))
                return false;
            ok = o->address.setAddress(v);
        } else if (a == "--log") {
            if (!value(i, logFile))
                return false;
        } else {
            *message = QStringLiteral("unknown option ") + a;
            return false;
        }
        if (!ok) {
            *message = QStringLiteral("bad value for ") + a + ": " + v;
            return false;
        }
    }
    if (o->gps && !o->pty) {
        *message = QStringLiteral("--gps needs --pty");
        return false;
    }
    if (o->tcpPort < 0 && !o->vxi11 && !o->pty) {
        *message = QStringLiteral("nothing to serve: give --tcp, --vxi11 or --pty");
        return false;
    }
    return true;
}
