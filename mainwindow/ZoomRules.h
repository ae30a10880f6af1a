#ifndef ZENDRIK_MAINWINDOW_ZOOMRULES_H
#define ZENDRIK_MAINWINDOW_ZOOMRULES_H

#include <functional>

class DebugLog;
class MessageLog;
struct SmoothRangeStore;

// The rules the main window applies after the chart's rubber-band zoom, over plain axis values
// (kHz on the bottom axis, dBuV on the left one).

struct AxisRange {
    double Minimum = 0;
    double Maximum = 0;
    bool operator==(const AxisRange&) const = default;
};
struct ChartBounds {
    AxisRange Left;
    AxisRange Bottom;
    bool operator==(const ChartBounds&) const = default;
};

// The "Fader" tab: "fade" smooths the rectangle's range of the chosen set's corrected trace,
// "clr" undoes the smoothed ranges it touches; otherwise the rectangle zooms.
enum class FaderMode { Zoom, Fade, Clear };
// "fade" and "clr" exclude each other: ticking one unticks the other.
FaderMode FaderModeAfterClick(FaderMode current, FaderMode clicked, bool checkedNow);

// The smoothing routines of the chosen set's corrected trace, overlay and compensation, over a
// frequency range in kHz.
struct SetSmoothing {
    std::function<void(double fromX, double toX)> Smooth;
    std::function<void(double fromX, double toX)> Unsmooth;
};

struct ZoomRequest {
    ChartBounds Zoomed; // the axes as the rubber band left them (the rectangle)
    ChartBounds Frozen; // the axes at the mouse-down that began the rectangle
    FaderMode Fader = FaderMode::Zoom;
    bool ZoomY = false;             // "Zoom Y Axis"
    bool BottomLogarithmic = false; // "log"
};

struct ZoomOutcome {
    // Set each axis' pair in one step: between two single steps the pair may be inverted (a
    // rectangle inside one kHz rounds to a maximum below its minimum), which the axis refuses.
    ChartBounds Bounds;
    // A linear frequency axis gets labels 100 pixels apart and an increment of 50 kHz.
    bool FixLabelSpacing = false;
};

// The zoom handler's rules: the fader's work on the chosen set (its store of smoothed ranges and
// its smoothing routines), the level axis kept unless "Zoom Y Axis", whole kHz, and a span of at
// least 100 kHz. Debug lines go to debug, the operator's "Info:" lines to messages.
ZoomOutcome ApplyZoomRules(const ZoomRequest& request, SmoothRangeStore& store, const SetSmoothing& smoothing,
                           DebugLog& debug, MessageLog& messages);

// Undoing the zoom: the chart has restored its own range; in fade mode the view goes back to the
// frozen bounds instead. (The bottom axis' increment becomes automatic in either case.)
ChartBounds UndoZoomBounds(FaderMode fader, const ChartBounds& restored, const ChartBounds& frozen);

// "clear last": the last range leaves the store, undone first when it is still smoothed. Nothing
// happens to an empty store. True when the chart is to be repainted.
bool ClearLastSmoothRange(SmoothRangeStore& store, const SetSmoothing& smoothing, DebugLog& debug);

#endif
