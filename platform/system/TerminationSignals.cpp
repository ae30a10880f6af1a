#include "platform/system/TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array kSignals{SIGINT, SIGTERM, SIGHUP};

// The write end of the pipe, for the handler: it may call nothing but async-signal-safe
// functions, so it writes the signal's number and leaves the rest to the event loop.
volatile sig_atomic_t writeEnd = -1;

void OnSignal(int signal)
{
    const int saved = errno;
    // A second signal of the kind ends the program as if nobody had asked: a close that hangs
    // (a box nobody answers, an analyser that never comes back) can still be ended.
    std::signal(signal, SIG_DFL);
    const unsigned char number = static_cast<unsigned char>(signal);
    if (writeEnd >= 0) {
        const ssize_t written = ::write(writeEnd, &number, 1);
        static_cast<void>(written);
    }
    errno = saved;
}

} // namespace

struct TerminationSignals::Impl {
    std::array<int, 2> pipe{-1, -1};
    std::array<struct sigaction, kSignals.size()> previous{};
    std::unique_ptr<QSocketNotifier> notifier;
    bool installed = false;
};

TerminationSignals::TerminationSignals(std::function<void(int signal)> requested) : impl_(std::make_unique<Impl>())
{
    if (writeEnd >= 0 || ::pipe2(impl_->pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeEnd = impl_->pipe[1];
    impl_->notifier = std::make_unique<QSocketNotifier>(impl_->pipe[0], QSocketNotifier::Read);
    QObject::connect(impl_->notifier.get(), &QSocketNotifier::activated, impl_->notifier.get(),
                     [fd = impl_->pipe[0], requested = std::move(requested)] {
                         unsigned char number = 0;
                         while (::read(fd, &number, 1) == 1)
                             requested(number);
                     });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &action, &impl_->previous[i]);
    impl_->installed = true;
}

TerminationSignals::~TerminationSignals()
{
    if (impl_->installed) {
        for (size_t i = 0; i < kSignals.size(); ++i)
            sigaction(kSignals[i], &impl_->previous[i], nullptr);
        writeEnd = -1;
    }
    impl_->notifier.reset();
    for (const int fd : impl_->pipe)
        if (fd >= 0)
            ::close(fd);
}

bool TerminationSignals::Active() const
{
    return impl_->installed;
}
