// The INI layer: a file read, written and read again reads the same; the values written back one
// by one through the writers' entry point read the same too.
#include "fuzz/FuzzSupport.h"
#include "platform/inifile/IniFile.h"

#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace {

// Everything a reader can see: the sections in order, each with its "key=value" lines. The
// writers cannot make a section without keys, so the copy is compared without them.
QStringList Visible(const IniFile& ini, bool withEmptySections = true)
{
    QStringList out;
    for (const QString& section : ini.ReadSections()) {
        if (!withEmptySections && ini.ReadSection(section).isEmpty())
            continue;
        out << QLatin1Char('[') + section + QLatin1Char(']');
        out << ini.ReadSectionValues(section);
    }
    return out;
}

// Names the first line that differs, so that a finding says what it is.
void CheckSame(const QStringList& got, const QStringList& expected, const char* what)
{
    if (got == expected)
        return;
    for (qsizetype i = 0; i < std::max(got.size(), expected.size()); ++i) {
        if (got.value(i) != expected.value(i)) {
            std::fprintf(stderr, "line %lld: \"%s\" instead of \"%s\"\n", static_cast<long long>(i),
                         qPrintable(got.value(i)), qPrintable(expected.value(i)));
            break;
        }
    }
    fuzz::Check(false, what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const IniFile first(fuzz::WriteScratchFile(QStringLiteral("ini/read.ini"), bytes));
    // Only a line over the limit may keep a file from being read, and then it says so.
    if (!first.Loaded()) {
        fuzz::Check(!first.LoadError().isEmpty(), "a file that is not read says why");
        return 0;
    }
    const QStringList seen = Visible(first);

    const QByteArray written = first.Serialize();
    const IniFile second(fuzz::WriteScratchFile(QStringLiteral("ini/rewritten.ini"), written));
    CheckSame(Visible(second), seen, "a rewritten file reads as the file it was read from");
    fuzz::Check(second.Serialize() == written, "a second rewrite changes nothing");

    IniFile copy(fuzz::ScratchFolder() + QStringLiteral("/ini/missing.ini"));
    for (const QString& section : first.ReadSections()) {
        for (const QString& key : first.ReadSection(section))
            copy.WriteString(section, key, first.ReadString(section, key, QString()));
    }
    const IniFile third(fuzz::WriteScratchFile(QStringLiteral("ini/copied.ini"), copy.Serialize()));
    CheckSame(Visible(third), Visible(first, false), "values written back one by one read as they were read");
    return 0;
}
