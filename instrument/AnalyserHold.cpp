#include "instrument/AnalyserHold.h"

#include "app/Log.h"
#include "instrument/ScpiContext.h"

AnalyserHolder HolderOf(const ScpiContext& c)
{
    return c.Hold != nullptr && c.Hold->Holder ? c.Hold->Holder() : AnalyserHolder::Nobody;
}

AnalyserHolder OtherHolderOf(const ScpiContext& c, AnalyserHolder own)
{
    const AnalyserHolder holder = HolderOf(c);
    return holder == own ? AnalyserHolder::Nobody : holder;
}

QString HolderName(AnalyserHolder holder)
{
    switch (holder) {
    case AnalyserHolder::Nobody: break;
    case AnalyserHolder::EmissionRun: return QStringLiteral("a run");
    case AnalyserHolder::PeakRemeasurement: return QStringLiteral("the peak re-measurement");
    case AnalyserHolder::Generator: return QStringLiteral("the generator");
    case AnalyserHolder::CoverageLogging: return QStringLiteral("the coverage logging");
    }
    return {};
}

QString HeldLine(AnalyserHolder holder, const QString& what)
{
    return QStringLiteral("Warning: ") + what + QStringLiteral(", the analyser is in use by ") + HolderName(holder)
           + QStringLiteral(": stop it first");
}

QString RefuseWhileHeld(ScpiContext& c, const QString& what, AnalyserHolder own)
{
    const AnalyserHolder holder = OtherHolderOf(c, own);
    if (holder == AnalyserHolder::Nobody)
        return {};
    const QString line = HeldLine(holder, what);
    c.Messages.Append(line);
    return line;
}
