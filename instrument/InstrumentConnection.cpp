#include "instrument/InstrumentConnection.h"

#include "app/Log.h"
#include "app/TextRoutines.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiIo.h"
#include "instrument/visa/VisaSession.h"
#include "platform/inifile/IniFile.h"

#include <QDir>
#include <QFile>
#include <array>

namespace {

QString Hex8(uint32_t v) { return QString::number(v, 16).toUpper().rightJustified(8, QLatin1Char('0')); }

void ShowError(ScpiContext& c, const QString& text)
{
    if (c.Visa.ShowErrorDialog)
        c.Visa.ShowErrorDialog(text);
}

// A fresh resource manager, after the last one and its instrument session are closed: a VXI-11
// instrument has only a few links, and a search or connect that left one open would use them up.
bool OpenResourceManager(ScpiContext& c)
{
    LoadVisaLibrary(c.Visa, c.Debug);
    DisconnectInstrument(c);
    c.Device.DeviceConnected = false;
    ViSession rm = 0;
    if (c.Visa.VisaLibrary->viOpenDefaultRM(&rm) != visa::VI_SUCCESS) {
        ShowError(c, QStringLiteral("Visa OpenDefaultRM FAILED!"));
        return false;
    }
    c.Visa.VisaResourceManager = rm;
    c.Debug.LogMessage(QStringLiteral("Info: viOpenDefaultRM session: $") + Hex8(rm));
    return true;
}

// Every part but the last of a list answer, one line each, with "|" as a blank.
QStringList OptionLines(const QString& answer, QChar separator)
{
    QString compact = answer;
    compact.remove(QLatin1Char(' '));
    const QStringList parts = compact.split(separator);
    QStringList lines;
    if (parts.size() < 3)
        return lines;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i)
        lines << QString(parts[i]).replace(QLatin1Char('|'), QLatin1Char(' '));
    return lines;
}

// A query whose answer is read as VisaReadReply does, without the line end; nothing when the
// read failed. Lists may come in several lines, which are read whole.
ScpiAnswer Ask(ScpiContext& c, const QString& query, bool multiLine = false)
{
    VisaWriteString(c.Visa, c.Debug, query);
    return multiLine ? scpiio::ReadMultiLineReply(c) : scpiio::ReadReply(c);
}

} // namespace

bool SearchUsbInstruments(ScpiContext& c, InstrumentList* list)
{
    list->Lines.clear();
    list->Resources.clear();
    if (!OpenResourceManager(c))
        return false;
    std::array<char, visa::kFindBufferLength> description{};
    ViFindList found = 0;
    ViUInt32 count = 0;
    if (c.Visa.VisaLibrary->viFindRsrc(c.Visa.VisaResourceManager, "USB?*", &found, &count, description.data()) !=
        visa::VI_SUCCESS) {
        ShowError(c, QStringLiteral("no usb device found!"));
        return false;
    }
    c.Debug.LogMessage(QStringLiteral("Info: viFindRsrc count: ") + QString::number(count));
    for (ViUInt32 i = 0; i < count; ++i) {
        if (i > 0) {
            description.fill(0);
            if (c.Visa.VisaLibrary->viFindNext(found, description.data()) != visa::VI_SUCCESS) {
                ShowError(c, QStringLiteral("no next device found!"));
                continue;
            }
        }
        description.back() = 0;
        const QString resource = QString::fromLatin1(description.data());
        list->Lines << QStringLiteral("Item ") + QString::number(i + 1) + QLatin1Char(' ') + resource;
        list->Resources << resource;
    }
    c.Visa.VisaLibrary->viClose(found);
    return true;
}

bool SearchTcpInstruments(InstrumentList* list)
{
    list->Lines.clear();
    list->Resources.clear();
    QStringList addresses;
    if (!GetLocalIpAddresses(addresses))
        return false;
    list->Lines = addresses;
    return true;
}

QString TcpResourceName(const QString& address) { return QStringLiteral("TCPIP0::") + address + QStringLiteral("::INSTR"); }

ConnectOutcome ConnectInstrument(ScpiContext& c, const QString& resource, bool openResourceManager)
{
    ConnectOutcome out;
    // The resource buffer of the VISA call holds 128 bytes with its terminating zero.
    const QByteArray name = resource.toLatin1().left(127);
    PumpedWaits pumped(c);
    if (openResourceManager && !OpenResourceManager(c))
        return out;
    if (name.isEmpty())
        return out;
    // A resource typed in before any search has no resource manager to open it with: it gets one
    // here, instead of an open that could only fail.
    if (c.Visa.VisaResourceManager == 0 && !OpenResourceManager(c))
        return out;
    LoadVisaLibrary(c.Visa, c.Debug);
    if (c.Visa.VisaSession != 0) {
        c.Visa.VisaLibrary->viClose(c.Visa.VisaSession);
        c.Visa.VisaSession = 0;
        c.Device.DeviceConnected = false;
    }
    ViSession session = 0;
    const ViStatus opened = c.Visa.VisaLibrary->viOpen(c.Visa.VisaResourceManager, name.constData(), 0, 0, &session);
    if (opened != visa::VI_SUCCESS) {
        // No analyser answers at this address: nothing may still look connected, and the operator
        // learns why (a typing fault, a switched-off analyser, a wrong network).
        c.Messages.Append(QStringLiteral("Error: could not open ") + QString::fromLatin1(name) + QStringLiteral(": ") +
                          c.Visa.VisaLibrary->OpenFailure(opened));
        c.Status.SetText(InstrumentStatus::kConnectionPanel, QStringLiteral("none"));
        c.Status.SetText(InstrumentStatus::kModelPanel, QString());
        return out;
    }
    c.Visa.VisaSession = session;
    // A library may hand out the number of a session whose link was lost before: the mark is
    // forgotten where a session opens, whoever closed the old one.
    c.Visa.LostLinks.erase(session);
    out.Opened = true;
    c.Status.SetText(InstrumentStatus::kConnectionPanel, QString::fromLatin1(name));
    c.Device.DeviceConnected = false;
    VisaWriteString(c.Visa, c.Debug, QStringLiteral("*IDN?"));
    ViStatus readStatus = visa::VI_SUCCESS;
    const ScpiAnswer idn = scpiio::ReadReply(c, false, &readStatus);
    c.Device.DeviceFamily = dfNone;
    if (!idn) {
        // Silence is no identification: the "0" a failed read gives is no answer, and a dead link
        // is not marked connected. The session is closed as if it never opened.
        // An answer that filled the whole read did come, but is no identification either.
        c.Messages.Append(readStatus == visa::VI_SUCCESS_MAX_CNT
                              ? QStringLiteral("Error: the answer to *IDN? from ") + QString::fromLatin1(name) +
                                    QStringLiteral(" is longer than ") + QString::number(visa::kAnswerBufferSize) +
                                    QStringLiteral(" bytes")
                              : QStringLiteral("Error: no answer to *IDN? from ") + QString::fromLatin1(name));
        c.Visa.VisaLibrary->viClose(c.Visa.VisaSession);
        c.Visa.VisaSession = 0;
        c.Status.SetText(InstrumentStatus::kConnectionPanel, QStringLiteral("none"));
        c.Status.SetText(InstrumentStatus::kModelPanel, QString());
        out.Opened = false;
        return out;
    }
    out.Answer = *idn;
    out.Identity = IdentifyDevice(c.Device, c.Options, out.Answer);
    if (out.Identity.ModelPanel)
        c.Status.SetText(InstrumentStatus::kModelPanel, *out.Identity.ModelPanel);
    c.Device.DeviceConnected = true;
    out.Identified = true;
    return out;
}

void DisconnectInstrument(ScpiContext& c)
{
    if (c.Visa.VisaResourceManager == 0)
        return;
    PumpedWaits pumped(c);
    CloseVisaSessions(c.Visa);
    c.Device.DeviceConnected = false;
    c.Status.SetText(InstrumentStatus::kConnectionPanel, QString());
    c.Status.SetText(InstrumentStatus::kModelPanel, QString());
}

FamilyControls ControlsForFamily(const DeviceState& d)
{
    FamilyControls f;
    f.VbwGroupEnabled = d.HasVbwChoice();
    switch (d.DeviceFamily) {
    case dfRigol:
        // A DSA offers both, an RSA neither.
        f.EmiZeroSpanEnabled = d.IsRigolDsa();
        f.MaxPeakEnabled = d.IsRigolDsa();
        break;
    case dfSiglent:
        f.EmiZeroSpanEnabled = true;
        f.MaxPeakEnabled = false;
        break;
    case dfRsFpc:
    case dfRsFph:
        f.EmiZeroSpanEnabled = false;
        f.MaxPeakEnabled = false;
        break;
    case dfHameg: // leaves them as they were
    case dfNone: break;
    }
    return f;
}

QString SendFreeCommand(ScpiContext& c, const QString& command)
{
    // The operator's text goes through the same 128-character buffer as every command. Its
    // answer is read as a block (every byte), whole even when it has several lines.
    VisaWriteString(c.Visa, c.Debug, command.left(128));
    // A command that asks nothing gets no answer, so the time-out of its read tells nothing of
    // the analyser; only a query's does.
    const bool silenceWasLoss = c.Visa.SilenceIsLoss;
    c.Visa.SilenceIsLoss = silenceWasLoss && command.contains(QLatin1Char('?'));
    QByteArray a;
    const ViStatus st = VisaReadMultiLineAnswer(c.Visa, c.Visa.VisaSession, visa::kAnswerBufferSize, &a);
    c.Visa.SilenceIsLoss = silenceWasLoss;
    if (st != visa::VI_SUCCESS)
        return {};
    return QString::fromLatin1(a);
}

QStringList InstrumentInfoLines(ScpiContext& c)
{
    QStringList lines;
    const QString idn = QStringLiteral("*IDN?");
    // An analyser that is gone is told once, by the command that met it, not in a box.
    if (VisaWriteString(c.Visa, c.Debug, idn) != visa::VI_SUCCESS) {
        if (!scpiio::LinkLost(c))
            ShowError(c, QStringLiteral("Visa ViWrite FAILED! "));
        return lines;
    }
    c.Debug.LogMessage(QStringLiteral("Info: viWrite:  ") + idn);
    c.Debug.LogMessage(QStringLiteral("Info: my_retCnt:  ") + QString::number(idn.size()));
    const ScpiAnswer answer = scpiio::ReadReply(c);
    if (!answer) {
        if (!scpiio::LinkLost(c))
            ShowError(c, QStringLiteral("Visa ViRead FAILED!"));
        return lines;
    }
    lines << *answer;
    switch (c.Device.InfoOptionsQuery()) {
    case OptionsQuery::RigolOptions:
        if (const ScpiAnswer a = Ask(c, QStringLiteral("SYST:OPT?"), true))
            lines << OptionLines(*a, QLatin1Char('\n'));
        break;
    case OptionsQuery::SiglentConfiguration:
        if (const ScpiAnswer a = Ask(c, QStringLiteral("SYST:OPT?")))
            lines << QStringLiteral("Option: ") + *a;
        if (const ScpiAnswer a = Ask(c, QStringLiteral(":SYSTem:CONFigure:SYSTem?")))
            lines << OptionLines(*a, QLatin1Char(','));
        break;
    case OptionsQuery::RsOptions:
        if (const ScpiAnswer a = Ask(c, QStringLiteral("*OPT?"), true))
            lines << OptionLines(*a, QLatin1Char('\n'));
        break;
    case OptionsQuery::None: break;
    }
    return lines;
}

QStringList InstrumentStatusLines(ScpiContext& c)
{
    QStringList lines;
    // A read that failed says so: its "0" looked like a healthy instrument.
    auto ask = [&](const QString& query, const QString& label) {
        // Nothing more is asked of an analyser that is gone: the caller says so once.
        if (scpiio::LinkLost(c))
            return;
        VisaWriteString(c.Visa, c.Debug, query);
        ViStatus st = visa::VI_SUCCESS;
        const ScpiAnswer a = scpiio::ReadReply(c, false, &st);
        lines << label + (a ? *a : QStringLiteral("no answer (status $") + Hex8(static_cast<uint32_t>(st)) + ")");
    };
    ask(QStringLiteral(":SYST:ERR?"), QStringLiteral("ERR:"));
    if (c.Debug.DebugMode) {
        ask(QStringLiteral("*STB?"), QStringLiteral("STB:"));
        ask(QStringLiteral("*ESE?"), QStringLiteral("ESE:"));
        ask(QStringLiteral("*ESR?"), QStringLiteral("ESR:"));
    }
    if (c.Device.IsRigol()) {
        if (const ScpiAnswer a = Ask(c, QStringLiteral(":SYSTem:CONFigure:MESSage?"), true)) {
            lines << QStringLiteral("system messages:");
            QString compact = *a;
            compact.remove(QLatin1Char(' '));
            for (const QString& entry : compact.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                lines << QString(entry).replace(QLatin1Char('|'), QLatin1Char(' '));
        }
    }
    return lines;
}

QString VisaVersionText(VisaState& visa)
{
    const QString none = QStringLiteral("Visa: No version specification");
    if (!visa.VisaLibrary)
        return none;
    ViSession rm = visa.VisaResourceManager;
    const bool temporary = rm == 0;
    if (temporary && visa.VisaLibrary->viOpenDefaultRM(&rm) != visa::VI_SUCCESS)
        return none;
    ViUInt32 version = 0;
    const ViStatus st = visa.VisaLibrary->viGetAttribute(rm, visa::VI_ATTR_RSRC_IMPL_VERSION, &version);
    if (temporary)
        visa.VisaLibrary->viClose(rm);
    if (st != visa::VI_SUCCESS)
        return none;
    // VISA packs the version as 12 bits major, 12 bits minor and 8 bits sub-minor; there is no
    // build number, so the fourth number is 0.
    return QStringLiteral("Visa: %1.%2.%3.0").arg(version >> 20).arg((version >> 8) & 0xFFF).arg(version & 0xFF);
}

QString ReadInstrumentAddress(const QString& folder, QString* refused)
{
    const IniFile ini(QDir(folder).filePath(QString::fromLatin1(kIpIniFile)));
    if (refused != nullptr)
        *refused = ini.LoadError();
    return ini.ReadString(QString::fromLatin1(kIpIniSection), QString::fromLatin1(kIpIniKey),
                          QStringLiteral("xxx.xxx.xxx.xxx"));
}

bool WriteInstrumentAddress(const QString& folder, const QString& address, QString* error)
{
    IniFile ini(QDir(folder).filePath(QString::fromLatin1(kIpIniFile)));
    ini.Clear();
    ini.WriteString(QString::fromLatin1(kIpIniSection), QString::fromLatin1(kIpIniKey), address);
    return ini.UpdateFile(error);
}
