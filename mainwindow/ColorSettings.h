#ifndef ZENDRIK_MAINWINDOW_COLORSETTINGS_H
#define ZENDRIK_MAINWINDOW_COLORSETTINGS_H

#include "chart/canvas/PlotColor.h"

#include <QString>
#include <array>
#include <cstdint>

// The operator's colours of traces, limit lines, corrections, peak marks, crosshair and chart
// background, in the order ".\emc_color.ini" writes them. Each slot is named for what it colours;
// its key in the file (ColorKeys) keeps the name the file has always stored.
enum class ColorSlot : int {
    rawTrace1,           // "Ser1"
    limitLine1,          // "Ser2": limit line of set 1 and its margin line
    cableCorrection,     // "Ser3"
    lisnCorrection,      // "Ser4": LISN/attenuator correction
    limitLine2,          // "Ser5": limit line of set 2 and its margin line
    tablePreview,        // "Ser6": the table editor's preview curve
    correctedTrace1,     // "Ser7": also its segment marks, marker flags and read-out
    rawTrace2,           // "Ser8"
    correctedTrace2,     // "Ser9": also its segment marks, marker flags and read-out
    amplifierCorrection, // "Ser10"
    antennaFactor,       // "Ser11": antenna correction
    peakCircles1,        // "Marker11"
    crosshair,           // "Cross": crosshair and harmonic lines
    chartBackground,     // "ChartBG": back wall of the main chart and of the coverage view's charts
    peakCircles2,        // "Marker12"
    remeasureCrosses1,   // "Marker21"
    remeasureCrosses2,   // "Marker22"
    reference1Set1,      // "Trace1Seg1": stored trace 1 of set 1
    reference1Set2,      // "Trace1Seg2"
    reference2Set1,      // "Trace2Seg1"
    reference2Set2,      // "Trace2Seg2"
    reference3Set1,      // "Trace3Seg1"
    reference3Set2,      // "Trace3Seg2"
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
