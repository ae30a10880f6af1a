#include "app/AdvancedSettings.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "platform/inifile/IniFile.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

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

// The file is edited by hand, and a number out of all proportion stalls the window or the
// analyser: "Harmonics_Order=2147483647" made one chart click draw for minutes. A value outside
// its range is replaced by the nearest end, and one line says which and why; a text that is no
// such number at all (beyond the integer range, "1e308", "nan", "inf") keeps the value, also
// with one line.
class Bounded {
public:
    Bounded(const IniFile& ini, MessageLog& log) : ini_(ini), log_(log) {}

    int32_t Integer(const char* section, const char* key, int32_t current, int32_t low, int32_t high) const
    {
        const int32_t v = ini_.ReadInteger(S(section), S(key), current);
        // A text the reader could not take gives back the default, whatever it is.
        if (Written(section, key) && v == current && ini_.ReadInteger(S(section), S(key), ~current) == ~current)
            return Kept(section, key, QStringLiteral("whole number"), current, low, high);
        return Clamp(section, key, v, low, high);
    }
    double Float(const char* section, const char* key, double current, double low, double high) const
    {
        // The reader gives only finite numbers, so NaN tells a text it could not take.
        const double v = ini_.ReadFloat(S(section), S(key), std::numeric_limits<double>::quiet_NaN());
        if (!std::isnan(v))
            return Clamp(section, key, v, low, high);
        return Written(section, key) ? Kept(section, key, QStringLiteral("number"), current, low, high) : current;
    }

private:
    template <class T> static QString Text(T v)
    {
        if constexpr (std::is_floating_point_v<T>)
            return FloatToStr(v);
        else
            return QString::number(v);
    }
    bool Written(const char* section, const char* key) const
    {
        return !ini_.ReadString(S(section), S(key), QString()).trimmed().isEmpty();
    }
    template <class T>
    T Kept(const char* section, const char* key, const QString& what, T current, T low, T high) const
    {
        log_.Append(QStringLiteral("Warning: %1 [%2] %3=%4 is no %5 within %6 .. %7; %8 is kept")
                        .arg(S(kAdvancedSettingsFile), S(section), S(key),
                             ini_.ReadString(S(section), S(key), QString()).trimmed(), what, Text(low), Text(high),
                             Text(current)));
        return current;
    }
    template <class T> T Clamp(const char* section, const char* key, T v, T low, T high) const
    {
        const T used = std::clamp(v, low, high);
        if (used != v)
            log_.Append(QStringLiteral("Warning: %1 [%2] %3=%4 is outside %5 .. %6; %7 is used instead")
                            .arg(S(kAdvancedSettingsFile), S(section), S(key), Text(v), Text(low), Text(high),
                                 Text(used)));
        return used;
    }

    const IniFile& ini_;
    MessageLog& log_;
};

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
    const Bounded bounded(ini, log);
    s.OptHarmonicsOrder =
        bounded.Integer(kOption, "Harmonics_Order", s.OptHarmonicsOrder, 1, kMaxHarmonicsOrder);
    s.OptFpcSamples = bounded.Integer(kFpc, "Samples", s.OptFpcSamples, 1, kMaxTraceSamples);
    s.OptFphSamples = bounded.Integer(kFph, "Samples", s.OptFphSamples, 1, kMaxTraceSamples);
    s.OptRsaSamples = bounded.Integer(kRsa, "Samples", s.OptRsaSamples, 1, kMaxTraceSamples);
    s.OptRsaSweepMultiply = bounded.Float(kRsa, "SweepMulitply", s.OptRsaSweepMultiply, kMinSweepMultiply,
                                          kMaxSweepMultiply);
    s.OptRsaRefLevelDbm = bounded.Integer(kRsa, "RefLeveldBm", s.OptRsaRefLevelDbm, -200, 100);
    // Below 0 the reader chooses, 0 and 1 fix the order; a bigger or smaller number means the same
    // as its end, and the end is what is written back.
    s.OptInvertIeee = bounded.Integer(kRigolRead, "Invert_IEEE", s.OptInvertIeee, -1, 1);

    const double ssaSweep =
        bounded.Float(kSsa, "SweepMultiply", s.OptSsaSweepMultiply, kMinSweepMultiply, kMaxSweepMultiply);
    if (ssaSweep != s.OptSsaSweepMultiply)
        log.Append(QStringLiteral("Info: changing default value SSA sweep multiply"));
    s.OptSsaSweepMultiply = ssaSweep;

    const int32_t ssaDelay =
        bounded.Integer(kSsa, "Measure_Delay", s.OptSsaMeasureDelay, 0, kMaxMeasureDelayMs);
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
