#ifndef ZENDRIK_TOOLS_SIM_SCPIPARSER_H
#define ZENDRIK_TOOLS_SIM_SCPIPARSER_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Parsing of SCPI program messages as instruments do it: a message holds commands separated by
// ";" (outside quotes); a command is a header (nodes separated by ":", each exactly its short
// form or its long form, in any case; numeric suffixes such as MARK1), an optional "?", and
// parameters separated by ",".
namespace scpi {

struct Command {
    QString header;      // as received, without the leading ":" and "?"
    bool query = false;
    bool common = false; // "*IDN?" and its sisters
    bool absolute = false;
    QStringList params;
};

// Splits a program message (without its line end) into commands; empty commands (a trailing
// ";") are dropped.
std::vector<Command> SplitMessage(const QByteArray& message);

// A header pattern such as "[SENSe]:FREQuency:STARt" or "CALCulate#:MARKer#:Y": upper-case
// letters give the short form, "[...]" an optional node, "#" a numeric suffix, "|" alternatives.
class HeaderPattern {
public:
    explicit HeaderPattern(const QString& pattern);
    // Matches a header; the numeric suffixes of the "#" nodes (1 when absent) go to *suffixes.
    bool Match(const QString& header, QList<int>* suffixes) const;

private:
    struct Node {
        QStringList shortForms;
        QStringList longForms;
        bool optional = false;
        bool suffix = false;
    };
    bool MatchFrom(const QStringList& tokens, int ti, int ni, QList<int>* suffixes) const;
    std::vector<Node> nodes_;
};

// A number with an optional unit ("150000", "150 kHz", "1.5s", "500 ms", "-10dBm"); the value in
// the base unit (Hz, s, dB). Nothing when the text is no number.
std::optional<double> ParseNumber(const QString& text);
// "ON"/"1" true, "OFF"/"0" false.
std::optional<bool> ParseBool(const QString& text);
// Shortest round-trip decimal text with "." whatever the locale.
QString FormatNumber(double value);
QString FormatFixed(double value, int decimals);
// printf-like "%+.Ne" with a two-digit exponent, independent of the locale.
QString FormatExponent(double value, int mantissaDecimals);
// "%.6e" ("1.500000e+05", "-6.330000e+00"): how Rigol and Siglent analysers answer numeric
// queries.
QString FormatScientific(double value);

} // namespace scpi

#endif
