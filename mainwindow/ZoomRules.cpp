#include "mainwindow/ZoomRules.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "measurement/SmoothRangeStore.h"

namespace {

constexpr double kSmallestSpanKhz = 100;

bool Overlaps(const SmoothRange& range, double from, double to)
{
    return range.FromX <= to && range.ToX >= from;
}

void Fade(SmoothRangeStore& store, double from, double to, const SetSmoothing& smoothing, DebugLog& debug,
          MessageLog& messages)
{
    for (int32_t n = 1; n <= store.Count; ++n) {
        const SmoothRange& range = store.Range(n);
        if (range.State != -1 && Overlaps(range, from, to)) {
            debug.LogMessage(QStringLiteral("fade in fade not possible"));
            return;
        }
    }
    // A range that cannot be recorded could never be undone, and "clear last" would undo the
    // last recorded one in its place: a full store refuses the rectangle.
    if (store.Full()) {
        messages.Append(QStringLiteral("Info: fade not possible, %1 smoothed ranges stored").arg(store.Count));
        return;
    }
    ++store.Count;
    store.Range(store.Count) = SmoothRange{1, from, to};
    debug.LogMessage(QStringLiteral("smooth index: ") + QString::number(store.Count));
    if (smoothing.Smooth)
        smoothing.Smooth(from, to);
}

void Unfade(SmoothRangeStore& store, double from, double to, const SetSmoothing& smoothing, DebugLog& debug)
{
    for (int32_t n = 1; n <= store.Count; ++n) {
        SmoothRange& range = store.Range(n);
        if (range.State == 1 && Overlaps(range, from, to)) {
            if (smoothing.Unsmooth)
                smoothing.Unsmooth(range.FromX, range.ToX);
            range.State = -1;
            debug.LogMessage(QStringLiteral("unsmooth graph index: ") + QString::number(n));
        }
    }
}

} // namespace

FaderMode FaderModeAfterClick(FaderMode current, FaderMode clicked, bool checkedNow)
{
    if (checkedNow)
        return clicked;
    return current == clicked ? FaderMode::Zoom : current;
}

ZoomOutcome ApplyZoomRules(const ZoomRequest& request, SmoothRangeStore& store, const SetSmoothing& smoothing,
                           DebugLog& debug, MessageLog& messages)
{
    ZoomOutcome out;
    ChartBounds b = request.Zoomed;
    const double from = request.Zoomed.Bottom.Minimum;
    const double to = request.Zoomed.Bottom.Maximum;
    if (request.Fader != FaderMode::Zoom) {
        // The rectangle marks a range of the trace; the view stays as it was.
        b = request.Frozen;
        if (request.Fader == FaderMode::Fade)
            Fade(store, from, to, smoothing, debug, messages);
        else
            Unfade(store, from, to, smoothing, debug);
    }
    if (!request.ZoomY)
        b.Left = request.Frozen.Left;

    b.Bottom.Maximum = static_cast<double>(RoundHalfEven(b.Bottom.Maximum));
    b.Bottom.Minimum = static_cast<double>(RoundHalfEven(b.Bottom.Minimum));
    const double span = b.Bottom.Maximum - b.Bottom.Minimum;
    debug.LogMessage(QStringLiteral("OnZoom--> Zooming Span:") + FloatToStr(span));
    if (span >= kSmallestSpanKhz) {
        debug.LogMessage(QStringLiteral("OnZoom--> Zooming: ok"));
        out.FixLabelSpacing = !request.BottomLogarithmic;
    } else {
        debug.LogMessage(QStringLiteral("OnZoom--> Zooming: nok"));
        b.Bottom.Maximum = b.Bottom.Minimum + kSmallestSpanKhz;
        messages.Append(QStringLiteral("Info: maximum zoom reached at 100kHz"));
    }
    out.Bounds = b;
    return out;
}

ChartBounds UndoZoomBounds(FaderMode fader, const ChartBounds& restored, const ChartBounds& frozen)
{
    return fader == FaderMode::Fade ? frozen : restored;
}

bool ClearLastSmoothRange(SmoothRangeStore& store, const SetSmoothing& smoothing, DebugLog& debug)
{
    if (store.Count <= 0) {
        debug.LogMessage(QStringLiteral("unsmooth manual: nothing to do"));
        return false;
    }
    const SmoothRange& last = store.Range(store.Count);
    if (last.State != -1 && smoothing.Unsmooth)
        smoothing.Unsmooth(last.FromX, last.ToX);
    --store.Count;
    debug.LogMessage(QStringLiteral("unsmooth manual index: ") + QString::number(store.Count));
    return true;
}
