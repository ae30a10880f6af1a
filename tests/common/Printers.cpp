#include "common/Printers.h"

#include "instrument/AnalyserKind.h"
#include "tools/sim/SimFamily.h"

#include <QStringDecoder>
#include <cstdio>
#include <ostream>

namespace {

// Text in UTF-8 passes as it is, so that another script stays readable; control bytes, which would
// garble the terminal, and the high bytes of what is no UTF-8 (a binary block) do not.
void WriteEscaped(const QByteArray& bytes, std::ostream& os)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    static_cast<void>(QString(utf8(bytes)));
    const bool text = !utf8.hasError();
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            os << '\\' << c;
        } else if (c == '\r' || c == '\n') {
            os << (c == '\r' ? "\\r" : "\\n");
        } else if (u < 0x20 || u == 0x7f || (u >= 0x80 && !text)) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", u);
            os << escaped;
        } else {
            os << c;
        }
    }
}

} // namespace

void PrintTo(const QString& text, std::ostream* os)
{
    PrintTo(text.toUtf8(), os);
}

void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        *os << (i ? ", " : "");
        PrintTo(list[i], os);
    }
    *os << '}';
}

void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"';
    WriteEscaped(bytes, *os);
    *os << '"';
}

void PrintTo(QChar c, std::ostream* os)
{
    *os << '\'';
    WriteEscaped(QString(c).toUtf8(), *os);
    *os << '\'';
}

std::ostream& operator<<(std::ostream& os, DeviceFamilyCode family)
{
    const char* name = nullptr;
    switch (family) {
    case dfNone: name = "dfNone"; break;
    case dfRigol: name = "dfRigol"; break;
    case dfSiglent: name = "dfSiglent"; break;
    case dfHameg: name = "dfHameg"; break;
    case dfRsFpc: name = "dfRsFpc"; break;
    case dfRsFph: name = "dfRsFph"; break;
    }
    return os << (name ? name : "family") << " (" << static_cast<int32_t>(family) << ')';
}

std::ostream& operator<<(std::ostream& os, SimKind kind)
{
    switch (kind) {
    case SimKind::RigolDsa: return os << "SimKind::RigolDsa";
    case SimKind::RigolRsa: return os << "SimKind::RigolRsa";
    case SimKind::SiglentSsa: return os << "SimKind::SiglentSsa";
    case SimKind::SiglentSva: return os << "SimKind::SiglentSva";
    case SimKind::Hameg: return os << "SimKind::Hameg";
    case SimKind::RsFpc: return os << "SimKind::RsFpc";
    case SimKind::RsFph: return os << "SimKind::RsFph";
    }
    return os << "SimKind(" << static_cast<int>(kind) << ')';
}
