#include "app/NumberText.h"

#include "common/TestSupport.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

// Every test starts from the program's default marks and leaves them so.
class NumberTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDecimalSeparator(QLatin1Char('.'));
        SetThousandSeparator(QLatin1Char(','));
    }
    void TearDown() override { SetUp(); }
};

// Reads a C hex float ("-0x1.8p+1") without going through the code under test.
double FromHex(const std::string& text)
{
    const bool negative = !text.empty() && text[0] == '-';
    const std::string body = text.substr(negative ? 3 : 2); // skip "0x" / "-0x"
    double v = 0;
    auto res = std::from_chars(body.data(), body.data() + body.size(), v, std::chars_format::hex);
    EXPECT_EQ(res.ec, std::errc()) << text;
    return negative ? -v : v;
}

// Significant digits of a decimal text, for comparing shortest forms written differently
// ("1e+20" and "1E20", "0.5" and "5e-1").
std::string Significant(const std::string& text)
{
    std::string digits;
    for (char c : text) {
        if (c == 'e' || c == 'E')
            break;
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    }
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return "0";
    digits = digits.substr(first);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    return digits;
}

TEST_F(NumberTextTest, MarksDefaultToDotAndCommaAndScopeRestores)
{
    EXPECT_EQ(DecimalSeparator(), QLatin1Char('.'));
    EXPECT_EQ(ThousandSeparator(), QLatin1Char(','));
    {
        ScopedDecimalSeparator comma(QLatin1Char(','));
        EXPECT_EQ(DecimalSeparator(), QLatin1Char(','));
        EXPECT_EQ(FloatToStr(1.5), "1,5");
    }
    EXPECT_EQ(DecimalSeparator(), QLatin1Char('.'));
    EXPECT_EQ(FloatToStr(1.5), "1.5");
}

TEST_F(NumberTextTest, FloatToStrShortestGeneralForm)
{
    EXPECT_EQ(FloatToStr(1.8), "1.8");
    EXPECT_EQ(FloatToStr(1.25), "1.25");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(1.5e-7), "1.5E-7");
    EXPECT_EQ(FloatToStr(-1.5e-7), "-1.5E-7");
    EXPECT_EQ(FloatToStr(0.0), "0");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(0.0001), "0.0001");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToStr(1e15), "1E15");
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(FloatToStr(-HUGE_VAL), "-INF");
    SetDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(FloatToStr(-2.5e-12), "-2,5E-12");
    EXPECT_EQ(FloatToStr(48.1173), "48,1173");
}

TEST_F(NumberTextTest, FloatToStrFFormats)
{
    // ffGeneral: precision limits the digits, digits is the minimum exponent length.
    EXPECT_EQ(FloatToStrF(123.456, FloatFormat::ffGeneral, 4, 0), "123.5");
    EXPECT_EQ(FloatToStrF(123456.0, FloatFormat::ffGeneral, 4, 0), "1.235E5");
    EXPECT_EQ(FloatToStrF(123456.0, FloatFormat::ffGeneral, 4, 3), "1.235E005");
    // ffExponent: all precision digits, signed exponent of at least `digits` digits.
    EXPECT_EQ(FloatToStrF(1234.56, FloatFormat::ffExponent, 4, 2), "1.235E+03");
    EXPECT_EQ(FloatToStrF(1234.5, FloatFormat::ffExponent, 4, 2), "1.234E+03"); // exact tie: even
    EXPECT_EQ(FloatToStrF(1.0, FloatFormat::ffExponent, 4, 2), "1.000E+00");
    EXPECT_EQ(FloatToStrF(-0.00012, FloatFormat::ffExponent, 3, 0), "-1.20E-4");
    EXPECT_EQ(FloatToStrF(0.0, FloatFormat::ffExponent, 3, 1), "0.00E+0");
    // ffFixed: decimals padded; too many integer digits for the precision switch to exponent form.
    EXPECT_EQ(FloatToStrF(30.0, FloatFormat::ffFixed, 10, 3), "30.000");
    EXPECT_EQ(FloatToStrF(45.678, FloatFormat::ffFixed, 10, 2), "45.68");
    EXPECT_EQ(FloatToStrF(-0.004, FloatFormat::ffFixed, 10, 2), "0.00");
    EXPECT_EQ(FloatToStrF(12000.0, FloatFormat::ffFixed, 10, 0), "12000");
    EXPECT_EQ(FloatToStrF(12345678901.0, FloatFormat::ffFixed, 10, 0), "1.23456789E10");
    EXPECT_EQ(FloatToStrF(1.0 / 3.0, FloatFormat::ffFixed, 4, 6), "0.333300");
    EXPECT_EQ(FloatToStrF(3500000.0, FloatFormat::ffFixed, 12, 0), "3500000");
    // ffNumber groups the integer part.
    EXPECT_EQ(FloatToStrF(1234567.891, FloatFormat::ffNumber, 15, 2), "1,234,567.89");
    EXPECT_EQ(FloatToStrF(-999.0, FloatFormat::ffNumber, 15, 0), "-999");
    EXPECT_EQ(FloatToStrF(-1000.0, FloatFormat::ffNumber, 15, 0), "-1,000");
    SetDecimalSeparator(QLatin1Char(','));
    SetThousandSeparator(QLatin1Char('.'));
    EXPECT_EQ(FloatToStrF(1234567.891, FloatFormat::ffNumber, 15, 2), "1.234.567,89");
    EXPECT_EQ(FloatToStrF(1.5, FloatFormat::ffExponent, 2, 2), "1,5E+00");
}

TEST_F(NumberTextTest, FormatFloatPlaceholders)
{
    EXPECT_EQ(FormatFloat("0", 7.0), "7");
    EXPECT_EQ(FormatFloat("0", 2.5), "2"); // halves to even
    EXPECT_EQ(FormatFloat("0", 3.5), "4");
    EXPECT_EQ(FormatFloat("0", 123456.0), "123456");
    EXPECT_EQ(FormatFloat("000", 7.0), "007");
    EXPECT_EQ(FormatFloat("0.00", 1.005), "1.00"); // 1.005 is stored just below 1.005
    EXPECT_EQ(FormatFloat("0.00", 2.0), "2.00");
    EXPECT_EQ(FormatFloat("0.00", -0.004), "0.00");
    EXPECT_EQ(FormatFloat("#,##0.###", 1234.5), "1,234.5");
    EXPECT_EQ(FormatFloat("#,##0.###", 0.0), "0");
    EXPECT_EQ(FormatFloat("#,##0.###", 999.9996), "1,000");
    EXPECT_EQ(FormatFloat("#,##0.###", -1234567.0), "-1,234,567");
    EXPECT_EQ(FormatFloat("#,##0", 100.0), "100");
    EXPECT_EQ(FormatFloat("#.##", 0.0), "");
    EXPECT_EQ(FormatFloat("#.##", 0.5), ".5");
    EXPECT_EQ(FormatFloat("#.##", 12.345), "12.35"); // 12.345 is stored just above 12.345
    EXPECT_EQ(FormatFloat(".##", 12.5), "12.5");
    EXPECT_EQ(FormatFloat("0.###", 1.0), "1");
    EXPECT_EQ(FormatFloat("0.0#", 1.0), "1.0");
    EXPECT_EQ(FormatFloat("0.0#", 1.257), "1.26");
    EXPECT_EQ(FormatFloat("00-00", 1234.0), "12-34");
    EXPECT_EQ(FormatFloat("", 1.8), "1.8");
    EXPECT_EQ(FormatFloat("0.00000000000000000000", 1.0 / 3.0), "0.33333333333333300000");
}

TEST_F(NumberTextTest, FormatFloatExponentSectionsAndLiterals)
{
    EXPECT_EQ(FormatFloat("0.0E+00", 12345.0), "1.2E+04");
    EXPECT_EQ(FormatFloat("0.0E+00", 0.00012), "1.2E-04");
    EXPECT_EQ(FormatFloat("0.0E-00", 12345.0), "1.2E04");
    EXPECT_EQ(FormatFloat("0.0e-0", 0.00012), "1.2e-4");
    EXPECT_EQ(FormatFloat("0.0E+00", 0.0), "0.0E+00");
    EXPECT_EQ(FormatFloat("00.0E+0", 12345.0), "12.3E+3");
    EXPECT_EQ(FormatFloat("0.00E+00", -9.996), "-1.00E+01");
    EXPECT_EQ(FormatFloat("0E+00 0#", 1234.0), "1E+03 ");
    EXPECT_EQ(FormatFloat("0.0E+0 dB", 2e-5), "2.0E-5 dB");

    EXPECT_EQ(FormatFloat("0.00;(0.00);zero", -5.0), "(5.00)");
    EXPECT_EQ(FormatFloat("0.00;(0.00);zero", 5.0), "5.00");
    EXPECT_EQ(FormatFloat("0.00;(0.00);zero", 0.0), "zero");
    EXPECT_EQ(FormatFloat("0.00;(0.00);zero", 0.001), "zero"); // zero as shown
    EXPECT_EQ(FormatFloat("0.00;;zero", -5.0), "-5.00");
    EXPECT_EQ(FormatFloat("0.00;(0.00)", 0.0), "0.00");

    EXPECT_EQ(FormatFloat("\"Freq: \"0.0\" kHz\"", 150.0), "Freq: 150.0 kHz");
    EXPECT_EQ(FormatFloat("0 '#0.;'", 5.0), "5 #0.;");
    EXPECT_EQ(FormatFloat("##0.## %", 45.5), "45.5 %");
    EXPECT_EQ(FormatFloat("0.0 dBuV", -3.25), "-3.2 dBuV");

    SetDecimalSeparator(QLatin1Char(','));
    SetThousandSeparator(QLatin1Char('.'));
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), "1.234.567,89");
    EXPECT_EQ(FormatFloat("0.0E+00", 12345.0), "1,2E+04");
}

// The table holds texts worked out by tests/data/app/gen_number_texts.py with exact decimal
// arithmetic for a few hundred values over the whole range.
TEST_F(NumberTextTest, ReferenceTable)
{
    const QByteArray data = testsupport::ReadAll(testsupport::DataPath("app/number_texts.tsv"));
    ASSERT_FALSE(data.isEmpty());
    int rows = 0;
    for (const QByteArray& line : data.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> f = line.split('\t');
        ASSERT_EQ(f.size(), 6) << line.constData();
        const double v = FromHex(f[0].toStdString());
        SCOPED_TRACE(line.constData());
        EXPECT_EQ(FloatToStr(v), QString::fromLatin1(f[1]));
        EXPECT_EQ(FloatToStrF(v, FloatFormat::ffFixed, 15, 2), QString::fromLatin1(f[2]));
        if (f[3] != "-") {
            EXPECT_EQ(FormatFloat("#,##0.###", v), QString::fromLatin1(f[3]));
        }
        EXPECT_EQ(FormatFloat("0.00E+00", v), QString::fromLatin1(f[4]));

        const std::string machine = FormatMachine(v).toStdString();
        double back = 0;
        auto res = std::from_chars(machine.data(), machine.data() + machine.size(), back);
        EXPECT_EQ(res.ec, std::errc());
        EXPECT_EQ(res.ptr, machine.data() + machine.size());
        EXPECT_EQ(back, v);
        EXPECT_EQ(Significant(machine), Significant(f[5].toStdString()));
        EXPECT_EQ(ParseMachine(QString::fromStdString(machine)), v);
        ++rows;
    }
    EXPECT_GT(rows, 300);
}

TEST_F(NumberTextTest, LocaleParsingUsesTheProcessMark)
{
    double v = 0;
    EXPECT_TRUE(TryStrToFloat(" 1.5 ", v));
    EXPECT_EQ(v, 1.5);
    EXPECT_TRUE(TryStrToFloat("-.5", v));
    EXPECT_EQ(v, -0.5);
    EXPECT_TRUE(TryStrToFloat("+2", v));
    EXPECT_EQ(v, 2.0);
    EXPECT_TRUE(TryStrToFloat("1e3", v));
    EXPECT_EQ(v, 1000.0);
    EXPECT_TRUE(TryStrToFloat("2.5E-3\t", v));
    EXPECT_EQ(v, 0.0025);
    v = 99;
    for (const char* bad : {"1,5", "1.5x", "", "  ", "1.2.3", "inf", "nan", "1 000", "e3", "--1", "1e",
                            "1e999", "+", "."}) {
        EXPECT_FALSE(TryStrToFloat(bad, v)) << bad;
    }
    EXPECT_EQ(v, 99.0); // failures leave the value alone
    EXPECT_EQ(StrToFloatDef("abc", -7.5), -7.5);
    EXPECT_EQ(StrToFloatDef("4.25", -7.5), 4.25);

    SetDecimalSeparator(QLatin1Char(','));
    EXPECT_TRUE(TryStrToFloat("1,5", v));
    EXPECT_EQ(v, 1.5);
    EXPECT_FALSE(TryStrToFloat("1.5", v));
    EXPECT_FALSE(TryStrToFloat("1,5,0", v));
    EXPECT_EQ(StrToFloatDef("-0,25", 0), -0.25);
}

TEST_F(NumberTextTest, IntegerParsing)
{
    int32_t i = 0;
    EXPECT_TRUE(TryStrToInt(" 42 ", i));
    EXPECT_EQ(i, 42);
    EXPECT_TRUE(TryStrToInt("$1F", i));
    EXPECT_EQ(i, 31);
    EXPECT_TRUE(TryStrToInt("0x10", i));
    EXPECT_EQ(i, 16);
    EXPECT_TRUE(TryStrToInt("$FFFFFFFF", i));
    EXPECT_EQ(i, -1);
    EXPECT_TRUE(TryStrToInt("-2147483648", i));
    EXPECT_EQ(i, std::numeric_limits<int32_t>::min());
    for (const char* bad : {"2147483648", "-2147483649", "12abc", "1.0", "", "$", "0x", "$1G", "+-1",
                            "$100000000"}) {
        EXPECT_FALSE(TryStrToInt(bad, i)) << bad;
    }
    EXPECT_EQ(StrToIntDef("x", -3), -3);
    EXPECT_EQ(StrToIntDef("-17", -3), -17);

    int64_t l = 0;
    EXPECT_TRUE(TryStrToInt64("9223372036854775807", l));
    EXPECT_EQ(l, std::numeric_limits<int64_t>::max());
    EXPECT_TRUE(TryStrToInt64("-9223372036854775808", l));
    EXPECT_EQ(l, std::numeric_limits<int64_t>::min());
    EXPECT_FALSE(TryStrToInt64("9223372036854775808", l));
    EXPECT_TRUE(TryStrToInt64("$FFFFFFFFFFFFFFFF", l));
    EXPECT_EQ(l, -1);
    EXPECT_TRUE(TryStrToInt64("30000000000", l));
    EXPECT_EQ(l, 30000000000LL);
}

TEST_F(NumberTextTest, StrictParsing)
{
    EXPECT_EQ(ParseStrictFloat("150"), 150.0);
    EXPECT_EQ(ParseStrictFloat("3.5"), 3.5);
    EXPECT_EQ(ParseStrictFloat("-1e3"), -1000.0);
    EXPECT_EQ(ParseStrictFloat(" 12"), 12.0);
    for (const char* bad : {"1.000.000", "1,5", "12 ", "12k", "", "K", "inf", "0x10"})
        EXPECT_FALSE(ParseStrictFloat(bad).has_value()) << bad;
    // The process mark does not matter to strict parsing.
    SetDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(ParseStrictFloat("3.5"), 3.5);
    EXPECT_FALSE(ParseStrictFloat("3,5").has_value());

    EXPECT_EQ(ParseStrictInt("999"), 999);
    EXPECT_EQ(ParseStrictInt("-5"), -5);
    for (const char* bad : {"1.5", "$10", "0x10", "1e3", "2147483648", "7 "})
        EXPECT_FALSE(ParseStrictInt(bad).has_value()) << bad;
}

TEST_F(NumberTextTest, MachineTextAlwaysUsesDot)
{
    SetDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(FormatMachine(0.1), "0.1");
    EXPECT_EQ(FormatMachine(-2.5), "-2.5");
    EXPECT_EQ(FormatMachine(0.0), "0");
    EXPECT_EQ(FormatMachine(150000.0), "150000");
    EXPECT_EQ(FormatMachine(1e20), "1e+20");
    EXPECT_EQ(FormatMachine(0.0001), "0.0001");
    EXPECT_EQ(FormatMachine(-1.5e-7), "-1.5e-07");
    EXPECT_EQ(FormatMachine(123.456), "123.456");
    EXPECT_EQ(FormatMachineFixed(2.675, 2), "2.67"); // stored just below 2.675
    EXPECT_EQ(FormatMachineFixed(-0.001, 2), "0.00");
    EXPECT_EQ(FormatMachineFixed(2.5, 0), "2");
    EXPECT_EQ(FormatMachineFixed(1234567.0, 1), "1234567.0");
    EXPECT_EQ(ParseMachine(" +1.50000E+06\n"), 1.5e6);
    EXPECT_EQ(ParseMachine("-3.25"), -3.25);
    EXPECT_FALSE(ParseMachine("1,5").has_value());
    EXPECT_FALSE(ParseMachine("").has_value());
    EXPECT_FALSE(ParseMachine("1.5 dBm").has_value());
}

TEST_F(NumberTextTest, RoundHalfEvenRoundsTiesToEven)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999999), 2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(RoundHalfEven(1e30), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(RoundHalfEven(-1e30), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

// Qt takes the C locale from the environment; a German desktop must not change any text.
TEST_F(NumberTextTest, CommaLocaleChangesNothing)
{
    auto sample = [] {
        QStringList out;
        out << FloatToStr(1.8) << FloatToStr(-2.5e-12) << FloatToStrF(30.0, FloatFormat::ffFixed, 10, 3)
            << FloatToStrF(1234567.891, FloatFormat::ffNumber, 15, 2)
            << FormatFloat("#,##0.###", 1234.5) << FormatFloat("0.0E+00", 12345.0)
            << FormatMachine(0.1) << FormatMachineFixed(45.678, 2);
        double v = 0;
        out << (TryStrToFloat("1.5", v) ? FormatMachine(v) : QStringLiteral("fail"));
        out << (TryStrToFloat("1,5", v) ? FormatMachine(v) : QStringLiteral("fail"));
        out << (ParseMachine("2.25") ? FormatMachine(*ParseMachine("2.25")) : QStringLiteral("fail"));
        return out;
    };
    const QStringList expected = {"1.8", "-2.5E-12", "30.000", "1,234,567.89", "1,234.5", "1.2E+04",
                                  "0.1", "45.68", "1.5", "fail", "2.25"};
    EXPECT_EQ(sample(), expected);

    const std::string oldLocale = std::setlocale(LC_ALL, nullptr);
    const char* oldEnv = std::getenv("LC_ALL");
    const std::string savedEnv = oldEnv ? oldEnv : "";
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    const char* set = std::setlocale(LC_ALL, "");
    ASSERT_NE(set, nullptr) << "de_DE.UTF-8 is not installed";
    // Proof that the C library now writes a comma, so the check below means something.
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const std::string probeText = probe;
    const QStringList german = sample();
    std::setlocale(LC_ALL, oldLocale.c_str());
    if (oldEnv)
        setenv("LC_ALL", savedEnv.c_str(), 1);
    else
        unsetenv("LC_ALL");
    EXPECT_EQ(probeText, "1,5");
    EXPECT_EQ(german, expected);
}

} // namespace
