#include "app/TextRoutines.h"

#include "app/NumberText.h"

#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

class TextRoutinesTest : public ::testing::Test {
protected:
    void SetUp() override { SetDecimalSeparator(QLatin1Char('.')); }
    void TearDown() override { SetDecimalSeparator(QLatin1Char('.')); }
};

// Switches the C library to a German locale (comma decimal mark) for its lifetime, as a desktop
// session with LC_ALL=de_DE.UTF-8 would.
class GermanLocale {
public:
    GermanLocale()
        : oldLocale_(std::setlocale(LC_ALL, nullptr))
    {
        const char* env = std::getenv("LC_ALL");
        hadEnv_ = env != nullptr;
        oldEnv_ = env ? env : "";
        setenv("LC_ALL", "de_DE.UTF-8", 1);
        active_ = std::setlocale(LC_ALL, "") != nullptr;
    }
    ~GermanLocale()
    {
        std::setlocale(LC_ALL, oldLocale_.c_str());
        if (hadEnv_)
            setenv("LC_ALL", oldEnv_.c_str(), 1);
        else
            unsetenv("LC_ALL");
    }
    bool Active() const { return active_; }

private:
    std::string oldLocale_;
    std::string oldEnv_;
    bool hadEnv_ = false;
    bool active_ = false;
};

TEST_F(TextRoutinesTest, KhzToScaledTextPicksTheUnit)
{
    EXPECT_EQ(KhzToScaledText("150"), "150 kHz");
    EXPECT_EQ(KhzToScaledText("999.4"), "999 kHz");
    EXPECT_EQ(KhzToScaledText("0.5"), "0 kHz"); // shown with no decimals: halves to even
    EXPECT_EQ(KhzToScaledText("30000"), "30.000 MHz");
    EXPECT_EQ(KhzToScaledText("1000"), "1.000 MHz");
    EXPECT_EQ(KhzToScaledText("999999"), "999.999 MHz");
    EXPECT_EQ(KhzToScaledText("1000000"), "1.000 GHz");
    EXPECT_EQ(KhzToScaledText("2500600"), "2.501 GHz");
    EXPECT_EQ(KhzToScaledText("0"), "");
    EXPECT_EQ(KhzToScaledText("-5"), "");
    EXPECT_EQ(KhzToScaledText("1000000000"), "");
    EXPECT_EQ(KhzToScaledText("abc"), "abc");
    EXPECT_EQ(KhzToScaledText("30.000.000"), "30.000.000"); // thousands dots are no number here
    EXPECT_EQ(KhzToScaledText("1,5"), "1,5");

    EXPECT_EQ(KhzToKhzText("30000"), "30000 kHz");
    EXPECT_EQ(KhzToKhzText("2999999"), "2999999 kHz");
    EXPECT_EQ(KhzToKhzText("3000000"), "");
    EXPECT_EQ(KhzToKhzText("0"), "");
    EXPECT_EQ(KhzToKhzText("x1"), "x1");
}

TEST_F(TextRoutinesTest, IntKhzToScaledTextNeedsAWholeNumber)
{
    EXPECT_EQ(IntKhzToScaledText("1500000"), "1.500000 GHz");
    EXPECT_EQ(IntKhzToScaledText("1.5"), "0 kHz");
    EXPECT_EQ(IntKhzToScaledText("abc"), "0 kHz");
    EXPECT_EQ(IntKhzToScaledText("1"), "1 kHz");
    EXPECT_EQ(IntKhzToScaledText("999"), "999 kHz");
    EXPECT_EQ(IntKhzToScaledText("1000"), "1.000 MHz");
    EXPECT_EQ(IntKhzToScaledText("150000"), "150.000 MHz");
    EXPECT_EQ(IntKhzToScaledText("999999"), "999.999 MHz");
    EXPECT_EQ(IntKhzToScaledText("99999999"), "99.999999 GHz");
    EXPECT_EQ(IntKhzToScaledText("100000000"), "");
    EXPECT_EQ(IntKhzToScaledText("0"), "");
    EXPECT_EQ(IntKhzToScaledText("-10"), "");
}

TEST_F(TextRoutinesTest, FreqTextToHzText)
{
    EXPECT_EQ(FreqTextToHzText("12k"), "12000");
    EXPECT_EQ(FreqTextToHzText("12K"), "12000");
    EXPECT_EQ(FreqTextToHzText("3,5M"), "3500000");
    EXPECT_EQ(FreqTextToHzText("3.5MHz"), "3500000");
    EXPECT_EQ(FreqTextToHzText("1G"), "1000000000");
    EXPECT_EQ(FreqTextToHzText("2.4GHz"), "2400000000");
    EXPECT_EQ(FreqTextToHzText("150000"), "150000");
    EXPECT_EQ(FreqTextToHzText("2,5"), "2.5"); // the plain number as it now stands
    EXPECT_EQ(FreqTextToHzText("12x"), "not valid");
    EXPECT_EQ(FreqTextToHzText("K"), "not valid");
    EXPECT_EQ(FreqTextToHzText("abcK"), "not valid");
    EXPECT_EQ(FreqTextToHzText(""), "not valid");
    // "K" is looked for first: a text holding K and M is judged by what stands before the K.
    EXPECT_EQ(FreqTextToHzText("1M5K"), "not valid");
    EXPECT_EQ(FreqTextToHzText("1,5,5k"), "not valid"); // only the first comma becomes a point
    // The kHz form keeps 10 significant digits; more switch to exponent form.
    EXPECT_EQ(FreqTextToHzText("99999999k"), "9.9999999E10");
    EXPECT_EQ(FreqTextToHzText("99999999M"), "9.9999999E13");
    EXPECT_EQ(FreqTextToHzText("999999M"), "999999000000");
}

TEST_F(TextRoutinesTest, AnySeparatorParsing)
{
    double v = 0;
    EXPECT_TRUE(TryStrToFloatAnySep("1.5", v));
    EXPECT_EQ(v, 1.5);
    EXPECT_TRUE(TryStrToFloatAnySep("-2,25", v));
    EXPECT_EQ(v, -2.25);
    EXPECT_FALSE(TryStrToFloatAnySep("1.234,5", v));
    EXPECT_FALSE(TryStrToFloatAnySep("abc", v));
    EXPECT_EQ(DecimalSeparator(), QLatin1Char('.'));
    SetDecimalSeparator(QLatin1Char(','));
    EXPECT_TRUE(TryStrToFloatAnySep("7.5", v));
    EXPECT_EQ(v, 7.5);
    EXPECT_EQ(DecimalSeparator(), QLatin1Char(',')); // restored after success ...
    EXPECT_FALSE(TryStrToFloatAnySep("x", v));
    EXPECT_EQ(DecimalSeparator(), QLatin1Char(',')); // ... and after failure

    for (QChar mark : {QLatin1Char('.'), QLatin1Char(',')}) {
        SetDecimalSeparator(mark);
        EXPECT_EQ(StrToFloatAnySepDef("1,5", -1), 1.5);
        EXPECT_EQ(StrToFloatAnySepDef("1.5", -1), 1.5);
        EXPECT_EQ(StrToFloatAnySepDef("48.1173", -1), 48.1173);
        EXPECT_EQ(StrToFloatAnySepDef("1.234,5", -1), -1);
        EXPECT_EQ(StrToFloatAnySepDef("", -1), -1);
    }
}

TEST_F(TextRoutinesTest, DotsRemovedAndInserted)
{
    EXPECT_EQ(RemoveDots("30.000.000"), "30000000");
    EXPECT_EQ(RemoveDots("..1.."), "1");
    EXPECT_EQ(RemoveDots(""), "");
    EXPECT_EQ(InsertThousandDots("123"), "123");
    EXPECT_EQ(InsertThousandDots("1000"), "1.000");
    EXPECT_EQ(InsertThousandDots("1234567"), "1.234.567");
    EXPECT_EQ(InsertThousandDots("30000000"), "30.000.000");
    EXPECT_EQ(InsertThousandDots("123456"), "123.456");
    EXPECT_EQ(InsertThousandDots(""), "");
    // Every character counts: signs and marks are not special.
    EXPECT_EQ(InsertThousandDots("-123"), "-.123");
    EXPECT_EQ(InsertThousandDots("1234.5"), "123.4.5");
    EXPECT_EQ(RemoveDots(InsertThousandDots("9876543210")), "9876543210");
}

TEST_F(TextRoutinesTest, NmeaCoordinates)
{
    // Callers set the mark to "," first.
    SetDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(NmeaCoordToDegrees("4807.0380", "N"), "48.1173");
    EXPECT_EQ(NmeaCoordToDegrees("4807.0380", "S"), "-48.1173");
    EXPECT_EQ(NmeaCoordToDegrees("01131.0000", "E"), "11.5166666666667");
    EXPECT_EQ(NmeaCoordToDegrees("01131.0000", "W"), "-11.5166666666667");
    EXPECT_EQ(NmeaCoordToDegrees("00000.5000", "E"), "0.00833333333333333");
    // Other precisions than four decimals of a minute: the degrees end two digits before the point.
    EXPECT_EQ(NmeaCoordToDegrees("4807.038", "N"), "48.1173");
    EXPECT_EQ(NmeaCoordToDegrees("01131.00000", "W"), "-11.5166666666667");
    EXPECT_EQ(NmeaCoordToDegrees("0530.12", "N"), "5.502");
    EXPECT_EQ(NmeaCoordToDegrees("4807.0380", "s"), "48.1173"); // exactly "S" only
    EXPECT_EQ(NmeaCoordToDegrees("4807.0380", "SW"), "48.1173");
    EXPECT_EQ(DecimalSeparator(), QLatin1Char(',')); // left as the caller set it
    // A caller that kept "." still gets the position.
    SetDecimalSeparator(QLatin1Char('.'));
    EXPECT_EQ(NmeaCoordToDegrees("4807.0380", "N"), "48.1173");
    // Not a coordinate: an empty text, no exception.
    EXPECT_EQ(NmeaCoordToDegrees("ab07.0380", "N"), "");
    EXPECT_EQ(NmeaCoordToDegrees("", "N"), "");
    EXPECT_EQ(NmeaCoordToDegrees("4807.03x0", "N"), "");
}

TEST_F(TextRoutinesTest, SecondsToDateTimeGivesDaysAndFraction)
{
    EXPECT_EQ(SecondsToDateTime(0), 0.0);
    EXPECT_DOUBLE_EQ(SecondsToDateTime(90061), 1.042372685185185);
    EXPECT_DOUBLE_EQ(SecondsToDateTime(43200), 0.5);
    // The largest count: 49710 days, 06:28:15.
    EXPECT_DOUBLE_EQ(SecondsToDateTime(4294967295u), 49710.26961805556);
}

TEST_F(TextRoutinesTest, VersionTable)
{
    using P = OsVersionInfo;
    struct Row {
        P::Platform platform;
        uint32_t major, minor;
        const char* sp;
        int32_t index;
    };
    const Row rows[] = {
        {P::Win9x, 4, 0, "", 0},     {P::Win9x, 4, 10, " A", 2}, {P::Win9x, 4, 10, "A", 1},
        {P::Win9x, 4, 10, "", 1},    {P::Win9x, 4, 10, " B", 1}, {P::Win9x, 4, 90, "", 3},
        {P::Win9x, 5, 0, "", -1},    {P::WinNT, 3, 51, "", 4},   {P::WinNT, 4, 0, "SP6", 4},
        {P::WinNT, 5, 0, "", 5},     {P::WinNT, 5, 1, "SP3", 6}, {P::WinNT, 5, 2, "", -1},
        {P::WinNT, 6, 0, "", 7},     {P::WinNT, 6, 1, "", 8},    {P::WinNT, 6, 2, "", 9},
        {P::WinNT, 6, 3, "", -1},    {P::WinNT, 10, 0, "", -1},  {P::Other, 6, 2, "", -1},
    };
    for (const Row& r : rows) {
        const OsVersionInfo info{r.platform, r.major, r.minor, QString::fromLatin1(r.sp)};
        EXPECT_EQ(WindowsVersionIndex(info), r.index) << r.major << "." << r.minor << " " << r.sp;
    }
    EXPECT_EQ(GetWindowsVersionIndex(), 9);
}

TEST_F(TextRoutinesTest, MemInfoFields)
{
    const QByteArray sample = "MemTotal:       24682404 kB\n"
                              "MemFree:        23520640 kB\n"
                              "MemAvailable:   24065184 kB\n"
                              "MemAvailableX:  1 kB\n"
                              "HugePages_Total:      12\n"
                              "Broken:         12x kB\n"
                              "Odd:            5 MB\n";
    EXPECT_EQ(MemInfoField(sample, "MemTotal"), 24682404ull * 1024);
    EXPECT_EQ(MemInfoField(sample, "MemAvailable"), 24065184ull * 1024);
    EXPECT_EQ(MemInfoField(sample, "HugePages_Total"), 12u);
    EXPECT_EQ(MemInfoField(sample, "Mem"), 0u);
    EXPECT_EQ(MemInfoField(sample, "Broken"), 0u);
    EXPECT_EQ(MemInfoField(sample, "Odd"), 0u);
    EXPECT_EQ(MemInfoField(sample, "SwapTotal"), 0u);
    EXPECT_EQ(MemInfoField(QByteArray(), "MemTotal"), 0u);
    // Above 4 GiB: no 32-bit wrap.
    EXPECT_EQ(MemInfoField("MemTotal: 8388608 kB\n", "MemTotal"), 8589934592ull);

    // The live figures agree with the kernel's page count.
    const uint64_t total = GetTotalPhysMemory();
    const uint64_t pages = static_cast<uint64_t>(sysconf(_SC_PHYS_PAGES));
    const uint64_t pageSize = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    EXPECT_NEAR(static_cast<double>(total), static_cast<double>(pages * pageSize), pageSize);
    const uint64_t avail = GetAvailPhysMemory();
    EXPECT_GT(avail, 0u);
    EXPECT_LE(avail, total);
}

TEST_F(TextRoutinesTest, LocalIpAddressesAreDottedIpv4)
{
    QStringList list = {"stale"};
    EXPECT_TRUE(GetLocalIpAddresses(list));
    EXPECT_FALSE(list.contains("stale"));
    const QRegularExpression dotted(QStringLiteral("^\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$"));
    for (const QString& a : list) {
        EXPECT_TRUE(dotted.match(a).hasMatch()) << a.toStdString();
        EXPECT_EQ(QHostAddress(a).protocol(), QAbstractSocket::IPv4Protocol);
    }
    // Cross-check with the system's own listing where the tool is there.
    QProcess ip;
    ip.start(QStringLiteral("ip"), {QStringLiteral("-4"), QStringLiteral("-o"), QStringLiteral("addr")});
    if (!ip.waitForFinished(5000) || ip.exitCode() != 0)
        GTEST_SKIP() << "no ip tool";
    const QRegularExpression inet(QStringLiteral("inet (\\d+\\.\\d+\\.\\d+\\.\\d+)/"));
    QStringList expected;
    auto it = inet.globalMatch(QString::fromLocal8Bit(ip.readAllStandardOutput()));
    while (it.hasNext())
        expected.append(it.next().captured(1));
    QStringList got = list;
    got.sort();
    expected.sort();
    EXPECT_EQ(got, expected);
}

// The display routines follow the program's mark, not the desktop's locale.
TEST_F(TextRoutinesTest, CommaLocaleAndCommaMark)
{
    auto sample = [] {
        QStringList out;
        out << KhzToScaledText("30000") << KhzToScaledText("150") << IntKhzToScaledText("1500000")
            << IntKhzToScaledText("1.5") << KhzToScaledText("0") << FreqTextToHzText("12k")
            << FreqTextToHzText("3,5M") << FreqTextToHzText("12x") << FreqTextToHzText("K")
            << InsertThousandDots("1234567") << RemoveDots("30.000.000");
        double v = 0;
        out << (TryStrToFloatAnySep("2,5", v) ? FormatMachine(v) : QStringLiteral("fail"));
        out << FormatMachine(StrToFloatAnySepDef("0.75", -1));
        {
            ScopedDecimalSeparator comma(QLatin1Char(','));
            out << NmeaCoordToDegrees("4807.0380", "S");
        }
        return out;
    };
    const QStringList dotExpected = {"30.000 MHz", "150 kHz",  "1.500000 GHz", "0 kHz",   "",
                                     "12000",      "3500000",  "not valid",    "not valid",
                                     "1.234.567",  "30000000", "2.5",          "0.75",    "-48.1173"};
    EXPECT_EQ(sample(), dotExpected);

    {
        GermanLocale german;
        ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 is not installed";
        EXPECT_EQ(sample(), dotExpected);
    }

    // With "," as the program's mark only the decimals of the display texts change.
    SetDecimalSeparator(QLatin1Char(','));
    QStringList commaExpected = dotExpected;
    commaExpected[0] = "30,000 MHz";
    commaExpected[2] = "1,500000 GHz";
    EXPECT_EQ(sample(), commaExpected);
    {
        GermanLocale german;
        EXPECT_EQ(sample(), commaExpected);
    }
}

} // namespace
