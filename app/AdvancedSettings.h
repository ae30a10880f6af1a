#ifndef ZENDRIK_APP_ADVANCEDSETTINGS_H
#define ZENDRIK_APP_ADVANCEDSETTINGS_H

#include <QString>
#include <cstdint>

class MessageLog;

// The device-specific and optional-feature settings of ".\emc_set.ini". The file only overrides
// the built-in defaults below.
struct AdvancedSettings {
    bool OptPreAmpBox = false;
    bool OptVbwBox = false;
    bool OptTgFieldValue = false;
    int32_t OptHarmonicsOrder = 7;
    int32_t OptFpcSamples = 600;
    int32_t OptFphSamples = 700;
    int32_t OptRsaSamples = 601;
    double OptRsaSweepMultiply = 1.8;
    int32_t OptRsaRefLevelDbm = -20;
    int32_t OptInvertIeee = -1;
    int32_t OptSsaMeasureDelay = 8000;
    double OptSsaSweepMultiply = 1.25;
};

// The ranges the reader keeps the numbers in: the harmonics one chart click draws, the points of
// a trace (as many as the trace reader takes), the sweep-time multipliers and the SSA delay (a
// segment waits it after every sweep). The reference level stays within -200 .. 100 dBm.
inline constexpr int32_t kMaxHarmonicsOrder = 1000;
inline constexpr int32_t kMaxTraceSamples = 1'000'000;
inline constexpr double kMinSweepMultiply = 0.1;
inline constexpr double kMaxSweepMultiply = 100.0;
inline constexpr int32_t kMaxMeasureDelayMs = 600'000;

// File name of the settings file inside the working folder.
inline constexpr const char* kAdvancedSettingsFile = "emc_set.ini";

// Reads the file over the current values (missing file, section, key or unreadable value keeps
// the current value). A number outside its range above is replaced by the nearest end with one
// "Warning: " line naming the key, the value and what is used. Changed SSA values are announced
// in the message log.
void ReadAdvancedSettings(const QString& fileName, AdvancedSettings& settings, MessageLog& log);

// Writes every setting into a fresh file. The old file is replaced only once the new one is
// complete; on failure it stays as it was and an "Error: " line says why. Sets the process-wide
// decimal mark to ".", as the program's other writers do.
bool WriteAdvancedSettings(const QString& fileName, const AdvancedSettings& settings, MessageLog& log);

#endif
