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

// File name of the settings file inside the working folder.
inline constexpr const char* kAdvancedSettingsFile = "emc_set.ini";

// Reads the file over the current values (missing file, section, key or unreadable value keeps
// the current value). Changed SSA values are announced in the message log.
void ReadAdvancedSettings(const QString& fileName, AdvancedSettings& settings, MessageLog& log);

// Writes every setting into a fresh file. The old file is replaced only once the new one is
// complete; on failure it stays as it was and an "Error: " line says why. Sets the process-wide
// decimal mark to ".", as the program's other writers do.
bool WriteAdvancedSettings(const QString& fileName, const AdvancedSettings& settings, MessageLog& log);

#endif
