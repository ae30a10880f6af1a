#ifndef ZENDRIK_INSTRUMENT_VISA_VISASESSION_H
#define ZENDRIK_INSTRUMENT_VISA_VISASESSION_H

#include "instrument/visa/VisaBackEnd.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class DebugLog;

// The VISA binding of the program: the loaded back end and the three sessions. Owned by the
// application and passed by reference; tests build their own.
struct VisaState {
    // The loaded back end (vendor library or built-in); empty before the first LoadVisaLibrary.
    std::unique_ptr<VisaBackEnd> VisaLibrary;
    ViSession VisaResourceManager = 0;
    ViSession VisaSession = 0;
    ViSession GpsSession = 0;
    // The GPS receiver's own resource manager, so that the analyser's connects leave it open.
    ViSession GpsResourceManager = 0;

    // A vendor library named in the settings file; empty to try the usual names.
    QString LibraryPath;
    // What the window side provides: an error dialog with one OK button, and stopping the
    // coverage logging timer (Timer3 of the main window).
    std::function<void(const QString&)> ShowErrorDialog;
    std::function<void()> StopCoverageTimer;
};

namespace visa {
// One read of an answer, as the session functions do it.
inline constexpr ViUInt32 kAnswerBufferSize = 2048;
// Settings-file key of a vendor library path (".\emc_set.ini").
inline constexpr const char* kSettingsSection = "VISA";
inline constexpr const char* kSettingsLibraryKey = "Library";
// The most that is drained after an answer that did not fit its read.
inline constexpr size_t kDrainLimit = 64u * 1024u * 1024u;

// "*" + two upper-case hex digits: exclusive-or of every byte of the sentence body.
QString NmeaChecksum(const QByteArray& body);
// A vendor library path configured in the settings file, or the empty text.
QString ConfiguredLibraryPath(const QString& settingsFile);
} // namespace visa

// Loads a vendor VISA library (the configured path first, then the usual file names) and falls
// back to the built-in back end when none loads; never fails and never ends the program.
// Loading again is harmless. Debug lines name the library, its handle and the entry points.
void LoadVisaLibrary(VisaState& state, DebugLog& debug);
// Same, with a back end the caller made (tests, or a built-in with its own options).
void LoadVisaLibrary(VisaState& state, DebugLog& debug, std::unique_ptr<VisaBackEnd> backEnd);

ViStatus ScpiWrite(VisaState& state, DebugLog& debug, const QString& command);
ViStatus VisaWriteString(VisaState& state, DebugLog& debug, const QString& command);
QString VisaReadReply(VisaState& state, const QString& mode);
QString VisaReadLine(VisaState& state);
QString VisaReadBlock(VisaState& state);
ViStatus VisaWriteGps(VisaState& state, DebugLog& debug, const QString& body);

// One read of at most maxBytes on session into *answer. When the answer is longer, the status
// is VI_SUCCESS_MAX_CNT as VISA gives it, and the rest of that answer is read and thrown away so
// that the next read starts with the next answer.
ViStatus VisaReadAnswer(VisaState& state, ViSession session, ViUInt32 maxBytes, QByteArray* answer);

// "Disconnect Visa" and closing the main window: closes the instrument session and the resource
// manager while the resource manager is open.
void CloseVisaSessions(VisaState& state);

#endif
