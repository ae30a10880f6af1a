#include "instrument/visa/StreamTransport.h"

#include "instrument/visa/SocketIo.h"

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr size_t kChunk = 65536;
}

StreamTransport::StreamTransport(int fd, Kind kind, bool appendLineEnd)
    : fd_(fd), kind_(kind), appendLineEnd_(appendLineEnd)
{
}

StreamTransport::~StreamTransport() { visaio::CloseFd(fd_); }

ViUInt16 StreamTransport::InterfaceType() const
{
    return kind_ == Kind::Socket ? visa::VI_INTF_TCPIP : visa::VI_INTF_ASRL;
}

ViStatus StreamTransport::Write(const uint8_t* data, size_t size, bool end, uint32_t timeoutMs, size_t* written)
{
    visaio::Deadline deadline(timeoutMs);
    const bool isSocket = kind_ == Kind::Socket;
    ViStatus st = visaio::SendAll(fd_, data, size, timeoutMs, written, isSocket);
    if (st != visa::VI_SUCCESS)
        return st;
    if (end && appendLineEnd_ && (size == 0 || data[size - 1] != '\n')) {
        const uint8_t lf = '\n';
        size_t extra = 0;
        st = visaio::SendAll(fd_, &lf, 1, deadline.RemainingMs(), &extra, isSocket);
    }
    return st;
}

ViStatus StreamTransport::Read(uint8_t* data, size_t max, uint32_t timeoutMs, size_t* count, bool* end)
{
    *count = 0;
    *end = false;
    if (max == 0)
        return visa::VI_SUCCESS;
    if (pos_ >= buffer_.size()) {
        buffer_.clear();
        pos_ = 0;
        const int w = visaio::WaitReadable(fd_, timeoutMs);
        if (w == 0)
            return visa::VI_ERROR_TMO;
        if (w < 0)
            return visa::VI_ERROR_IO;
        buffer_.resize(kChunk);
        ssize_t n;
        do {
            n = kind_ == Kind::Socket ? ::recv(fd_, buffer_.data(), kChunk, 0) : ::read(fd_, buffer_.data(), kChunk);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            buffer_.clear();
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return visa::VI_ERROR_TMO;
            return visa::VI_ERROR_CONN_LOST;
        }
        buffer_.resize(static_cast<size_t>(n));
    }
    const size_t avail = std::min(buffer_.size() - pos_, max);
    const size_t take = framer_.Scan(buffer_.data() + pos_, avail, end);
    std::copy_n(buffer_.data() + pos_, take, data);
    pos_ += take;
    *count = take;
    return visa::VI_SUCCESS;
}

void StreamTransport::DiscardInput()
{
    buffer_.clear();
    pos_ = 0;
    framer_.Reset();
    if (kind_ == Kind::Serial) {
        ::tcflush(fd_, TCIFLUSH);
        return;
    }
    uint8_t sink[4096];
    while (visaio::WaitReadable(fd_, 0) > 0) {
        const ssize_t n = ::recv(fd_, sink, sizeof sink, MSG_DONTWAIT);
        if (n <= 0)
            break;
    }
}

ViStatus StreamTransport::Clear(uint32_t timeoutMs)
{
    DiscardInput();
    visaio::DrainFor(fd_, visaio::ClearGraceMs(timeoutMs), kind_ == Kind::Socket);
    return visa::VI_SUCCESS;
}

ViStatus OpenSocketTransport(const QString& host, uint16_t port, uint32_t timeoutMs,
                             std::unique_ptr<VisaTransport>* transport, const visaio::HostLookup& lookup)
{
    ViStatus st = visa::VI_SUCCESS;
    const int fd = visaio::ConnectTcp(host, port, timeoutMs, &st, lookup);
    if (fd < 0)
        return st;
    *transport = std::make_unique<StreamTransport>(fd, StreamTransport::Kind::Socket, true);
    return visa::VI_SUCCESS;
}
