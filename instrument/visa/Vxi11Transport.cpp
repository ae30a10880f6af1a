#include "instrument/visa/Vxi11Transport.h"

#include "instrument/visa/SocketIo.h"

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <rpc/rpc.h>
#include <rpc/pmap_prot.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "vxi11.h"

namespace {

constexpr long kFlagEnd = 8;
constexpr long kFlagTermCharSet = 128;
constexpr long kReasonChr = 2;
constexpr long kReasonEnd = 4;
constexpr uint32_t kReadRequest = 1u << 20;
constexpr uint32_t kPortmapperPort = 111;
constexpr uint32_t kAbortProgram = 0x0607B0;
constexpr uint32_t kAbortVersion = 1;
constexpr u_long kDeviceAbortProc = 1;

// VXI-11 device error codes.
constexpr long kErrSyntax = 1;
constexpr long kErrNotAccessible = 3;
constexpr long kErrInvalidLink = 4;
constexpr long kErrNotSupported = 8;
constexpr long kErrOutOfResources = 9;
constexpr long kErrLocked = 11;
constexpr long kErrTimeout = 15;
constexpr long kErrInvalidAddress = 21;

timeval ToTimeval(uint32_t ms)
{
    if (ms == visa::VI_TMO_INFINITE)
        ms = 24u * 3600u * 1000u; // an RPC needs some limit; a day is as good as none
    return timeval{static_cast<time_t>(ms / 1000), static_cast<suseconds_t>((ms % 1000) * 1000)};
}

// The device answers a call by its io_timeout; the RPC waits a little longer for that answer to
// travel before it counts the device as stuck.
uint32_t WithMargin(uint32_t ms)
{
    if (ms == visa::VI_TMO_INFINITE)
        return ms;
    return ms + std::clamp<uint32_t>(ms / 2, 50, 1000);
}

// A TCP RPC client over a socket we connected ourselves, so that the lookup and the connect are
// bounded too; IPv4 or IPv6. *peer gets the address it reached.
CLIENT* ClientOnSocket(int fd, uint32_t program, uint32_t version, ViStatus* status, visaio::Address* peerAddress)
{
    visaio::Address a;
    a.length = sizeof a.storage;
    ::getpeername(fd, reinterpret_cast<sockaddr*>(&a.storage), &a.length);
    if (peerAddress)
        *peerAddress = a;
    netbuf peer{a.length, a.length, &a.storage};
    CLIENT* c = clnt_vc_create(fd, &peer, program, version, 0, 0);
    if (!c) {
        ::close(fd);
        *status = visa::VI_ERROR_SYSTEM_ERROR;
        return nullptr;
    }
    // The client owns the socket from here on.
    clnt_control(c, CLSET_FD_CLOSE, nullptr);
    *status = visa::VI_SUCCESS;
    return c;
}

CLIENT* MakeClient(visaio::Address address, uint16_t port, uint32_t program, uint32_t version, uint32_t timeoutMs,
                   ViStatus* status, visaio::Address* peerAddress = nullptr)
{
    if (address.storage.ss_family == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&address.storage)->sin6_port = htons(port);
    else
        reinterpret_cast<sockaddr_in*>(&address.storage)->sin_port = htons(port);
    const int fd = visaio::ConnectAddress(address, timeoutMs, status);
    return fd < 0 ? nullptr : ClientOnSocket(fd, program, version, status, peerAddress);
}

// PMAPPROC_GETPORT on the portmapper of the host at address.
bool AskPortmapper(const visaio::Address& address, uint32_t program, uint32_t version, uint32_t timeoutMs,
                   uint16_t* port, QString* reason, const QString& host)
{
    *port = 0;
    ViStatus st = visa::VI_SUCCESS;
    CLIENT* c = MakeClient(address, kPortmapperPort, PMAPPROG, PMAPVERS, timeoutMs, &st);
    if (!c) {
        if (reason)
            *reason = QStringLiteral("no portmapper (rpcbind) answers on %1 port 111").arg(host);
        return false;
    }
    pmap args{};
    args.pm_prog = program;
    args.pm_vers = version;
    args.pm_prot = IPPROTO_TCP;
    args.pm_port = 0;
    u_long result = 0;
    const clnt_stat cs = clnt_call(c, PMAPPROC_GETPORT, reinterpret_cast<xdrproc_t>(xdr_pmap),
                                   reinterpret_cast<char*>(&args), reinterpret_cast<xdrproc_t>(xdr_u_long),
                                   reinterpret_cast<char*>(&result), ToTimeval(timeoutMs));
    clnt_destroy(c);
    if (cs != RPC_SUCCESS) {
        if (reason)
            *reason = QStringLiteral("the portmapper on %1 did not answer (%2)").arg(host, QString::fromLatin1(clnt_sperrno(cs)));
        return false;
    }
    *port = static_cast<uint16_t>(result);
    return true;
}

void SetCallTimeout(CLIENT* c, uint32_t ms)
{
    timeval tv = ToTimeval(ms);
    clnt_control(c, CLSET_TIMEOUT, reinterpret_cast<char*>(&tv));
}

ViStatus FromRpc(clnt_stat s)
{
    switch (s) {
    case RPC_SUCCESS: return visa::VI_SUCCESS;
    case RPC_TIMEDOUT: return visa::VI_ERROR_TMO;
    case RPC_CANTSEND:
    case RPC_CANTRECV: return visa::VI_ERROR_CONN_LOST;
    default: return visa::VI_ERROR_IO;
    }
}

ViStatus FromDevice(long error)
{
    switch (error) {
    case 0: return visa::VI_SUCCESS;
    case kErrTimeout: return visa::VI_ERROR_TMO;
    case kErrInvalidLink: return visa::VI_ERROR_CONN_LOST;
    default: return visa::VI_ERROR_IO;
    }
}

// What a refused create_link means to the caller: a wrong device name, an instrument that has
// no link left, one that another client holds locked.
ViStatus FromCreateLink(long error)
{
    switch (error) {
    case kErrSyntax:
    case kErrInvalidAddress: return visa::VI_ERROR_INV_RSRC_NAME;
    case kErrNotAccessible: return visa::VI_ERROR_RSRC_NFOUND;
    case kErrNotSupported: return visa::VI_ERROR_NSUP_OPER;
    case kErrOutOfResources: return visa::VI_ERROR_ALLOC;
    case kErrLocked: return visa::VI_ERROR_RSRC_LOCKED;
    case kErrTimeout: return visa::VI_ERROR_TMO;
    default: return visa::VI_ERROR_IO;
    }
}

class Vxi11Transport final : public VisaTransport {
public:
    Vxi11Transport(CLIENT* client, Device_Link link, uint32_t maxRecv, const visaio::Address& peer,
                   uint16_t abortPort, uint32_t closeTimeoutMs)
        : client_(client), link_(link), maxRecv_(std::max<uint32_t>(maxRecv, 1024)), abortAddress_(peer),
          closeTimeoutMs_(closeTimeoutMs)
    {
        // The abort channel is on the same host as the core channel, at the port it named.
        if (abortAddress_.storage.ss_family == AF_INET6)
            reinterpret_cast<sockaddr_in6*>(&abortAddress_.storage)->sin6_port = htons(abortPort);
        else
            reinterpret_cast<sockaddr_in*>(&abortAddress_.storage)->sin_port = htons(abortPort);
        hasAbort_ = abortPort != 0;
    }
    ~Vxi11Transport() override
    {
        if (!lost_) {
            SetCallTimeout(client_, std::min<uint32_t>(closeTimeoutMs_, 2000));
            Device_Error err{};
            Device_Link l = link_;
            if (destroy_link_1(&l, &err, client_) == RPC_SUCCESS)
                xdr_free(reinterpret_cast<xdrproc_t>(xdr_Device_Error), reinterpret_cast<char*>(&err));
        }
        clnt_destroy(client_);
    }
    Vxi11Transport(const Vxi11Transport&) = delete;
    Vxi11Transport& operator=(const Vxi11Transport&) = delete;

    ViStatus Write(const uint8_t* data, size_t size, bool end, uint32_t timeoutMs, size_t* written) override
    {
        *written = 0;
        if (lost_)
            return visa::VI_ERROR_CONN_LOST;
        visaio::Deadline deadline(timeoutMs);
        size_t done = 0;
        // A device may take fewer bytes than offered; the rest goes in further calls, and END
        // travels only with the last byte.
        do {
            const size_t piece = std::min<size_t>(size - done, maxRecv_);
            const bool last = done + piece == size;
            Device_WriteParms p{};
            p.lid = link_;
            p.io_timeout = deadline.RemainingMs();
            p.lock_timeout = 0;
            p.flags = (last && end) ? kFlagEnd : 0;
            p.data.data_len = static_cast<u_int>(piece);
            p.data.data_val = reinterpret_cast<char*>(const_cast<uint8_t*>(data + done));
            Device_WriteResp r{};
            SetCallTimeout(client_, WithMargin(deadline.RemainingMs()));
            const clnt_stat cs = device_write_1(&p, &r, client_);
            if (cs != RPC_SUCCESS)
                return Fail(cs);
            const ViStatus st = FromDevice(r.error);
            done += std::min<size_t>(r.size, piece);
            *written = done;
            if (st != visa::VI_SUCCESS)
                return Lost(st);
            if (r.size == 0 && piece > 0)
                return visa::VI_ERROR_IO; // no progress: a device that takes nothing takes nothing later
        } while (done < size);
        return visa::VI_SUCCESS;
    }

    ViStatus Read(uint8_t* data, size_t max, uint32_t timeoutMs, size_t* count, bool* end) override
    {
        *count = 0;
        *end = false;
        if (lost_)
            return visa::VI_ERROR_CONN_LOST;
        if (pos_ >= buffer_.size()) {
            buffer_.clear();
            pos_ = 0;
            Device_ReadParms p{};
            p.lid = link_;
            p.requestSize = kReadRequest;
            p.io_timeout = timeoutMs;
            p.lock_timeout = 0;
            p.flags = termCharEnabled_ ? kFlagTermCharSet : 0;
            p.termChar = static_cast<char>(termChar_);
            Device_ReadResp r{};
            SetCallTimeout(client_, WithMargin(timeoutMs));
            const clnt_stat cs = device_read_1(&p, &r, client_);
            if (cs != RPC_SUCCESS)
                return Fail(cs);
            const ViStatus st = FromDevice(r.error);
            buffer_.assign(r.data.data_val, r.data.data_val + r.data.data_len);
            // The session ends a read at its termination character by itself; END is what
            // matters here.
            bufferEnds_ = (r.reason & kReasonEnd) != 0;
            bufferAtTermChar_ = (r.reason & kReasonChr) != 0;
            xdr_free(reinterpret_cast<xdrproc_t>(xdr_Device_ReadResp), reinterpret_cast<char*>(&r));
            if (st != visa::VI_SUCCESS && buffer_.empty())
                return Lost(st);
            if (buffer_.empty() && !bufferEnds_ && !bufferAtTermChar_)
                return visa::VI_ERROR_TMO;
        }
        const size_t take = std::min(max, buffer_.size() - pos_);
        std::copy_n(buffer_.data() + pos_, take, data);
        pos_ += take;
        *count = take;
        *end = pos_ == buffer_.size() && bufferEnds_;
        return visa::VI_SUCCESS;
    }

    void DiscardInput() override
    {
        buffer_.clear();
        pos_ = 0;
    }

    ViStatus Clear(uint32_t timeoutMs) override
    {
        DiscardInput();
        if (lost_)
            return visa::VI_ERROR_CONN_LOST;
        Device_GenericParms p{};
        p.lid = link_;
        p.flags = 0;
        p.lock_timeout = 0;
        p.io_timeout = timeoutMs;
        Device_Error e{};
        SetCallTimeout(client_, WithMargin(timeoutMs));
        const clnt_stat cs = device_clear_1(&p, &e, client_);
        if (cs != RPC_SUCCESS)
            return Fail(cs);
        return Lost(FromDevice(e.error));
    }

    void SetTermChar(bool enabled, uint8_t termChar) override
    {
        termCharEnabled_ = enabled;
        termChar_ = termChar;
    }

    // The session's time-out also bounds the goodbye of the destructor: an instrument that has
    // gone silent holds up a close no longer than any other call.
    ViStatus SetAttribute(ViAttr attribute, ViAttrState value) override
    {
        if (attribute != visa::VI_ATTR_TMO_VALUE)
            return visa::VI_ERROR_NSUP_ATTR;
        closeTimeoutMs_ = static_cast<uint32_t>(value);
        return visa::VI_SUCCESS;
    }

    ViUInt16 InterfaceType() const override { return visa::VI_INTF_TCPIP; }

private:
    ViStatus Lost(ViStatus st)
    {
        if (st == visa::VI_ERROR_CONN_LOST)
            lost_ = true;
        return st;
    }

    ViStatus Fail(clnt_stat cs)
    {
        // A device that did not answer in time still works on the call and holds the core
        // channel: the abort channel tells it to give up, so that the next call is served.
        // Its late reply is skipped by the RPC client, which matches replies by their xid.
        if (cs == RPC_TIMEDOUT)
            Abort();
        return Lost(FromRpc(cs));
    }

    void Abort()
    {
        if (!hasAbort_)
            return;
        ViStatus st = visa::VI_SUCCESS;
        const int fd = visaio::ConnectAddress(abortAddress_, 1000, &st);
        CLIENT* c = fd < 0 ? nullptr : ClientOnSocket(fd, kAbortProgram, kAbortVersion, &st, nullptr);
        if (!c)
            return;
        Device_Link l = link_;
        Device_Error e{};
        clnt_call(c, kDeviceAbortProc, reinterpret_cast<xdrproc_t>(xdr_Device_Link), reinterpret_cast<char*>(&l),
                  reinterpret_cast<xdrproc_t>(xdr_Device_Error), reinterpret_cast<char*>(&e), ToTimeval(1000));
        clnt_destroy(c);
    }

    CLIENT* client_;
    Device_Link link_;
    uint32_t maxRecv_;
    visaio::Address abortAddress_;
    bool hasAbort_ = false;
    uint32_t closeTimeoutMs_;
    bool lost_ = false;
    bool termCharEnabled_ = false;
    uint8_t termChar_ = '\n';
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0;
    bool bufferEnds_ = false;
    bool bufferAtTermChar_ = false;
};

} // namespace

bool LookupRpcPort(const QString& host, uint32_t program, uint32_t version, uint32_t timeoutMs, uint16_t* port,
                   QString* reason, const visaio::HostLookup& lookup)
{
    *port = 0;
    visaio::Address address;
    if (visaio::ResolveHost(host, kPortmapperPort, timeoutMs, &address, lookup) != visa::VI_SUCCESS) {
        if (reason)
            *reason = QStringLiteral("%1 is no known host").arg(host);
        return false;
    }
    return AskPortmapper(address, program, version, timeoutMs, port, reason, host);
}

ViStatus OpenVxi11Transport(const QString& host, const QString& lanDevice, const Vxi11Endpoint& endpoint,
                            uint32_t timeoutMs, std::unique_ptr<VisaTransport>* transport,
                            const visaio::HostLookup& lookup)
{
    visaio::Deadline deadline(timeoutMs);
    visaio::Address address;
    const ViStatus resolved = visaio::ResolveHost(host, 0, timeoutMs, &address, lookup);
    if (resolved != visa::VI_SUCCESS)
        return resolved;
    uint16_t port = endpoint.port;
    if (port == 0 && (!AskPortmapper(address, endpoint.program, endpoint.version, deadline.RemainingMs(), &port,
                                     nullptr, host) ||
                      port == 0))
        return visa::VI_ERROR_RSRC_NFOUND;
    ViStatus st = visa::VI_SUCCESS;
    visaio::Address peer;
    CLIENT* c = MakeClient(address, port, endpoint.program, endpoint.version, deadline.RemainingMs(), &st, &peer);
    if (!c)
        return st;
    const QByteArray device = lanDevice.toLatin1();
    Create_LinkParms p{};
    p.clientId = 0x5A454E44; // any number; the instrument only echoes it in its logs
    p.lockDevice = 0;
    p.lock_timeout = 0;
    p.device = const_cast<char*>(device.constData());
    Create_LinkResp r{};
    SetCallTimeout(c, WithMargin(deadline.RemainingMs()));
    const clnt_stat cs = create_link_1(&p, &r, c);
    if (cs != RPC_SUCCESS || r.error != 0) {
        clnt_destroy(c);
        if (cs == RPC_TIMEDOUT)
            return visa::VI_ERROR_TMO;
        return cs != RPC_SUCCESS ? visa::VI_ERROR_RSRC_NFOUND : FromCreateLink(r.error);
    }
    *transport = std::make_unique<Vxi11Transport>(c, r.lid, static_cast<uint32_t>(r.maxRecvSize), peer, r.abortPort,
                                                  timeoutMs);
    return visa::VI_SUCCESS;
}
