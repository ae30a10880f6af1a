#include "instrument/visa/SocketIo.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
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

int ConnectTcp(const QString& host, uint16_t port, uint32_t timeoutMs, ViStatus* status)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray h = host.toUtf8();
    if (h.isEmpty() || ::getaddrinfo(h.constData(), nullptr, &hints, &found) != 0 || !found) {
        *status = visa::VI_ERROR_RSRC_NFOUND;
        return -1;
    }
    sockaddr_in addr = *reinterpret_cast<sockaddr_in*>(found->ai_addr);
    ::freeaddrinfo(found);
    addr.sin_port = htons(port);

    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *status = visa::VI_ERROR_SYSTEM_ERROR;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int r = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    if (r < 0 && errno == EINPROGRESS) {
        const int w = WaitWritable(fd, timeoutMs);
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

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace visaio
