#include "tools/sim/SimStreamSession.h"

#include "tools/sim/SimInstrument.h"

namespace {
constexpr qsizetype kMaxMessage = 1 << 20;
constexpr int kThawPollMs = 20;
}

SimStreamSession::SimStreamSession(SimInstrument& inst, QString transport, Writer write, Closer close,
                                   QObject* parent)
    : QObject(parent), inst_(inst), transport_(std::move(transport)), write_(std::move(write)), close_(std::move(close))
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SimStreamSession::Flush);
    thaw_.setInterval(kThawPollMs);
    connect(&thaw_, &QTimer::timeout, this, [this] {
        if (inst_.Frozen())
            return;
        thaw_.stop();
        Receive({});
    });
}

void SimStreamSession::Hold()
{
    if (!thaw_.isActive())
        thaw_.start();
}

void SimStreamSession::Receive(const QByteArray& bytes)
{
    if (closed_)
        return;
    input_.append(bytes);
    // A peer that never ends its line must not grow the buffer without bound.
    if (input_.size() > kMaxMessage && input_.indexOf('\n') < 0) {
        inst_.Execute(input_.left(64) + "...", transport_);
        input_.clear();
        return;
    }
    qsizetype nl;
    while ((nl = input_.indexOf('\n')) >= 0) {
        if (inst_.Frozen()) {
            Hold();
            return;
        }
        QByteArray message = input_.left(nl);
        input_.remove(0, nl + 1);
        if (message.endsWith('\r'))
            message.chop(1);
        if (message.trimmed().isEmpty())
            continue;
        const SimReply r = inst_.Execute(message, transport_);
        if (r.dropLink) {
            closed_ = true;
            queue_.clear();
            close_();
            return;
        }
        if (!r.bytes.isEmpty())
            queue_.push_back({r.bytes, r.readyAtMs});
    }
    Flush();
}

void SimStreamSession::Flush()
{
    if (inst_.Frozen()) {
        Hold();
        return;
    }
    while (!queue_.empty() && !closed_) {
        const int64_t wait = inst_.Clock().RealMsUntil(queue_.front().readyAtMs);
        if (wait > 0) {
            timer_.start(static_cast<int>(std::min<int64_t>(wait, 1 << 30)));
            return;
        }
        write_(queue_.front().bytes);
        queue_.pop_front();
    }
}
