#include "app/NumberText.h"

#include "platform/inifile/ProfileNumbers.h"

#include <QStringList>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

// The program's own default marks are "." for decimals and "," for thousands, whatever the
// desktop's locale says. The settings writer and most operations set the mark to "." before they
// convert numbers and never set it back, and every data file, SCPI answer and typed frequency
// uses ".", so starting with "." gives the same texts from the first conversion on instead of
// texts that change their mark once the first of those operations has run.
namespace {

std::atomic<char16_t> gDecimalMark{u'.'};
std::atomic<char16_t> gThousandMark{u','};

constexpr int kMaxPrecision = 18;
constexpr int kMaxFixedDigits = 18;

using profilenumbers::DecimalDigits;
using profilenumbers::ToDecimalDigits;

QString Latin(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString SpecialText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
}

QString ExponentText(int exponent, int minDigits, bool alwaysSign)
{
    QString out;
    if (exponent < 0)
        out += QLatin1Char('-');
    else if (alwaysSign)
        out += QLatin1Char('+');
    QString digits = QString::fromLatin1(std::to_string(std::abs(exponent)));
    if (digits.size() < minDigits)
        digits.prepend(QString(minDigits - digits.size(), QLatin1Char('0')));
    return out + digits;
}

// General form: fixed while the integer part fits in precision digits and the value is not
// below 0.0001, else mantissa plus "E" and the exponent without "+".
QString GeneralText(double value, int precision, int expDigits, QChar mark)
{
    if (!std::isfinite(value))
        return SpecialText(value);
    const DecimalDigits d = ToDecimalDigits(value, precision);
    if (d.digits.empty())
        return QStringLiteral("0");
    QString out = d.negative ? QStringLiteral("-") : QString();
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent > precision || d.exponent < -3) {
        out += QLatin1Char(d.digits[0]);
        if (n > 1)
            out += mark + Latin(d.digits.substr(1));
        return out + QLatin1Char('E') + ExponentText(d.exponent - 1, expDigits, false);
    }
    if (d.exponent <= 0)
        return out + QLatin1Char('0') + mark + QString(-d.exponent, QLatin1Char('0')) + Latin(d.digits);
    if (n <= d.exponent)
        return out + Latin(d.digits) + QString(d.exponent - n, QLatin1Char('0'));
    return out + Latin(d.digits.substr(0, static_cast<size_t>(d.exponent))) + mark +
           Latin(d.digits.substr(static_cast<size_t>(d.exponent)));
}

// A finite magnitude rounded to `decimals` decimals and at most `maxSignificant` significant
// digits, as integer digits (no leading zeros, empty for zero) and exactly `decimals` fraction
// digits. Where the decimals are the tighter limit the rounding is done once, on the exact binary
// value; ties of exactly representable values go to even, as everywhere in this program.
struct FixedDigits {
    std::string integer;
    std::string fraction;
    bool IsZero() const
    {
        return integer.find_first_not_of('0') == std::string::npos &&
               fraction.find_first_not_of('0') == std::string::npos;
    }
};

FixedDigits RoundFixed(double magnitude, int decimals, int maxSignificant)
{
    FixedDigits out;
    const DecimalDigits probe = ToDecimalDigits(magnitude, 17);
    if (probe.digits.empty() || probe.exponent + decimals <= maxSignificant) {
        char buf[512];
        auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, decimals);
        std::string text(buf, res.ptr);
        const size_t dot = text.find('.');
        out.integer = text.substr(0, dot);
        if (dot != std::string::npos)
            out.fraction = text.substr(dot + 1);
    } else {
        // The digit at index i of d stands at 10^(exponent - 1 - i).
        const DecimalDigits d = ToDecimalDigits(magnitude, maxSignificant);
        const int n = static_cast<int>(d.digits.size());
        auto digitAt = [&](int i) { return i >= 0 && i < n ? d.digits[static_cast<size_t>(i)] : '0'; };
        for (int i = 0; i < d.exponent; ++i)
            out.integer.push_back(digitAt(i));
        for (int k = 1; k <= decimals; ++k)
            out.fraction.push_back(digitAt(d.exponent - 1 + k));
    }
    const size_t firstNonZero = out.integer.find_first_not_of('0');
    out.integer = firstNonZero == std::string::npos ? std::string() : out.integer.substr(firstNonZero);
    out.fraction.resize(static_cast<size_t>(decimals), '0');
    return out;
}

QString Grouped(const std::string& integer, QChar thousands)
{
    QString out;
    const int n = static_cast<int>(integer.size());
    for (int i = 0; i < n; ++i) {
        out += QLatin1Char(integer[static_cast<size_t>(i)]);
        const int left = n - 1 - i;
        if (left > 0 && left % 3 == 0)
            out += thousands;
    }
    return out;
}

QString FixedText(double value, int precision, int digits, bool grouped)
{
    const DecimalDigits d = ToDecimalDigits(value, precision);
    if (d.exponent > precision)
        return GeneralText(value, precision, 0, DecimalSeparator());
    const FixedDigits f = RoundFixed(std::fabs(value), digits, precision);
    QString out;
    if (std::signbit(value) && !f.IsZero())
        out += QLatin1Char('-');
    const std::string integer = f.integer.empty() ? std::string("0") : f.integer;
    out += grouped ? Grouped(integer, ThousandSeparator()) : Latin(integer);
    if (digits > 0)
        out += DecimalSeparator() + Latin(f.fraction);
    return out;
}

QString ExponentFormText(double value, int precision, int digits)
{
    const DecimalDigits d = ToDecimalDigits(value, precision);
    std::string mantissa = d.digits;
    mantissa.resize(static_cast<size_t>(precision), '0');
    QString out = d.negative ? QStringLiteral("-") : QString();
    out += QLatin1Char(mantissa[0]);
    if (precision > 1)
        out += DecimalSeparator() + Latin(mantissa.substr(1));
    const int exponent = d.digits.empty() ? 0 : d.exponent - 1;
    return out + QLatin1Char('E') + ExponentText(exponent, digits, true);
}

// ---- Pattern formatting ------------------------------------------------------------------------

// Splits a pattern at ";" outside quotes.
QStringList SplitSections(const QString& pattern)
{
    QStringList out;
    QString current;
    QChar quote;
    for (QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            out.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    out.append(current);
    return out;
}

struct PatternInfo {
    int integerPlaceholders = 0; // "0" and "#" before the decimal point
    int minInteger = 0;          // placeholders from the first "0" to the decimal point
    int minDecimals = 0;         // up to the last "0" after the point
    int maxDecimals = 0;         // every placeholder after the point
    bool thousands = false;
    bool scientific = false;
    int exponentDigits = 0;
    bool hasDigits = false;
};

bool IsExponentAt(const QString& s, qsizetype i)
{
    return (s[i] == QLatin1Char('E') || s[i] == QLatin1Char('e')) && i + 1 < s.size() &&
           (s[i + 1] == QLatin1Char('+') || s[i + 1] == QLatin1Char('-'));
}

PatternInfo Analyse(const QString& s)
{
    PatternInfo info;
    bool afterPoint = false;
    bool sawZero = false;
    QChar quote;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            info.hasDigits = true;
            if (afterPoint) {
                ++info.maxDecimals;
                if (c == QLatin1Char('0'))
                    info.minDecimals = info.maxDecimals;
            } else {
                ++info.integerPlaceholders;
                if (c == QLatin1Char('0'))
                    sawZero = true;
                if (sawZero)
                    ++info.minInteger;
            }
        } else if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (c == QLatin1Char(',')) {
            if (!afterPoint)
                info.thousands = true;
        } else if (IsExponentAt(s, i)) {
            info.scientific = true;
            qsizetype j = i + 2;
            while (j < s.size() && s[j] == QLatin1Char('0')) {
                ++info.exponentDigits;
                ++j;
            }
            info.exponentDigits = std::min(info.exponentDigits, 4);
            break; // what follows the exponent digits is literal text
        }
    }
    return info;
}

struct NumberParts {
    std::string integer;  // digits without leading zeros, padded later
    std::string fraction; // trailing zeros beyond the minimum removed
    int exponent = 0;
    bool zero = true;
};

NumberParts Prepare(double magnitude, const PatternInfo& info)
{
    constexpr int kSignificant = 15;
    NumberParts parts;
    if (info.scientific) {
        const int intDigits = std::max(info.integerPlaceholders, 1);
        const int significant = std::min(intDigits + info.maxDecimals, kSignificant);
        const DecimalDigits d = ToDecimalDigits(magnitude, significant);
        if (!d.digits.empty()) {
            parts.zero = false;
            parts.exponent = d.exponent - intDigits;
            std::string all = d.digits;
            all.resize(static_cast<size_t>(intDigits + info.maxDecimals), '0');
            parts.integer = all.substr(0, static_cast<size_t>(intDigits));
            parts.fraction = all.substr(static_cast<size_t>(intDigits));
            const size_t nz = parts.integer.find_first_not_of('0');
            parts.integer = nz == std::string::npos ? std::string() : parts.integer.substr(nz);
        } else {
            parts.fraction = std::string(static_cast<size_t>(info.maxDecimals), '0');
        }
    } else {
        const FixedDigits f = RoundFixed(magnitude, info.maxDecimals, kSignificant);
        parts.zero = f.IsZero();
        parts.integer = f.integer;
        parts.fraction = f.fraction;
    }
    while (static_cast<int>(parts.fraction.size()) > info.minDecimals && !parts.fraction.empty() &&
           parts.fraction.back() == '0')
        parts.fraction.pop_back();
    return parts;
}

QString ApplySection(const QString& s, const PatternInfo& info, const NumberParts& parts)
{
    std::string integer = parts.integer;
    if (static_cast<int>(integer.size()) < info.minInteger)
        integer.insert(0, static_cast<size_t>(info.minInteger) - integer.size(), '0');
    int remainingDigits = static_cast<int>(integer.size());
    int remainingPlaceholders = info.integerPlaceholders;
    size_t nextFraction = 0;
    bool afterPoint = false;
    const QChar thousands = ThousandSeparator();

    QString out;
    auto emitIntegerDigits = [&](int keep) {
        // Emits every integer digit that stands left of the `keep` places still to come.
        // Placeholders after the exponent drive keep below zero; they have no digits left.
        keep = std::max(keep, 0);
        while (remainingDigits > keep) {
            out += QLatin1Char(integer[integer.size() - static_cast<size_t>(remainingDigits)]);
            --remainingDigits;
            if (info.thousands && remainingDigits > 0 && remainingDigits % 3 == 0)
                out += thousands;
        }
    };

    QChar quote;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (!afterPoint) {
                --remainingPlaceholders;
                emitIntegerDigits(remainingPlaceholders);
            } else if (nextFraction < parts.fraction.size()) {
                out += QLatin1Char(parts.fraction[nextFraction++]);
            }
        } else if (c == QLatin1Char('.')) {
            if (!afterPoint) {
                afterPoint = true;
                emitIntegerDigits(0); // a pattern without integer places still shows them
                if (!parts.fraction.empty())
                    out += DecimalSeparator();
            }
        } else if (c == QLatin1Char(',')) {
            // a flag for grouping, never text
        } else if (IsExponentAt(s, i)) {
            emitIntegerDigits(0);
            while (nextFraction < parts.fraction.size())
                out += QLatin1Char(parts.fraction[nextFraction++]);
            out += c;
            out += ExponentText(parts.exponent, info.exponentDigits, s[i + 1] == QLatin1Char('+'));
            i += 2;
            while (i < s.size() && s[i] == QLatin1Char('0'))
                ++i;
            --i;
        } else {
            out += c;
        }
    }
    emitIntegerDigits(0);
    return out;
}

} // namespace

QChar DecimalSeparator()
{
    return QChar(gDecimalMark.load());
}

void SetDecimalSeparator(QChar mark)
{
    gDecimalMark.store(mark.unicode());
}

QChar ThousandSeparator()
{
    return QChar(gThousandMark.load());
}

void SetThousandSeparator(QChar mark)
{
    gThousandMark.store(mark.unicode());
}

ScopedDecimalSeparator::ScopedDecimalSeparator(QChar mark)
    : old_(DecimalSeparator())
{
    SetDecimalSeparator(mark);
}

ScopedDecimalSeparator::~ScopedDecimalSeparator()
{
    SetDecimalSeparator(old_);
}

QString FloatToStr(double value)
{
    return GeneralText(value, 15, 0, DecimalSeparator());
}

QString FloatToStrF(double value, FloatFormat format, int precision, int digits)
{
    if (!std::isfinite(value))
        return SpecialText(value);
    precision = std::clamp(precision, 1, kMaxPrecision);
    switch (format) {
    case FloatFormat::ffGeneral:
        return GeneralText(value, precision, std::clamp(digits, 0, 4), DecimalSeparator());
    case FloatFormat::ffExponent:
        return ExponentFormText(value, precision, std::clamp(digits, 0, 4));
    case FloatFormat::ffFixed:
        return FixedText(value, precision, std::clamp(digits, 0, kMaxFixedDigits), false);
    case FloatFormat::ffNumber:
        return FixedText(value, precision, std::clamp(digits, 0, kMaxFixedDigits), true);
    }
    return FloatToStr(value);
}

QString FormatFloat(const QString& pattern, double value)
{
    if (!std::isfinite(value))
        return SpecialText(value);
    const QStringList sections = SplitSections(pattern);
    const QString& positive = sections[0];
    if (positive.isEmpty())
        return FloatToStr(value);
    const bool hasNegative = sections.size() > 1 && !sections[1].isEmpty();
    const bool hasZero = sections.size() > 2 && !sections[2].isEmpty();
    const double magnitude = std::fabs(value);

    QString section = positive;
    bool ownSign = false; // the negative section carries its own sign text
    if (value < 0 && hasNegative) {
        section = sections[1];
        ownSign = true;
    }
    PatternInfo info = Analyse(section);
    // Beyond 18 integer digits only an exponent pattern can show the value sensibly.
    if (!info.scientific && std::fabs(value) >= 1e18)
        return FloatToStr(value);
    NumberParts parts = Prepare(magnitude, info);
    if (parts.zero && hasZero) {
        // The zero section is chosen by the value as it will be shown, so -0.001 in "0.00"
        // takes it too.
        section = sections[2];
        info = Analyse(section);
        parts = Prepare(0.0, info);
        return ApplySection(section, info, parts);
    }
    QString text = ApplySection(section, info, parts);
    if (value < 0 && !ownSign && !parts.zero)
        text.prepend(QLatin1Char('-'));
    return text;
}

namespace {

// Digits, at most one decimal mark (already "."), an optional exponent; an optional leading sign.
std::optional<double> ParseNumberBody(const std::string& s)
{
    if (s.empty())
        return std::nullopt;
    size_t pos = 0;
    bool negative = false;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        pos = 1;
    }
    if (pos >= s.size())
        return std::nullopt;
    const char first = s[pos];
    if (!((first >= '0' && first <= '9') || first == '.'))
        return std::nullopt;
    for (size_t i = pos; i < s.size(); ++i) {
        const char c = s[i];
        const bool ok = (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' ||
                        c == '-';
        if (!ok)
            return std::nullopt;
    }
    double v = 0;
    const char* begin = s.data() + pos;
    const char* end = s.data() + s.size();
    auto res = std::from_chars(begin, end, v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != end || !std::isfinite(v))
        return std::nullopt;
    return negative ? -v : v;
}

std::optional<std::string> AsciiOf(QStringView text)
{
    std::string out;
    for (QChar c : text) {
        if (c.unicode() >= 0x80 || c.unicode() == 0)
            return std::nullopt;
        out.push_back(static_cast<char>(c.unicode()));
    }
    return out;
}

bool IsBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

QStringView TrimBlanks(QStringView text)
{
    while (!text.isEmpty() && IsBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && IsBlank(text.back()))
        text.chop(1);
    return text;
}

template <typename T>
std::optional<T> ParseInteger(QStringView text, bool allowHex)
{
    auto ascii = AsciiOf(text);
    if (!ascii || ascii->empty())
        return std::nullopt;
    const std::string& s = *ascii;
    size_t pos = 0;
    bool negative = false;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        pos = 1;
    }
    int base = 10;
    if (allowHex && pos < s.size() && s[pos] == '$') {
        base = 16;
        ++pos;
    } else if (allowHex && pos + 1 < s.size() && s[pos] == '0' &&
               (s[pos + 1] == 'x' || s[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos >= s.size() || s[pos] == '+' || s[pos] == '-')
        return std::nullopt;
    using U = std::make_unsigned_t<T>;
    U magnitude = 0;
    auto res = std::from_chars(s.data() + pos, s.data() + s.size(), magnitude, base);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size())
        return std::nullopt;
    if (base == 16) {
        // Hex texts are bit patterns: $FFFFFFFF is -1, as the classic readers took it.
        const T bits = static_cast<T>(magnitude);
        return negative ? static_cast<T>(U(0) - static_cast<U>(bits)) : bits;
    }
    const U limit = static_cast<U>(std::numeric_limits<T>::max()) + (negative ? 1u : 0u);
    if (magnitude > limit)
        return std::nullopt;
    return negative ? static_cast<T>(U(0) - magnitude) : static_cast<T>(magnitude);
}

} // namespace

bool TryStrToFloat(const QString& text, double& value)
{
    auto ascii = AsciiOf(TrimBlanks(text));
    if (!ascii)
        return false;
    std::string s = *ascii;
    const QChar mark = DecimalSeparator();
    if (mark.unicode() >= 0x80)
        return false;
    const char m = static_cast<char>(mark.unicode());
    if (m != '.') {
        // With another mark a "." is a foreign character, not a decimal point.
        if (s.find('.') != std::string::npos)
            return false;
        const size_t at = s.find(m);
        if (at != std::string::npos)
            s[at] = '.';
    }
    auto v = ParseNumberBody(s);
    if (!v)
        return false;
    value = *v;
    return true;
}

double StrToFloatDef(const QString& text, double def)
{
    double v = 0;
    return TryStrToFloat(text, v) ? v : def;
}

bool TryStrToInt(const QString& text, int32_t& value)
{
    auto v = ParseInteger<int32_t>(TrimBlanks(text), true);
    if (!v)
        return false;
    value = *v;
    return true;
}

int32_t StrToIntDef(const QString& text, int32_t def)
{
    int32_t v = 0;
    return TryStrToInt(text, v) ? v : def;
}

bool TryStrToInt64(const QString& text, int64_t& value)
{
    auto v = ParseInteger<int64_t>(TrimBlanks(text), true);
    if (!v)
        return false;
    value = *v;
    return true;
}

std::optional<double> ParseStrictFloat(const QString& text)
{
    // Leading blanks are skipped as the classic value parser did; anything after the number is
    // refused.
    QStringView view(text);
    while (!view.isEmpty() && view.front() == QLatin1Char(' '))
        view = view.mid(1);
    auto ascii = AsciiOf(view);
    if (!ascii)
        return std::nullopt;
    return ParseNumberBody(*ascii);
}

std::optional<int32_t> ParseStrictInt(const QString& text)
{
    QStringView view(text);
    while (!view.isEmpty() && view.front() == QLatin1Char(' '))
        view = view.mid(1);
    return ParseInteger<int32_t>(view, false);
}

QString FormatMachine(double value)
{
    if (!std::isfinite(value))
        return SpecialText(value);
    if (value == 0)
        return QStringLiteral("0");
    // The shortest digits that read back as the same double, written plainly for ordinary
    // magnitudes ("150000", "0.0001") and with an exponent outside them ("1.5e+20"); the
    // unformatted to_chars would print every digit of a large integer instead.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    const std::string sci(buf, res.ptr);
    const size_t ePos = sci.find('e');
    int exp10 = 0;
    const char* expBegin = sci.data() + ePos + 1;
    if (*expBegin == '+')
        ++expBegin;
    std::from_chars(expBegin, sci.data() + sci.size(), exp10);
    if (exp10 < -5 || exp10 >= 17)
        return QString::fromLatin1(sci.data(), static_cast<qsizetype>(sci.size()));
    std::string digits;
    for (size_t i = 0; i < ePos; ++i) {
        if (sci[i] >= '0' && sci[i] <= '9')
            digits.push_back(sci[i]);
    }
    const int n = static_cast<int>(digits.size());
    std::string out = value < 0 ? "-" : "";
    if (exp10 < 0) {
        out += "0." + std::string(static_cast<size_t>(-exp10 - 1), '0') + digits;
    } else if (n <= exp10 + 1) {
        out += digits + std::string(static_cast<size_t>(exp10 + 1 - n), '0');
    } else {
        out += digits.substr(0, static_cast<size_t>(exp10 + 1)) + "." +
               digits.substr(static_cast<size_t>(exp10 + 1));
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString FormatMachineFixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return SpecialText(value);
    decimals = std::clamp(decimals, 0, 40);
    char buf[512];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc())
        return FormatMachine(value);
    QString text = QString::fromLatin1(buf, res.ptr - buf);
    // "-0.00" is no number a reader expects.
    bool allZero = true;
    for (QChar c : text) {
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9'))
            allZero = false;
    }
    if (allZero && text.startsWith(QLatin1Char('-')))
        text.remove(0, 1);
    return text;
}

std::optional<double> ParseMachine(const QString& text)
{
    return profilenumbers::ParseDotFloat(TrimBlanks(text));
}

int64_t RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value);
    if (r >= 9223372036854775807.0)
        return std::numeric_limits<int64_t>::max();
    if (r <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}
