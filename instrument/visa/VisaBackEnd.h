#ifndef ZENDRIK_INSTRUMENT_VISA_VISABACKEND_H
#define ZENDRIK_INSTRUMENT_VISA_VISABACKEND_H

#include "instrument/visa/VisaTypes.h"

#include <QString>
#include <cstdint>

namespace visa {
// What a status of a failed open means to an operator ("timed out", "malformed address").
QString OpenStatusText(ViStatus status);
} // namespace visa

// The ten VISA entry points the program calls, with the standard's meaning, arguments and status
// codes. Two back ends implement it: a vendor library loaded at run time (VendorVisaBackEnd) and
// our own (BuiltinVisaBackEnd).
class VisaBackEnd {
public:
    virtual ~VisaBackEnd() = default;

    virtual ViStatus viOpen(ViSession rm, const char* resource, ViUInt32 accessMode, ViUInt32 openTimeout,
                            ViSession* session) = 0;
    virtual ViStatus viOpenDefaultRM(ViSession* rm) = 0;
    // description must hold visa::kFindBufferLength bytes.
    virtual ViStatus viFindRsrc(ViSession rm, const char* expression, ViFindList* list, ViUInt32* count,
                                char* description) = 0;
    virtual ViStatus viFindNext(ViFindList list, char* description) = 0;
    virtual ViStatus viWrite(ViSession session, const ViByte* buffer, ViUInt32 count, ViUInt32* written) = 0;
    virtual ViStatus viRead(ViSession session, ViByte* buffer, ViUInt32 count, ViUInt32* read) = 0;
    virtual ViStatus viClose(ViObject object) = 0;
    virtual ViStatus viFlush(ViSession session, ViUInt16 mask) = 0;
    // value points to storage of the attribute's type (ViUInt32, ViUInt16, ViBoolean, a text
    // buffer of 256 bytes), as the standard defines per attribute.
    virtual ViStatus viGetAttribute(ViObject object, ViAttr attribute, void* value) = 0;
    virtual ViStatus viSetAttribute(ViObject object, ViAttr attribute, ViAttrState value) = 0;
    // Device clear. Not one of the ten entry points above: a library without it answers
    // VI_ERROR_NSUP_OPER, and the caller then only discards what has arrived.
    virtual ViStatus viClear(ViSession session) = 0;

    // What the debug log reports after loading: a handle and one address per entry point, in the
    // order of the names above (viOpen first).
    virtual uintptr_t Handle() const = 0;
    virtual uintptr_t EntryPointAddress(int index) const = 0;
    // A readable name: the file that was loaded, or "built-in".
    virtual QString Description() const = 0;
    // Why the last viOpen failed with status, as far as the back end knows it.
    virtual QString OpenFailure(ViStatus status) const { return visa::OpenStatusText(status); }
};

namespace visa {
// The entry point names in the order they are resolved and logged.
inline constexpr const char* kEntryPointNames[10] = {
    "viOpen", "viOpenDefaultRM", "viFindRsrc", "viFindNext", "viWrite",
    "viRead", "viClose", "viFlush", "viGetAttribute", "viSetAttribute"};
} // namespace visa

#endif
