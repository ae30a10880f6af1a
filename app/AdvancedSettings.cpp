#include "app/AdvancedSettings.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "platform/inifile/IniFile.h"

#include <QFile>

namespace {

// Section and key names as the file has always spelled them ("SweepMulitply" included: existing
// files carry that spelling).
constexpr const char* kOption = "Option";
constexpr const char* kFpc = "FPC1000";
constexpr const char* kFph = "FPH";
constexpr const char* kRsa = "RSA5000";
constexpr const char* kRigolRead = "RIGOL";
constexpr const char* kRigolWrite = "Rigol";
constexpr const char* kSsa = "SSA";

QString S(const char* text) { return QString::fromLatin1(text); }

} // namespace

void ReadAdvancedSettings(const QString& fileName, AdvancedSettings& s, MessageLog& log)
{
    const IniFile ini(fileName);
    // A file too large to be read keeps every default, as a missing one does, but says so.
    if (!ini.LoadError().isEmpty())
        log.Append(QStringLiteral("Error: ") + ini.LoadError());
    s.OptPreAmpBox = ini.ReadBool(S(kOption), S("PreAmpBox"), s.OptPreAmpBox);
    s.OptVbwBox = ini.ReadBool(S(kOption), S("VBWBox"), s.OptVbwBox);
    s.OptTgFieldValue = ini.ReadBool(S(kOption), S("TG_FieldValue"), s.OptTgFieldValue);
    s.OptHarmonicsOrder = ini.ReadInteger(S(kOption), S("Harmonics_Order"), s.OptHarmonicsOrder);
    s.OptFpcSamples = ini.ReadInteger(S(kFpc), S("Samples"), s.OptFpcSamples);
    s.OptFphSamples = ini.ReadInteger(S(kFph), S("Samples"), s.OptFphSamples);
    s.OptRsaSamples = ini.ReadInteger(S(kRsa), S("Samples"), s.OptRsaSamples);
    s.OptRsaSweepMultiply = ini.ReadFloat(S(kRsa), S("SweepMulitply"), s.OptRsaSweepMultiply);
    s.OptRsaRefLevelDbm = ini.ReadInteger(S(kRsa), S("RefLeveldBm"), s.OptRsaRefLevelDbm);
    s.OptInvertIeee = ini.ReadInteger(S(kRigolRead), S("Invert_IEEE"), s.OptInvertIeee);

    const double ssaSweep = ini.ReadFloat(S(kSsa), S("SweepMultiply"), s.OptSsaSweepMultiply);
    if (ssaSweep != s.OptSsaSweepMultiply)
        log.Append(QStringLiteral("Info: changing default value SSA sweep multiply"));
    s.OptSsaSweepMultiply = ssaSweep;

    const int32_t ssaDelay = ini.ReadInteger(S(kSsa), S("Measure_Delay"), s.OptSsaMeasureDelay);
    if (ssaDelay != s.OptSsaMeasureDelay)
        log.Append(QStringLiteral("Info: changing default value SSA measure delay"));
    s.OptSsaMeasureDelay = ssaDelay;
}

bool WriteAdvancedSettings(const QString& fileName, const AdvancedSettings& s, MessageLog& log)
{
    SetDecimalSeparator(QLatin1Char('.'));
    // Start from an empty file so that keys no longer written disappear, but replace the old file
    // only when the new one is on disk.
    IniFile ini(fileName);
    ini.Clear();
    ini.WriteBool(S(kOption), S("PreAmpBox"), s.OptPreAmpBox);
    ini.WriteBool(S(kOption), S("VBWBox"), s.OptVbwBox);
    ini.WriteBool(S(kOption), S("TG_FieldValue"), s.OptTgFieldValue);
    ini.WriteInteger(S(kOption), S("Harmonics_Order"), s.OptHarmonicsOrder);
    ini.WriteInteger(S(kFpc), S("Samples"), s.OptFpcSamples);
    ini.WriteInteger(S(kFph), S("Samples"), s.OptFphSamples);
    ini.WriteInteger(S(kRsa), S("Samples"), s.OptRsaSamples);
    ini.WriteFloat(S(kRsa), S("SweepMulitply"), s.OptRsaSweepMultiply);
    ini.WriteInteger(S(kRsa), S("RefLeveldBm"), s.OptRsaRefLevelDbm);
    ini.WriteInteger(S(kRigolWrite), S("Invert_IEEE"), s.OptInvertIeee);
    ini.WriteInteger(S(kSsa), S("Measure_Delay"), s.OptSsaMeasureDelay);
    ini.WriteFloat(S(kSsa), S("SweepMultiply"), s.OptSsaSweepMultiply);
    QString error;
    if (!ini.UpdateFile(&error)) {
        log.Append(QStringLiteral("Error: cannot write ") + fileName + QStringLiteral(": ") + error);
        return false;
    }
    return true;
}
