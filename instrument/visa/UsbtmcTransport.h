#ifndef ZENDRIK_INSTRUMENT_VISA_USBTMCTRANSPORT_H
#define ZENDRIK_INSTRUMENT_VISA_USBTMCTRANSPORT_H

#include "instrument/visa/VisaTransport.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// USB...::INSTR through the Linux usbtmc driver: a write() is one message (the driver marks its
// end), a read() returns one message or its next part; a read that returns fewer bytes than asked
// ended the message, and one that filled its buffer asks the driver whether the message ended.
class UsbtmcTransport final : public VisaTransport {
public:
    explicit UsbtmcTransport(int fd);
    ~UsbtmcTransport() override;
    UsbtmcTransport(const UsbtmcTransport&) = delete;
    UsbtmcTransport& operator=(const UsbtmcTransport&) = delete;

    ViStatus Write(const uint8_t* data, size_t size, bool end, uint32_t timeoutMs, size_t* written) override;
    ViStatus Read(uint8_t* data, size_t max, uint32_t timeoutMs, size_t* count, bool* end) override;
    void DiscardInput() override;
    ViStatus Clear(uint32_t timeoutMs) override;
    ViUInt16 InterfaceType() const override { return visa::VI_INTF_USB; }

private:
    bool EndOfMessage() const;
    int fd_;
    bool driverTimeout_ = true;
    std::vector<uint8_t> pendingWrite_;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0;
    bool bufferEndsMessage_ = false;
};

// One usbtmc device found below <sysRoot>/class/usbmisc.
struct UsbtmcDevice {
    QString node;        // "usbtmc0"
    uint16_t vendor = 0;
    uint16_t product = 0;
    QString serial;
    int interfaceNumber = 0;
    QString Resource() const; // "USB0::0x1AB1::0x0960::DSA8A123456789::INSTR"
};
std::vector<UsbtmcDevice> EnumerateUsbtmc(const QString& sysRoot);

ViStatus OpenUsbtmcTransport(const QString& devicePath, std::unique_ptr<VisaTransport>* transport);

#endif
