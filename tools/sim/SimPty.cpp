#include "tools/sim/SimPty.h"

#include "tools/sim/NmeaReceiver.h"
#include "tools/sim/SimStreamSession.h"

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

SimPty::SimPty(SimInstrument& inst, NmeaReceiver* gps, QObject* parent) : QObject(parent), inst_(inst), gps_(gps) {}

SimPty::~SimPty()
{
    notifier_.reset();
    if (slaveKeepAlive_ >= 0)
        ::close(slaveKeepAlive_);
    if (master_ >= 0)
        ::close(master_);
}

bool SimPty::Open(QString* error)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        if (error)
            *error = QStringLiteral("no pseudo-terminal available");
        return false;
    }
    char name[256] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        if (error)
            *error = QStringLiteral("ptsname failed");
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    slaveKeepAlive_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveKeepAlive_ >= 0) {
        termios t{};
        ::tcgetattr(slaveKeepAlive_, &t);
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        ::tcsetattr(slaveKeepAlive_, TCSANOW, &t);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (!gps_)
        session_ = new SimStreamSession(inst_, QStringLiteral("pty"), [this](const QByteArray& b) { WriteAll(b); },
                                        []() {}, this);
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SimPty::OnReadable);
    return true;
}

void SimPty::WriteAll(const QByteArray& b)
{
    qsizetype done = 0;
    while (done < b.size()) {
        const ssize_t n = ::write(master_, b.constData() + done, static_cast<size_t>(b.size() - done));
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return;
        if (n > 0)
            done += n;
    }
}

void SimPty::OnReadable()
{
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            const QByteArray bytes(buf, static_cast<qsizetype>(n));
            if (gps_)
                WriteAll(gps_->Receive(bytes));
            else
                session_->Receive(bytes);
            continue;
        }
        break;
    }
}
