#ifndef ZENDRIK_INSTRUMENT_DEVICEIDENTIFICATION_H
#define ZENDRIK_INSTRUMENT_DEVICEIDENTIFICATION_H

#include <QString>
#include <cstdint>
#include <optional>

struct AdvancedSettings;
struct DeviceState;

// What an "*IDN?" answer gave besides the device globals.
struct IdentificationResult {
    // The model text for the fourth status panel; nothing when this answer sets none.
    std::optional<QString> ModelPanel;
    // The message shown when the device is not supported; empty when it is.
    QString UnsupportedMessage;
};

// Sets the whole AnalyserIdentity of the device from an identification answer, starting from its
// defaults: what the answer does not decide is what no analyser was connected before.
// DeviceConnected is left to the caller.
IdentificationResult IdentifyDevice(DeviceState& device, const AdvancedSettings& options, const QString& idn);

namespace identify {
// Firmware numbers from the characters the makers put their version digits in; 0 when the field
// is too short or those characters are no digits.
int32_t RigolFirmwareNumber(const QString& firmware);
int32_t SiglentFirmwareNumber(const QString& firmware);
} // namespace identify

#endif
