#ifndef ZENDRIK_INSTRUMENT_VISA_SERIALTRANSPORT_H
#define ZENDRIK_INSTRUMENT_VISA_SERIALTRANSPORT_H

#include "instrument/visa/StreamTransport.h"

#include <QString>
#include <memory>

// ASRL resources through termios: 9600 baud, 8 data bits, no parity, one stop bit and no flow
// control unless the session changes them. Answers end at a line feed (VISA's end-of-input for serial ports); writes
// go out as given, without an added line end, as VISA sends them by default.
class SerialTransport final : public StreamTransport {
public:
    explicit SerialTransport(int fd);
    ViStatus GetAttribute(ViAttr attribute, void* value) override;
    ViStatus SetAttribute(ViAttr attribute, ViAttrState value) override;

    // Applies 9600 8N1 raw mode; false when the descriptor is no terminal.
    bool ApplyDefaults();

private:
    ViStatus Apply();
    uint32_t baud_ = 9600;
    uint16_t dataBits_ = 8;
    uint16_t parity_ = 0;    // VI_ASRL_PAR_NONE
    uint16_t stopBits_ = 10; // VI_ASRL_STOP_ONE
};

// The device file of an ASRL resource: "ASRL<n>" is /dev/ttyS<n-1>; "ASRL/dev/..." names the
// file itself.
QString SerialDevicePath(int port, const QString& path, const QString& devRoot);
ViStatus OpenSerialTransport(const QString& devicePath, std::unique_ptr<VisaTransport>* transport);

#endif
