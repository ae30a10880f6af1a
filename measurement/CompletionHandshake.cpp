#include "measurement/CompletionHandshake.h"

#include "app/Log.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "measurement/MeasurementState.h"
#include "measurement/ModeRunner.h"
#include "platform/system/EventPump.h"

#include <algorithm>

namespace {

constexpr uint32_t kPollIntervalMs = 1000;

// Measures how long the reads of a poll have failed in a row.
class FailureClock {
public:
    explicit FailureClock(EventPump& pump) : pump_(pump) {}
    // True once reads have failed for kPollGiveUpMs.
    bool Failed()
    {
        const uint32_t now = pump_.TickCount();
        if (!failing_) {
            failing_ = true;
            since_ = now;
        }
        return now - since_ >= kPollGiveUpMs;
    }
    void Answered() { failing_ = false; }

private:
    EventPump& pump_;
    bool failing_ = false;
    uint32_t since_ = 0;
};

// Nothing more can reach the analyser: one line, unless Stop came first (the run ends anyway).
HandshakeEnd LinkGone(const std::function<void(const QString&)>& abort, const MeasurementState& state)
{
    if (!state.StopRequested)
        abort(QString::fromLatin1(kLinkLostLine));
    return HandshakeEnd::LinkLost;
}

HandshakeEnd GiveUp(const std::function<void(const QString&)>& abort)
{
    abort(QStringLiteral("Error: no answer to the completion poll for ") + QString::number(kPollGiveUpMs / 1000) +
                 QStringLiteral(" s, measurement stopped"));
    return HandshakeEnd::NoAnswer;
}

// A sweep the analyser never reports the end of would hold the run for good: the program knows
// how long the sweep it set takes.
class SweepClock {
public:
    SweepClock(EventPump& pump, uint32_t boundMs) : pump_(pump), since_(pump.TickCount()), boundMs_(boundMs) {}
    bool Over() const { return pump_.TickCount() - since_ >= boundMs_; }
    HandshakeEnd End(const std::function<void(const QString&)>& abort) const
    {
        abort(QStringLiteral("Error: the analyser reported no end of its sweep within ") +
              QString::number((boundMs_ + 999) / 1000) + QStringLiteral(" s, measurement stopped"));
        return HandshakeEnd::NoSweepEnd;
    }

private:
    EventPump& pump_;
    uint32_t since_;
    uint32_t boundMs_;
};

} // namespace

std::optional<int> LeadingInteger(const QString& answer)
{
    int i = 0;
    while (i < answer.size() && answer[i] == QLatin1Char(' '))
        ++i;
    const int start = i;
    int64_t v = 0;
    while (i < answer.size() && answer[i] >= QLatin1Char('0') && answer[i] <= QLatin1Char('9') && i - start < 9)
        v = v * 10 + (answer[i++].unicode() - '0');
    if (i == start)
        return std::nullopt;
    return static_cast<int>(v);
}

uint32_t SweepEndBoundMs(const DeviceState& device, double expectedMs)
{
    constexpr double kPlanMarginMs = 3000;
    const double ms = std::max(expectedMs, 0.0) + std::max(device.SweepWaitMarginMs, 0) + kPlanMarginMs;
    return static_cast<uint32_t>(std::min(ms, static_cast<double>(UINT32_MAX)));
}

HandshakeEnd RsaCompletionHandshake(PassContext& pass, uint32_t boundMs)
{
    ScpiContext& c = pass.Scpi;
    FailureClock clock(c.Pump);
    int counter = 0;
    int value = 0;
    scpiio::Send(c, QStringLiteral("*CLS;*OPC"));
    if (scpiio::LinkLost(c))
        return LinkGone(pass.AbortRun, pass.State);
    const SweepClock sweep(c.Pump, boundMs);
    for (;;) {
        c.Pump.ProcessEvents();
        if (pass.State.StopRequested)
            return HandshakeEnd::Stopped;
        scpiio::Send(c, QStringLiteral("*ESR?"));
        WaitMs(c.Pump, kPollIntervalMs);
        const ScpiAnswer a = scpiio::ReadReply(c, true);
        if (scpiio::LinkLost(c))
            return LinkGone(pass.AbortRun, pass.State);
        ++counter;
        c.Debug.LogMessage(QStringLiteral("#:") + QString::number(counter) + QStringLiteral(":ESR=") + a.value_or(QString()));
        // A number that is no number leaves the previous value, as the analyser's last word.
        const std::optional<int> v = a ? LeadingInteger(*a) : std::nullopt;
        if (!v) {
            if (clock.Failed())
                return GiveUp(pass.AbortRun);
        } else {
            clock.Answered();
            value = *v;
            if (value & 1)
                return HandshakeEnd::Complete;
        }
        if (sweep.Over())
            return sweep.End(pass.AbortRun);
    }
}

HandshakeEnd ReceiverCompletionHandshake(PassContext& pass, uint32_t firstWaitMs, uint32_t boundMs)
{
    return ReceiverCompletionHandshake(HandshakeLink{pass.Scpi, pass.State, pass.AbortRun, boundMs}, firstWaitMs);
}

HandshakeEnd ReceiverCompletionHandshake(const HandshakeLink& link, uint32_t firstWaitMs)
{
    ScpiContext& c = link.Scpi;
    FailureClock clock(c.Pump);
    scpiio::Send(c, QStringLiteral("*ESE 1"));
    ScpiSingleSweep(c);
    scpiio::Send(c, QStringLiteral("*ESR?"));
    if (scpiio::LinkLost(c))
        return LinkGone(link.Abort, link.State);
    WaitMs(c.Pump, firstWaitMs);
    scpiio::ReadReply(c);
    const SweepClock sweep(c.Pump, link.BoundMs);
    for (;;) {
        c.Pump.ProcessEvents();
        if (link.State.StopRequested)
            return HandshakeEnd::Stopped;
        if (scpiio::LinkLost(c))
            return LinkGone(link.Abort, link.State);
        scpiio::Send(c, QStringLiteral("*OPC;*ESR?"));
        WaitMs(c.Pump, kPollIntervalMs);
        const ScpiAnswer a = scpiio::ReadReply(c);
        QString text = a.value_or(QString());
        if (text.isEmpty()) {
            c.Debug.LogMessage(QStringLiteral("ESR=") + text + QStringLiteral(" error in ESR, simulate ESR=0"));
            text = QStringLiteral("0");
        }
        const std::optional<int> v = LeadingInteger(text);
        if (!a || !v) {
            if (clock.Failed())
                return GiveUp(link.Abort);
        } else {
            clock.Answered();
        }
        const int value = v.value_or(0);
        if (value & 4)
            c.Debug.LogMessage(QStringLiteral("SCPI:Query Error"));
        if (value & 8)
            c.Debug.LogMessage(QStringLiteral("SCPI:Device-dependent Error"));
        if (value & 16)
            c.Debug.LogMessage(QStringLiteral("SCPI:Execution Error"));
        if (value & 32)
            c.Debug.LogMessage(QStringLiteral("SCPI:Command Error"));
        if (value & 1)
            return HandshakeEnd::Complete;
        if (sweep.Over())
            return sweep.End(link.Abort);
    }
}
