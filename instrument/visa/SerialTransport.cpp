#include "instrument/visa/SerialTransport.h"

#include <fcntl.h>
#include <tuple>
#include <termios.h>
#include <unistd.h>

namespace {

struct BaudEntry {
    uint32_t baud;
    speed_t code;
};
constexpr BaudEntry kBauds[] = {{300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},
                                {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
                                {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800},
                                {921600, B921600}};

bool BaudCode(uint32_t baud, speed_t* code)
{
    for (const auto& e : kBauds)
        if (e.baud == baud) {
            *code = e.code;
            return true;
        }
    return false;
}

} // namespace

SerialTransport::SerialTransport(int fd) : StreamTransport(fd, Kind::Serial, false) {}

bool SerialTransport::ApplyDefaults() { return Apply() == visa::VI_SUCCESS; }

ViStatus SerialTransport::Apply()
{
    termios t{};
    if (::tcgetattr(Fd(), &t) != 0)
        return visa::VI_ERROR_IO;
    ::cfmakeraw(&t);
    speed_t code = B9600;
    if (!BaudCode(baud_, &code))
        return visa::VI_ERROR_NSUP_ATTR_STATE;
    ::cfsetispeed(&t, code);
    ::cfsetospeed(&t, code);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= CLOCAL | CREAD;
    switch (dataBits_) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    default: t.c_cflag |= CS8; break;
    }
    if (parity_ == 1)
        t.c_cflag |= PARENB | PARODD;
    else if (parity_ == 2)
        t.c_cflag |= PARENB;
    if (stopBits_ == 20)
        t.c_cflag |= CSTOPB;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return ::tcsetattr(Fd(), TCSANOW, &t) == 0 ? visa::VI_SUCCESS : visa::VI_ERROR_IO;
}

ViStatus SerialTransport::GetAttribute(ViAttr attribute, void* value)
{
    switch (attribute) {
    case visa::VI_ATTR_ASRL_BAUD: {
        // Read back from the line, so a port that another program left at a different rate
        // shows its real rate.
        termios t{};
        uint32_t baud = baud_;
        if (::tcgetattr(Fd(), &t) == 0) {
            const speed_t code = ::cfgetospeed(&t);
            for (const auto& e : kBauds)
                if (e.code == code)
                    baud = e.baud;
        }
        *static_cast<ViUInt32*>(value) = baud;
        return visa::VI_SUCCESS;
    }
    case visa::VI_ATTR_ASRL_DATA_BITS: *static_cast<ViUInt16*>(value) = dataBits_; return visa::VI_SUCCESS;
    case visa::VI_ATTR_ASRL_PARITY: *static_cast<ViUInt16*>(value) = parity_; return visa::VI_SUCCESS;
    case visa::VI_ATTR_ASRL_STOP_BITS: *static_cast<ViUInt16*>(value) = stopBits_; return visa::VI_SUCCESS;
    case visa::VI_ATTR_ASRL_END_OUT:
        *static_cast<ViUInt16*>(value) = AppendLineEnd() ? visa::VI_ASRL_END_TERMCHAR : visa::VI_ASRL_END_NONE;
        return visa::VI_SUCCESS;
    default: return visa::VI_ERROR_NSUP_ATTR;
    }
}

ViStatus SerialTransport::SetAttribute(ViAttr attribute, ViAttrState value)
{
    // Writes end as given, or with a line feed (the default termination character) after each
    // message; the line settings stay as they are.
    if (attribute == visa::VI_ATTR_ASRL_END_OUT) {
        if (value != visa::VI_ASRL_END_NONE && value != visa::VI_ASRL_END_TERMCHAR)
            return visa::VI_ERROR_NSUP_ATTR_STATE;
        SetAppendLineEnd(value == visa::VI_ASRL_END_TERMCHAR);
        return visa::VI_SUCCESS;
    }
    const auto old = std::make_tuple(baud_, dataBits_, parity_, stopBits_);
    switch (attribute) {
    case visa::VI_ATTR_ASRL_BAUD: baud_ = static_cast<uint32_t>(value); break;
    case visa::VI_ATTR_ASRL_DATA_BITS:
        if (value < 5 || value > 8)
            return visa::VI_ERROR_NSUP_ATTR_STATE;
        dataBits_ = static_cast<uint16_t>(value);
        break;
    case visa::VI_ATTR_ASRL_PARITY:
        if (value > 2)
            return visa::VI_ERROR_NSUP_ATTR_STATE;
        parity_ = static_cast<uint16_t>(value);
        break;
    case visa::VI_ATTR_ASRL_STOP_BITS:
        if (value != 10 && value != 20)
            return visa::VI_ERROR_NSUP_ATTR_STATE;
        stopBits_ = static_cast<uint16_t>(value);
        break;
    default: return visa::VI_ERROR_NSUP_ATTR;
    }
    const ViStatus st = Apply();
    if (st != visa::VI_SUCCESS)
        std::tie(baud_, dataBits_, parity_, stopBits_) = old;
    return st;
}

QString SerialDevicePath(int port, const QString& path, const QString& devRoot)
{
    if (!path.isEmpty())
        return path;
    return devRoot + QStringLiteral("/ttyS") + QString::number(port - 1);
}

ViStatus OpenSerialTransport(const QString& devicePath, std::unique_ptr<VisaTransport>* transport)
{
    const QByteArray p = devicePath.toLocal8Bit();
    const int fd = ::open(p.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return visa::VI_ERROR_RSRC_NFOUND;
    auto serial = std::make_unique<SerialTransport>(fd);
    if (!serial->ApplyDefaults())
        return visa::VI_ERROR_RSRC_NFOUND; // not a terminal: no serial port behind this name
    *transport = std::move(serial);
    return visa::VI_SUCCESS;
}
