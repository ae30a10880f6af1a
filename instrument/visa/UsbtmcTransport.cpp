#include "instrument/visa/UsbtmcTransport.h"

#include "instrument/visa/SocketIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/usb/tmc.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr size_t kChunk = 65536;
constexpr unsigned long kSetTimeout = USBTMC_IOCTL_SET_TIMEOUT;
constexpr unsigned long kClear = USBTMC_IOCTL_CLEAR;
constexpr unsigned long kMessageInAttributes = USBTMC_IOCTL_MSG_IN_ATTR;
constexpr uint8_t kEndOfMessage = 1; // bit 0 of bmTransferAttributes

QString ReadSysText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).trimmed();
}

} // namespace

UsbtmcTransport::UsbtmcTransport(int fd) : fd_(fd) {}

UsbtmcTransport::~UsbtmcTransport() { visaio::CloseFd(fd_); }

ViStatus UsbtmcTransport::Write(const uint8_t* data, size_t size, bool end, uint32_t timeoutMs, size_t* written)
{
    // The driver ends a message with every write(), so the pieces of one message are collected.
    pendingWrite_.insert(pendingWrite_.end(), data, data + size);
    *written = size;
    if (!end)
        return visa::VI_SUCCESS;
    std::vector<uint8_t> message;
    message.swap(pendingWrite_);
    size_t sent = 0;
    const ViStatus st = visaio::SendAll(fd_, message.data(), message.size(), timeoutMs, &sent, false);
    if (st != visa::VI_SUCCESS)
        *written = sent >= message.size() - size ? sent - (message.size() - size) : 0;
    return st;
}

ViStatus UsbtmcTransport::Read(uint8_t* data, size_t max, uint32_t timeoutMs, size_t* count, bool* end)
{
    *count = 0;
    *end = false;
    if (pos_ >= buffer_.size()) {
        buffer_.assign(kChunk, 0);
        pos_ = 0;
        if (driverTimeout_) {
            uint32_t ms = timeoutMs == visa::VI_TMO_INFINITE ? 0x7FFFFFFFu : std::max<uint32_t>(timeoutMs, 100);
            if (::ioctl(fd_, kSetTimeout, &ms) != 0)
                driverTimeout_ = false; // not the driver (a test double): fall back to poll()
        }
        if (!driverTimeout_) {
            const int w = visaio::WaitReadable(fd_, timeoutMs);
            if (w <= 0) {
                buffer_.clear();
                return w == 0 ? visa::VI_ERROR_TMO : visa::VI_ERROR_IO;
            }
        }
        ssize_t n;
        do {
            n = ::read(fd_, buffer_.data(), kChunk);
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            buffer_.clear();
            if (errno == ETIMEDOUT || errno == EAGAIN)
                return visa::VI_ERROR_TMO;
            return errno == ENODEV || errno == EPIPE ? visa::VI_ERROR_CONN_LOST : visa::VI_ERROR_IO;
        }
        if (n == 0) {
            buffer_.clear();
            return visa::VI_ERROR_CONN_LOST;
        }
        bufferEndsMessage_ = static_cast<size_t>(n) < kChunk || EndOfMessage();
        buffer_.resize(static_cast<size_t>(n));
    }
    const size_t take = std::min(max, buffer_.size() - pos_);
    std::copy_n(buffer_.data() + pos_, take, data);
    pos_ += take;
    *count = take;
    *end = pos_ == buffer_.size() && bufferEndsMessage_;
    return visa::VI_SUCCESS;
}

bool UsbtmcTransport::EndOfMessage() const
{
    // A read that filled its buffer may have ended the message exactly there; the driver
    // keeps the attributes of the last transfer, whose EOM bit tells. Without it the next
    // read would wait out the time-out for bytes that never come.
    uint8_t attributes = 0;
    if (::ioctl(fd_, kMessageInAttributes, &attributes) == 0)
        return (attributes & kEndOfMessage) != 0;
    // Not the driver (a test double of one message per datagram): the message is complete
    // when nothing more of it is waiting. A driver too old for the request reads on.
    return !driverTimeout_ && visaio::WaitReadable(fd_, 0) == 0;
}

void UsbtmcTransport::DiscardInput()
{
    buffer_.clear();
    pos_ = 0;
}

ViStatus UsbtmcTransport::Clear(uint32_t)
{
    DiscardInput();
    // The class request INITIATE_CLEAR: the device drops its input and output queues.
    ::ioctl(fd_, kClear);
    return visa::VI_SUCCESS;
}

QString UsbtmcDevice::Resource() const
{
    auto hex = [](uint16_t v) { return QStringLiteral("0x") + QString::number(v, 16).toUpper().rightJustified(4, QLatin1Char('0')); };
    QString r = QStringLiteral("USB0::") + hex(vendor) + "::" + hex(product) + "::" + serial;
    if (interfaceNumber != 0)
        r += "::" + QString::number(interfaceNumber);
    return r + QStringLiteral("::INSTR");
}

std::vector<UsbtmcDevice> EnumerateUsbtmc(const QString& sysRoot)
{
    std::vector<UsbtmcDevice> found;
    QDir dir(sysRoot + QStringLiteral("/class/usbmisc"));
    const QStringList nodes = dir.entryList({QStringLiteral("usbtmc*")}, QDir::Dirs | QDir::Files | QDir::System,
                                            QDir::Name);
    for (const QString& node : nodes) {
        // <node>/device is the USB interface; its parent folder is the USB device.
        const QString iface = QFileInfo(dir.filePath(node + QStringLiteral("/device"))).canonicalFilePath();
        if (iface.isEmpty())
            continue;
        const QString usbDevice = QFileInfo(iface).path();
        bool okV = false, okP = false;
        UsbtmcDevice d;
        d.node = node;
        d.vendor = static_cast<uint16_t>(ReadSysText(usbDevice + "/idVendor").toUInt(&okV, 16));
        d.product = static_cast<uint16_t>(ReadSysText(usbDevice + "/idProduct").toUInt(&okP, 16));
        d.serial = ReadSysText(usbDevice + "/serial");
        d.interfaceNumber = ReadSysText(iface + "/bInterfaceNumber").toInt(nullptr, 16);
        if (okV && okP)
            found.push_back(d);
    }
    return found;
}

ViStatus OpenUsbtmcTransport(const QString& devicePath, std::unique_ptr<VisaTransport>* transport)
{
    const QByteArray p = devicePath.toLocal8Bit();
    const int fd = ::open(p.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY ? visa::VI_ERROR_SYSTEM_ERROR : visa::VI_ERROR_RSRC_NFOUND;
    *transport = std::make_unique<UsbtmcTransport>(fd);
    return visa::VI_SUCCESS;
}
