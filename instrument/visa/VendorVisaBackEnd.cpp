#include "instrument/visa/VendorVisaBackEnd.h"

#include <dlfcn.h>

// The C signatures of the VISA standard.
using FnOpen = ViStatus (*)(ViSession, const char*, ViUInt32, ViUInt32, ViSession*);
using FnOpenDefaultRM = ViStatus (*)(ViSession*);
using FnFindRsrc = ViStatus (*)(ViSession, const char*, ViFindList*, ViUInt32*, char*);
using FnFindNext = ViStatus (*)(ViFindList, char*);
using FnWrite = ViStatus (*)(ViSession, const ViByte*, ViUInt32, ViUInt32*);
using FnRead = ViStatus (*)(ViSession, ViByte*, ViUInt32, ViUInt32*);
using FnClose = ViStatus (*)(ViObject);
using FnFlush = ViStatus (*)(ViSession, ViUInt16);
using FnGetAttribute = ViStatus (*)(ViObject, ViAttr, void*);
using FnSetAttribute = ViStatus (*)(ViObject, ViAttr, ViAttrState);
using FnClear = ViStatus (*)(ViSession);

struct VendorVisaBackEnd::Entries {
    void* raw[10] = {};
    FnOpen open() const { return reinterpret_cast<FnOpen>(raw[0]); }
    FnOpenDefaultRM openDefaultRM() const { return reinterpret_cast<FnOpenDefaultRM>(raw[1]); }
    FnFindRsrc findRsrc() const { return reinterpret_cast<FnFindRsrc>(raw[2]); }
    FnFindNext findNext() const { return reinterpret_cast<FnFindNext>(raw[3]); }
    FnWrite write() const { return reinterpret_cast<FnWrite>(raw[4]); }
    FnRead read() const { return reinterpret_cast<FnRead>(raw[5]); }
    FnClose close() const { return reinterpret_cast<FnClose>(raw[6]); }
    FnFlush flush() const { return reinterpret_cast<FnFlush>(raw[7]); }
    FnGetAttribute getAttribute() const { return reinterpret_cast<FnGetAttribute>(raw[8]); }
    FnSetAttribute setAttribute() const { return reinterpret_cast<FnSetAttribute>(raw[9]); }
    // Optional: looked up, but a library without it is still used.
    void* clear = nullptr;
};

QStringList visa::VendorLibraryCandidates()
{
    return {QStringLiteral("libvisa.so.0"), QStringLiteral("libvisa.so"), QStringLiteral("librsvisa.so"),
            QStringLiteral("libiovisa.so")};
}

std::unique_ptr<VendorVisaBackEnd> VendorVisaBackEnd::Create(const QString& fileName, QString* reason)
{
    const QByteArray name = fileName.toLocal8Bit();
    void* h = ::dlopen(name.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        if (reason)
            *reason = QString::fromLocal8Bit(::dlerror());
        return nullptr;
    }
    std::unique_ptr<VendorVisaBackEnd> lib(new VendorVisaBackEnd);
    lib->handle_ = h;
    lib->fileName_ = fileName;
    lib->entries_ = std::make_unique<Entries>();
    for (int i = 0; i < 10; ++i) {
        lib->entries_->raw[i] = ::dlsym(h, visa::kEntryPointNames[i]);
        if (!lib->entries_->raw[i]) {
            if (reason)
                *reason = QStringLiteral("%1 has no entry point %2").arg(fileName, QString::fromLatin1(visa::kEntryPointNames[i]));
            return nullptr; // the destructor unloads the file
        }
    }
    lib->entries_->clear = ::dlsym(h, "viClear");
    return lib;
}

VendorVisaBackEnd::~VendorVisaBackEnd()
{
    if (handle_)
        ::dlclose(handle_);
}

uintptr_t VendorVisaBackEnd::EntryPointAddress(int index) const
{
    return index >= 0 && index < 10 ? reinterpret_cast<uintptr_t>(entries_->raw[index]) : 0;
}

ViStatus VendorVisaBackEnd::viOpen(ViSession rm, const char* resource, ViUInt32 accessMode, ViUInt32 openTimeout,
                                   ViSession* session)
{
    return entries_->open()(rm, resource, accessMode, openTimeout, session);
}
ViStatus VendorVisaBackEnd::viOpenDefaultRM(ViSession* rm) { return entries_->openDefaultRM()(rm); }
ViStatus VendorVisaBackEnd::viFindRsrc(ViSession rm, const char* expression, ViFindList* list, ViUInt32* count,
                                       char* description)
{
    return entries_->findRsrc()(rm, expression, list, count, description);
}
ViStatus VendorVisaBackEnd::viFindNext(ViFindList list, char* description) { return entries_->findNext()(list, description); }
ViStatus VendorVisaBackEnd::viWrite(ViSession session, const ViByte* buffer, ViUInt32 count, ViUInt32* written)
{
    return entries_->write()(session, buffer, count, written);
}
ViStatus VendorVisaBackEnd::viRead(ViSession session, ViByte* buffer, ViUInt32 count, ViUInt32* read)
{
    return entries_->read()(session, buffer, count, read);
}
ViStatus VendorVisaBackEnd::viClose(ViObject object) { return entries_->close()(object); }
ViStatus VendorVisaBackEnd::viFlush(ViSession session, ViUInt16 mask) { return entries_->flush()(session, mask); }
ViStatus VendorVisaBackEnd::viGetAttribute(ViObject object, ViAttr attribute, void* value)
{
    return entries_->getAttribute()(object, attribute, value);
}
ViStatus VendorVisaBackEnd::viSetAttribute(ViObject object, ViAttr attribute, ViAttrState value)
{
    return entries_->setAttribute()(object, attribute, value);
}
ViStatus VendorVisaBackEnd::viClear(ViSession session)
{
    if (!entries_->clear)
        return visa::VI_ERROR_NSUP_OPER;
    return reinterpret_cast<FnClear>(entries_->clear)(session);
}
