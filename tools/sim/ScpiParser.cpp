#include "tools/sim/ScpiParser.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace scpi {

namespace {

QStringList SplitOutsideQuotes(const QString& text, QChar separator)
{
    QStringList parts;
    QString cur;
    QChar quote;
    for (QChar c : text) {
        if (!quote.isNull()) {
            cur += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            cur += c;
            continue;
        }
        if (c == separator) {
            parts << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    parts << cur;
    return parts;
}

} // namespace

std::vector<Command> SplitMessage(const QByteArray& message)
{
    std::vector<Command> out;
    const QString text = QString::fromLatin1(message);
    for (QString part : SplitOutsideQuotes(text, ';')) {
        part = part.trimmed();
        if (part.isEmpty())
            continue;
        Command c;
        int sp = 0;
        while (sp < part.size() && !part[sp].isSpace())
            ++sp;
        QString header = part.left(sp);
        const QString rest = part.mid(sp).trimmed();
        if (header.endsWith('?')) {
            c.query = true;
            header.chop(1);
        }
        c.common = header.startsWith('*');
        c.absolute = header.startsWith(':');
        if (c.absolute)
            header.remove(0, 1);
        c.header = header;
        if (!rest.isEmpty())
            for (const QString& p : SplitOutsideQuotes(rest, ','))
                c.params << p.trimmed();
        out.push_back(c);
    }
    return out;
}

HeaderPattern::HeaderPattern(const QString& pattern)
{
    // "A[:B]" and "A:[B]" mean the same: B is optional.
    QString p = pattern;
    p.replace(QStringLiteral("[:"), QStringLiteral(":["));
    for (QString n : p.split(':', Qt::SkipEmptyParts)) {
        Node node;
        if (n.startsWith('[') && n.endsWith(']')) {
            node.optional = true;
            n = n.mid(1, n.size() - 2);
        }
        if (n.endsWith('#')) {
            node.suffix = true;
            n.chop(1);
        }
        for (const QString& alt : n.split('|')) {
            QString s;
            for (QChar c : alt)
                if (c.isUpper() || c.isDigit() || c == '*' || c == '?')
                    s += c;
            node.shortForms << s;
            node.longForms << alt.toUpper();
        }
        nodes_.push_back(node);
    }
}

bool HeaderPattern::MatchFrom(const QStringList& tokens, int ti, int ni, QList<int>* suffixes) const
{
    if (ni == static_cast<int>(nodes_.size()))
        return ti == tokens.size();
    const Node& node = nodes_[static_cast<size_t>(ni)];
    if (ti < tokens.size()) {
        QString t = tokens[ti].toUpper();
        int suffix = 1;
        if (node.suffix) {
            int k = t.size();
            while (k > 0 && t[k - 1].isDigit())
                --k;
            if (k < t.size() && k > 0) {
                suffix = t.mid(k).toInt();
                t = t.left(k);
            }
        }
        bool ok = false;
        for (int a = 0; a < node.longForms.size() && !ok; ++a) {
            const QString& lf = node.longForms[a];
            const QString& sf = node.shortForms[a];
            ok = t == sf || t == lf;
        }
        if (ok) {
            const qsizetype mark = suffixes ? suffixes->size() : 0;
            if (node.suffix && suffixes)
                suffixes->append(suffix);
            if (MatchFrom(tokens, ti + 1, ni + 1, suffixes))
                return true;
            if (suffixes)
                suffixes->resize(mark);
        }
    }
    if (node.optional) {
        const qsizetype mark = suffixes ? suffixes->size() : 0;
        if (node.suffix && suffixes)
            suffixes->append(1);
        if (MatchFrom(tokens, ti, ni + 1, suffixes))
            return true;
        if (suffixes)
            suffixes->resize(mark);
    }
    return false;
}

bool HeaderPattern::Match(const QString& header, QList<int>* suffixes) const
{
    if (suffixes)
        suffixes->clear();
    const QStringList tokens = header.split(':');
    for (const QString& t : tokens)
        if (t.isEmpty())
            return false;
    return MatchFrom(tokens, 0, 0, suffixes);
}

std::optional<double> ParseNumber(const QString& text)
{
    const std::string s = text.trimmed().toStdString();
    if (s.empty())
        return std::nullopt;
    double v = 0;
    const char* b = s.data();
    const char* e = s.data() + s.size();
    if (*b == '+')
        ++b;
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec != std::errc())
        return std::nullopt;
    std::string unit(p, e);
    while (!unit.empty() && unit.front() == ' ')
        unit.erase(unit.begin());
    for (char& c : unit)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const struct {
        const char* name;
        double factor;
    } kUnits[] = {{"", 1},     {"HZ", 1},      {"KHZ", 1e3},  {"MHZ", 1e6}, {"GHZ", 1e9}, {"K", 1e3},
                  {"S", 1},    {"SEC", 1},     {"MS", 1e-3},  {"US", 1e-6}, {"NS", 1e-9}, {"DB", 1},
                  {"DBM", 1},  {"DBUV", 1},    {"DBMV", 1},   {"V", 1},     {"MV", 1e-3}, {"PCT", 1}};
    for (const auto& u : kUnits)
        if (unit == u.name)
            return v * u.factor;
    return std::nullopt;
}

std::optional<bool> ParseBool(const QString& text)
{
    const QString t = text.trimmed().toUpper();
    if (t == "ON" || t == "1")
        return true;
    if (t == "OFF" || t == "0")
        return false;
    return std::nullopt;
}

QString FormatNumber(double value)
{
    char buf[400];
    // Plain digits as instruments answer ("2000000", "0.1"); exponents only for extremes.
    const double a = std::fabs(value);
    const bool plain = a == 0 || (a >= 1e-6 && a < 1e15);
    auto [p, ec] = plain ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed)
                         : std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buf, static_cast<int>(p - buf));
}

QString FormatFixed(double value, int decimals)
{
    // Room for the widest double (309 digits) and the decimals.
    char buf[400];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buf, static_cast<int>(p - buf));
}

QString FormatExponent(double value, int mantissaDecimals)
{
    if (std::isnan(value))
        return QStringLiteral("nan").rightJustified(mantissaDecimals + 7, ' ');
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, mantissaDecimals);
    if (ec != std::errc())
        return QStringLiteral("0");
    QString s = QString::fromLatin1(buf, static_cast<int>(p - buf));
    if (!s.startsWith('-'))
        s.prepend('+');
    return s;
}

QString FormatScientific(double value)
{
    const QString s = FormatExponent(value, 6);
    return s.startsWith('+') ? s.mid(1) : s;
}

} // namespace scpi
