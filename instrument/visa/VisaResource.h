#ifndef ZENDRIK_INSTRUMENT_VISA_VISARESOURCE_H
#define ZENDRIK_INSTRUMENT_VISA_VISARESOURCE_H

#include "instrument/visa/VisaTypes.h"

#include <QRegularExpression>
#include <QString>
#include <optional>

// A VISA resource name taken apart. Keywords match without regard to case, as VISA has it.
struct VisaResource {
    enum class Kind { TcpipInstr, TcpipSocket, UsbInstr, AsrlInstr };
    Kind kind = Kind::TcpipInstr;
    int board = 0;
    // TCPIP
    QString host;
    QString lanDevice = QStringLiteral("inst0");
    uint16_t port = 0;
    // USB
    uint16_t usbVendor = 0;
    uint16_t usbProduct = 0;
    QString usbSerial;
    int usbInterface = -1; // -1: the first USBTMC interface
    // ASRL: a port number ("ASRL3") or a device path ("ASRL/dev/ttyUSB0")
    int asrlPort = 0;
    QString asrlPath;
};

// VI_SUCCESS, or VI_ERROR_INV_RSRC_NAME for text that is no resource name of the four kinds
// (GPIB, VXI and other interfaces have no back end here and give VI_ERROR_RSRC_NFOUND; HiSLIP
// devices give VI_ERROR_NSUP_OPER). IPv6 hosts come in brackets ("TCPIP0::[::1]::INSTR").
ViStatus ParseVisaResource(const QString& text, VisaResource* out);

// VISA's resource expression ("USB?*", "TCPIP?*INSTR", "ASRL[0-9]*::?*INSTR", "(USB|ASRL)?*")
// as an anchored, case-insensitive regular expression; nothing for a malformed expression or one
// with an attribute part in braces, which the built-in back end does not support.
std::optional<QRegularExpression> VisaExpressionToRegex(const QString& expression);

#endif
