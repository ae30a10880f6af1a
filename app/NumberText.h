#ifndef ZENDRIK_APP_NUMBERTEXT_H
#define ZENDRIK_APP_NUMBERTEXT_H

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>

// Conversions between numbers and text. Two families:
//  - display and operator text follows the process-wide decimal mark (DecimalSeparator), which
//    many operations set to "." and leave so; it is the one real mutable global of the program;
//  - machine-facing text (SCPI, INI, data files) always uses "." (FormatMachine/ParseMachine).
// Nothing here uses printf/strtod, which follow the C locale that Qt sets from the environment.
// The marks start as "." (decimal) and "," (thousands) whatever the desktop says; NumberText.cpp
// explains why. Where a text has to drop digits, exact ties of the stored binary value go to
// the even digit, as "round" does everywhere in this program.

QChar DecimalSeparator();
void SetDecimalSeparator(QChar mark);
QChar ThousandSeparator();
void SetThousandSeparator(QChar mark);

// RAII: sets the mark and restores the previous one when it goes out of scope.
class ScopedDecimalSeparator {
public:
    explicit ScopedDecimalSeparator(QChar mark);
    ~ScopedDecimalSeparator();
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

private:
    QChar old_;
};

enum class FloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };

// Shortest general form with 15 significant digits and the process-wide mark (1.8 -> "1.8",
// 1e20 -> "1E20"), as the program's display texts expect.
QString FloatToStr(double value);
// Value with a format, precision (significant digits) and digits (decimals, or exponent digits
// for ffExponent). ffFixed switches to exponent form when the value needs more than precision
// digits before the mark.
QString FloatToStrF(double value, FloatFormat format, int precision, int digits);
// Pattern formatting such as "0.00", "#,##0.###", "0.0E+00", with sections separated by ";"
// (positive;negative;zero), quoted literals, and the process-wide decimal and thousands marks.
QString FormatFloat(const QString& pattern, double value);

// Locale parsing with the process-wide mark; blanks around the number are allowed, nothing else.
bool TryStrToFloat(const QString& text, double& value);
double StrToFloatDef(const QString& text, double def);
bool TryStrToInt(const QString& text, int32_t& value);   // decimal, or hex with "$" / "0x"
int32_t StrToIntDef(const QString& text, int32_t def);
bool TryStrToInt64(const QString& text, int64_t& value);

// Strict parsing: "." is the decimal mark, no thousands separators, no trailing characters
// (leading blanks are skipped, as the classic value parser did). Integers are decimal only.
std::optional<double> ParseStrictFloat(const QString& text);
std::optional<int32_t> ParseStrictInt(const QString& text);

// Machine-facing text: "." always. FormatMachine gives the shortest text that reads back as the
// same double ("150000", "0.25", "1.5e+20"); FormatMachineFixed a fixed number of decimals.
// ParseMachine takes blanks around the number, a sign, an exponent, and "INF"/"NAN".
QString FormatMachine(double value);
QString FormatMachineFixed(double value, int decimals);
std::optional<double> ParseMachine(const QString& text);

// Round halves to even, as the program's "round" means everywhere.
int64_t RoundHalfEven(double value);

#endif
