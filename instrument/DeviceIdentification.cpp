#include "instrument/DeviceIdentification.h"

#include "app/AdvancedSettings.h"
#include "instrument/DeviceState.h"

#include <QStringList>
#include <span>

namespace {

// The decimal value of the characters at the given positions (counted from 1) joined. A field
// shorter than the last position, or a position that holds no digit, counts as firmware 0.
int32_t DigitsAt(const QString& field, std::initializer_list<int> positions)
{
    int32_t v = 0;
    for (int p : positions) {
        if (p > field.size())
            return 0;
        const QChar ch = field.at(p - 1);
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return 0;
        v = v * 10 + (ch.unicode() - '0');
    }
    return v;
}

QStringList Fields(const QString& idn)
{
    QString compact = idn;
    compact.remove(QLatin1Char(' '));
    return compact.split(QLatin1Char(','));
}

// The texts of the "*IDN?" answer that name the family.
std::span<const char* const> IdentificationTexts(DeviceFamilyCode family)
{
    static constexpr const char* kRigol[] = {"Rigol"};
    static constexpr const char* kSiglent[] = {"Siglent"};
    static constexpr const char* kHameg[] = {"Hameg"};
    static constexpr const char* kFpc[] = {"FPC1000", "FPC1500"};
    static constexpr const char* kFph[] = {"FPH"};
    switch (family) {
    case dfRigol: return kRigol;
    case dfSiglent: return kSiglent;
    case dfHameg: return kHameg;
    case dfRsFpc: return kFpc;
    case dfRsFph: return kFph;
    case dfNone: return {};
    }
    return {};
}

void SetRsa(DeviceState& d, const AdvancedSettings& o)
{
    d.DeviceModel = AnalyserKind::kRigolRsaModel;
    d.SweepWaitMarginMs = 3000;
    d.TracePoints = o.OptRsaSamples;
    d.GeneratorLevelMin = -40;
    d.GeneratorLevelMax = 0;
}

void IdentifyRigol(DeviceState& d, const AdvancedSettings& o, const QString& idn, IdentificationResult& r)
{
    const QStringList f = Fields(idn);
    const QString model = f.value(1);
    const QString serial = f.value(2);
    const QString firmware = f.size() > 3 ? f.at(3) : QStringLiteral("00.00.00.00.00");
    const int32_t fw = identify::RigolFirmwareNumber(firmware);
    const QString fwText = QString::number(fw);
    r.ModelPanel = QStringLiteral("---");
    if (serial.size() < 8)
        return;
    const QString c45 = serial.mid(3, 2);
    const QChar c4 = serial.at(3);
    if (c45 == QLatin1String("8A")) {
        d.DeviceModel = 815;
        d.SweepWaitMarginMs = 3000;
        r.ModelPanel = "DSA815-" + fwText;
        if (fw >= 119)
            d.RigolFloatBigEndian = true;
    }
    if (c45 == QLatin1String("8G") || c45 == QLatin1String("8F") || c45 == QLatin1String("8H")) {
        d.DeviceModel = 832;
        d.SweepWaitMarginMs = 3000;
        r.ModelPanel = "DSA832-" + fwText;
    }
    if (c45 == QLatin1String("8E")) {
        d.DeviceModel = 875;
        d.SweepWaitMarginMs = 3000;
        r.ModelPanel = "DSA875-" + fwText;
    }
    if (c45 == QLatin1String("1B")) {
        d.DeviceModel = 1030;
        d.SweepWaitMarginMs = 8000;
        r.ModelPanel = QStringLiteral("Rigol DSA1030");
    }
    if (c45 == QLatin1String("8B")) {
        d.DeviceModel = 700;
        d.SweepWaitMarginMs = 3000;
        r.ModelPanel = QStringLiteral("Rigol DSA700");
    }
    if (c4 == QLatin1Char('5')) {
        SetRsa(d, o);
        r.ModelPanel = model;
    }
    if (c45 == QLatin1String("5B")) {
        SetRsa(d, o);
        r.ModelPanel = QStringLiteral("RSA5065");
    }
    if (c4 == QLatin1Char('3')) {
        SetRsa(d, o);
        r.ModelPanel = model;
    }
    if (c45 == QLatin1String("3D")) {
        SetRsa(d, o);
        r.ModelPanel = QStringLiteral("RSA3030");
    }
}

void IdentifySiglent(DeviceState& d, const QString& idn, IdentificationResult& r)
{
    const QStringList f = Fields(idn);
    const QString firmware = f.size() > 3 ? f.at(3) : QStringLiteral("0.0.0.0");
    const int32_t fw = identify::SiglentFirmwareNumber(firmware);
    if (idn.contains(QLatin1String("SSA"))) {
        d.SweepWaitMarginMs = 8000;
        d.SiglentSeries = ssSsa;
        r.ModelPanel = "Siglent SSA-" + QString::number(fw);
    }
    if (idn.contains(QLatin1String("SVA"))) {
        d.SweepWaitMarginMs = 8000;
        d.SiglentSeries = ssSva;
        r.ModelPanel = "Siglent SVA-" + QString::number(fw);
        d.SvaPresetFirst = fw == 2111;
    }
}

} // namespace

int32_t identify::RigolFirmwareNumber(const QString& firmware) { return DigitsAt(firmware, {4, 5, 7, 8}); }

int32_t identify::SiglentFirmwareNumber(const QString& firmware) { return DigitsAt(firmware, {1, 3, 5, 7}); }

IdentificationResult IdentifyDevice(DeviceState& d, const AdvancedSettings& o, const QString& idn)
{
    IdentificationResult r;
    // Nothing of an analyser connected before may pass for this one's: its byte order, its series,
    // its generator range, a Rigol model on a Siglent.
    static_cast<AnalyserIdentity&>(d) = AnalyserIdentity();
    // When the texts of two families match, the later family wins: a family added after one
    // whose maker's name its answer also carries is told by its own text.
    for (const DeviceFamilyCode family : kDeviceFamilies)
        for (const char* text : IdentificationTexts(family))
            if (idn.contains(QLatin1String(text)))
                d.DeviceFamily = family;

    switch (d.DeviceFamily) {
    case dfRigol:
        d.TracePoints = 601;
        IdentifyRigol(d, o, idn, r);
        if (d.DeviceModel == 0) {
            r.UnsupportedMessage = QStringLiteral("Sorry, this Rigol device is not supported yet by this version of Zendrik");
            d.DeviceFamily = dfNone;
        }
        break;
    case dfSiglent:
        d.TracePoints = 751;
        IdentifySiglent(d, idn, r);
        if (d.SiglentSeries == ssNone) {
            r.UnsupportedMessage =
                QStringLiteral("Sorry, this Siglent device is not supported yet by this version of Zendrik");
            d.DeviceFamily = dfNone;
        }
        break;
    case dfHameg:
        d.TracePoints = 501;
        d.SweepWaitMarginMs = 8000;
        r.ModelPanel = QStringLiteral("Hameg HMS ");
        break;
    case dfRsFpc:
        d.TracePoints = o.OptFpcSamples;
        d.SweepWaitMarginMs = 8000;
        r.ModelPanel = QStringLiteral("R&S FPC ");
        break;
    case dfRsFph:
        d.TracePoints = o.OptFphSamples;
        d.SweepWaitMarginMs = 8000;
        r.ModelPanel = QStringLiteral("R&S FPH ");
        break;
    case dfNone:
        r.UnsupportedMessage = QStringLiteral("Sorry, this device is not supported yet by this version of Zendrik");
        break;
    }
    return r;
}
