#include "common/Printers.h"

#include "instrument/AnalyserKind.h"
#include "tools/sim/SimFamily.h"

#include <QStringDecoder>
#include <iterator>
#include <ostream>

namespace {

// Text in UTF-8 passes as it is, so that another script stays readable; control bytes, which would
// garble the terminal, and the high bytes of what is no UTF-8 (a binary block) do not.
void WriteQuoted(const QByteArray& bytes, char quote, std::ostream& os)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    static_cast<void>(QString(utf8(bytes)));
    const bool text = !utf8.hasError();
    os << quote;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            os << '\\' << c;
        else if (c == '\r' || c == '\n')
            os << (c == '\r' ? "\\r" : "\\n");
        else if (u < 0x20 || u == 0x7f || (u >= 0x80 && !text))
            os << "\\x" << "0123456789abcdef"[u >> 4] << "0123456789abcdef"[u & 15];
        else
            os << c;
    }
    os << quote;
}

} // namespace

void PrintTo(const QString& text, std::ostream* os)
{
    WriteQuoted(text.toUtf8(), '"', *os);
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
    WriteQuoted(bytes, '"', *os);
}

void PrintTo(QChar c, std::ostream* os)
{
    WriteQuoted(QString(c).toUtf8(), '\'', *os);
}

std::ostream& operator<<(std::ostream& os, DeviceFamilyCode family)
{
    static constexpr const char* kNames[] = {"dfNone", "dfRigol", "dfSiglent", "dfHameg", "dfRsFpc", "dfRsFph"};
    static_assert(std::size(kNames) == std::size(kDeviceFamilies) + 1, "a name for every family code");
    return os << (IsFamilyCode(family) ? kNames[family] : "family") << " (" << static_cast<int32_t>(family) << ')';
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
