#include "instrument/visa/Vxi11Transport.h"

#include "instrument/visa/SocketIo.h"

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <rpc/rpc.h>
#include <rpc/pmap_prot.h>
#include <sys/socket.h>
#include <vector>

#include "vxi11.h"

namespace {

constexpr long kFlagEnd = 8;
constexpr long kReasonEnd = 4;
constexpr long kErrorTimeout = 15;
constexpr long kErrorInvalidLink = 4;
constexpr uint32_t kRpcMarginMs = 1000;
constexpr uint32_t kReadRequest = 1u << 20;
constexpr uint32_t kPortmapperPort = 111;

timeval ToTimeval(uint32_t ms)
{
    if (ms == visa::VI_TMO_INFINITE)
        ms = 24u * 3600u * 1000u; // an RPC needs some limit; a day is as good as none
    return timeval{static_cast<time_t>(ms / 1000), static_cast<suseconds_t>((ms % 1000) * 1000)};
}

uint32_t WithMargin(uint32_t ms) { return ms == visa::VI_TMO_INFINITE ? ms : ms + kRpcMarginMs; }

// A TCP RPC client over a socket we connected ourselves, so that the connect is bounded too.
CLIENT* MakeClient(const QString& host, uint16_t port, uint32_t program, uint32_t version, uint32_t timeoutMs,
                   ViStatus* status)
{
    int fd = visaio::ConnectTcp(host, port, timeoutMs, status);
    if (fd < 0)
        return nullptr;
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    ::getpeername(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    CLIENT* c = clnttcp_create(&addr, program, version, &fd, 0, 0);
    if (!c) {
        visaio::CloseFd(fd);
        *status = visa::VI_ERROR_SYSTEM_ERROR;
        return nullptr;
    }
    // The client owns the socket from here on.
    clnt_control(c, CLSET_FD_CLOSE, nullptr);
    *status = visa::VI_SUCCESS;
    return c;
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
    case kErrorTimeout: return visa::VI_ERROR_TMO;
    case kErrorInvalidLink: return visa::VI_ERROR_CONN_LOST;
    default: return visa::VI_ERROR_IO;
    }
}

class Vxi11Transport final : public VisaTransport {
public:
    Vxi11Transport(CLIENT* client, Device_Link link, uint32_t maxRecv)
        : client_(client), link_(link), maxRecv_(std::max<uint32_t>(maxRecv, 1024))
    {
    }
    ~Vxi11Transport() override
    {
        if (!lost_) {
            SetCallTimeout(client_, 2000);
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
                return Fail(FromRpc(cs));
            const ViStatus st = FromDevice(r.error);
            done += std::min<size_t>(r.size, piece);
            *written = done;
            if (st != visa::VI_SUCCESS)
                return Fail(st);
            if (r.size < piece && piece > 0)
                return visa::VI_ERROR_IO;
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
            p.flags = 0;
            p.termChar = 0;
            Device_ReadResp r{};
            SetCallTimeout(client_, WithMargin(timeoutMs));
            const clnt_stat cs = device_read_1(&p, &r, client_);
            if (cs != RPC_SUCCESS)
                return Fail(FromRpc(cs));
            const ViStatus st = FromDevice(r.error);
            buffer_.assign(r.data.data_val, r.data.data_val + r.data.data_len);
            bufferEnds_ = (r.reason & kReasonEnd) != 0;
            xdr_free(reinterpret_cast<xdrproc_t>(xdr_Device_ReadResp), reinterpret_cast<char*>(&r));
            if (st != visa::VI_SUCCESS && buffer_.empty())
                return Fail(st);
            if (buffer_.empty() && !bufferEnds_)
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

    ViUInt16 InterfaceType() const override { return visa::VI_INTF_TCPIP; }

private:
    ViStatus Fail(ViStatus st)
    {
        if (st == visa::VI_ERROR_CONN_LOST)
            lost_ = true;
        return st;
    }

    CLIENT* client_;
    Device_Link link_;
    uint32_t maxRecv_;
    bool lost_ = false;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0;
    bool bufferEnds_ = false;
};

} // namespace

bool LookupRpcPort(const QString& host, uint32_t program, uint32_t version, uint32_t timeoutMs, uint16_t* port,
                   QString* reason)
{
    *port = 0;
    ViStatus st = visa::VI_SUCCESS;
    CLIENT* c = MakeClient(host, kPortmapperPort, PMAPPROG, PMAPVERS, timeoutMs, &st);
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

ViStatus OpenVxi11Transport(const QString& host, const QString& lanDevice, const Vxi11Endpoint& endpoint,
                            uint32_t timeoutMs, std::unique_ptr<VisaTransport>* transport)
{
    visaio::Deadline deadline(timeoutMs);
    uint16_t port = endpoint.port;
    if (port == 0) {
        if (!LookupRpcPort(host, endpoint.program, endpoint.version, timeoutMs, &port, nullptr) || port == 0)
            return visa::VI_ERROR_RSRC_NFOUND;
    }
    ViStatus st = visa::VI_SUCCESS;
    CLIENT* c = MakeClient(host, port, endpoint.program, endpoint.version, deadline.RemainingMs(), &st);
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
        return cs == RPC_TIMEDOUT ? visa::VI_ERROR_TMO : visa::VI_ERROR_RSRC_NFOUND;
    }
    *transport = std::make_unique<Vxi11Transport>(c, r.lid, static_cast<uint32_t>(r.maxRecvSize));
    return visa::VI_SUCCESS;
}
