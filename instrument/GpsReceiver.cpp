#include "instrument/GpsReceiver.h"

#include "app/Log.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/DeviceIdentification.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTime>

namespace {

// The receiver answers queries only: every periodic sentence off, its debug output off.
constexpr const char* kSetupSentences[] = {"PERDOUT,GGA,0", "PERDOUT,GLL,0", "PERDOUT,GSA,0", "PERDOUT,GSV,0",
                                           "PERDOUT,RMC,0", "PERDOUT,ZDA,0", "PERDDBG,NMEA,OFF"};
constexpr ViUInt32 kRequiredBaud = 9600;
constexpr ViUInt32 kReceiverReadBytes = 128;
constexpr uint32_t kSetupWaitMs = 2000;
constexpr uint32_t kIdentifyWaitMs = 1000;

QString Hex8(uint32_t v) { return QString::number(v, 16).toUpper().rightJustified(8, QLatin1Char('0')); }

void ShowError(ScpiContext& c, const QString& text)
{
    if (c.Visa.ShowErrorDialog)
        c.Visa.ShowErrorDialog(text);
}

void StopLogging(ScpiContext& c, const QString& text)
{
    if (c.Visa.StopCoverageTimer)
        c.Visa.StopCoverageTimer(text);
    ShowError(c, text);
}

QString TimeText(const DebugLog& debug)
{
    return debug.TimeText ? debug.TimeText() : QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
}

// One read of at most 128 bytes on a session; nothing when the read failed or the answer did
// not fit.
std::optional<QByteArray> ReadShort(ScpiContext& c, ViSession session)
{
    QByteArray answer;
    if (VisaReadAnswer(c.Visa, session, kReceiverReadBytes, &answer) != visa::VI_SUCCESS)
        return std::nullopt;
    return answer;
}

bool BaudIs9600(ScpiContext& c, ViSession session)
{
    ViUInt32 baud = 0;
    return c.Visa.VisaLibrary->viGetAttribute(session, visa::VI_ATTR_ASRL_BAUD, &baud) == visa::VI_SUCCESS &&
           baud == kRequiredBaud;
}

} // namespace

int GpsRandom(int n) { return static_cast<int>(QRandomGenerator::global()->bounded(n)); }

QStringList SerialPortChoices(const QString& devRoot)
{
    QStringList ports;
    for (int i = 1; i <= 18; ++i)
        ports << QStringLiteral("COM%1").arg(i);
    ports << QStringLiteral("COM20");
    const QDir dev(devRoot);
    for (const QString& name : dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                             QDir::System | QDir::Files | QDir::Dirs, QDir::Name))
        ports << dev.filePath(name);
    const QDir byId(dev.filePath(QStringLiteral("serial/by-id")));
    for (const QString& name : byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        ports << byId.filePath(name);
    return ports;
}

QString SerialResourceName(const QString& port)
{
    static const QRegularExpression com(QStringLiteral("^COM([0-9]+)$"), QRegularExpression::CaseInsensitiveOption);
    const QString p = port.trimmed();
    if (const QRegularExpressionMatch m = com.match(p); m.hasMatch())
        return QStringLiteral("ASRL") + QString::number(m.captured(1).toInt()) + QStringLiteral("::INSTR");
    if (p.startsWith(QLatin1Char('/')))
        return QStringLiteral("ASRL") + p + QStringLiteral("::INSTR");
    // A whole serial resource, typed as "SA USB" takes one.
    if (p.startsWith(QLatin1String("ASRL"), Qt::CaseInsensitive) && p.endsWith(QLatin1String("::INSTR"), Qt::CaseInsensitive))
        return p;
    return {};
}

void CloseGpsReceiver(ScpiContext& c, GpsReceiverState& gps)
{
    gps.GpsConnected = false;
    if (c.Visa.VisaLibrary && c.Visa.GpsResourceManager != 0) {
        c.Visa.VisaLibrary->viClose(c.Visa.GpsSession);
        c.Visa.VisaLibrary->viClose(c.Visa.GpsResourceManager);
    }
    c.Visa.GpsSession = 0;
    c.Visa.GpsResourceManager = 0;
}

SerialConnectOutcome ConnectGpsReceiver(ScpiContext& c, GpsReceiverState& gps, const QString& port)
{
    SerialConnectOutcome out;
    LoadVisaLibrary(c.Visa, c.Debug);
    // The receiver keeps its own resource manager: a new connect replaces only the old receiver.
    CloseGpsReceiver(c, gps);
    VisaBackEnd& lib = *c.Visa.VisaLibrary;
    if (lib.viOpenDefaultRM(&c.Visa.GpsResourceManager) != visa::VI_SUCCESS) {
        c.Visa.GpsResourceManager = 0;
        ShowError(c, QStringLiteral("Visa OpenDefaultRM FAILED!"));
        return out;
    }
    c.Debug.LogMessage(QStringLiteral("Info: viOpenDefaultRM session: $") + Hex8(c.Visa.GpsResourceManager));
    out.Resource = SerialResourceName(port);
    const QByteArray name = out.Resource.toLatin1();
    if (name.isEmpty() || lib.viOpen(c.Visa.GpsResourceManager, name.constData(), 0, 0, &c.Visa.GpsSession) !=
                              visa::VI_SUCCESS) {
        c.Visa.GpsSession = 0;
        return out;
    }
    if (!BaudIs9600(c, c.Visa.GpsSession)) {
        ShowError(c, QStringLiteral("ViRead GPS FAILED! Baud rate is not 9600"));
        return out;
    }
    // A receiver that cannot take the first sentence takes none; its dialog was shown once.
    for (const char* sentence : kSetupSentences)
        if (VisaWriteGps(c.Visa, c.Debug, QString::fromLatin1(sentence)) != visa::VI_SUCCESS)
            return out;
    WaitMs(c.Pump, kSetupWaitMs);
    lib.viFlush(c.Visa.GpsSession, visa::VI_READ_BUF_DISCARD);
    if (VisaWriteGps(c.Visa, c.Debug, QStringLiteral("PERDINFO")) != visa::VI_SUCCESS)
        return out;
    const std::optional<QByteArray> info = ReadShort(c, c.Visa.GpsSession);
    if (!info) {
        ShowError(c, QStringLiteral("ViRead GPS FAILED! could not read Info"));
        return out;
    }
    c.Debug.LogMessage(QStringLiteral("Info: viRead:  ") + QString::fromLatin1(*info));
    if (!info->contains("OPUS3PVT")) {
        ShowError(c, QStringLiteral("unknown gps receiver, eMD3620 required"));
        return out;
    }
    gps.GpsConnected = true;
    out.Connected = true;
    return out;
}

SerialConnectOutcome ConnectSerialAnalyser(ScpiContext& c, const QString& port)
{
    SerialConnectOutcome out;
    LoadVisaLibrary(c.Visa, c.Debug);
    DisconnectInstrument(c);
    VisaBackEnd& lib = *c.Visa.VisaLibrary;
    if (lib.viOpenDefaultRM(&c.Visa.VisaResourceManager) != visa::VI_SUCCESS) {
        c.Visa.VisaResourceManager = 0;
        ShowError(c, QStringLiteral("Visa OpenDefaultRM FAILED!"));
        return out;
    }
    c.Debug.LogMessage(QStringLiteral("Info: viOpenDefaultRM session: $") + Hex8(c.Visa.VisaResourceManager));
    out.Resource = SerialResourceName(port);
    const QByteArray name = out.Resource.toLatin1();
    if (name.isEmpty() ||
        lib.viOpen(c.Visa.VisaResourceManager, name.constData(), 0, 0, &c.Visa.VisaSession) != visa::VI_SUCCESS) {
        c.Visa.VisaSession = 0;
        c.Status.SetText(InstrumentStatus::kConnectionPanel, QStringLiteral("none"));
        return out;
    }
    // A library may hand out the number of a session whose link was lost before.
    c.Visa.LostLinks.erase(c.Visa.VisaSession);
    if (!BaudIs9600(c, c.Visa.VisaSession)) {
        ShowError(c, QStringLiteral("ViRead USBSER FAILED! Baud rate is not 9600"));
        return out;
    }
    // A serial line has no END: without a line end after each command the analyser never sees
    // one finish, so every write of this session ends with the termination character.
    lib.viSetAttribute(c.Visa.VisaSession, visa::VI_ATTR_ASRL_END_OUT, visa::VI_ASRL_END_TERMCHAR);
    WaitMs(c.Pump, kSetupWaitMs);
    VisaWriteString(c.Visa, c.Debug, QStringLiteral("*RST"));
    VisaWriteString(c.Visa, c.Debug, QStringLiteral("*IDN?"));
    WaitMs(c.Pump, kIdentifyWaitMs);
    std::optional<QByteArray> answer = ReadShort(c, c.Visa.VisaSession);
    if (!answer) {
        ShowError(c, QStringLiteral("ViRead USBSER FAILED! could not read Info"));
        return out;
    }
    c.Debug.LogMessage(QStringLiteral("Info: viRead:  ") + QString::fromLatin1(*answer));
    if (!answer->isEmpty())
        answer->chop(1); // the instrument's line end, as every identification drops it
    c.Status.SetText(InstrumentStatus::kConnectionPanel, out.Resource);
    c.Device.DeviceFamily = dfNone;
    const IdentificationResult id = IdentifyDevice(c.Device, c.Options, QString::fromLatin1(*answer));
    if (id.ModelPanel)
        c.Status.SetText(InstrumentStatus::kModelPanel, *id.ModelPanel);
    c.Device.DeviceConnected = true;
    out.Connected = true;
    out.UnsupportedMessage = id.UnsupportedMessage;
    return out;
}

SerialConnectOutcome ConnectSerial(ScpiContext& c, GpsReceiverState& gps, const QString& port)
{
    // A receiver or an analyser that keeps silent holds each read for the time-out; meanwhile
    // the window works, as it does while a connect to a networked analyser waits.
    PumpedWaits pumped(c);
    switch (c.Device.ConnectionKind) {
    case LinkKind::GpsReceiver: return ConnectGpsReceiver(c, gps, port);
    case LinkKind::SerialAnalyser: return ConnectSerialAnalyser(c, port);
    default: return {};
    }
}

QStringList GpsReceiverInfoLines(ScpiContext& c, const GpsReceiverState& gps)
{
    if (!gps.GpsConnected)
        return {};
    c.Visa.VisaLibrary->viFlush(c.Visa.GpsSession, visa::VI_READ_BUF_DISCARD);
    if (VisaWriteGps(c.Visa, c.Debug, QStringLiteral("PERDINFO")) != visa::VI_SUCCESS)
        return {};
    const std::optional<QByteArray> info = ReadShort(c, c.Visa.GpsSession);
    if (!info) {
        ShowError(c, QStringLiteral("ViRead GPS FAILED! could not read Info"));
        return {};
    }
    return {QString::fromLatin1(*info).trimmed()};
}

void PollGpsReceiver(ScpiContext& c, GpsReceiverState& gps)
{
    if (!gps.GpsConnected)
        return;
    c.Visa.VisaLibrary->viFlush(c.Visa.GpsSession, visa::VI_READ_BUF_DISCARD);
    // A failed write has stopped the logging and said so; there is nothing to read.
    if (VisaWriteGps(c.Visa, c.Debug, QStringLiteral("GPGPQ,RMC")) != visa::VI_SUCCESS)
        return;
    QByteArray answer;
    const ViStatus st = VisaReadAnswer(c.Visa, c.Visa.GpsSession, kReceiverReadBytes, &answer);
    // Stop ended the read: the operator has stopped the logging, nothing failed.
    if (st == visa::VI_ERROR_ABORT)
        return;
    if (st != visa::VI_SUCCESS) {
        StopLogging(c, QStringLiteral("ViRead GPS: could not read gps data!"));
        return;
    }
    GprmcDecode d = DecodeGprmc(answer);
    GpsDisplay& shown = gps.View.Display;
    switch (d.Result) {
    case GprmcDecode::Outcome::MissingValues:
        StopLogging(c, QStringLiteral("ViRead GPS NMEA: missing values ,try to connect GPS again!"));
        return;
    case GprmcDecode::Outcome::WrongSentence:
        StopLogging(c, QStringLiteral("ViRead GPS wrong NMEA: ") + d.SentenceName +
                           QStringLiteral(" try to connect GPS again!"));
        return;
    case GprmcDecode::Outcome::BadChecksum:
        // Line noise: nothing of it is a position, and the next tick reads again.
        shown.Status = GpsStatusText(false, false);
        shown.LatDec.clear();
        shown.LonDec.clear();
        c.Debug.LogMessage(QStringLiteral("Warning: GPS checksum error: ") + QString::fromLatin1(answer.trimmed()));
        return;
    case GprmcDecode::Outcome::Position: break;
    }

    if (gps.View.SimulateMoving && d.Latitude && gps.Random) {
        d.Longitude = *d.Longitude + gps.Random(1000) / 99999.0;
        d.Latitude = *d.Latitude + gps.Random(1000) / 99999.0;
        d.SpeedKnots = gps.Random(100);
        d.Display.LonDec = GpsDegreesText(*d.Longitude);
        d.Display.LatDec = GpsDegreesText(*d.Latitude);
        d.Display.Speed = GpsSpeedText(d.SpeedKnots);
    }
    const bool standing = gps.View.SkipNonMoving && d.SpeedKnots == 0;
    if (d.Latitude && !standing) {
        gps.View.Track.push_back({*d.Longitude, *d.Latitude});
        if (gps.View.Beep && gps.Beep)
            gps.Beep(2000, 300);
    }
    shown = d.Display;
    if (c.Debug.DebugMode)
        gps.View.Memo << QStringList{TimeText(c.Debug), shown.Utc, shown.Status, shown.LatDec, shown.Ns, shown.LonDec,
                                     shown.Ew, shown.Speed, shown.Date}
                             .join(QLatin1Char(';'));
}
