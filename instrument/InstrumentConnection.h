#ifndef ZENDRIK_INSTRUMENT_INSTRUMENTCONNECTION_H
#define ZENDRIK_INSTRUMENT_INSTRUMENTCONNECTION_H

#include "instrument/DeviceIdentification.h"
#include "instrument/ScpiContext.h"

#include <QString>
#include <QStringList>

struct DeviceState;
struct VisaState;

// What the connection window lists: one visible line and one bare resource text per instrument.
struct InstrumentList {
    QStringList Lines;
    QStringList Resources;
};

// What "Connect Visa" did.
struct ConnectOutcome {
    bool Opened = false;     // a session to the resource is open
    bool Identified = false; // "*IDN?" was asked and DeviceConnected is set
    QString Answer;          // the identification answer
    IdentificationResult Identity;
};

// How the main window's controls follow the connected family: the VBW group is enabled with
// "auto" selected; the two zero-span check boxes are enabled or disabled, or left as they are.
struct FamilyControls {
    bool VbwGroupEnabled = false;
    std::optional<bool> EmiZeroSpanEnabled;
    std::optional<bool> MaxPeakEnabled;
};

// Searches the VISA USB resources ("USB?*"). Opens the resource manager that a following connect
// uses; an earlier one and its session are closed first, so that searching again leaks nothing.
// Failures are shown through the VISA error dialog; false then.
bool SearchUsbInstruments(ScpiContext& c, InstrumentList* list);
// The PC's own IPv4 addresses; false when they cannot be listed ("No IP(s) found").
bool SearchTcpInstruments(InstrumentList* list);
QString TcpResourceName(const QString& address);

// Connects to the resource and identifies the instrument. With openResourceManager (the TCP/IP
// path) a fresh resource manager is opened, after the old one and its session are closed; on the
// USB path the search's resource manager is used (one is opened when there was no search) and
// only an old instrument session is closed. Its waits, and those of Disconnect, go through the
// context's pump, so the window keeps working while a silent analyser times out.
// A resource that cannot be opened, or an instrument that does not answer "*IDN?" (or answers
// more than one read takes), is no connection: its session is closed again, the connection
// panel shows "none", the model panel is emptied and the message log names the resource and says why.
ConnectOutcome ConnectInstrument(ScpiContext& c, const QString& resource, bool openResourceManager);
// "Disconnect Visa".
void DisconnectInstrument(ScpiContext& c);
FamilyControls ControlsForFamily(const DeviceState& device);

// The service buttons of the connection window; each returns the lines for its output memo.
QString SendFreeCommand(ScpiContext& c, const QString& command);
QStringList InstrumentInfoLines(ScpiContext& c);
QStringList InstrumentStatusLines(ScpiContext& c);
QString VisaVersionText(VisaState& visa);

// ".\emc_ip.ini": section "IP", key "ADR".
inline constexpr const char* kIpIniFile = "emc_ip.ini";
inline constexpr const char* kIpIniSection = "IP";
inline constexpr const char* kIpIniKey = "ADR";
// The address, "xxx.xxx.xxx.xxx" without one; a file refused as unreadable gives that too, and
// its reason (naming the file) in *refused.
QString ReadInstrumentAddress(const QString& folder, QString* refused = nullptr);
// Writes a fresh file holding only that key; false with *error when it cannot be written.
bool WriteInstrumentAddress(const QString& folder, const QString& address, QString* error);

#endif
