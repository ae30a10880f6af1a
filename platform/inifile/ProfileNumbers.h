#ifndef ZENDRIK_PLATFORM_INIFILE_PROFILENUMBERS_H
#define ZENDRIK_PLATFORM_INIFILE_PROFILENUMBERS_H

#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <string>

// Number text shared by the INI layer and the display helpers in app/NumberText.h. Everything
// goes through std::to_chars/std::from_chars, never printf/strtod, because Qt sets the C locale
// from the environment and a German desktop would otherwise write "1,5" into our files.
namespace profilenumbers {

// A finite value rounded to a number of significant digits, split the way the classic
// general/exponent/fixed formatters want it: value = 0.d1d2d3... * 10^exponent.
// Trailing zeros are dropped from digits; zero has empty digits and exponent 0.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};
DecimalDigits ToDecimalDigits(double value, int significantDigits);

// Shortest general form with at most `precision` significant digits: fixed notation while the
// integer part fits in `precision` digits and the value is not below 0.0001, else "1.5E-7" /
// "1E20" (no "+", no leading exponent zeros). NaN and infinities give "NAN", "INF", "-INF".
QString FormatGeneral(double value, int precision, QChar decimalMark);

// "." decimal number with an optional sign, digits and exponent; the whole text must be used.
// "INF", "-INF" and "NAN" are accepted in any case. Out-of-range values are refused.
std::optional<double> ParseDotFloat(QStringView text);

// Decimal integer with an optional sign, or hex after "$", "0x" or "0X" (hex up to FFFFFFFF,
// which wraps to a negative value as the 32-bit profile readers did). The whole text must be used.
std::optional<int32_t> ParseProfileInt(QStringView text);

} // namespace profilenumbers

#endif
