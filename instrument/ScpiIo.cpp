#include "instrument/ScpiIo.h"

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

void SendFor(ScpiContext& c, const PerFamily& texts)
{
    switch (c.Device.DeviceFamily) {
    case dfRigol: Send(c, texts.rigol.commands); break;
    case dfSiglent: Send(c, texts.siglent.commands); break;
    case dfHameg: Send(c, texts.hameg.commands); break;
    case dfRsFpc: Send(c, texts.fpc.commands); break;
    case dfRsFph: Send(c, texts.fph.commands); break;
    case dfNone: break;
    }
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
