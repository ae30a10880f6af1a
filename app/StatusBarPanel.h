#ifndef ZENDRIK_APP_STATUSBARPANEL_H
#define ZENDRIK_APP_STATUSBARPANEL_H

#include <cstddef>
#include <cstdint>

// The panels of the main window's status bar, left to right. The instrument fills two of them
// before the window exists, so they are named here, below both.
enum class StatusBarPanel : uint8_t {
    Connection, // the instrument's resource, "none" when the connection failed
    Spare,      // never written
    Hint,       // the parameter grid's hint
    Model,      // the identified analyser
    Settings,   // the instrument settings last sent
    Memory,     // memory figures, or the screen and window sizes in debug mode
    Version,    // the program's version
    Clock,      // the time of day
    Generator,  // the tracking generator's output while it is, or may be, on
};
inline constexpr size_t kStatusBarPanelCount = 9;

constexpr size_t PanelIndex(StatusBarPanel panel)
{
    return static_cast<size_t>(panel);
}

#endif
