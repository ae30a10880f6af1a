#ifndef ZENDRIK_INSTRUMENT_VISA_SOCKETIO_H
#define ZENDRIK_INSTRUMENT_VISA_SOCKETIO_H

#include "instrument/visa/VisaTypes.h"

#include <QString>
#include <cstddef>
#include <cstdint>

// Small POSIX helpers shared by the socket-based transports: every blocking step is bounded by
// a time-out so that a silent peer ends in VI_ERROR_TMO and never in a hang.
namespace visaio {

// Milliseconds left until deadline (a steady-clock time in ms), or VI_TMO_INFINITE.
class Deadline {
public:
    explicit Deadline(uint32_t timeoutMs);
    uint32_t RemainingMs() const;
    bool Infinite() const { return infinite_; }

private:
    bool infinite_;
    int64_t end_;
};
int64_t SteadyMs();

// Resolves host (IPv4 name or dotted address) and connects within timeoutMs. Returns the socket
// (>= 0) or -1 with *status set (VI_ERROR_RSRC_NFOUND for an unknown host or a refused
// connection, VI_ERROR_TMO when the connect did not finish).
int ConnectTcp(const QString& host, uint16_t port, uint32_t timeoutMs, ViStatus* status);
// Waits until fd is readable (or writable). Returns 1 when ready, 0 on time-out, -1 on error.
int WaitReadable(int fd, uint32_t timeoutMs);
int WaitWritable(int fd, uint32_t timeoutMs);
// Sends all bytes (MSG_NOSIGNAL for sockets, write() otherwise).
ViStatus SendAll(int fd, const uint8_t* data, size_t size, uint32_t timeoutMs, size_t* written, bool isSocket);
// Closes fd when >= 0 and sets it to -1.
void CloseFd(int& fd);

} // namespace visaio

#endif
