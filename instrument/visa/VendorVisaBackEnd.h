#ifndef ZENDRIK_INSTRUMENT_VISA_VENDORVISABACKEND_H
#define ZENDRIK_INSTRUMENT_VISA_VENDORVISABACKEND_H

#include "instrument/visa/VisaBackEnd.h"

#include <QString>
#include <QStringList>
#include <memory>

// A VISA shared library of an instrument maker, loaded at run time. Create() returns nothing
// (and a reason) when the file is missing or lacks one of the ten entry points, so that the
// caller can fall back to the built-in back end instead of ending the program.
class VendorVisaBackEnd final : public VisaBackEnd {
public:
    static std::unique_ptr<VendorVisaBackEnd> Create(const QString& fileName, QString* reason);
    ~VendorVisaBackEnd() override;
    VendorVisaBackEnd(const VendorVisaBackEnd&) = delete;
    VendorVisaBackEnd& operator=(const VendorVisaBackEnd&) = delete;

    ViStatus viOpen(ViSession rm, const char* resource, ViUInt32 accessMode, ViUInt32 openTimeout,
                    ViSession* session) override;
    ViStatus viOpenDefaultRM(ViSession* rm) override;
    ViStatus viFindRsrc(ViSession rm, const char* expression, ViFindList* list, ViUInt32* count,
                        char* description) override;
    ViStatus viFindNext(ViFindList list, char* description) override;
    ViStatus viWrite(ViSession session, const ViByte* buffer, ViUInt32 count, ViUInt32* written) override;
    ViStatus viRead(ViSession session, ViByte* buffer, ViUInt32 count, ViUInt32* read) override;
    ViStatus viClose(ViObject object) override;
    ViStatus viFlush(ViSession session, ViUInt16 mask) override;
    ViStatus viGetAttribute(ViObject object, ViAttr attribute, void* value) override;
    ViStatus viSetAttribute(ViObject object, ViAttr attribute, ViAttrState value) override;
    ViStatus viClear(ViSession session) override;

    uintptr_t Handle() const override { return reinterpret_cast<uintptr_t>(handle_); }
    uintptr_t EntryPointAddress(int index) const override;
    QString Description() const override { return fileName_; }

private:
    VendorVisaBackEnd() = default;
    struct Entries;
    void* handle_ = nullptr;
    QString fileName_;
    std::unique_ptr<Entries> entries_;
};

namespace visa {
// The file names tried, in order, when no path is configured.
QStringList VendorLibraryCandidates();
} // namespace visa

#endif
