// A stand-in for an instrument maker's VISA library, loaded by the dlopen back end in the tests:
// the C entry points with the standard's signatures, one resource manager and one instrument that
// answers every message with "ANSWER:" and the message. Every call is written to a log the test
// reads through fakeVisaCalls(). Built a second time without viSetAttribute, to be refused.
#include "instrument/visa/VisaTypes.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr ViSession kRm = 0x100;
constexpr ViSession kInstrument = 0x200;
constexpr ViFindList kList = 0x300;

std::string gCalls;
std::string gAnswer;
int gFound = 0;

void Record(const std::string& line) { gCalls += line + "\n"; }

std::string Hex(uint32_t v)
{
    char b[16];
    std::snprintf(b, sizeof b, "%X", v);
    return b;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) const char* fakeVisaCalls() { return gCalls.c_str(); }

__attribute__((visibility("default"))) ViStatus viOpenDefaultRM(ViSession* rm)
{
    Record("viOpenDefaultRM");
    *rm = kRm;
    return visa::VI_SUCCESS;
}

__attribute__((visibility("default"))) ViStatus viOpen(ViSession rm, const char* resource, ViUInt32 mode,
                                                        ViUInt32 timeout, ViSession* vi)
{
    Record("viOpen " + Hex(rm) + " " + resource + " " + std::to_string(mode) + " " + std::to_string(timeout));
    if (rm != kRm)
        return visa::VI_ERROR_INV_OBJECT;
    if (std::strcmp(resource, "TCPIP0::fake::INSTR") != 0)
        return visa::VI_ERROR_RSRC_NFOUND;
    *vi = kInstrument;
    return visa::VI_SUCCESS;
}

__attribute__((visibility("default"))) ViStatus viFindRsrc(ViSession rm, const char* expression, ViFindList* list,
                                                            ViUInt32* count, char* description)
{
    Record(std::string("viFindRsrc ") + expression);
    if (rm != kRm)
        return visa::VI_ERROR_INV_OBJECT;
    *list = kList;
    *count = 2;
    gFound = 1;
    std::strcpy(description, "USB0::0x1AB1::0x0960::A::INSTR");
    return visa::VI_SUCCESS;
}

__attribute__((visibility("default"))) ViStatus viFindNext(ViFindList list, char* description)
{
    if (list != kList)
        return visa::VI_ERROR_INV_OBJECT;
    if (gFound++ >= 2)
        return visa::VI_ERROR_RSRC_NFOUND;
    std::strcpy(description, "USB0::0x1AB1::0x0960::B::INSTR");
    return visa::VI_SUCCESS;
}

__attribute__((visibility("default"))) ViStatus viWrite(ViSession vi, const ViByte* buffer, ViUInt32 count,
                                                         ViUInt32* written)
{
    const std::string message(reinterpret_cast<const char*>(buffer), count);
    Record("viWrite " + message);
    if (vi != kInstrument)
        return visa::VI_ERROR_INV_OBJECT;
    gAnswer = "ANSWER:" + message + "\n";
    *written = count;
    return visa::VI_SUCCESS;
}

__attribute__((visibility("default"))) ViStatus viRead(ViSession vi, ViByte* buffer, ViUInt32 count, ViUInt32* read)
{
    Record("viRead " + std::to_string(count));
    *read = 0;
    if (vi != kInstrument)
        return visa::VI_ERROR_INV_OBJECT;
    if (gAnswer.empty())
        return visa::VI_ERROR_TMO;
    const size_t n = std::min<size_t>(count, gAnswer.size());
    std::memcpy(buffer, gAnswer.data(), n);
    gAnswer.erase(0, n);
    *read = static_cast<ViUInt32>(n);
    return gAnswer.empty() ? visa::VI_SUCCESS : visa::VI_SUCCESS_MAX_CNT;
}

__attribute__((visibility("default"))) ViStatus viClose(ViObject object)
{
    Record("viClose " + Hex(object));
    return object == kRm || object == kInstrument || object == kList ? visa::VI_SUCCESS : visa::VI_ERROR_INV_OBJECT;
}

__attribute__((visibility("default"))) ViStatus viFlush(ViSession vi, ViUInt16 mask)
{
    Record("viFlush " + std::to_string(mask));
    return vi == kInstrument ? visa::VI_SUCCESS : visa::VI_ERROR_INV_OBJECT;
}

__attribute__((visibility("default"))) ViStatus viGetAttribute(ViObject object, ViAttr attribute, void* value)
{
    if (object != kRm && object != kInstrument)
        return visa::VI_ERROR_INV_OBJECT;
    switch (attribute) {
    case visa::VI_ATTR_TMO_VALUE: *static_cast<ViUInt32*>(value) = 1234; return visa::VI_SUCCESS;
    case visa::VI_ATTR_RSRC_IMPL_VERSION: *static_cast<ViUInt32*>(value) = 0x00500302; return visa::VI_SUCCESS;
    case visa::VI_ATTR_INTF_TYPE: *static_cast<ViUInt16*>(value) = visa::VI_INTF_TCPIP; return visa::VI_SUCCESS;
    case visa::VI_ATTR_RSRC_CLASS: std::strcpy(static_cast<char*>(value), "INSTR"); return visa::VI_SUCCESS;
    default: return visa::VI_ERROR_NSUP_ATTR;
    }
}

#ifndef FAKE_VISA_WITHOUT_SET_ATTRIBUTE
__attribute__((visibility("default"))) ViStatus viSetAttribute(ViObject object, ViAttr attribute, ViAttrState value)
{
    Record("viSetAttribute " + Hex(object) + " " + Hex(attribute) + " " + std::to_string(value));
    return object == kInstrument ? visa::VI_SUCCESS : visa::VI_ERROR_INV_OBJECT;
}

__attribute__((visibility("default"))) ViStatus viClear(ViSession vi)
{
    Record("viClear " + Hex(vi));
    return vi == kInstrument ? visa::VI_SUCCESS : visa::VI_ERROR_INV_OBJECT;
}
#endif

} // extern "C"
