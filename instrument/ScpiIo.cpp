#include "instrument/ScpiIo.h"

#include "app/NumberText.h"
#include "instrument/visa/VisaSession.h"

#include <cmath>

namespace scpiio {

void Send(ScpiContext& c, const QString& command) { ScpiWrite(c.Visa, c.Debug, command); }

void Send(ScpiContext& c, const QStringList& commands)
{
    for (const QString& command : commands)
        Send(c, command);
}

ScpiAnswer ReadReply(ScpiContext& c, bool keepLineEnd, ViStatus* status)
{
    QByteArray a;
    const ViStatus st = VisaReadAnswer(c.Visa, c.Visa.VisaSession, visa::kAnswerBufferSize, &a);
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
    if (VisaReadMultiLineAnswer(c.Visa, c.Visa.VisaSession, visa::kAnswerBufferSize, &a) != visa::VI_SUCCESS)
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

} // namespace scpiio
