#include "instrument/visa/VisaSession.h"

#include "app/Log.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VendorVisaBackEnd.h"
#include "platform/inifile/IniFile.h"

#include <QFileInfo>
#include <vector>

namespace {

QString Hex(uintptr_t v, int width) { return QString::number(v, 16).toUpper().rightJustified(width, QLatin1Char('0')); }

QString StatusHex(ViStatus st) { return Hex(static_cast<uint32_t>(st), 8); }

ViStatus WriteBytes(VisaState& state, ViSession session, const QByteArray& bytes)
{
    if (!state.VisaLibrary)
        return visa::VI_ERROR_LIBRARY_NFOUND;
    ViUInt32 written = 0;
    return state.VisaLibrary->viWrite(session, reinterpret_cast<const ViByte*>(bytes.constData()),
                                      static_cast<ViUInt32>(bytes.size()), &written);
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

} // namespace

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
    if (state.VisaLibrary)
        return;
    state.VisaLibrary = std::move(backEnd);
    LogLoaded(state, debug);
}

void LoadVisaLibrary(VisaState& state, DebugLog& debug)
{
    if (state.VisaLibrary)
        return;
    QStringList names;
    if (!state.LibraryPath.isEmpty())
        names << state.LibraryPath;
    names << visa::VendorLibraryCandidates();
    for (const QString& n : names) {
        QString reason;
        if (auto lib = VendorVisaBackEnd::Create(n, &reason)) {
            LoadVisaLibrary(state, debug, std::move(lib));
            return;
        }
        if (n == state.LibraryPath)
            debug.LogMessage(QStringLiteral("Warning: VISA library not usable: ") + reason);
    }
    LoadVisaLibrary(state, debug, std::make_unique<BuiltinVisaBackEnd>());
}

ViStatus ScpiWrite(VisaState& state, DebugLog& debug, const QString& command)
{
    const ViStatus st = WriteBytes(state, state.VisaSession, command.toLatin1());
    if (st != visa::VI_SUCCESS && debug.DebugMode == 1 && state.ShowErrorDialog)
        state.ShowErrorDialog(QStringLiteral("ViWrite FAILED! ") + StatusHex(st));
    return st;
}

ViStatus VisaWriteString(VisaState& state, DebugLog& debug, const QString& command)
{
    const ViStatus st = WriteBytes(state, state.VisaSession, command.toLatin1());
    debug.LogMessage(QStringLiteral("VI Write ") + command);
    return st;
}

ViStatus VisaReadAnswer(VisaState& state, ViSession session, ViUInt32 maxBytes, QByteArray* answer)
{
    answer->clear();
    if (!state.VisaLibrary)
        return visa::VI_ERROR_LIBRARY_NFOUND;
    answer->resize(static_cast<qsizetype>(maxBytes));
    ViUInt32 got = 0;
    const ViStatus st = state.VisaLibrary->viRead(session, reinterpret_cast<ViByte*>(answer->data()), maxBytes, &got);
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
    }
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
    const ViStatus st = WriteBytes(state, state.GpsSession, sentence);
    if (st != visa::VI_SUCCESS) {
        if (state.StopCoverageTimer)
            state.StopCoverageTimer();
        if (state.ShowErrorDialog)
            state.ShowErrorDialog(QStringLiteral("Visa ViWrite FAILED: ") + body);
        return st;
    }
    debug.LogMessage(QStringLiteral("Info: viWriteGPS:  ") + body);
    return st;
}

void CloseVisaSessions(VisaState& state)
{
    if (state.VisaResourceManager == 0 || !state.VisaLibrary)
        return;
    state.VisaLibrary->viClose(state.VisaSession);
    state.VisaLibrary->viClose(state.VisaResourceManager);
    state.VisaResourceManager = 0;
    state.VisaSession = 0;
}
