#ifndef ZENDRIK_MAINWINDOW_STATUSLINE_H
#define ZENDRIK_MAINWINDOW_STATUSLINE_H

#include <QSize>
#include <QString>
#include <QTime>
#include <cstdint>
#include <functional>
#include <vector>

struct InstrumentSettingsEcho;
struct MeasurementState;

// The settings panel: the instrument settings last sent, empty texts left out, in the order start,
// stop, centre, span, bandwidth, detector, sweep time, preamplifier.
QString SettingsEchoText(const InstrumentSettingsEcho& echo);
// The memory panel: total and available memory in MB with thousands dots and the percentage in
// use ("15.923MB :7.412MB :53"); a total that could not be read shows 0 % in use.
QString MemoryText(uint64_t totalBytes, uint64_t availableBytes);
// The memory panel in debug mode: the first screen's size and the window's ("1920x1080--1340x706").
QString ScreenSizesText(QSize screen, QSize window);
// The clock panel: the time of day followed by seven blanks.
QString TimeOfDayText(QTime now);
// The "time left" label: hours (as many as there are, at least two digits), minutes and seconds,
// with "*" while the last corrected point came from the master curve in debug mode.
QString RemainingTimeText(uint32_t seconds, bool masterCurveMark = false);

// A status panel's text shortened to the width it has, measured by widthOf: the longest start that
// fits with "..." after it, cut between words where one fits, else after a separator (":", "::"),
// never inside a number, so that no number shows cut. The whole text when it fits.
QString ElideStatusText(const QString& text, int width, const std::function<int(const QString&)>& widthOf);

// The widths a status line gives its panels. Each asks for its design width or its whole text,
// whichever is more; short of room, the panels first give up what their texts leave free, then,
// lowest GivesWay first, what they need for their whole texts, down to Least each.
struct StatusPanelRoom {
    int Design = 0;
    int Text = 0;  // the whole text
    int Least = 0; // "..."
    int GivesWay = 0;
};
std::vector<int> AllotStatusPanelWidths(const std::vector<StatusPanelRoom>& panels, int available);

// Where the once-a-second tick takes the clock, the memory figures and, in debug mode, the
// screen and window sizes. The window fills the last two; tests replace all of them.
struct StatusLineSources {
    std::function<QTime()> Now;
    std::function<uint64_t()> TotalMemory;
    std::function<uint64_t()> AvailableMemory;
    std::function<QSize()> ScreenSize;
    std::function<QSize()> WindowSize;
};
// The clock and the memory figures of this machine; no screen or window.
StatusLineSources SystemStatusSources();

struct StatusLineTexts {
    QString SettingsPanel;
    QString MemoryPanel;
    QString ClockPanel;
    QString TimeLeft;      // Label5
};

// One tick of the status line: counts the remaining run time down by a second unless the run is
// paused, and gives the texts of the three panels and of the countdown.
StatusLineTexts StatusLineTick(const InstrumentSettingsEcho& echo, MeasurementState& run, bool debugMode,
                               const StatusLineSources& sources);

#endif
