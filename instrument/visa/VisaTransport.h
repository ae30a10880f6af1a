#ifndef ZENDRIK_INSTRUMENT_VISA_VISATRANSPORT_H
#define ZENDRIK_INSTRUMENT_VISA_VISATRANSPORT_H

#include "instrument/visa/VisaTypes.h"

#include <cstddef>
#include <cstdint>

// One link to one instrument: the small table of operations each built-in transport provides
// (VXI-11, raw socket, usbtmc, serial, and the scripted fake of the tests). The session rules of
// VISA (time-out per call, END versus a full buffer, termination character, discarding input)
// live above it in BuiltinVisaBackEnd, so every transport only moves bytes and marks where an
// instrument message ends.
class VisaTransport {
public:
    virtual ~VisaTransport() = default;

    // Sends size bytes; end marks the last piece of a program message. On return *written holds
    // the bytes that left. timeoutMs is visa::VI_TMO_INFINITE for no limit.
    virtual ViStatus Write(const uint8_t* data, size_t size, bool end, uint32_t timeoutMs, size_t* written) = 0;
    // Delivers at least one and at most max bytes of the current answer, as soon as any are
    // there; *end is set when the last of them is the answer's last byte. VI_ERROR_TMO when
    // nothing arrived in time, VI_ERROR_CONN_LOST when the peer went away.
    virtual ViStatus Read(uint8_t* data, size_t max, uint32_t timeoutMs, size_t* count, bool* end) = 0;
    // Drops whatever has arrived but was not read yet.
    virtual void DiscardInput() = 0;
    // Device clear: the instrument forgets the answers it still owes. Transports without a
    // clear message of their own drop what arrives within a short grace instead.
    virtual ViStatus Clear(uint32_t timeoutMs)
    {
        (void)timeoutMs;
        DiscardInput();
        return visa::VI_SUCCESS;
    }
    // The session's termination character, for transports whose device can end a read on it.
    virtual void SetTermChar(bool enabled, uint8_t termChar)
    {
        (void)enabled;
        (void)termChar;
    }
    // Transport-specific attributes (serial line settings); the session answers the rest.
    virtual ViStatus GetAttribute(ViAttr attribute, void* value)
    {
        (void)attribute;
        (void)value;
        return visa::VI_ERROR_NSUP_ATTR;
    }
    virtual ViStatus SetAttribute(ViAttr attribute, ViAttrState value)
    {
        (void)attribute;
        (void)value;
        return visa::VI_ERROR_NSUP_ATTR;
    }
    virtual ViUInt16 InterfaceType() const = 0;
};

#endif
