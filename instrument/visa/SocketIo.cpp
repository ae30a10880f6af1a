#include "instrument/visa/SocketIo.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace visaio {

int64_t SteadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Deadline::Deadline(uint32_t timeoutMs)
    : infinite_(timeoutMs == visa::VI_TMO_INFINITE), end_(SteadyMs() + timeoutMs)
{
}

uint32_t Deadline::RemainingMs() const
{
    if (infinite_)
        return visa::VI_TMO_INFINITE;
    const int64_t left = end_ - SteadyMs();
    return left > 0 ? static_cast<uint32_t>(left) : 0;
}

namespace {

int PollFor(int fd, short events, uint32_t timeoutMs)
{
    Deadline deadline(timeoutMs);
    for (;;) {
        pollfd p{fd, events, 0};
        const uint32_t left = deadline.RemainingMs();
        const int ms = left == visa::VI_TMO_INFINITE ? -1 : static_cast<int>(std::min<uint32_t>(left, 1u << 30));
        const int r = ::poll(&p, 1, ms);
        if (r > 0)
            return 1; // readable, or an error/hang-up that the following read reports
        if (r == 0)
            return 0;
        if (errno != EINTR)
            return -1;
    }
}

} // namespace

int WaitReadable(int fd, uint32_t timeoutMs) { return PollFor(fd, POLLIN, timeoutMs); }
int WaitWritable(int fd, uint32_t timeoutMs) { return PollFor(fd, POLLOUT, timeoutMs); }

int SystemLookup(const std::string& host, Address* out)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int r = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (r != 0 || !found)
        return r != 0 ? r : EAI_NONAME;
    // IPv4 first where a name has both: instruments rarely speak IPv6.
    const addrinfo* pick = found;
    for (const addrinfo* a = found; a; a = a->ai_next)
        if (a->ai_family == AF_INET) {
            pick = a;
            break;
        }
    std::memcpy(&out->storage, pick->ai_addr, pick->ai_addrlen);
    out->length = pick->ai_addrlen;
    ::freeaddrinfo(found);
    return 0;
}

namespace {

bool NumericAddress(const std::string& host, Address* out)
{
    auto* v4 = reinterpret_cast<sockaddr_in*>(&out->storage);
    if (::inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        out->length = sizeof(sockaddr_in);
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET6;
    hints.ai_flags = AI_NUMERICHOST; // scope ids ("fe80::1%eth0") too; never asks a resolver
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    std::memcpy(&out->storage, found->ai_addr, found->ai_addrlen);
    out->length = found->ai_addrlen;
    ::freeaddrinfo(found);
    return true;
}

void SetPort(Address* a, uint16_t port)
{
    if (a->storage.ss_family == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&a->storage)->sin6_port = htons(port);
    else
        reinterpret_cast<sockaddr_in*>(&a->storage)->sin_port = htons(port);
}

// What the lookup thread and the waiting caller share; whoever is last frees it.
struct PendingLookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int result = EAI_NONAME;
    Address address;
};

} // namespace

ViStatus ResolveHost(const QString& host, uint16_t port, uint32_t timeoutMs, Address* out, const HostLookup& lookup)
{
    QString h = host.trimmed();
    if (h.startsWith(QLatin1Char('[')) && h.endsWith(QLatin1Char(']')))
        h = h.mid(1, h.size() - 2);
    const std::string name = h.toStdString();
    *out = Address();
    if (name.empty())
        return visa::VI_ERROR_RSRC_NFOUND;
    if (!NumericAddress(name, out)) {
        // The system resolver has no time-out of its own; it runs on a thread that may outlive
        // this call when it hangs, and ends by itself later.
        auto pending = std::make_shared<PendingLookup>();
        std::thread([pending, name, lookup] {
            Address a;
            const int r = lookup(name, &a);
            std::lock_guard<std::mutex> lock(pending->mutex);
            pending->result = r;
            pending->address = a;
            pending->finished = true;
            pending->done.notify_all();
        }).detach();
        std::unique_lock<std::mutex> lock(pending->mutex);
        const auto ready = [&] { return pending->finished; };
        if (timeoutMs == visa::VI_TMO_INFINITE)
            pending->done.wait(lock, ready);
        else if (!pending->done.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready))
            return visa::VI_ERROR_TMO;
        if (pending->result != 0)
            return visa::VI_ERROR_RSRC_NFOUND;
        *out = pending->address;
    }
    SetPort(out, port);
    return visa::VI_SUCCESS;
}

int ConnectTcp(const QString& host, uint16_t port, uint32_t timeoutMs, ViStatus* status, const HostLookup& lookup)
{
    Deadline deadline(timeoutMs);
    Address addr;
    *status = ResolveHost(host, port, timeoutMs, &addr, lookup);
    if (*status != visa::VI_SUCCESS)
        return -1;
    return ConnectAddress(addr, deadline.RemainingMs(), status);
}

int ConnectAddress(const Address& addr, uint32_t timeoutMs, ViStatus* status)
{
    Deadline deadline(timeoutMs);
    int fd = ::socket(addr.storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *status = visa::VI_ERROR_SYSTEM_ERROR;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int r = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr.storage), addr.length);
    if (r < 0 && errno == EINPROGRESS) {
        const int w = WaitWritable(fd, deadline.RemainingMs());
        if (w <= 0) {
            ::close(fd);
            *status = w == 0 ? visa::VI_ERROR_TMO : visa::VI_ERROR_RSRC_NFOUND;
            return -1;
        }
        int err = 0;
        socklen_t len = sizeof err;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
        r = err == 0 ? 0 : -1;
    }
    if (r < 0) {
        ::close(fd);
        *status = visa::VI_ERROR_RSRC_NFOUND;
        return -1;
    }
    ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    // Commands are short and answered at once: without this every query waits for delayed ACKs.
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    *status = visa::VI_SUCCESS;
    return fd;
}

ViStatus SendAll(int fd, const uint8_t* data, size_t size, uint32_t timeoutMs, size_t* written, bool isSocket)
{
    Deadline deadline(timeoutMs);
    size_t done = 0;
    while (done < size) {
        const int w = WaitWritable(fd, deadline.RemainingMs());
        if (w == 0) {
            *written = done;
            return visa::VI_ERROR_TMO;
        }
        if (w < 0) {
            *written = done;
            return visa::VI_ERROR_IO;
        }
        const ssize_t n = isSocket ? ::send(fd, data + done, size - done, MSG_NOSIGNAL)
                                   : ::write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            *written = done;
            return (errno == EPIPE || errno == ECONNRESET || errno == EIO) ? visa::VI_ERROR_CONN_LOST
                                                                         : visa::VI_ERROR_IO;
        }
        done += static_cast<size_t>(n);
    }
    *written = done;
    return visa::VI_SUCCESS;
}

void DrainFor(int fd, uint32_t graceMs, bool isSocket)
{
    Deadline deadline(graceMs);
    uint8_t sink[4096];
    for (;;) {
        const uint32_t left = deadline.RemainingMs();
        if (WaitReadable(fd, left) <= 0)
            return;
        const ssize_t n = isSocket ? ::recv(fd, sink, sizeof sink, MSG_DONTWAIT) : ::read(fd, sink, sizeof sink);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            return; // the peer went away; the next read reports it
        if (left == 0)
            return;
    }
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace visaio
