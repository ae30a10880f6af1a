#ifndef ZENDRIK_INSTRUMENT_VISA_VISASESSION_H
#define ZENDRIK_INSTRUMENT_VISA_VISASESSION_H

#include "instrument/visa/PumpedVisaBackEnd.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <set>

class DebugLog;

// The VISA binding of the program: the loaded back end and the three sessions. Owned by the
// application and passed by reference; tests build their own.
struct VisaState {
    VisaState() = default;
    // The program ends with its sessions closed, not only after "Disconnect Visa".
    ~VisaState();
    VisaState(const VisaState&) = delete;
    VisaState& operator=(const VisaState&) = delete;

    // How the calls are waited for: the work that owns the analyser (a run, a peak
    // re-measurement) gives them its pump and its Stop for its time.
    VisaWaitHooks Waits;
    // Set by that work too: a call the analyser leaves unanswered within the time-out counts as
    // a lost link, as a closed one does.
    bool SilenceIsLoss = false;
    // A command of a window ("SND SCPI", "Init SA", a grid row) owns the analyser: another one, a
    // run, a generator action or a coverage tick does not start meanwhile (RunAnalyserCommand).
    bool CommandUnderWay = false;
    // Ends the waits of that command early: the main window closes.
    bool CommandStopRequested = false;
    // The loaded back end (vendor library or built-in) behind PumpedVisaBackEnd; empty before the
    // first LoadVisaLibrary.
    std::unique_ptr<VisaBackEnd> VisaLibrary;
    ViSession VisaResourceManager = 0;
    ViSession VisaSession = 0;
    ViSession GpsSession = 0;
    // The GPS receiver's own resource manager, so that the analyser's connects leave it open.
    ViSession GpsResourceManager = 0;

    // A vendor library to load; empty to take the one the settings file names, then the usual
    // names.
    QString LibraryPath;
    // The settings file that may name the library (".\emc_set.ini", section "VISA", key
    // "Library").
    QString SettingsFile = QStringLiteral("emc_set.ini");
    // The debug log the session functions write to; LoadVisaLibrary sets it.
    DebugLog* Debug = nullptr;
    // Sessions whose last read timed out: what arrives before their next write is a late answer
    // and is dropped.
    std::set<ViSession> TimedOut;
    // Sessions whose last call Stop abandoned: the instrument may still answer it, so the device
    // is cleared before the next command.
    std::set<ViSession> Abandoned;
    // Sessions whose link a write or read found gone (VI_ERROR_CONN_LOST, or silence while
    // SilenceIsLoss): nothing is sent to that instrument or read from it any more until a session
    // to it is opened again.
    std::set<ViSession> LostLinks;
    // Writes that failed, whatever the reason: a caller that must know whether a group of
    // commands reached the instrument compares the count before and after.
    uint64_t FailedWrites = 0;
    // What the window side provides: an error dialog with one OK button, and stopping the
    // coverage logging timer (Timer3 of the main window) for a receiver that failed, with the
    // dialog's text.
    std::function<void(const QString&)> ShowErrorDialog;
    std::function<void(const QString& why)> StopCoverageTimer;
};

namespace visa {
// One read of an answer, as the session functions do it.
inline constexpr ViUInt32 kAnswerBufferSize = 2048;
// Settings-file key of a vendor library path (".\emc_set.ini").
inline constexpr const char* kSettingsSection = "VISA";
inline constexpr const char* kSettingsLibraryKey = "Library";
// The most that is drained after an answer that did not fit its read.
inline constexpr size_t kDrainLimit = 64u * 1024u * 1024u;
// How long an instrument stays quiet after the last line of a multi-line answer on a byte
// stream, where nothing else marks the end of such an answer (at most half the time-out).
inline constexpr ViUInt32 kAnswerQuietMs = 100;

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

// One read of at most maxBytes on session into *answer, which keeps later answers in step:
// - an answer longer than maxBytes gives VI_SUCCESS_MAX_CNT as VISA gives it, and the rest of
//   that answer is read and thrown away;
// - on a byte stream (raw socket, serial line), where a line feed inside an answer looks like
//   its end, whatever else of the answer has arrived is dropped after the read;
// - after a time-out the device is cleared (viClear; on a byte stream what arrives within a
//   short grace is dropped), and what arrives before the next write is dropped too, so that a
//   late answer is never taken for the answer of the next query. The debug log says so.
ViStatus VisaReadAnswer(VisaState& state, ViSession session, ViUInt32 maxBytes, QByteArray* answer);
// The same for answers of several lines (option lists, system messages): on a byte stream the
// lines are read until the instrument stays quiet for kAnswerQuietMs, within the session's
// time-out.
ViStatus VisaReadMultiLineAnswer(VisaState& state, ViSession session, ViUInt32 maxBytes, QByteArray* answer);

// Whether session is a raw socket or a serial line: a write there only fills a buffer, and only an
// answer to something sent after it tells that the instrument took it.
bool VisaIsByteStream(VisaState& state, ViSession session);

// "Disconnect Visa" and closing the main window: closes the instrument session and the resource
// manager while the resource manager is open.
void CloseVisaSessions(VisaState& state);

// Whether the link of the analyser's session (VisaSession) is gone: a write or read on it said
// so. A time-out is no lost link (a busy instrument may still answer) unless SilenceIsLoss.
bool VisaLinkLost(const VisaState& state);

#endif
