#include "platform/inifile/ProfileNumbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace profilenumbers {

namespace {

// Only ASCII can be part of a number; anything else makes the text invalid, so the conversion
// to bytes never has to guess.
std::optional<std::string> AsciiBytes(QStringView text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        if (c.unicode() >= 0x80 || c.unicode() == 0)
            return std::nullopt;
        out.push_back(static_cast<char>(c.unicode()));
    }
    return out;
}

bool EqualsNoCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; b[i] != '\0'; ++i) {
        if (i >= a.size())
            return false;
        char c = a[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != b[i])
            return false;
    }
    return i == a.size();
}

} // namespace

DecimalDigits ToDecimalDigits(double value, int significantDigits)
{
    DecimalDigits out;
    if (significantDigits < 1)
        significantDigits = 1;
    if (significantDigits > 40)
        significantDigits = 40;
    if (value == 0.0 || !std::isfinite(value))
        return out;
    out.negative = std::signbit(value);
    char buf[80];
    // Scientific form with n-1 decimals gives exactly n correctly rounded significant digits.
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                             significantDigits - 1);
    std::string text(buf, res.ptr);
    const size_t ePos = text.find('e');
    for (size_t i = 0; i < ePos; ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            out.digits.push_back(text[i]);
    }
    int exp10 = 0;
    const char* expBegin = text.data() + ePos + 1;
    if (*expBegin == '+')
        ++expBegin;
    std::from_chars(expBegin, text.data() + text.size(), exp10);
    out.exponent = exp10 + 1;
    while (!out.digits.empty() && out.digits.back() == '0')
        out.digits.pop_back();
    if (out.digits.empty()) {
        out.negative = false;
        out.exponent = 0;
    }
    return out;
}

QString FormatGeneral(double value, int precision, QChar decimalMark)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const DecimalDigits d = ToDecimalDigits(value, precision);
    if (d.digits.empty())
        return QStringLiteral("0");
    QString out;
    if (d.negative)
        out += QLatin1Char('-');
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent > precision || d.exponent < -3) {
        out += QLatin1Char(d.digits[0]);
        if (n > 1) {
            out += decimalMark;
            out += QString::fromLatin1(d.digits.data() + 1, n - 1);
        }
        out += QLatin1Char('E');
        out += QString::fromLatin1(std::to_string(d.exponent - 1));
        return out;
    }
    if (d.exponent <= 0) {
        out += QLatin1Char('0');
        out += decimalMark;
        out += QString(-d.exponent, QLatin1Char('0'));
        out += QString::fromLatin1(d.digits.data(), n);
        return out;
    }
    if (n <= d.exponent) {
        out += QString::fromLatin1(d.digits.data(), n);
        out += QString(d.exponent - n, QLatin1Char('0'));
        return out;
    }
    out += QString::fromLatin1(d.digits.data(), d.exponent);
    out += decimalMark;
    out += QString::fromLatin1(d.digits.data() + d.exponent, n - d.exponent);
    return out;
}

std::optional<double> ParseDotFloat(QStringView text)
{
    auto bytes = AsciiBytes(text);
    if (!bytes || bytes->empty())
        return std::nullopt;
    std::string s = std::move(*bytes);
    bool negative = false;
    size_t pos = 0;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        pos = 1;
    }
    const std::string body = s.substr(pos);
    if (body.empty())
        return std::nullopt;
    if (EqualsNoCase(body, "INF"))
        return negative ? -HUGE_VAL : HUGE_VAL;
    if (EqualsNoCase(body, "NAN"))
        return std::nan("");
    // from_chars would also take "infinity" or "nan(...)"; only digits, one point and an
    // exponent are numbers here.
    for (char c : body) {
        const bool ok = (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' ||
                        c == '-';
        if (!ok)
            return std::nullopt;
    }
    if (body[0] == '+' || body[0] == '-')
        return std::nullopt;
    double v = 0;
    auto res = std::from_chars(body.data(), body.data() + body.size(), v,
                               std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != body.data() + body.size())
        return std::nullopt;
    return negative ? -v : v;
}

std::optional<int32_t> ParseProfileInt(QStringView text)
{
    auto bytes = AsciiBytes(text);
    if (!bytes || bytes->empty())
        return std::nullopt;
    const std::string& s = *bytes;
    bool negative = false;
    size_t pos = 0;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        pos = 1;
    }
    int base = 10;
    if (pos < s.size() && s[pos] == '$') {
        base = 16;
        ++pos;
    } else if (pos + 1 < s.size() && s[pos] == '0' && (s[pos + 1] == 'x' || s[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos >= s.size())
        return std::nullopt;
    // from_chars would accept a second sign after the prefix; digits only from here on.
    const char first = s[pos];
    const bool digit = (first >= '0' && first <= '9') || (base == 16 && ((first >= 'a' && first <= 'f') ||
                                                                        (first >= 'A' && first <= 'F')));
    if (!digit)
        return std::nullopt;
    uint64_t magnitude = 0;
    auto res = std::from_chars(s.data() + pos, s.data() + s.size(), magnitude, base);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size())
        return std::nullopt;
    int64_t v = 0;
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFull)
            return std::nullopt;
        v = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
    } else {
        if (magnitude > 0x80000000ull)
            return std::nullopt;
        v = static_cast<int64_t>(magnitude);
    }
    if (negative)
        v = -v;
    if (v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(v);
}

} // namespace profilenumbers
