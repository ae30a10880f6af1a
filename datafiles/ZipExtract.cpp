#include "datafiles/ZipExtract.h"

#include "platform/inifile/SaveFileCommit.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <memory>
#include <vector>

#include <zip.h>

namespace datafiles {

namespace {

// No default-data file comes near this; a larger size in an entry header is a damaged archive
// and must not make us allocate gigabytes.
constexpr zip_uint64_t kMaxEntryBytes = 64u * 1024u * 1024u;

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct ZipFileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

QString ZipErrorText(zip_error_t* error)
{
    return QString::fromUtf8(zip_error_strerror(error));
}

} // namespace

bool IsSafeEntryName(const QString& name)
{
    if (name.isEmpty())
        return false;
    QString n = name;
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (n.startsWith(QLatin1Char('/')) || (n.size() >= 2 && n[1] == QLatin1Char(':')))
        return false;
    const QStringList parts = n.split(QLatin1Char('/'));
    for (const QString& part : parts) {
        if (part == QLatin1String(".."))
            return false;
    }
    return true;
}

ZipExtractResult ExtractZip(const QByteArray& archive, const QString& targetFolder)
{
    ZipExtractResult result;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archive.constData(), static_cast<zip_uint64_t>(archive.size()), 0, &error);
    if (source == nullptr) {
        result.Errors << QStringLiteral("cannot read the archive: ") + ZipErrorText(&error);
        zip_error_fini(&error);
        return result;
    }
    std::unique_ptr<zip_t, ZipCloser> zip(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!zip) {
        zip_source_free(source);
        result.Errors << QStringLiteral("cannot open the archive: ") + ZipErrorText(&error);
        zip_error_fini(&error);
        return result;
    }
    zip_error_fini(&error);

    const zip_int64_t entries = zip_get_num_entries(zip.get(), 0);
    struct Entry {
        zip_uint64_t index;
        QString name;
        zip_uint64_t size;
        bool folder;
    };
    std::vector<Entry> list;
    // Two entries for one file leave it to the order of writing which one the operator gets (and
    // other readers of the archive may take the other one): such an archive is refused too.
    QSet<QString> files;
    for (zip_int64_t i = 0; i < entries; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 || (st.valid & ZIP_STAT_NAME) == 0) {
            result.Errors << QStringLiteral("entry %1 cannot be read").arg(i);
            continue;
        }
        const QString name = QString::fromUtf8(st.name);
        if (!IsSafeEntryName(name)) {
            result.Errors << QStringLiteral("entry refused (absolute or with \"..\"): ") + name;
            continue;
        }
        if ((st.valid & ZIP_STAT_SIZE) != 0 && st.size > kMaxEntryBytes) {
            result.Errors << QStringLiteral("entry too large: ") + name;
            continue;
        }
        QString n = name;
        n.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!n.endsWith(QLatin1Char('/'))) {
            const QString file = QDir::cleanPath(n);
            if (files.contains(file)) {
                result.Errors << QStringLiteral("entry appears twice: ") + name;
                continue;
            }
            files.insert(file);
        }
        list.push_back(Entry{static_cast<zip_uint64_t>(i), n, (st.valid & ZIP_STAT_SIZE) ? st.size : 0,
                             n.endsWith(QLatin1Char('/'))});
    }
    if (!result.Errors.isEmpty())
        return result;

    for (const Entry& e : list) {
        // Joined by hand: QDir::filePath takes a name that starts with ":" for a resource path and
        // returns it alone, which wrote such an entry into the current folder.
        const QString path = targetFolder + QLatin1Char('/') + e.name;
        if (e.folder) {
            if (!QDir().mkpath(path))
                result.Errors << QStringLiteral("cannot create the folder ") + path;
            continue;
        }
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            result.Errors << QStringLiteral("cannot create the folder for ") + path;
            continue;
        }
        std::unique_ptr<zip_file_t, ZipFileCloser> in(zip_fopen_index(zip.get(), e.index, 0));
        if (!in) {
            result.Errors << QStringLiteral("cannot read ") + e.name + QStringLiteral(": ") +
                                 QString::fromUtf8(zip_strerror(zip.get()));
            continue;
        }
        QByteArray bytes;
        bytes.resize(static_cast<qsizetype>(e.size));
        zip_int64_t got = e.size == 0 ? 0 : zip_fread(in.get(), bytes.data(), e.size);
        if (got < 0 || static_cast<zip_uint64_t>(got) != e.size) {
            result.Errors << QStringLiteral("cannot read ") + e.name + QStringLiteral(": ") +
                                 QString::fromUtf8(zip_file_strerror(in.get()));
            continue;
        }
        QSaveFile out(path);
        QString reason;
        if (!out.open(QIODevice::WriteOnly) || !FinishSaveFile(out, out.write(bytes) == bytes.size(), &reason)) {
            result.Errors << QStringLiteral("cannot write ") + path + QStringLiteral(": ") +
                                 (reason.isEmpty() ? out.errorString() : reason);
            continue;
        }
        ++result.FilesWritten;
    }
    result.Ok = result.Errors.isEmpty();
    return result;
}

} // namespace datafiles
