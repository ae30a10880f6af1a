#ifndef ZENDRIK_INSTRUMENT_VISA_VISATYPES_H
#define ZENDRIK_INSTRUMENT_VISA_VISATYPES_H

#include <cstdint>

// The VISA types, status codes and attributes the program and its back ends use, with the
// values of the published VISA standard so that a vendor library can be called directly.
using ViStatus = int32_t;
using ViSession = uint32_t;
using ViObject = uint32_t;
using ViFindList = uint32_t;
using ViUInt32 = uint32_t;
using ViUInt16 = uint16_t;
using ViAttr = uint32_t;
using ViAttrState = uint64_t;
using ViByte = unsigned char;

namespace visa {

inline constexpr ViStatus VI_SUCCESS = 0;
inline constexpr ViStatus VI_SUCCESS_TERM_CHAR = 0x3FFF0005;
inline constexpr ViStatus VI_SUCCESS_MAX_CNT = 0x3FFF0006;

inline constexpr ViStatus ErrorCode(uint32_t v) { return static_cast<ViStatus>(v); }
inline constexpr ViStatus VI_ERROR_SYSTEM_ERROR = ErrorCode(0xBFFF0000u);
inline constexpr ViStatus VI_ERROR_INV_OBJECT = ErrorCode(0xBFFF000Eu);
inline constexpr ViStatus VI_ERROR_RSRC_LOCKED = ErrorCode(0xBFFF000Fu);
inline constexpr ViStatus VI_ERROR_INV_EXPR = ErrorCode(0xBFFF0010u);
inline constexpr ViStatus VI_ERROR_RSRC_NFOUND = ErrorCode(0xBFFF0011u);
inline constexpr ViStatus VI_ERROR_INV_RSRC_NAME = ErrorCode(0xBFFF0012u);
inline constexpr ViStatus VI_ERROR_TMO = ErrorCode(0xBFFF0015u);
inline constexpr ViStatus VI_ERROR_NSUP_ATTR = ErrorCode(0xBFFF001Du);
inline constexpr ViStatus VI_ERROR_NSUP_ATTR_STATE = ErrorCode(0xBFFF001Eu);
inline constexpr ViStatus VI_ERROR_ATTR_READONLY = ErrorCode(0xBFFF001Fu);
inline constexpr ViStatus VI_ERROR_ABORT = ErrorCode(0xBFFF0030u);
inline constexpr ViStatus VI_ERROR_ALLOC = ErrorCode(0xBFFF003Cu);
inline constexpr ViStatus VI_ERROR_INV_MASK = ErrorCode(0xBFFF003Du);
inline constexpr ViStatus VI_ERROR_IO = ErrorCode(0xBFFF003Eu);
inline constexpr ViStatus VI_ERROR_NSUP_OPER = ErrorCode(0xBFFF0067u);
inline constexpr ViStatus VI_ERROR_INV_PARAMETER = ErrorCode(0xBFFF0078u);
inline constexpr ViStatus VI_ERROR_LIBRARY_NFOUND = ErrorCode(0xBFFF009Eu);
inline constexpr ViStatus VI_ERROR_CONN_LOST = ErrorCode(0xBFFF00A6u);

inline constexpr ViAttr VI_ATTR_RSRC_CLASS = 0xBFFF0001u;
inline constexpr ViAttr VI_ATTR_RSRC_NAME = 0xBFFF0002u;
inline constexpr ViAttr VI_ATTR_RSRC_IMPL_VERSION = 0x3FFF0003u;
inline constexpr ViAttr VI_ATTR_SEND_END_EN = 0x3FFF0016u;
inline constexpr ViAttr VI_ATTR_TERMCHAR = 0x3FFF0018u;
inline constexpr ViAttr VI_ATTR_TMO_VALUE = 0x3FFF001Au;
inline constexpr ViAttr VI_ATTR_ASRL_BAUD = 0x3FFF0021u;
inline constexpr ViAttr VI_ATTR_ASRL_DATA_BITS = 0x3FFF0022u;
inline constexpr ViAttr VI_ATTR_ASRL_PARITY = 0x3FFF0023u;
inline constexpr ViAttr VI_ATTR_ASRL_STOP_BITS = 0x3FFF0024u;
inline constexpr ViAttr VI_ATTR_ASRL_END_OUT = 0x3FFF00B4u;
inline constexpr ViAttr VI_ATTR_TERMCHAR_EN = 0x3FFF0038u;
inline constexpr ViAttr VI_ATTR_RSRC_SPEC_VERSION = 0x3FFF0170u;
inline constexpr ViAttr VI_ATTR_INTF_TYPE = 0x3FFF0171u;
inline constexpr ViAttr VI_ATTR_RSRC_MANF_NAME = 0xBFFF0174u;

inline constexpr ViUInt16 VI_READ_BUF = 1;
inline constexpr ViUInt16 VI_WRITE_BUF = 2;
inline constexpr ViUInt16 VI_READ_BUF_DISCARD = 4;
inline constexpr ViUInt16 VI_WRITE_BUF_DISCARD = 8;
inline constexpr ViUInt16 VI_IO_IN_BUF = 16;
inline constexpr ViUInt16 VI_IO_OUT_BUF = 32;
inline constexpr ViUInt16 VI_IO_IN_BUF_DISCARD = 64;
inline constexpr ViUInt16 VI_IO_OUT_BUF_DISCARD = 128;

inline constexpr ViUInt16 VI_ASRL_END_NONE = 0;
inline constexpr ViUInt16 VI_ASRL_END_TERMCHAR = 2;

inline constexpr ViUInt16 VI_INTF_GPIB = 1;
inline constexpr ViUInt16 VI_INTF_ASRL = 4;
inline constexpr ViUInt16 VI_INTF_TCPIP = 6;
inline constexpr ViUInt16 VI_INTF_USB = 7;

inline constexpr ViUInt32 VI_TMO_INFINITE = 0xFFFFFFFFu;
// The I/O time-out of a fresh session, as VISA libraries ship it. The program shortens it only
// for a moment, while it waits for the end of a multi-line answer on a byte stream.
inline constexpr ViUInt32 kDefaultTimeoutMs = 2000;
// What the built-in back end reports for VI_ATTR_RSRC_SPEC_VERSION (5.0) and its own version.
inline constexpr ViUInt32 kSpecVersion = 0x00500000u;
inline constexpr ViUInt32 kImplVersion = 0x00100000u; // 1.0.0 in the same packing
// Size of the description buffers of viFindRsrc / viFindNext (VI_FIND_BUFLEN).
inline constexpr int kFindBufferLength = 256;

inline constexpr bool Failed(ViStatus s) { return s < 0; }

} // namespace visa

#endif
