// The extraction of a ZIP archive: whatever its entries claim, nothing lands outside the folder it
// is extracted into, and an archive with an unsafe or repeated entry writes nothing at all.
#include "datafiles/ZipExtract.h"
#include "fuzz/FuzzSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The target sits one level down, so that a step out of it would show beside it.
    const QString outer = fuzz::FreshScratchFolder(QStringLiteral("zip"));
    const QString target = outer + QStringLiteral("/target");
    fuzz::Check(QDir().mkpath(target), "the target folder");

    // Run from the folder beside the target too, so that a path taken relative to the current
    // folder shows as well.
    QDir::setCurrent(outer);
    const datafiles::ZipExtractResult r = datafiles::ExtractZip(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), target);

    fuzz::Check(QDir(outer).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System) ==
                    QStringList{QStringLiteral("target")},
                "nothing is written beside the target folder");
    int files = 0;
    QDirIterator it(target, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        fuzz::Check(!info.isSymLink(), "no links are made");
        if (info.isFile())
            ++files;
    }
    fuzz::Check(files == r.FilesWritten, "every file written is counted");
    fuzz::Check(r.Ok == r.Errors.isEmpty(), "a result is good exactly when nothing went wrong");
    for (const QString& e : r.Errors) {
        if (e.startsWith(QStringLiteral("entry refused")) || e.startsWith(QStringLiteral("entry appears twice")))
            fuzz::Check(files == 0, "an archive with an unsafe entry writes nothing");
    }
    return 0;
}
