// Identification of the analyser from its "*IDN?" answer into the device globals.
#include "app/AdvancedSettings.h"
#include "common/TestSupport.h"
#include "instrument/DeviceIdentification.h"
#include "instrument/DeviceState.h"

#include <gtest/gtest.h>

namespace {

struct Identified {
    DeviceState d;
    AdvancedSettings o;
    IdentificationResult r;
    Identified(const QString& idn, DeviceState start = {})
    {
        d = start;
        o.OptFpcSamples = 611;
        o.OptFphSamples = 711;
        o.OptRsaSamples = 1001;
        r = IdentifyDevice(d, o, idn);
    }
};

} // namespace

TEST(DeviceIdentification, Dsa815WithNewFirmware)
{
    Identified i("Rigol Technologies,DSA815,DSA8A1234567890,00.01.19.00.02");
    EXPECT_EQ(i.d.DeviceFamily, 1);
    EXPECT_EQ(i.d.DeviceModel, 815);
    EXPECT_EQ(i.d.TracePoints, 601);
    EXPECT_EQ(i.d.SweepWaitMarginMs, 3000);
    EXPECT_EQ(i.d.RigolFloatBigEndian, 1);
    EXPECT_EQ(i.r.ModelPanel, QString("DSA815-119"));
    EXPECT_EQ(i.r.UnsupportedMessage, "");
}

TEST(DeviceIdentification, OlderFirmwareKeepsLittleEndianEvenAfterANewerInstrument)
{
    DeviceState before;
    before.RigolFloatBigEndian = 1;
    Identified i("Rigol Technologies, DSA815, DSA8A1234567890, 00.01.18.00.02", before);
    EXPECT_EQ(i.d.DeviceModel, 815);
    EXPECT_EQ(i.d.RigolFloatBigEndian, 0);
    EXPECT_EQ(i.r.ModelPanel, QString("DSA815-118"));
}

TEST(DeviceIdentification, NothingOfTheAnalyserBeforeStays)
{
    DeviceState before; // an SVA 2111 and a new DSA815 and an RSA at once
    before.DeviceModel = AnalyserKind::kRigolRsaModel;
    before.SiglentSeries = ssSva;
    before.SvaPresetFirst = before.RigolFloatBigEndian = true;
    before.GeneratorLevelMin = -40;
    for (const char* idn : {"Rigol Technologies,DSA832,DSA8G123456,00.01.10.00.01", "Hameg Instruments,HMS3010,0,1",
                            "Siglent Technologies,SSA3032X,SSA3XAB1234567,2.1.1.1"}) {
        const DeviceState d = Identified(idn, before).d;
        EXPECT_EQ(d.DeviceModel, d.IsRigol() ? 832 : 0) << idn;
        EXPECT_EQ(d.SiglentSeries, d.IsSiglent() ? ssSsa : ssNone) << idn;
        EXPECT_FALSE(d.SvaPresetFirst || d.RigolFloatBigEndian) << idn;
        EXPECT_EQ(d.GeneratorLevelMin, -20) << idn;
    }
}

TEST(DeviceIdentification, RigolModelsBySerialNumber)
{
    struct Case {
        const char* idn;
        int32_t model, margin;
        const char* panel;
        int32_t points;
    };
    const Case cases[] = {
        {"Rigol Technologies,DSA832,DSA8G123456,00.01.10.00.01", 832, 3000, "DSA832-110", 601},
        {"Rigol Technologies,DSA832E,DSA8F123456,00.01.10.00.01", 832, 3000, "DSA832-110", 601},
        {"Rigol Technologies,DSA832,DSA8H123456,00.01.12.00.01", 832, 3000, "DSA832-112", 601},
        {"Rigol Technologies,DSA875,DSA8E123456,00.01.10.00.01", 875, 3000, "DSA875-110", 601},
        {"Rigol Technologies,DSA1030,DSA1B123456,00.01.05.00.01", 1030, 8000, "Rigol DSA1030", 601},
        {"Rigol Technologies,DSA705,DSA8B123456,00.01.02.00.01", 700, 3000, "Rigol DSA700", 601},
        {"Rigol Technologies,RSA5065,RSA5B123456,00.01.02.00.01", 5000, 3000, "RSA5065", 1001},
        {"Rigol Technologies,RSA5032,RSA5A123456,00.01.02.00.01", 5000, 3000, "RSA5032", 1001},
        {"Rigol Technologies,RSA3030,RSA3D123456,00.01.02.00.01", 5000, 3000, "RSA3030", 1001},
        {"Rigol Technologies,RSA3015N,RSA3C123456,00.01.02.00.01", 5000, 3000, "RSA3015N", 1001},
    };
    for (const Case& c : cases) {
        DeviceState before;
        before.SweepWaitMarginMs = 1234;
        Identified i(c.idn, before);
        EXPECT_EQ(i.d.DeviceFamily, 1) << c.idn;
        EXPECT_EQ(i.d.DeviceModel, c.model) << c.idn;
        EXPECT_EQ(i.d.SweepWaitMarginMs, c.margin) << c.idn;
        EXPECT_EQ(i.r.ModelPanel, QString(c.panel)) << c.idn;
        EXPECT_EQ(i.d.TracePoints, c.points) << c.idn;
        EXPECT_EQ(i.d.GeneratorLevelMin, c.model == 5000 ? -40 : -20) << c.idn;
    }
}

TEST(DeviceIdentification, RigolThatIsNotSupported)
{
    // A serial number of 7 characters selects no model.
    DeviceState before;
    before.DeviceModel = 815;
    Identified i("Rigol Technologies,DSA815,DSA8A12,00.01.19.00.02", before);
    EXPECT_EQ(i.d.DeviceFamily, 0);
    EXPECT_EQ(i.d.DeviceModel, 0);
    EXPECT_EQ(i.r.ModelPanel, QString("---"));
    EXPECT_EQ(i.r.UnsupportedMessage, "Sorry, this Rigol device is not supported yet by this version of Zendrik");

    Identified fewFields("Rigol Technologies,DSA815");
    EXPECT_EQ(fewFields.d.DeviceFamily, 0);
    EXPECT_EQ(fewFields.r.UnsupportedMessage,
              "Sorry, this Rigol device is not supported yet by this version of Zendrik");
}

TEST(DeviceIdentification, ShortOrMissingFirmwareCountsAsZero)
{
    Identified shortField("Rigol Technologies,DSA815,DSA8A1234567890,00.01");
    EXPECT_EQ(shortField.d.DeviceModel, 815);
    EXPECT_EQ(shortField.r.ModelPanel, QString("DSA815-0"));
    EXPECT_EQ(shortField.d.RigolFloatBigEndian, 0);
    Identified missing("Rigol Technologies,DSA815,DSA8A1234567890");
    EXPECT_EQ(missing.r.ModelPanel, QString("DSA815-0"));
    Identified sva("Siglent Technologies,SVA1032X,SVA1XAB1,2.1");
    EXPECT_EQ(sva.r.ModelPanel, QString("Siglent SVA-0"));
    EXPECT_EQ(sva.d.SvaPresetFirst, 0);

    EXPECT_EQ(identify::RigolFirmwareNumber("00.01.19.00.02"), 119);
    EXPECT_EQ(identify::RigolFirmwareNumber("00.02.03.00.02"), 203);
    EXPECT_EQ(identify::RigolFirmwareNumber("00.0x.19"), 0);
    EXPECT_EQ(identify::SiglentFirmwareNumber("2.1.1.1"), 2111);
    EXPECT_EQ(identify::SiglentFirmwareNumber("3.2.2.5.0"), 3225);
    EXPECT_EQ(identify::SiglentFirmwareNumber("3.2.2"), 0);
}

TEST(DeviceIdentification, SiglentSeries)
{
    Identified ssa("Siglent Technologies,SSA3032X,SSA3XAB1234567,3.2.2.5.0");
    EXPECT_EQ(ssa.d.DeviceFamily, 2);
    EXPECT_EQ(ssa.d.SiglentSeries, 1);
    EXPECT_EQ(ssa.d.TracePoints, 751);
    EXPECT_EQ(ssa.d.SweepWaitMarginMs, 8000);
    EXPECT_EQ(ssa.r.ModelPanel, QString("Siglent SSA-3225"));

    Identified first("Siglent Technologies,SVA1032X,SVA1XAB7654321,2.1.1.1");
    EXPECT_EQ(first.d.SiglentSeries, 2);
    EXPECT_EQ(first.d.SvaPresetFirst, 1);
    EXPECT_EQ(first.r.ModelPanel, QString("Siglent SVA-2111"));
    Identified later("Siglent Technologies,SVA1032X,SVA1XAB7654321,2.1.1.2", first.d);
    EXPECT_EQ(later.d.SvaPresetFirst, 0);

    // A Siglent of neither series is refused even right after an SSA was connected.
    Identified other("Siglent Technologies,SDS1104,SDS1X123,1.1.1.1", ssa.d);
    EXPECT_EQ(other.d.DeviceFamily, 0);
    EXPECT_EQ(other.d.SiglentSeries, 0);
    EXPECT_EQ(other.r.UnsupportedMessage,
              "Sorry, this Siglent device is not supported yet by this version of Zendrik");
}

TEST(DeviceIdentification, OtherFamiliesAndLaterMatchesWin)
{
    Identified hameg("Hameg Instruments,HMS3010,012345678,1.501");
    EXPECT_EQ(hameg.d.DeviceFamily, 3);
    EXPECT_EQ(hameg.d.TracePoints, 501);
    EXPECT_EQ(hameg.d.SweepWaitMarginMs, 8000);
    EXPECT_EQ(hameg.r.ModelPanel, QString("Hameg HMS "));

    Identified fpc("Rohde&Schwarz,FPC1500,1328.6660K12/100456,1.50");
    EXPECT_EQ(fpc.d.DeviceFamily, 4);
    EXPECT_EQ(fpc.d.TracePoints, 611);
    EXPECT_EQ(fpc.r.ModelPanel, QString("R&S FPC "));

    Identified both("Rigol Technologies,FPH,DSA8A1234567890,00.01.19.00.02");
    EXPECT_EQ(both.d.DeviceFamily, 5);
    EXPECT_EQ(both.d.TracePoints, 711);
    EXPECT_EQ(both.d.SweepWaitMarginMs, 8000);
    EXPECT_EQ(both.r.ModelPanel, QString("R&S FPH "));

    Identified none("0");
    EXPECT_EQ(none.d.DeviceFamily, 0);
    EXPECT_FALSE(none.r.ModelPanel.has_value());
    EXPECT_EQ(none.r.UnsupportedMessage, "Sorry, this device is not supported yet by this version of Zendrik");
    // Case as written: "rigol" is no maker.
    EXPECT_EQ(Identified("rigol,DSA815,DSA8A1234567890,00.01.19.00.02").d.DeviceFamily, 0);
}
