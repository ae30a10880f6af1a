#ifndef ZENDRIK_INSTRUMENT_VISA_BUILTINVISABACKEND_H
#define ZENDRIK_INSTRUMENT_VISA_BUILTINVISABACKEND_H

#include "instrument/visa/VisaBackEnd.h"
#include "instrument/visa/Vxi11Transport.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

class VisaTransport;
struct VisaResource;

// Where the built-in back end looks for things; tests point it at their own trees and ports.
struct BuiltinVisaOptions {
    Vxi11Endpoint vxi11;
    QString sysRoot = QStringLiteral("/sys");
    QString devRoot = QStringLiteral("/dev");
    // The I/O time-out of new sessions, which also bounds opening them.
    ViUInt32 timeoutMs = visa::kDefaultTimeoutMs;
    // How host names become addresses (the system resolver).
    visaio::HostLookup hostLookup = visaio::SystemLookup;
};

// Our own VISA: resource manager, sessions and find lists, with VISA's session rules (default
// time-out, reads that end on END and report a full buffer, optional termination character,
// device clear) over one transport per instrument session.
class BuiltinVisaBackEnd final : public VisaBackEnd {
public:
    explicit BuiltinVisaBackEnd(BuiltinVisaOptions options = {});
    ~BuiltinVisaBackEnd() override;

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

    uintptr_t Handle() const override { return reinterpret_cast<uintptr_t>(this); }
    uintptr_t EntryPointAddress(int index) const override;
    QString Description() const override { return QStringLiteral("built-in"); }
    // The cause the transport met: refused, timed out, no such host, malformed address.
    QString OpenFailure(ViStatus status) const override;

    // Opens an instrument session over a transport the caller made (the scripted fake of the
    // tests), under the given resource name.
    ViStatus OpenWithTransport(ViSession rm, const QString& resourceName, std::unique_ptr<VisaTransport> transport,
                               ViSession* session);
    // The resources viFindRsrc can see now: usbtmc devices and serial ports.
    QStringList ListResources() const;

private:
    struct Object;
    Object* Find(ViObject id, int kind);
    ViSession NewId();
    void CloseObject(ViObject id);
    // Tells a refused connection from a host that is not there after an open failed with
    // status, so that the operator learns which.
    QString DiagnoseOpen(const VisaResource& r, ViStatus status) const;

    BuiltinVisaOptions options_;
    std::map<ViObject, std::unique_ptr<Object>> objects_;
    ViObject nextId_ = 0x1001;
    QString lastOpenFailure_;
};

#endif
