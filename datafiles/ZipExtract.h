#ifndef ZENDRIK_DATAFILES_ZIPEXTRACT_H
#define ZENDRIK_DATAFILES_ZIPEXTRACT_H

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace datafiles {

struct ZipExtractResult {
    bool Ok = false;
    int FilesWritten = 0;
    QStringList Errors; // readable reasons, one per problem
};

// Extracts a ZIP archive held in memory into targetFolder, in-process and synchronously,
// overwriting existing files (each written to a temporary file and renamed). The entry names are
// checked before anything is written: an archive with an entry that is absolute or steps out
// with ".." is refused as a whole.
ZipExtractResult ExtractZip(const QByteArray& archive, const QString& targetFolder);

// Whether an entry name stays below the folder it is extracted into.
bool IsSafeEntryName(const QString& name);

} // namespace datafiles

#endif
