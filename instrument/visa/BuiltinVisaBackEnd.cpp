#include "instrument/visa/BuiltinVisaBackEnd.h"

#include "instrument/visa/SerialTransport.h"
#include "instrument/visa/SocketIo.h"
#include "instrument/visa/StreamTransport.h"
#include "instrument/visa/UsbtmcTransport.h"
#include "instrument/visa/VisaResource.h"
#include "instrument/visa/VisaTransport.h"
#include "instrument/visa/Vxi11Transport.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {
enum ObjectKind { kResourceManager = 1, kInstrument = 2, kFindList = 4 };

void CopyDescription(const QString& text, char* out)
{
    const QByteArray b = text.toLatin1().left(visa::kFindBufferLength - 1);
    std::memcpy(out, b.constData(), static_cast<size_t>(b.size()));
    out[b.size()] = '\0';
}

bool SerialPortPresent(const QString& sysRoot, const QString& name)
{
    // ttyS nodes exist for every possible UART; only those with a known port type are real.
    if (name.startsWith(QStringLiteral("ttyS"))) {
        QFile type(sysRoot + "/class/tty/" + name + "/type");
        if (!type.open(QIODevice::ReadOnly))
            return false;
        return type.readAll().trimmed() != "0";
    }
    return QFile::exists(sysRoot + "/class/tty/" + name + "/device");
}
} // namespace

struct BuiltinVisaBackEnd::Object {
    int kind = 0;
    ViSession owner = 0; // resource manager of an instrument session or find list
    // instrument session
    QString resourceName;
    std::unique_ptr<VisaTransport> transport;
    ViUInt32 timeoutMs = visa::kDefaultTimeoutMs;
    uint8_t termChar = '\n';
    bool termCharEnabled = false;
    bool sendEnd = true;
    std::vector<uint8_t> pending; // read from the transport but not yet handed out
    bool pendingEnds = false;     // the last pending byte ends an answer
    // find list
    QStringList found;
    int next = 0;
};

BuiltinVisaBackEnd::BuiltinVisaBackEnd(BuiltinVisaOptions options) : options_(std::move(options)) {}

BuiltinVisaBackEnd::~BuiltinVisaBackEnd() = default;

uintptr_t BuiltinVisaBackEnd::EntryPointAddress(int) const { return 0; }

BuiltinVisaBackEnd::Object* BuiltinVisaBackEnd::Find(ViObject id, int kinds)
{
    auto it = objects_.find(id);
    if (it == objects_.end() || (it->second->kind & kinds) == 0)
        return nullptr;
    return it->second.get();
}

ViSession BuiltinVisaBackEnd::NewId()
{
    while (nextId_ == 0 || objects_.count(nextId_))
        ++nextId_;
    return nextId_++;
}

ViStatus BuiltinVisaBackEnd::viOpenDefaultRM(ViSession* rm)
{
    if (!rm)
        return visa::VI_ERROR_INV_PARAMETER;
    auto o = std::make_unique<Object>();
    o->kind = kResourceManager;
    o->resourceName = QStringLiteral("::INSTR0");
    const ViSession id = NewId();
    objects_[id] = std::move(o);
    *rm = id;
    return visa::VI_SUCCESS;
}

ViStatus BuiltinVisaBackEnd::viOpen(ViSession rm, const char* resource, ViUInt32, ViUInt32, ViSession* session)
{
    if (session)
        *session = 0;
    if (!Find(rm, kResourceManager))
        return visa::VI_ERROR_INV_OBJECT;
    if (!resource || !session)
        return visa::VI_ERROR_INV_PARAMETER;
    lastOpenFailure_.clear();
    const QString name = QString::fromLatin1(resource);
    VisaResource r;
    const ViStatus parsed = ParseVisaResource(name, &r);
    if (parsed != visa::VI_SUCCESS)
        return parsed;

    std::unique_ptr<VisaTransport> t;
    ViStatus st = visa::VI_ERROR_RSRC_NFOUND;
    switch (r.kind) {
    case VisaResource::Kind::TcpipInstr:
        st = OpenVxi11Transport(r.host, r.lanDevice, options_.vxi11, options_.timeoutMs, &t, options_.hostLookup);
        break;
    case VisaResource::Kind::TcpipSocket:
        st = OpenSocketTransport(r.host, r.port, options_.timeoutMs, &t, options_.hostLookup);
        break;
    case VisaResource::Kind::AsrlInstr:
        st = OpenSerialTransport(SerialDevicePath(r.asrlPort, r.asrlPath, options_.devRoot), &t);
        break;
    case VisaResource::Kind::UsbInstr: {
        for (const UsbtmcDevice& d : EnumerateUsbtmc(options_.sysRoot)) {
            if (d.vendor == r.usbVendor && d.product == r.usbProduct &&
                d.serial.compare(r.usbSerial, Qt::CaseInsensitive) == 0 &&
                (r.usbInterface < 0 || r.usbInterface == d.interfaceNumber)) {
                st = OpenUsbtmcTransport(options_.devRoot + "/" + d.node, &t);
                break;
            }
        }
        break;
    }
    }
    if (st != visa::VI_SUCCESS) {
        lastOpenFailure_ = DiagnoseOpen(r, st);
        return st;
    }
    return OpenWithTransport(rm, name, std::move(t), session);
}

QString BuiltinVisaBackEnd::OpenFailure(ViStatus status) const
{
    return lastOpenFailure_.isEmpty() ? visa::OpenStatusText(status) : lastOpenFailure_;
}

QString BuiltinVisaBackEnd::DiagnoseOpen(const VisaResource& r, ViStatus status) const
{
    const bool tcpip = r.kind == VisaResource::Kind::TcpipInstr || r.kind == VisaResource::Kind::TcpipSocket;
    if (!tcpip || status != visa::VI_ERROR_RSRC_NFOUND)
        return {};
    // Both a name that does not resolve and a connection nobody takes end in "not found": a
    // second look at the name tells them apart (numeric addresses need no lookup).
    visaio::Address address;
    const ViStatus resolved = visaio::ResolveHost(r.host, 0, options_.timeoutMs, &address, options_.hostLookup);
    if (resolved == visa::VI_ERROR_TMO)
        return visa::OpenStatusText(resolved);
    if (resolved != visa::VI_SUCCESS)
        return QStringLiteral("no such host");
    if (r.kind == VisaResource::Kind::TcpipSocket || options_.vxi11.port != 0)
        return QStringLiteral("connection refused");
    uint16_t port = 0;
    QString why;
    if (!LookupRpcPort(r.host, options_.vxi11.program, options_.vxi11.version, options_.timeoutMs, &port, &why,
                       options_.hostLookup))
        return QStringLiteral("connection refused: ") + why;
    if (port == 0)
        return QStringLiteral("connection refused: no VXI-11 instrument is registered with the portmapper");
    return QStringLiteral("connection refused by the instrument");
}

QString visa::OpenStatusText(ViStatus status)
{
    switch (status) {
    case VI_ERROR_TMO: return QStringLiteral("timed out");
    case VI_ERROR_INV_RSRC_NAME: return QStringLiteral("malformed address");
    case VI_ERROR_RSRC_NFOUND: return QStringLiteral("no instrument found at this address");
    case VI_ERROR_RSRC_LOCKED: return QStringLiteral("the instrument is in use");
    default: break;
    }
    return QStringLiteral("VISA status 0x%1").arg(static_cast<uint32_t>(status), 8, 16, QLatin1Char('0'));
}

ViStatus BuiltinVisaBackEnd::OpenWithTransport(ViSession rm, const QString& resourceName,
                                               std::unique_ptr<VisaTransport> transport, ViSession* session)
{
    if (!Find(rm, kResourceManager))
        return visa::VI_ERROR_INV_OBJECT;
    auto o = std::make_unique<Object>();
    o->kind = kInstrument;
    o->owner = rm;
    o->resourceName = resourceName;
    o->transport = std::move(transport);
    o->timeoutMs = options_.timeoutMs;
    const ViSession id = NewId();
    objects_[id] = std::move(o);
    *session = id;
    return visa::VI_SUCCESS;
}

QStringList BuiltinVisaBackEnd::ListResources() const
{
    QStringList out;
    for (const UsbtmcDevice& d : EnumerateUsbtmc(options_.sysRoot))
        out << d.Resource();
    QDir tty(options_.sysRoot + QStringLiteral("/class/tty"));
    QStringList names = tty.entryList({QStringLiteral("ttyS*"), QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                      QDir::Dirs | QDir::Files | QDir::System);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        auto key = [](const QString& s) {
            int i = s.size();
            while (i > 0 && s[i - 1].isDigit())
                --i;
            return std::make_pair(s.left(i), s.mid(i).toInt());
        };
        return key(a) < key(b);
    });
    for (const QString& n : names) {
        if (!SerialPortPresent(options_.sysRoot, n))
            continue;
        if (n.startsWith(QStringLiteral("ttyS")))
            out << QStringLiteral("ASRL%1::INSTR").arg(n.mid(4).toInt() + 1);
        else
            out << QStringLiteral("ASRL") + options_.devRoot + "/" + n + QStringLiteral("::INSTR");
    }
    return out;
}

ViStatus BuiltinVisaBackEnd::viFindRsrc(ViSession rm, const char* expression, ViFindList* list, ViUInt32* count,
                                        char* description)
{
    if (list)
        *list = 0;
    if (count)
        *count = 0;
    if (!Find(rm, kResourceManager))
        return visa::VI_ERROR_INV_OBJECT;
    if (!expression)
        return visa::VI_ERROR_INV_EXPR;
    const auto rx = VisaExpressionToRegex(QString::fromLatin1(expression));
    if (!rx)
        return visa::VI_ERROR_INV_EXPR;
    QStringList matches;
    for (const QString& r : ListResources())
        if (rx->match(r).hasMatch())
            matches << r;
    if (matches.isEmpty())
        return visa::VI_ERROR_RSRC_NFOUND;
    auto o = std::make_unique<Object>();
    o->kind = kFindList;
    o->owner = rm;
    o->found = matches;
    o->next = 1;
    if (description)
        CopyDescription(matches.front(), description);
    if (count)
        *count = static_cast<ViUInt32>(matches.size());
    const ViSession id = NewId();
    objects_[id] = std::move(o);
    if (list)
        *list = id;
    return visa::VI_SUCCESS;
}

ViStatus BuiltinVisaBackEnd::viFindNext(ViFindList list, char* description)
{
    Object* o = Find(list, kFindList);
    if (!o)
        return visa::VI_ERROR_INV_OBJECT;
    if (o->next >= o->found.size())
        return visa::VI_ERROR_RSRC_NFOUND;
    if (description)
        CopyDescription(o->found[o->next], description);
    ++o->next;
    return visa::VI_SUCCESS;
}

ViStatus BuiltinVisaBackEnd::viWrite(ViSession session, const ViByte* buffer, ViUInt32 count, ViUInt32* written)
{
    if (written)
        *written = 0;
    Object* o = Find(session, kInstrument);
    if (!o)
        return visa::VI_ERROR_INV_OBJECT;
    if (!buffer && count > 0)
        return visa::VI_ERROR_INV_PARAMETER;
    size_t done = 0;
    const ViStatus st = o->transport->Write(buffer, count, o->sendEnd, o->timeoutMs, &done);
    if (written)
        *written = static_cast<ViUInt32>(done);
    return st;
}

ViStatus BuiltinVisaBackEnd::viRead(ViSession session, ViByte* buffer, ViUInt32 count, ViUInt32* read)
{
    if (read)
        *read = 0;
    Object* o = Find(session, kInstrument);
    if (!o)
        return visa::VI_ERROR_INV_OBJECT;
    if (!buffer && count > 0)
        return visa::VI_ERROR_INV_PARAMETER;
    visaio::Deadline deadline(o->timeoutMs);
    size_t total = 0;
    // One round hands out bytes kept from an earlier transport read, or reads new ones; the
    // answer ends at END, at the termination character when enabled, or when the buffer is full.
    std::vector<uint8_t> chunk;
    while (total < count) {
        bool end = false;
        if (o->pending.empty()) {
            // A caller may offer a huge buffer; the transport is asked for a bounded piece.
            chunk.resize(std::min<size_t>(count - total, size_t(1) << 20));
            size_t n = 0;
            const ViStatus st = o->transport->Read(chunk.data(), chunk.size(), deadline.RemainingMs(), &n, &end);
            if (st != visa::VI_SUCCESS) {
                if (read)
                    *read = static_cast<ViUInt32>(total);
                return st;
            }
            o->pending.assign(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n));
            o->pendingEnds = end;
        }
        size_t take = std::min(o->pending.size(), static_cast<size_t>(count) - total);
        bool termHit = false;
        if (o->termCharEnabled) {
            auto it = std::find(o->pending.begin(), o->pending.begin() + static_cast<std::ptrdiff_t>(take), o->termChar);
            if (it != o->pending.begin() + static_cast<std::ptrdiff_t>(take)) {
                take = static_cast<size_t>(it - o->pending.begin()) + 1;
                termHit = true;
            }
        }
        std::copy_n(o->pending.begin(), take, buffer + total);
        total += take;
        const bool endHere = take == o->pending.size() && o->pendingEnds;
        o->pending.erase(o->pending.begin(), o->pending.begin() + static_cast<std::ptrdiff_t>(take));
        if (o->pending.empty())
            o->pendingEnds = false;
        if (endHere) {
            if (read)
                *read = static_cast<ViUInt32>(total);
            return visa::VI_SUCCESS;
        }
        if (termHit) {
            if (read)
                *read = static_cast<ViUInt32>(total);
            return visa::VI_SUCCESS_TERM_CHAR;
        }
    }
    if (read)
        *read = static_cast<ViUInt32>(total);
    return visa::VI_SUCCESS_MAX_CNT;
}

void BuiltinVisaBackEnd::CloseObject(ViObject id)
{
    auto it = objects_.find(id);
    if (it == objects_.end())
        return;
    if (it->second->kind == kResourceManager) {
        // Closing the resource manager closes everything opened through it.
        std::vector<ViObject> children;
        for (const auto& [cid, child] : objects_)
            if (child->owner == id)
                children.push_back(cid);
        for (ViObject c : children)
            objects_.erase(c);
    }
    objects_.erase(id);
}

ViStatus BuiltinVisaBackEnd::viClose(ViObject object)
{
    if (!Find(object, kResourceManager | kInstrument | kFindList))
        return visa::VI_ERROR_INV_OBJECT;
    CloseObject(object);
    return visa::VI_SUCCESS;
}

ViStatus BuiltinVisaBackEnd::viFlush(ViSession session, ViUInt16 mask)
{
    Object* o = Find(session, kInstrument);
    if (!o)
        return visa::VI_ERROR_INV_OBJECT;
    if (mask == 0 || (mask & ~0xFFu) != 0 || ((mask & visa::VI_READ_BUF) && (mask & visa::VI_READ_BUF_DISCARD)))
        return visa::VI_ERROR_INV_MASK;
    if (mask & (visa::VI_READ_BUF_DISCARD | visa::VI_IO_IN_BUF_DISCARD)) {
        o->pending.clear();
        o->pendingEnds = false;
        o->transport->DiscardInput();
    }
    // Writes are never buffered here, so the write-buffer masks have nothing to do.
    return visa::VI_SUCCESS;
}

ViStatus BuiltinVisaBackEnd::viClear(ViSession session)
{
    Object* o = Find(session, kInstrument);
    if (!o)
        return visa::VI_ERROR_INV_OBJECT;
    o->pending.clear();
    o->pendingEnds = false;
    return o->transport->Clear(o->timeoutMs);
}

ViStatus BuiltinVisaBackEnd::viGetAttribute(ViObject object, ViAttr attribute, void* value)
{
    Object* o = Find(object, kResourceManager | kInstrument | kFindList);
    if (!o)
        return visa::VI_ERROR_INV_OBJECT;
    if (!value)
        return visa::VI_ERROR_INV_PARAMETER;
    switch (attribute) {
    case visa::VI_ATTR_RSRC_SPEC_VERSION: *static_cast<ViUInt32*>(value) = visa::kSpecVersion; return visa::VI_SUCCESS;
    case visa::VI_ATTR_RSRC_IMPL_VERSION: *static_cast<ViUInt32*>(value) = visa::kImplVersion; return visa::VI_SUCCESS;
    case visa::VI_ATTR_RSRC_MANF_NAME: CopyDescription(QStringLiteral("Zendrik built-in VISA"), static_cast<char*>(value)); return visa::VI_SUCCESS;
    case visa::VI_ATTR_RSRC_NAME: CopyDescription(o->resourceName, static_cast<char*>(value)); return visa::VI_SUCCESS;
    default: break;
    }
    if (o->kind != kInstrument)
        return visa::VI_ERROR_NSUP_ATTR;
    if (attribute == visa::VI_ATTR_RSRC_CLASS) {
        const bool socket = o->resourceName.endsWith(QStringLiteral("::SOCKET"), Qt::CaseInsensitive);
        CopyDescription(socket ? QStringLiteral("SOCKET") : QStringLiteral("INSTR"), static_cast<char*>(value));
        return visa::VI_SUCCESS;
    }
    switch (attribute) {
    case visa::VI_ATTR_TMO_VALUE: *static_cast<ViUInt32*>(value) = o->timeoutMs; return visa::VI_SUCCESS;
    case visa::VI_ATTR_TERMCHAR: *static_cast<uint8_t*>(value) = o->termChar; return visa::VI_SUCCESS;
    case visa::VI_ATTR_TERMCHAR_EN: *static_cast<ViUInt16*>(value) = o->termCharEnabled ? 1 : 0; return visa::VI_SUCCESS;
    case visa::VI_ATTR_SEND_END_EN: *static_cast<ViUInt16*>(value) = o->sendEnd ? 1 : 0; return visa::VI_SUCCESS;
    case visa::VI_ATTR_INTF_TYPE: *static_cast<ViUInt16*>(value) = o->transport->InterfaceType(); return visa::VI_SUCCESS;
    default: return o->transport->GetAttribute(attribute, value);
    }
}

ViStatus BuiltinVisaBackEnd::viSetAttribute(ViObject object, ViAttr attribute, ViAttrState value)
{
    Object* o = Find(object, kResourceManager | kInstrument | kFindList);
    if (!o)
        return visa::VI_ERROR_INV_OBJECT;
    switch (attribute) {
    case visa::VI_ATTR_RSRC_SPEC_VERSION:
    case visa::VI_ATTR_RSRC_IMPL_VERSION:
    case visa::VI_ATTR_RSRC_MANF_NAME:
    case visa::VI_ATTR_RSRC_NAME:
    case visa::VI_ATTR_RSRC_CLASS:
    case visa::VI_ATTR_INTF_TYPE: return visa::VI_ERROR_ATTR_READONLY;
    default: break;
    }
    if (o->kind != kInstrument)
        return visa::VI_ERROR_NSUP_ATTR;
    switch (attribute) {
    case visa::VI_ATTR_TMO_VALUE:
        o->timeoutMs = static_cast<ViUInt32>(value);
        // A transport that takes its leave of the instrument on close waits no longer than that.
        o->transport->SetAttribute(attribute, value);
        return visa::VI_SUCCESS;
    case visa::VI_ATTR_TERMCHAR:
        if (value > 0xFF)
            return visa::VI_ERROR_NSUP_ATTR_STATE;
        o->termChar = static_cast<uint8_t>(value);
        o->transport->SetTermChar(o->termCharEnabled, o->termChar);
        return visa::VI_SUCCESS;
    case visa::VI_ATTR_TERMCHAR_EN:
        o->termCharEnabled = value != 0;
        o->transport->SetTermChar(o->termCharEnabled, o->termChar);
        return visa::VI_SUCCESS;
    case visa::VI_ATTR_SEND_END_EN: o->sendEnd = value != 0; return visa::VI_SUCCESS;
    default: return o->transport->SetAttribute(attribute, value);
    }
}
