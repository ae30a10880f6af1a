#ifndef ZENDRIK_MAINWINDOW_COLORSETTINGS_H
#define ZENDRIK_MAINWINDOW_COLORSETTINGS_H

#include "chart/canvas/PlotColor.h"

#include <QString>
#include <array>
#include <cstdint>

// The operator's colours of traces, limit lines, corrections, peak marks, crosshair and chart
// background, in the order ".\emc_color.ini" writes them.
enum class ColorSlot : int {
    Ser1,       // raw trace of set 1
    Ser2,       // limit line of set 1 and its margin line
    Ser3,       // cable correction
    Ser4,       // LISN/attenuator correction
    Ser5,       // limit line of set 2 and its margin line
    Ser6,       // the table editor's preview curve
    Ser7,       // corrected trace of set 1, its segment marks, marker flags and read-out
    Ser8,       // raw trace of set 2
    Ser9,       // corrected trace of set 2, its segment marks, marker flags and read-out
    Ser10,      // amplifier correction
    Ser11,      // antenna correction
    Marker11,   // peak circles of set 1
    Cross,      // crosshair and harmonic lines
    ChartBG,    // back wall of the main chart and of the coverage view's charts
    Marker12,   // peak circles of set 2
    Marker21,   // re-measure crosses of set 1
    Marker22,   // re-measure crosses of set 2
    Trace1Seg1, // stored trace 1 of set 1
    Trace1Seg2, // stored trace 1 of set 2
    Trace2Seg1, // stored trace 2 of set 1
    Trace2Seg2, // stored trace 2 of set 2
    Trace3Seg1, // stored trace 3 of set 1
    Trace3Seg2, // stored trace 3 of set 2
};
inline constexpr int kColorSlotCount = 23;

// One colour of the file and of the dialog.
struct ColorKey {
    const char* Key;       // file key in section "Colors"
    const char* Caption;   // the dialog panel's caption
    const char* PanelName; // the dialog panel's designer name
    TColor ReadDefault;    // when the file lacks the key
    TColor ResetDefault;   // after "Set to Default"
};
// Indexed by ColorSlot.
const std::array<ColorKey, kColorSlotCount>& ColorKeys();
inline const ColorKey& KeyOf(ColorSlot slot) { return ColorKeys()[static_cast<size_t>(slot)]; }

// A set of slots, one bit per slot.
using ColorSlotMask = uint32_t;
inline constexpr ColorSlotMask kAllColorSlots = (ColorSlotMask{1} << kColorSlotCount) - 1;
inline constexpr ColorSlotMask MaskOf(ColorSlot slot) { return ColorSlotMask{1} << static_cast<int>(slot); }

struct ColorSettings {
    std::array<TColor, kColorSlotCount> Values{};

    TColor operator[](ColorSlot slot) const { return Values[static_cast<size_t>(slot)]; }
    TColor& operator[](ColorSlot slot) { return Values[static_cast<size_t>(slot)]; }
    bool operator==(const ColorSettings&) const = default;
};

inline constexpr const char* kColorSettingsFile = "emc_color.ini";
inline constexpr const char* kColorSection = "Colors";

// The colours a file without any key gives.
ColorSettings ColorsWhenMissing();
// The colours of "Set to Default": the same except that the two re-measure crosses swap.
ColorSettings DefaultColors();

// Reads section "Colors"; a missing file or key gives that colour's ReadDefault, and so does a
// file refused as unreadable, whose reason (naming the file) goes to *refused.
ColorSettings ReadColorSettings(const QString& fileName, QString* refused = nullptr);
// Writes all 23 keys, in slot order, as the file's only content. The old file is replaced only
// once the new one is complete; on failure it stays and *error says why.
bool WriteColorSettings(const QString& fileName, const ColorSettings& colors, QString* error = nullptr);

// A panel's caption is black on white and white on every other colour.
TColor CaptionColorFor(TColor panel);

#endif
