#ifndef ZENDRIK_INSTRUMENT_VISA_SOCKETIO_H
#define ZENDRIK_INSTRUMENT_VISA_SOCKETIO_H

#include "instrument/visa/VisaTypes.h"

#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/socket.h>

// Small POSIX helpers shared by the socket-based transports: every blocking step is bounded by
// a time-out so that a silent peer ends in VI_ERROR_TMO and never in a hang.
namespace visaio {

// Milliseconds left until deadline (a steady-clock time in ms), or VI_TMO_INFINITE.
class Deadline {
public:
    explicit Deadline(uint32_t timeoutMs);
    uint32_t RemainingMs() const;

private:
    bool infinite_;
    int64_t end_;
};
int64_t SteadyMs();

// A resolved socket address (IPv4 or IPv6).
struct Address {
    sockaddr_storage storage{};
    socklen_t length = 0;
};
// The name lookup the resolver runs: 0 and *out on success (the system resolver by default).
using HostLookup = std::function<int(const std::string& host, Address* out)>;
int SystemLookup(const std::string& host, Address* out);

// Resolves host (a name, a dotted IPv4 address or an IPv6 address, with or without brackets)
// within timeoutMs: numeric addresses at once, names by the lookup on a thread of its own, so
// that a resolver that does not answer ends in VI_ERROR_TMO instead of a hang.
// VI_ERROR_RSRC_NFOUND for a name that does not resolve.
ViStatus ResolveHost(const QString& host, uint16_t port, uint32_t timeoutMs, Address* out,
                     const HostLookup& lookup = SystemLookup);

// Resolves host and connects within timeoutMs (both steps together). Returns the socket (>= 0)
// or -1 with *status set (VI_ERROR_RSRC_NFOUND for an unknown host or a refused connection,
// VI_ERROR_TMO when the lookup or the connect did not finish).
int ConnectTcp(const QString& host, uint16_t port, uint32_t timeoutMs, ViStatus* status,
               const HostLookup& lookup = SystemLookup);
// Connects to an address already resolved, as above.
int ConnectAddress(const Address& address, uint32_t timeoutMs, ViStatus* status);
// Waits until fd is readable (or writable). Returns 1 when ready, 0 on time-out, -1 on error.
int WaitReadable(int fd, uint32_t timeoutMs);
int WaitWritable(int fd, uint32_t timeoutMs);
// Sends all bytes (MSG_NOSIGNAL for sockets, write() otherwise).
ViStatus SendAll(int fd, const uint8_t* data, size_t size, uint32_t timeoutMs, size_t* written, bool isSocket);
// Reads and drops what arrives on fd for graceMs (sockets and terminals): the clear of a byte
// stream, whose instrument has no clear message to receive.
void DrainFor(int fd, uint32_t graceMs, bool isSocket);
// How long that clear listens: half the session's time-out, at most half a second. An answer
// that was on its way arrives within it. One still being measured may come later: what has come
// by the next command is dropped then; what comes after that command cannot be told from its
// answer, which only a device clear (VXI-11, USB) prevents.
inline uint32_t ClearGraceMs(uint32_t timeoutMs) { return std::min<uint32_t>(timeoutMs / 2, 500); }
// Closes fd when >= 0 and sets it to -1.
void CloseFd(int& fd);

} // namespace visaio

#endif
