#include "instrument/ScpiIo.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/visa/VisaSession.h"

#include <cmath>

namespace scpiio {

void Send(ScpiContext& c, const QString& command)
{
    ScpiWrite(c.Visa, c.Debug, command);
    LinkLost(c);
}

void Send(ScpiContext& c, const QStringList& commands)
{
    for (const QString& command : commands)
        Send(c, command);
}

namespace {

const FamilyTexts* TextsOf(const PerFamily& texts, DeviceFamilyCode family)
{
    switch (family) {
    case dfRigol: return &texts.rigol;
    case dfSiglent: return &texts.siglent;
    case dfHameg: return &texts.hameg;
    case dfRsFpc: return &texts.fpc;
    case dfRsFph: return &texts.fph;
    case dfNone: return nullptr;
    }
    return nullptr;
}

} // namespace

void SendFor(ScpiContext& c, const PerFamily& texts)
{
    const FamilyTexts* own = TextsOf(texts, c.Device.DeviceFamily);
    // A chain of families given each other's texts ends within as many steps as there are
    // families, unless it is a ring, which has no texts to send and says so.
    for (size_t step = 0; own && own->sameAs != dfNone && step < std::size(kDeviceFamilies); ++step)
        own = TextsOf(texts, own->sameAs);
    if (own && own->sameAs != dfNone)
        c.Messages.Append(QStringLiteral("Error: the command texts of analyser family ") +
                          QString::number(c.Device.DeviceFamily) +
                          QStringLiteral(" are another's in a ring, none sent"));
    else if (own)
        Send(c, own->commands);
}

ScpiAnswer ReadReply(ScpiContext& c, bool keepLineEnd, ViStatus* status)
{
    QByteArray a;
    const ViStatus st = VisaReadAnswer(c.Visa, c.Visa.VisaSession, visa::kAnswerBufferSize, &a);
    LinkLost(c);
    if (status)
        *status = st;
    if (st != visa::VI_SUCCESS)
        return std::nullopt;
    if (!keepLineEnd && !a.isEmpty())
        a.chop(1);
    return QString::fromLatin1(a);
}

ScpiAnswer ReadMultiLineReply(ScpiContext& c)
{
    QByteArray a;
    const ViStatus st = VisaReadMultiLineAnswer(c.Visa, c.Visa.VisaSession, visa::kAnswerBufferSize, &a);
    LinkLost(c);
    if (st != visa::VI_SUCCESS)
        return std::nullopt;
    if (!a.isEmpty())
        a.chop(1);
    return QString::fromLatin1(a);
}

std::optional<double> AnswerNumber(const QString& answer)
{
    const QString t = answer.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    const std::optional<double> v = ParseMachine(t);
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

bool LinkLost(ScpiContext& c)
{
    if (!VisaLinkLost(c.Visa))
        return false;
    if (c.Device.DeviceConnected) {
        c.Device.DeviceConnected = false;
        c.Status.SetText(InstrumentStatus::kConnectionPanel, QString());
    }
    return true;
}

bool QuietFailure(ScpiContext& c, ViStatus status) { return status == visa::VI_ERROR_ABORT || LinkLost(c); }

} // namespace scpiio
