#include "instrument/ReferenceLevel.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/PlausibleRanges.h"
#include "instrument/ScpiContext.h"
#include "instrument/ScpiIo.h"
#include "instrument/visa/VisaSession.h"

#include <algorithm>
#include <charconv>
#include <limits>

QString ReferenceLevelCommand(double levelDbm)
{
    // Fifteen significant digits: an answer of "-20.3" stepped by 10 is sent as "-10.3", not as
    // the last binary digit of the sum.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, levelDbm, std::chars_format::general, 15);
    return QStringLiteral("DISP:WIND:TRAC:Y:RLEV ") + QString::fromLatin1(buf, res.ptr - buf);
}

std::optional<double> StepReferenceLevel(ScpiContext& c, int32_t& refLevelDbm, RefLevelArrow arrow)
{
    ScpiWrite(c.Visa, c.Debug, QStringLiteral(":UNIT:POW DBM"));
    ScpiWrite(c.Visa, c.Debug, QStringLiteral("DISP:WIND:TRAC:Y:RLEV?"));
    const QString answer = VisaReadBlock(c.Visa).trimmed();
    c.Debug.LogMessage(QStringLiteral("@UPDOWNCLICKRLEVEL ") + answer);

    std::optional<double> sent;
    std::optional<double> level = scpiio::AnswerNumber(answer);
    // A level no analyser holds (1e308 from a damaged answer) would be sent back stepped and kept
    // as the option.
    if (level && !plausible::kAnalyserDbm.Holds(*level)) {
        c.Messages.Append(QStringLiteral("Error: the analyser sent a reference level of ") + answer +
                          QStringLiteral(" dBm; the reference level is refused"));
        level.reset();
    }
    if (level) {
        const double next = arrow == RefLevelArrow::Down ? *level + 10.0 : *level - 10.0;
        const int64_t rounded = RoundHalfEven(next);
        refLevelDbm = static_cast<int32_t>(std::clamp<int64_t>(rounded, std::numeric_limits<int32_t>::min(),
                                                               std::numeric_limits<int32_t>::max()));
        ScpiWrite(c.Visa, c.Debug, ReferenceLevelCommand(next));
        sent = next;
    }
    ScpiWrite(c.Visa, c.Debug, QStringLiteral(":UNIT:POW DBUV"));
    return sent;
}
