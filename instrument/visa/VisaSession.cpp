#include "instrument/visa/VisaSession.h"

#include "app/Log.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/SocketIo.h"
#include "instrument/visa/VendorVisaBackEnd.h"
#include "platform/inifile/IniFile.h"

#include <QFileInfo>
#include <array>
#include <vector>

namespace {

QString Hex(uintptr_t v, int width) { return QString::number(v, 16).toUpper().rightJustified(width, QLatin1Char('0')); }

QString StatusHex(ViStatus st) { return Hex(static_cast<uint32_t>(st), 8); }

void Log(VisaState& state, const QString& line)
{
    if (state.Debug)
        state.Debug->LogMessage(line);
}

bool Lost(const VisaState& state, ViSession session) { return session != 0 && state.LostLinks.count(session) > 0; }

// A status that says the link is gone marks its session for good; so does the analyser's silence
// while the work that owns it takes that for an analyser that is gone. A receiver polled in the
// same work keeps its session: it answers again once it has recovered.
ViStatus NoteLink(VisaState& state, ViSession session, ViStatus st)
{
    const bool closed = st == visa::VI_ERROR_CONN_LOST;
    const bool silent = st == visa::VI_ERROR_TMO && state.SilenceIsLoss && session == state.VisaSession;
    if ((closed || silent) && session != 0 && state.LostLinks.insert(session).second)
        Log(state, (closed ? QStringLiteral("Visa: link lost, session $")
                           : QStringLiteral("Visa: no answer within the time-out, link counted as lost, session $")) +
                       Hex(session, 8));
    return st;
}

void DropInput(VisaState& state, ViSession session)
{
    state.VisaLibrary->viFlush(session, visa::VI_READ_BUF_DISCARD | visa::VI_IO_IN_BUF_DISCARD);
}

void ClearAfterTimeOut(VisaState& state, ViSession session);

ViStatus Abandon(VisaState& state, ViSession session, ViStatus st)
{
    if (st == visa::VI_ERROR_ABORT)
        state.Abandoned.insert(session);
    return st;
}

ViStatus WriteBytes(VisaState& state, ViSession session, const QByteArray& bytes)
{
    if (!state.VisaLibrary)
        return visa::VI_ERROR_LIBRARY_NFOUND;
    if (Lost(state, session))
        return visa::VI_ERROR_CONN_LOST;
    // A call Stop abandoned may still be answered, late: the device forgets it first. While Stop
    // holds, that clear is abandoned too, and nothing is sent.
    if (state.Abandoned.count(session) > 0) {
        ClearAfterTimeOut(state, session);
        if (Lost(state, session))
            return visa::VI_ERROR_CONN_LOST;
        if (state.Abandoned.count(session) > 0)
            return visa::VI_ERROR_ABORT;
    }
    // The answer a read gave up on may have come since; it must not answer this command.
    if (state.TimedOut.erase(session) > 0) {
        DropInput(state, session);
        Log(state, QStringLiteral("Visa: input dropped before the next command after a time-out"));
    }
    ViUInt32 written = 0;
    return Abandon(state, session,
                   NoteLink(state, session,
                            state.VisaLibrary->viWrite(session, reinterpret_cast<const ViByte*>(bytes.constData()),
                                                       static_cast<ViUInt32>(bytes.size()), &written)));
}

ViStatus CountedWrite(VisaState& state, ViSession session, const QByteArray& bytes)
{
    const ViStatus st = WriteBytes(state, session, bytes);
    if (st != visa::VI_SUCCESS)
        ++state.FailedWrites;
    return st;
}

void LogLoaded(VisaState& state, DebugLog& debug)
{
    const VisaBackEnd& lib = *state.VisaLibrary;
    debug.LogMessage(QStringLiteral("Info: Visa32.DLL loaded  ") + "$" + Hex(lib.Handle(), 8));
    for (int i = 0; i < 10; ++i) {
        const uintptr_t a = lib.EntryPointAddress(i);
        // The built-in back end has no exported functions to show; it says so instead.
        debug.LogMessage(QString::fromLatin1(visa::kEntryPointNames[i]) + " " +
                         (a ? "$" + Hex(a, 8) : lib.Description()));
    }
}

// Raw sockets and serial lines carry answers as bytes without an end marker of their own.
bool IsByteStream(VisaState& state, ViSession session)
{
    ViUInt16 intf = 0;
    if (state.VisaLibrary->viGetAttribute(session, visa::VI_ATTR_INTF_TYPE, &intf) == visa::VI_SUCCESS &&
        intf == visa::VI_INTF_ASRL)
        return true;
    std::array<char, visa::kFindBufferLength> cls{};
    if (state.VisaLibrary->viGetAttribute(session, visa::VI_ATTR_RSRC_CLASS, cls.data()) != visa::VI_SUCCESS)
        return false;
    cls.back() = 0;
    return qstrcmp(cls.data(), "SOCKET") == 0;
}

// After a read time-out (or a call Stop abandoned) the instrument still owes the answer and
// sends it when it is done: the device clear makes it forget it, and the next write drops
// whatever came all the same. A clear that Stop abandons is tried again before the next command.
void ClearAfterTimeOut(VisaState& state, ViSession session)
{
    ViStatus st = NoteLink(state, session, state.VisaLibrary->viClear(session));
    if (st == visa::VI_ERROR_ABORT)
        return;
    if (st == visa::VI_ERROR_NSUP_OPER) {
        DropInput(state, session);
        st = visa::VI_SUCCESS;
    }
    const bool abandoned = state.Abandoned.erase(session) > 0;
    state.TimedOut.insert(session);
    Log(state, (abandoned ? QStringLiteral("Visa: call ended by Stop, device cleared, status $")
                          : QStringLiteral("Visa: read time-out, device cleared, status $")) +
                   StatusHex(st));
}

// The first answer of the read: one viRead, and the rest of an answer that did not fit thrown
// away. A read that Stop ended leaves the answer to come late: it is dropped before the next
// command, as after a time-out.
ViStatus ReadFirst(VisaState& state, ViSession session, ViUInt32 maxBytes, QByteArray* answer)
{
    if (Lost(state, session))
        return visa::VI_ERROR_CONN_LOST;
    answer->resize(static_cast<qsizetype>(maxBytes));
    ViUInt32 got = 0;
    ViStatus st = state.VisaLibrary->viRead(session, reinterpret_cast<ViByte*>(answer->data()), maxBytes, &got);
    answer->resize(static_cast<qsizetype>(got));
    if (st == visa::VI_SUCCESS_MAX_CNT) {
        std::vector<ViByte> sink(64 * 1024);
        size_t drained = 0;
        ViStatus more = st;
        while (more == visa::VI_SUCCESS_MAX_CNT && drained < visa::kDrainLimit) {
            ViUInt32 n = 0;
            more = state.VisaLibrary->viRead(session, sink.data(), static_cast<ViUInt32>(sink.size()), &n);
            drained += n;
        }
        if (NoteLink(state, session, Abandon(state, session, more)) == visa::VI_ERROR_TMO && !Lost(state, session))
            ClearAfterTimeOut(state, session);
        return st;
    }
    if (NoteLink(state, session, Abandon(state, session, st)) == visa::VI_ERROR_TMO && !Lost(state, session))
        ClearAfterTimeOut(state, session);
    return st;
}

// Further lines of an answer on a byte stream: each read waits at most the quiet time, all of
// them together at most the session's time-out.
ViStatus ReadFurtherLines(VisaState& state, ViSession session, ViUInt32 maxBytes, QByteArray* answer)
{
    ViUInt32 timeout = visa::kDefaultTimeoutMs;
    state.VisaLibrary->viGetAttribute(session, visa::VI_ATTR_TMO_VALUE, &timeout);
    // A session with a short time-out answers quickly: its quiet time is shorter too.
    const int64_t quiet = std::min<int64_t>(visa::kAnswerQuietMs, timeout / 2);
    const int64_t start = visaio::SteadyMs();
    ViStatus result = visa::VI_SUCCESS;
    std::vector<ViByte> line(maxBytes);
    for (;;) {
        const int64_t spent = visaio::SteadyMs() - start;
        if (timeout != visa::VI_TMO_INFINITE && spent >= static_cast<int64_t>(timeout))
            break;
        const int64_t left = timeout == visa::VI_TMO_INFINITE ? quiet : timeout - spent;
        state.VisaLibrary->viSetAttribute(session, visa::VI_ATTR_TMO_VALUE,
                                          static_cast<ViAttrState>(std::min<int64_t>(quiet, left)));
        ViUInt32 got = 0;
        const ViStatus st = state.VisaLibrary->viRead(session, line.data(), static_cast<ViUInt32>(line.size()), &got);
        if (st != visa::VI_SUCCESS && st != visa::VI_SUCCESS_MAX_CNT)
            break; // quiet: the answer is complete
        if (answer->size() + static_cast<qsizetype>(got) > static_cast<qsizetype>(maxBytes)) {
            result = visa::VI_SUCCESS_MAX_CNT;
            break;
        }
        answer->append(reinterpret_cast<const char*>(line.data()), static_cast<qsizetype>(got));
    }
    state.VisaLibrary->viSetAttribute(session, visa::VI_ATTR_TMO_VALUE, timeout);
    return result;
}

} // namespace

VisaState::~VisaState() { CloseVisaSessions(*this); }

QString visa::NmeaChecksum(const QByteArray& body)
{
    uint8_t x = 0;
    for (char c : body)
        x ^= static_cast<uint8_t>(c);
    return Hex(x, 2);
}

QString visa::ConfiguredLibraryPath(const QString& settingsFile)
{
    if (!QFileInfo::exists(settingsFile))
        return {};
    IniFile ini(settingsFile);
    return ini.ReadString(QString::fromLatin1(kSettingsSection), QString::fromLatin1(kSettingsLibraryKey), QString())
        .trimmed();
}

void LoadVisaLibrary(VisaState& state, DebugLog& debug, std::unique_ptr<VisaBackEnd> backEnd)
{
    state.Debug = &debug;
    if (state.VisaLibrary)
        return;
    state.VisaLibrary = std::make_unique<PumpedVisaBackEnd>(std::move(backEnd), state.Waits);
    LogLoaded(state, debug);
}

void LoadVisaLibrary(VisaState& state, DebugLog& debug)
{
    state.Debug = &debug;
    if (state.VisaLibrary)
        return;
    const QString configured =
        state.LibraryPath.isEmpty() ? visa::ConfiguredLibraryPath(state.SettingsFile) : state.LibraryPath;
    QStringList names;
    if (!configured.isEmpty())
        names << configured;
    names << visa::VendorLibraryCandidates();
    for (const QString& n : names) {
        QString reason;
        if (auto lib = VendorVisaBackEnd::Create(n, &reason)) {
            LoadVisaLibrary(state, debug, std::move(lib));
            return;
        }
        if (n == configured)
            debug.LogMessage(QStringLiteral("Warning: VISA library not usable: ") + reason);
    }
    LoadVisaLibrary(state, debug, std::make_unique<BuiltinVisaBackEnd>());
}

ViStatus ScpiWrite(VisaState& state, DebugLog& debug, const QString& command)
{
    const ViStatus st = CountedWrite(state, state.VisaSession, command.toLatin1());
    // A lost link and a call Stop ended are told once by the work they end, never per command.
    const bool told = st == visa::VI_ERROR_ABORT || Lost(state, state.VisaSession);
    if (st != visa::VI_SUCCESS && !told && debug.DebugMode && state.ShowErrorDialog)
        state.ShowErrorDialog(QStringLiteral("ViWrite FAILED! ") + StatusHex(st));
    return st;
}

ViStatus VisaWriteString(VisaState& state, DebugLog& debug, const QString& command)
{
    const ViStatus st = CountedWrite(state, state.VisaSession, command.toLatin1());
    debug.LogMessage(QStringLiteral("VI Write ") + command);
    return st;
}

ViStatus VisaReadAnswer(VisaState& state, ViSession session, ViUInt32 maxBytes, QByteArray* answer)
{
    answer->clear();
    if (!state.VisaLibrary)
        return visa::VI_ERROR_LIBRARY_NFOUND;
    const ViStatus st = ReadFirst(state, session, maxBytes, answer);
    if (st != visa::VI_ERROR_TMO && st != visa::VI_ERROR_ABORT && !Lost(state, session) && IsByteStream(state, session))
        DropInput(state, session);
    return st;
}

ViStatus VisaReadMultiLineAnswer(VisaState& state, ViSession session, ViUInt32 maxBytes, QByteArray* answer)
{
    answer->clear();
    if (!state.VisaLibrary)
        return visa::VI_ERROR_LIBRARY_NFOUND;
    ViStatus st = ReadFirst(state, session, maxBytes, answer);
    if (st != visa::VI_SUCCESS || !IsByteStream(state, session))
        return st;
    st = ReadFurtherLines(state, session, maxBytes, answer);
    DropInput(state, session);
    return st;
}

QString VisaReadReply(VisaState& state, const QString& mode)
{
    QByteArray a;
    if (VisaReadAnswer(state, state.VisaSession, visa::kAnswerBufferSize, &a) != visa::VI_SUCCESS)
        return QStringLiteral("0");
    if (mode.isEmpty() && !a.isEmpty())
        a.chop(1);
    return QString::fromLatin1(a);
}

QString VisaReadLine(VisaState& state)
{
    QByteArray a;
    if (VisaReadAnswer(state, state.VisaSession, visa::kAnswerBufferSize, &a) != visa::VI_SUCCESS)
        return {};
    if (!a.isEmpty())
        a.chop(1);
    return QString::fromLatin1(a);
}

QString VisaReadBlock(VisaState& state)
{
    QByteArray a;
    if (VisaReadAnswer(state, state.VisaSession, visa::kAnswerBufferSize, &a) != visa::VI_SUCCESS)
        return {};
    return QString::fromLatin1(a);
}

ViStatus VisaWriteGps(VisaState& state, DebugLog& debug, const QString& body)
{
    const QByteArray b = body.toLatin1();
    // NMEA 0183 ends every sentence with CR LF after the checksum, and a receiver waits for
    // that line end before it acts on the sentence.
    const QByteArray sentence = "$" + b + "*" + visa::NmeaChecksum(b).toLatin1() + "\r\n";
    const ViStatus st = CountedWrite(state, state.GpsSession, sentence);
    // Stop ended the write: the logging it served has stopped already, and nothing failed.
    if (st == visa::VI_ERROR_ABORT)
        return st;
    if (st != visa::VI_SUCCESS) {
        const QString why = QStringLiteral("Visa ViWrite FAILED: ") + body;
        if (state.StopCoverageTimer)
            state.StopCoverageTimer(why);
        if (state.ShowErrorDialog)
            state.ShowErrorDialog(why);
        return st;
    }
    debug.LogMessage(QStringLiteral("Info: viWriteGPS:  ") + body);
    return st;
}

void CloseVisaSessions(VisaState& state)
{
    if (state.VisaResourceManager == 0 || !state.VisaLibrary)
        return;
    // An analyser whose link is lost gets its goodbye without a wait for the answer that does
    // not come.
    if (Lost(state, state.VisaSession))
        state.VisaLibrary->viSetAttribute(state.VisaSession, visa::VI_ATTR_TMO_VALUE, 0);
    state.VisaLibrary->viClose(state.VisaSession);
    state.VisaLibrary->viClose(state.VisaResourceManager);
    state.VisaResourceManager = 0;
    state.VisaSession = 0;
    state.TimedOut.clear();
    state.Abandoned.clear();
    state.LostLinks.clear();
}

bool VisaIsByteStream(VisaState& state, ViSession session)
{
    return state.VisaLibrary && IsByteStream(state, session);
}

bool VisaLinkLost(const VisaState& state) { return Lost(state, state.VisaSession); }
