#include "datafiles/DataFilePaths.h"

#include "platform/inifile/IniFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace datafiles {

namespace {

// Keys of the header every data file carries.
const QString kHeaderSection = QStringLiteral("Application");
const QString kSoftwareKey = QStringLiteral("Software");
const QString kVersionKey = QStringLiteral("Version");
const QString kDateKey = QStringLiteral("Date");
const QString kSoftwareValue = QStringLiteral("Morvak QZ-W32-D7");
const QString kVersionValue = QStringLiteral("Release");

// Walks the relative parts below base, taking a case-insensitive match for each part that is not
// there as written. Returns the joined path (the exact spelling when nothing matches).
QString MatchIgnoringCase(const QString& base, const QStringList& parts)
{
    QString current = base;
    for (const QString& part : parts) {
        const QString exact = current + QLatin1Char('/') + part;
        if (QFileInfo::exists(exact)) {
            current = exact;
            continue;
        }
        QString found;
        const QStringList entries =
            QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& entry : entries) {
            if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                found = entry;
                break;
            }
        }
        current += QLatin1Char('/') + (found.isEmpty() ? part : found);
    }
    return current;
}

} // namespace

QString ResolveDataPath(const QString& workingFolder, const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.isEmpty() || p.startsWith(QLatin1Char('/')) || (p.size() >= 2 && p[1] == QLatin1Char(':')))
        return {};
    QStringList parts;
    for (const QString& part : p.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return {};
        if (part != QLatin1String("."))
            parts << part;
    }
    if (parts.isEmpty())
        return {};
    QString base = workingFolder.isEmpty() ? QDir::currentPath() : workingFolder;
    while (base.size() > 1 && base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return MatchIgnoringCase(base, parts);
}

QString QuoteInMessage(const QString& value)
{
    if (value.size() <= kMaxQuotedChars)
        return value;
    return value.left(kMaxQuotedChars) + QStringLiteral("...");
}

int64_t LastNumberedKey(const IniFile& ini, const QString& section, std::initializer_list<QString> prefixes)
{
    int64_t last = 0;
    const QStringList keys = ini.ReadSection(section);
    // From the end: the keys are mostly written in order, so the highest comes first and the rest
    // are passed over without reading their values.
    for (auto key = keys.crbegin(); key != keys.crend(); ++key) {
        for (const QString& prefix : prefixes) {
            if (!key->startsWith(prefix, Qt::CaseInsensitive))
                continue;
            const QStringView digits = QStringView(*key).mid(prefix.size());
            const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
            const bool decimal = !digits.isEmpty() && digits.size() <= 18 && digits.front() != u'0' &&
                                 std::all_of(digits.begin(), digits.end(), digit);
            const int64_t n = decimal ? digits.toLongLong() : 0;
            if (n > last && !ini.ReadString(section, *key, QString()).isEmpty())
                last = n;
        }
    }
    return last;
}

QString DataFileDateText()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(now.time(), QLocale::LongFormat);
}

void WriteDataFileHeader(IniFile& ini)
{
    ini.WriteString(kHeaderSection, kSoftwareKey, kSoftwareValue);
    ini.WriteString(kHeaderSection, kVersionKey, kVersionValue);
    ini.WriteString(kHeaderSection, kDateKey, DataFileDateText());
}

} // namespace datafiles
