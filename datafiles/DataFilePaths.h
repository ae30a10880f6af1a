#ifndef ZENDRIK_DATAFILES_DATAFILEPATHS_H
#define ZENDRIK_DATAFILES_DATAFILEPATHS_H

#include <QString>

#include <cstdint>
#include <initializer_list>

class IniFile;

namespace datafiles {

// The absolute path of a data-file path as callers build it (".\src\" + a name from a grid or a
// project). "\" becomes "/"; the path is taken below workingFolder. Paths that are absolute or
// step out with ".." are refused (empty result). When the exact name is missing, a file whose
// name differs only in case is used, since files written on the original platform may carry any
// case.
QString ResolveDataPath(const QString& workingFolder, const QString& path);

// The highest n for which a key prefix + n of section holds a text (n in decimal without leading
// zeros, as the writers number their keys; keys match without regard to case, as every key of a
// data file does); 0 when none does. A table ends where its numbered keys end: a reader that
// stopped at its first missing key would drop what follows a gap without a word.
int64_t LastNumberedKey(const IniFile& ini, const QString& section, std::initializer_list<QString> prefixes);

// Writes the "Application" header that every data file of the program begins with.
void WriteDataFileHeader(IniFile& ini);

// Date and time of writing in the system's short date and long time format.
QString DataFileDateText();

// The most characters of a value an error or not-found text quotes. A box that quotes a whole
// ten-megabyte line from a broken file takes half a minute to lay out and says nothing more.
inline constexpr qsizetype kMaxQuotedChars = 200;
// value itself, or its first kMaxQuotedChars characters followed by "...".
QString QuoteInMessage(const QString& value);

} // namespace datafiles

#endif
