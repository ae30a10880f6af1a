#ifndef ZENDRIK_MAINWINDOW_MAINMODE_H
#define ZENDRIK_MAINWINDOW_MAINMODE_H

#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

// The three views that share the main window ("EMC", "RF Coverage", "Generator").
enum class MainMode : int32_t { Emc = 1, Coverage = 2, Generator = 3 };

// Which frame lies over the main chart in a mode ("EMC", "RF Coverage", "Generator").
struct ModeFrames {
    bool CoverageVisible = false; // Frame141
    bool GeneratorVisible = false; // Frame131
};
ModeFrames FramesOfMode(MainMode mainMode);

// The arrow keys step the generator by hand while the generator view owns the window, unless
// the cursor is in one of its two memos (where the arrows move the cursor).
enum class ManualStep { None, AmplitudeUp, AmplitudeDown, FrequencyDown, FrequencyUp };
struct ArrowKeyOutcome {
    ManualStep Step = ManualStep::None;
    // The key is taken from the focused control: a step was made.
    bool Consumed = false;
    // "key: " + the arrow's debug text, written for every key in the generator mode.
    std::optional<QString> DebugLine;
};
ArrowKeyOutcome ArrowKeyInMainWindow(MainMode mainMode, bool memoFocused, int qtKey);

// The window's smallest size outside the small-screen layout.
inline constexpr QSize kMainWindowMinimumSize{1340, 706};
// Resizing lays both frames over the client area above the status bar; the small-screen layout
// (switch "s") keeps its frames as they are.
std::optional<QSize> FrameSizeAfterResize(bool smallScreen, QSize clientSize, int statusBarHeight);

// The folder dialog counts its folder changes; the second one closes it (and starts the count
// again).
bool FolderChangeClosesDialog(int32_t& counter);

#endif
