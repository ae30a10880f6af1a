#include "tools/sim/SimVxi11Server.h"

#include "tools/sim/SimInstrument.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QPointer>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <deque>
#include <limits>
#include <fcntl.h>
#include <rpc/rpc.h>
#include <rpc/pmap_clnt.h>
#include <sys/file.h>
#include <unistd.h>

#include "vxi11.h"

namespace {

constexpr uint32_t kAbortProgram = 0x0607B0;
constexpr long kErrNone = 0;
constexpr long kErrNotAccessible = 3;
constexpr long kErrInvalidLink = 4;
constexpr long kErrNotSupported = 8;
constexpr long kErrOutOfResources = 9;
// LAN analysers keep only a few links open at once; a client that forgets to close its links
// runs out of them, as it would on the instrument.
constexpr int kMaxLinks = 8;
constexpr long kErrTimeout = 15;
constexpr long kErrAbort = 23;
constexpr long kFlagEnd = 8;
constexpr long kFlagTermCharSet = 128;
constexpr long kReasonReqCnt = 1;
constexpr long kReasonChr = 2;
constexpr long kReasonEnd = 4;
constexpr uint32_t kMaxRecvSize = 0x100000;
// What a device_write takes at most while the fault "short-write" is on.
constexpr u_int kShortWriteBytes = 8;

// While the analyser is frozen, how often the server looks whether it has thawed.
constexpr int kThawPollMs = 20;

// Reads and writes XDR with the generated routines on memory buffers.
template <typename T>
bool Decode(const QByteArray& args, xdrproc_t proc, T* value)
{
    XDR x;
    xdrmem_create(&x, const_cast<char*>(args.constData()), static_cast<u_int>(args.size()), XDR_DECODE);
    const bool ok = proc(&x, value) != 0;
    xdr_destroy(&x);
    return ok;
}

template <typename T>
void Free(xdrproc_t proc, T* value)
{
    xdr_free(proc, reinterpret_cast<char*>(value));
}

template <typename T>
QByteArray Encode(xdrproc_t proc, T* value, qsizetype sizeHint = 0)
{
    QByteArray buf(sizeHint + 4096, '\0');
    XDR x;
    xdrmem_create(&x, buf.data(), static_cast<u_int>(buf.size()), XDR_ENCODE);
    if (!proc(&x, value)) {
        xdr_destroy(&x);
        return {};
    }
    buf.resize(static_cast<qsizetype>(xdr_getpos(&x)));
    xdr_destroy(&x);
    return buf;
}

void PutU32(QByteArray& b, uint32_t v)
{
    const char c[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
    b.append(c, 4);
}

uint32_t GetU32(const QByteArray& b, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// The XDR routines allocate what a string or opaque length claims before they look whether its
// bytes are there, so a call of twenty bytes claiming 4 GB would make the simulator allocate
// 4 GB. The one variable-length field of the arguments decoded here comes last: its length must
// fit in what arrived.
bool LastFieldFits(const QByteArray& args, qsizetype lengthAt)
{
    return args.size() >= lengthAt + 4 && GetU32(args, lengthAt) <= static_cast<uint64_t>(args.size() - lengthAt - 4);
}

struct Link {
    QString device;
    // The core connection that created the link: links die with their connection, as they do on
    // an instrument when the client goes away without destroy_link.
    uint64_t connection = 0;
    QByteArray partial;
    struct Pending {
        QByteArray bytes;
        double readyAtMs;
    };
    std::deque<Pending> out;
};

// The device names a LAN instrument answers to: "inst0", "inst1", ...
bool KnownDevice(const QString& device)
{
    static const QRegularExpression name(QStringLiteral("^inst\\d+$"), QRegularExpression::CaseInsensitiveOption);
    return name.match(device).hasMatch();
}

} // namespace

struct SimVxi11Server::Impl {
    SimInstrument& inst;
    uint32_t program;
    uint32_t version;
    QTcpServer core;
    QTcpServer abort;
    QHash<long, Link> links;
    long nextLink = 1;
    bool registered = false;
    int lockFd = -1;
    SimVxi11Server* owner = nullptr;
    // A frozen analyser serves no call on any channel, as a stopped process serves none: calls
    // wait in their connection until it thaws, then are served in order.
    QTimer thaw;

    Impl(SimInstrument& i, uint32_t p, uint32_t v) : inst(i), program(p), version(v) { thaw.setInterval(kThawPollMs); }

    void Hold()
    {
        if (!thaw.isActive())
            thaw.start();
    }

    void Thaw()
    {
        if (inst.Frozen())
            return;
        thaw.stop();
        for (const std::weak_ptr<Conn>& weak : connections)
            if (const std::shared_ptr<Conn> c = weak.lock()) {
                if (c->readPending)
                    ServePendingRead(*c);
                Process(*c);
            }
    }

    // One connection: record-marked RPC calls, answered one at a time; a device_read that has
    // nothing ready yet is answered later by a timer, or at once when it is aborted.
    struct Conn {
        uint64_t id = 0;
        QPointer<QTcpSocket> socket;
        // Without a socket (ServeStream) the replies go here instead.
        QByteArray* sink = nullptr;
        bool closed = false;
        QByteArray in;
        QByteArray record;
        bool abortChannel = false;
        bool readPending = false;
        uint32_t pendingXid = 0;
        Device_ReadParms pendingRead{};
        QDeadlineTimer pendingDeadline;
        QTimer* timer = nullptr;

        bool Open() const { return !closed && (sink != nullptr || !socket.isNull()); }
        void Close()
        {
            closed = true;
            if (socket)
                socket->abort();
        }
    };
    QHash<uint64_t, std::weak_ptr<Conn>> connections;
    uint64_t nextConnection = 1;

    void Accept(QTcpServer& server, bool abortChannel)
    {
        while (QTcpSocket* s = server.nextPendingConnection()) {
            s->setParent(owner);
            s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            auto conn = std::make_shared<Conn>();
            conn->id = nextConnection++;
            conn->socket = s;
            conn->abortChannel = abortChannel;
            conn->timer = new QTimer(s);
            conn->timer->setSingleShot(true);
            connections.insert(conn->id, conn);
            QObject::connect(conn->timer, &QTimer::timeout, s, [this, conn]() { ServePendingRead(*conn); });
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, conn]() { OnData(*conn); });
            QObject::connect(s, &QTcpSocket::disconnected, s, [this, id = conn->id, s]() {
                Forget(id);
                s->deleteLater();
            });
        }
    }

    // A client that went away leaves no links behind.
    void Forget(uint64_t id)
    {
        connections.remove(id);
        for (auto it = links.begin(); it != links.end();)
            it = it->connection == id ? links.erase(it) : std::next(it);
    }

    void OnData(Conn& c)
    {
        if (!c.socket)
            return;
        c.in.append(c.socket->readAll());
        Process(c);
    }

    // Takes the complete records from what came in and answers each call they end.
    void Process(Conn& c)
    {
        while (c.Open() && c.in.size() >= 4 && !c.readPending) {
            if (inst.Frozen())
                return Hold();
            const uint32_t mark = GetU32(c.in, 0);
            const qsizetype len = static_cast<qsizetype>(mark & 0x7FFFFFFFu);
            if (len > 16 * 1024 * 1024) {
                c.Close();
                return;
            }
            if (c.in.size() < 4 + len)
                return;
            c.record.append(c.in.mid(4, len));
            c.in.remove(0, 4 + len);
            if (mark & 0x80000000u) {
                QByteArray call;
                call.swap(c.record);
                HandleCall(c, call);
            }
        }
    }

    void Send(Conn& c, uint32_t xid, uint32_t acceptStat, const QByteArray& results)
    {
        if (!c.Open())
            return;
        QByteArray body;
        PutU32(body, xid);
        PutU32(body, 1); // REPLY
        PutU32(body, 0); // MSG_ACCEPTED
        PutU32(body, 0); // verifier AUTH_NONE
        PutU32(body, 0);
        PutU32(body, acceptStat);
        if (acceptStat == 2) { // PROG_MISMATCH: the versions we have
            PutU32(body, version);
            PutU32(body, version);
        }
        body.append(results);
        QByteArray rec;
        PutU32(rec, 0x80000000u | static_cast<uint32_t>(body.size()));
        rec.append(body);
        if (c.sink)
            c.sink->append(rec);
        else
            c.socket->write(rec);
    }

    void HandleCall(Conn& c, const QByteArray& call)
    {
        if (call.size() < 24)
            return;
        const uint32_t xid = GetU32(call, 0);
        if (GetU32(call, 4) != 0 || GetU32(call, 8) != 2)
            return; // not a call, or not RPC version 2: nothing sensible to answer
        const uint32_t prog = GetU32(call, 12);
        const uint32_t vers = GetU32(call, 16);
        const uint32_t proc = GetU32(call, 20);
        qsizetype at = 24;
        for (int i = 0; i < 2; ++i) { // credential, verifier
            if (call.size() < at + 8)
                return;
            const uint32_t len = GetU32(call, at + 4);
            at += 8 + ((len + 3) & ~3u);
        }
        if (at > call.size())
            return;
        const QByteArray args = call.mid(at);

        const uint32_t wantProg = c.abortChannel ? kAbortProgram : program;
        const uint32_t wantVers = c.abortChannel ? 1 : version;
        if (prog != wantProg)
            return Send(c, xid, 1, {}); // PROG_UNAVAIL
        if (vers != wantVers)
            return Send(c, xid, 2, {});
        if (proc == 0)
            return Send(c, xid, 0, {}); // the null procedure answers nothing
        if (c.abortChannel)
            return proc == 1 ? Abort(c, xid, args) : Send(c, xid, 3, {});
        switch (proc) {
        case 10: return CreateLink(c, xid, args);
        case 11: return Write(c, xid, args);
        case 12: return Read(c, xid, args);
        case 13: return ReadStb(c, xid, args);
        case 15: return Clear(c, xid, args);
        case 23: return DestroyLink(c, xid, args);
        case 14: case 16: case 17: case 18: case 19: case 20: {
            Device_Error e{kErrNone};
            return Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Device_Error), &e));
        }
        case 22: {
            Device_DocmdResp r{};
            r.error = kErrNotSupported;
            return Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Device_DocmdResp), &r));
        }
        case 25: case 26: {
            Device_Error e{kErrNotSupported};
            return Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Device_Error), &e));
        }
        default: return Send(c, xid, 3, {}); // PROC_UNAVAIL
        }
    }

    void CreateLink(Conn& c, uint32_t xid, const QByteArray& args)
    {
        Create_LinkParms p{};
        if (!LastFieldFits(args, 12) || !Decode(args, reinterpret_cast<xdrproc_t>(xdr_Create_LinkParms), &p))
            return Send(c, xid, 4, {}); // GARBAGE_ARGS
        const QString device = QString::fromLatin1(p.device ? p.device : "");
        Free(reinterpret_cast<xdrproc_t>(xdr_Create_LinkParms), &p);
        Create_LinkResp r{};
        if (!KnownDevice(device)) {
            r.error = kErrNotAccessible;
            return Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Create_LinkResp), &r));
        }
        if (links.size() >= kMaxLinks) {
            r.error = kErrOutOfResources;
            return Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Create_LinkResp), &r));
        }
        const long id = nextLink++;
        Link link;
        link.device = device;
        link.connection = c.id;
        links.insert(id, link);
        r.error = kErrNone;
        r.lid = id;
        r.abortPort = abort.serverPort();
        r.maxRecvSize = kMaxRecvSize;
        Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Create_LinkResp), &r));
    }

    // An answer is waiting for the client when the head of its link's output is ready.
    bool AnswerWaiting(const Link& link) const
    {
        return !link.out.empty() && inst.Clock().RealMsUntil(link.out.front().readyAtMs) == 0;
    }

    void Write(Conn& c, uint32_t xid, const QByteArray& args)
    {
        Device_WriteParms p{};
        if (!LastFieldFits(args, 16) || !Decode(args, reinterpret_cast<xdrproc_t>(xdr_Device_WriteParms), &p))
            return Send(c, xid, 4, {});
        Device_WriteResp r{};
        auto it = links.find(p.lid);
        if (it == links.end()) {
            r.error = kErrInvalidLink;
        } else {
            // A device with a small input buffer takes part of the data; the client sends the
            // rest, and only the call that delivers the last byte ends the message.
            u_int taken = p.data.data_len;
            if (inst.Faults().shortWrite)
                taken = std::min(taken, kShortWriteBytes);
            it->partial.append(p.data.data_val, static_cast<qsizetype>(taken));
            r.size = taken;
            const bool end = (p.flags & kFlagEnd) && taken == p.data.data_len;
            // END ends the message; a client that never sets it still ends its lines with LF.
            if (end || it->partial.endsWith('\n')) {
                QByteArray message;
                message.swap(it->partial);
                while (message.endsWith('\n') || message.endsWith('\r'))
                    message.chop(1);
                const SimReply reply = inst.Execute(message, QStringLiteral("vxi11"), AnswerWaiting(*it));
                if (reply.dropLink) {
                    Free(reinterpret_cast<xdrproc_t>(xdr_Device_WriteParms), &p);
                    links.erase(it);
                    c.Close();
                    return;
                }
                if (reply.discardUnread)
                    it->out.clear();
                if (!reply.bytes.isEmpty())
                    it->out.push_back({reply.bytes, reply.readyAtMs});
            }
        }
        Free(reinterpret_cast<xdrproc_t>(xdr_Device_WriteParms), &p);
        Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Device_WriteResp), &r));
    }

    void Read(Conn& c, uint32_t xid, const QByteArray& args)
    {
        Device_ReadParms p{};
        if (!Decode(args, reinterpret_cast<xdrproc_t>(xdr_Device_ReadParms), &p))
            return Send(c, xid, 4, {});
        c.readPending = true;
        c.pendingXid = xid;
        c.pendingRead = p;
        // A device that ignores the client's time-out (the fault "read-hang") waits until its
        // answer is ready or the call is aborted.
        const bool hang = inst.Faults().readHang;
        c.pendingDeadline = hang ? QDeadlineTimer(QDeadlineTimer::Forever)
                                 : QDeadlineTimer(static_cast<qint64>(std::min<u_long>(p.io_timeout, 0x7FFFFFFF)));
        ServePendingRead(c);
    }

    void FinishRead(Conn& c, Device_ReadResp& r, QByteArray& data)
    {
        r.data.data_len = static_cast<u_int>(data.size());
        r.data.data_val = data.data();
        c.readPending = false;
        if (c.timer)
            c.timer->stop();
        Send(c, c.pendingXid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Device_ReadResp), &r, data.size()));
        // Calls that arrived while the read waited.
        if (!c.in.isEmpty() && c.socket)
            QTimer::singleShot(0, c.socket, [this, &c]() { OnData(c); });
    }

    void ServePendingRead(Conn& c)
    {
        if (!c.readPending || !c.Open())
            return;
        if (inst.Frozen())
            return Hold();
        const Device_ReadParms& p = c.pendingRead;
        Device_ReadResp r{};
        auto it = links.find(p.lid);
        QByteArray data;
        if (it == links.end()) {
            r.error = kErrInvalidLink;
        } else {
            int64_t wait = -1;
            if (!it->out.empty())
                wait = inst.Clock().RealMsUntil(it->out.front().readyAtMs);
            if (wait != 0) {
                // Nothing to give yet: answer when it is ready or when the client's time-out ends.
                const int64_t left = c.pendingDeadline.isForever() ? std::numeric_limits<int32_t>::max()
                                                                   : c.pendingDeadline.remainingTime();
                // Without a socket there is no later to answer at: the read times out.
                if (left > 0 && c.timer) {
                    const int64_t ms = wait < 0 ? left : std::min(wait, left);
                    c.timer->start(static_cast<int>(std::min<int64_t>(ms, std::numeric_limits<int32_t>::max())));
                    return;
                }
                r.error = kErrTimeout;
            } else {
                Link::Pending& head = it->out.front();
                qsizetype n = std::min<qsizetype>(head.bytes.size(), static_cast<qsizetype>(p.requestSize));
                bool atTermChar = false;
                if (p.flags & kFlagTermCharSet) {
                    const qsizetype t = head.bytes.left(n).indexOf(p.termChar);
                    if (t >= 0) {
                        n = t + 1;
                        atTermChar = true;
                    }
                }
                data = head.bytes.left(n);
                head.bytes.remove(0, n);
                if (head.bytes.isEmpty()) {
                    it->out.pop_front();
                    r.reason = kReasonEnd | (atTermChar ? kReasonChr : 0);
                } else {
                    r.reason = atTermChar ? kReasonChr : kReasonReqCnt;
                }
            }
        }
        FinishRead(c, r, data);
    }

    // The abort channel: a read that waits on the link ends at once with "abort".
    void Abort(Conn& c, uint32_t xid, const QByteArray& args)
    {
        Device_Link lid = 0;
        if (!Decode(args, reinterpret_cast<xdrproc_t>(xdr_Device_Link), &lid))
            return Send(c, xid, 4, {});
        Device_Error e{links.contains(lid) ? kErrNone : kErrInvalidLink};
        for (const std::weak_ptr<Conn>& weak : connections) {
            const std::shared_ptr<Conn> peer = weak.lock();
            if (peer && !peer->abortChannel && peer->readPending && peer->pendingRead.lid == lid) {
                Device_ReadResp r{};
                r.error = kErrAbort;
                QByteArray none;
                FinishRead(*peer, r, none);
            }
        }
        Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Device_Error), &e));
    }

    void ReadStb(Conn& c, uint32_t xid, const QByteArray& args)
    {
        Device_GenericParms p{};
        if (!Decode(args, reinterpret_cast<xdrproc_t>(xdr_Device_GenericParms), &p))
            return Send(c, xid, 4, {});
        Device_ReadStbResp r{};
        auto it = links.find(p.lid);
        if (it == links.end())
            r.error = kErrInvalidLink;
        else
            r.stb = static_cast<u_char>(inst.ReadStatusByte(AnswerWaiting(*it)));
        Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Device_ReadStbResp), &r));
    }

    void Clear(Conn& c, uint32_t xid, const QByteArray& args)
    {
        Device_GenericParms p{};
        if (!Decode(args, reinterpret_cast<xdrproc_t>(xdr_Device_GenericParms), &p))
            return Send(c, xid, 4, {});
        Device_Error e{kErrNone};
        auto it = links.find(p.lid);
        if (it == links.end()) {
            e.error = kErrInvalidLink;
        } else {
            it->out.clear();
            it->partial.clear();
            inst.ClearHold();
        }
        Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Device_Error), &e));
    }

    void DestroyLink(Conn& c, uint32_t xid, const QByteArray& args)
    {
        Device_Link lid = 0;
        if (!Decode(args, reinterpret_cast<xdrproc_t>(xdr_Device_Link), &lid))
            return Send(c, xid, 4, {});
        Device_Error e{links.remove(lid) ? kErrNone : kErrInvalidLink};
        Send(c, xid, 0, Encode(reinterpret_cast<xdrproc_t>(xdr_Device_Error), &e));
    }
};

SimVxi11Server::SimVxi11Server(SimInstrument& inst, uint32_t program, uint32_t version, QObject* parent)
    : QObject(parent), impl_(std::make_unique<Impl>(inst, program, version))
{
    impl_->owner = this;
    connect(&impl_->core, &QTcpServer::newConnection, this, [this]() { impl_->Accept(impl_->core, false); });
    connect(&impl_->abort, &QTcpServer::newConnection, this, [this]() { impl_->Accept(impl_->abort, true); });
    connect(&impl_->thaw, &QTimer::timeout, this, [this]() { impl_->Thaw(); });
}

SimVxi11Server::~SimVxi11Server()
{
    // The connections report their end to the state below; they go first, without reporting.
    for (QTcpSocket* s : findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly)) {
        s->disconnect();
        delete s;
    }
    if (impl_->registered)
        pmap_unset(impl_->program, impl_->version);
    if (impl_->lockFd >= 0)
        ::close(impl_->lockFd); // releases the lock
}

bool SimVxi11Server::Listen(const QHostAddress& address, quint16 port, QString* error)
{
    if (!impl_->core.listen(address, port) || !impl_->abort.listen(address, 0)) {
        if (error)
            *error = impl_->core.errorString();
        return false;
    }
    return true;
}

QByteArray SimVxi11Server::ServeStream(const QByteArray& bytes, bool abortChannel)
{
    QByteArray out;
    Impl::Conn c;
    c.id = impl_->nextConnection++;
    c.abortChannel = abortChannel;
    c.sink = &out;
    c.in = bytes;
    impl_->Process(c);
    impl_->Forget(c.id);
    return out;
}

quint16 SimVxi11Server::Port() const { return impl_->core.serverPort(); }
quint16 SimVxi11Server::AbortPort() const { return impl_->abort.serverPort(); }
uint32_t SimVxi11Server::Program() const { return impl_->program; }
uint32_t SimVxi11Server::Version() const { return impl_->version; }
bool SimVxi11Server::Registered() const { return impl_->registered; }

bool SimVxi11Server::Register(QString* error, int lockWaitMs, const std::function<void(const QString&)>& waiting)
{
    const QString lockPath = QStringLiteral("/tmp/zendrik-sim-vxi11-%1-%2.lock").arg(impl_->program, 0, 16).arg(impl_->version);
    const QByteArray lockFile = lockPath.toLocal8Bit();
    impl_->lockFd = ::open(lockFile.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (impl_->lockFd < 0) {
        if (error)
            *error = QStringLiteral("cannot open the lock file ") + lockPath;
        return false;
    }
    const QString program = QStringLiteral("VXI-11 program 0x%1").arg(impl_->program, 0, 16);
    const QString seconds = QString::number((lockWaitMs + 999) / 1000);
    QDeadlineTimer deadline(lockWaitMs);
    bool told = false;
    while (::flock(impl_->lockFd, LOCK_EX | LOCK_NB) != 0) {
        if (deadline.hasExpired()) {
            if (error)
                *error = QStringLiteral("another simulator still holds the registration lock %1 of %2 after %3 s; "
                                        "--no-register serves without registering")
                             .arg(lockPath, program, seconds);
            ::close(impl_->lockFd);
            impl_->lockFd = -1;
            return false;
        }
        if (!told && waiting) {
            waiting(QStringLiteral("waiting for the registration lock %1 of %2, held by another simulator "
                                   "(at most %3 s; --no-register serves without registering)")
                        .arg(lockPath, program, seconds));
            told = true;
        }
        QThread::msleep(50);
    }
    // pmap_set waits a long time for a portmapper that is not there; ask first.
    {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress(QHostAddress::LocalHost), 111);
        if (!probe.waitForConnected(2000)) {
            if (error)
                *error = QStringLiteral("no portmapper on 127.0.0.1 port 111; start rpcbind (rpcbind -w)");
            return false;
        }
    }
    // Holding the lock, any registration left behind is stale (a process that died).
    pmap_unset(impl_->program, impl_->version);
    if (!pmap_set(impl_->program, impl_->version, IPPROTO_TCP, Port())) {
        if (error)
            *error = QStringLiteral("the portmapper refused the registration; is rpcbind running? (rpcbind -w)");
        return false;
    }
    impl_->registered = true;
    return true;
}
