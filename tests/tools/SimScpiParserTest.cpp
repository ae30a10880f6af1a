// SCPI parsing of the simulator: program messages, header patterns, numbers with units.
#include "tools/sim/ScpiParser.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(SimScpiParser, SplitsCompoundMessages)
{
    auto c = scpi::SplitMessage("*CLS;*OPC");
    ASSERT_EQ(c.size(), 2u);
    EXPECT_TRUE(c[0].common);
    EXPECT_EQ(c[0].header, "*CLS");
    EXPECT_EQ(c[1].header, "*OPC");
    EXPECT_FALSE(c[1].query);

    c = scpi::SplitMessage(":DISP:WIN:TRAC:X:SCAL:SPAC LIN;");
    ASSERT_EQ(c.size(), 1u);
    EXPECT_TRUE(c[0].absolute);
    EXPECT_EQ(c[0].header, "DISP:WIN:TRAC:X:SCAL:SPAC");
    EXPECT_EQ(c[0].params, QStringList{"LIN"});

    c = scpi::SplitMessage(":FORM:TRACE:DATA REAL,32;:TRAC:DATA? TRACE1");
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].params, QStringList({"REAL", "32"}));
    EXPECT_TRUE(c[1].query);
    EXPECT_EQ(c[1].header, "TRAC:DATA");
    EXPECT_EQ(c[1].params, QStringList{"TRACE1"});

    c = scpi::SplitMessage(":MMEM:NAME \"a;b,c\";*OPC?");
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].params, QStringList{"\"a;b,c\""});
    EXPECT_TRUE(c[1].query);

    c = scpi::SplitMessage(":SENS:FREQ:STAR 150000 Hz");
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].params, QStringList{"150000 Hz"});
    EXPECT_TRUE(scpi::SplitMessage(" ; ;").empty());
}

TEST(SimScpiParser, HeaderPatternsTakeShortLongAndOptionalForms)
{
    const scpi::HeaderPattern p("[SENSe]:FREQuency:STARt");
    for (const char* ok : {"SENS:FREQ:STAR", "FREQ:STAR", "sense:frequency:start", "Sens:Freq:Start", "SENSE:FREQ:STAR"})
        EXPECT_TRUE(p.Match(ok, nullptr)) << ok;
    // Only the short and the long form: a header between them is no header, as on the
    // analysers, so a misspelt command shows in the error queue.
    for (const char* bad : {"SENS:FREQ:STOP", "SENS:FREQX:STAR", "SENS:FREQ:STAR:X", "SENS::FREQ:STAR", "STAR",
                            "SE:FREQ:STAR", "SENS:FREQ", "SENS:FREQU:STAR", "SENS:FREQ:START1", "SENSE:FREQUENC:STAR"})
        EXPECT_FALSE(p.Match(bad, nullptr)) << bad;

    // Both spellings the program sends for the Rigol and Siglent display commands.
    const scpi::HeaderPattern d("DISPlay:WINdow|WINDow:TRACe:X[:SCALe]:SPACing");
    EXPECT_TRUE(d.Match("DISP:WIN:TRAC:X:SCAL:SPAC", nullptr));
    EXPECT_TRUE(d.Match("DISP:WIND:TRAC:X:SPAC", nullptr));
    EXPECT_FALSE(d.Match("DISP:WINDO:TRAC:X:SPAC", nullptr));

    const scpi::HeaderPattern alt("[SENSe]:BANDwidth|BWIDth[:RESolution]");
    EXPECT_TRUE(alt.Match("SENS:BWID:RES", nullptr));
    EXPECT_TRUE(alt.Match("SENS:BAND", nullptr));
    EXPECT_FALSE(alt.Match("SENS:BANDX", nullptr));
}

TEST(SimScpiParser, NumericSuffixes)
{
    const scpi::HeaderPattern m("CALCulate#:MARKer#:Y");
    QList<int> s;
    ASSERT_TRUE(m.Match("CALC:MARK1:Y", &s));
    EXPECT_EQ(s, QList<int>({1, 1}));
    ASSERT_TRUE(m.Match("CALC2:MARKER3:Y", &s));
    EXPECT_EQ(s, QList<int>({2, 3}));
    EXPECT_FALSE(m.Match("CALC:MARK1:X", &s));

    const scpi::HeaderPattern t("TRACe#[:DATA]");
    EXPECT_TRUE(t.Match("TRAC", &s));
    EXPECT_TRUE(t.Match("TRACe1:DATA", &s));
    EXPECT_EQ(s, QList<int>({1}));
    // A node without "#" takes no digits.
    EXPECT_FALSE(scpi::HeaderPattern("FORMat:DATA").Match("FORM1:DATA", nullptr));
}

TEST(SimScpiParser, NumbersWithTheUnitsTheProgramSends)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"150000", 150000},   {"150000 Hz", 150000}, {"150000Hz", 150000}, {"9kHz", 9000},
                 {"120 KHZ", 120000},  {"1.5s", 1.5},         {"1.5 s", 1.5},       {"500 ms", 0.5},
                 {"1 ms", 0.001},      {"-10dBm", -10},       {"+3", 3},            {"2.5e3", 2500},
                 {"30 MHz", 30e6},     {"1.5GHz", 1.5e9},     {" 7 ", 7}};
    for (const Case& c : cases) {
        const auto v = scpi::ParseNumber(c.text);
        ASSERT_TRUE(v) << c.text;
        EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
    for (const char* bad : {"", "abc", "1.5 furlong", "1,5", "AUTO", "--1"})
        EXPECT_FALSE(scpi::ParseNumber(bad)) << bad;
    EXPECT_EQ(scpi::ParseBool("on"), true);
    EXPECT_EQ(scpi::ParseBool("0"), false);
    EXPECT_FALSE(scpi::ParseBool("maybe"));
}

TEST(SimScpiParser, FixedWidthExponentTexts)
{
    EXPECT_EQ(scpi::FormatExponent(-72.345678901234, 9), "-7.234567890e+01");
    EXPECT_EQ(scpi::FormatExponent(5.5, 6), "+5.500000e+00");
    EXPECT_EQ(scpi::FormatExponent(-0.0123, 6), "-1.230000e-02");
    EXPECT_EQ(scpi::FormatExponent(std::nan(""), 6).size(), 13);
    EXPECT_EQ(scpi::FormatFixed(66.475, 2), "66.47"); // the double below .475 rounds down
    EXPECT_EQ(scpi::FormatNumber(0.1), "0.1");
    EXPECT_EQ(scpi::FormatScientific(150000), "1.500000e+05");
    EXPECT_EQ(scpi::FormatScientific(-6.33), "-6.330000e+00");
    EXPECT_EQ(scpi::FormatNumber(150000), "150000");
}
