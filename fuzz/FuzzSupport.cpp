#include "fuzz/FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzz {

void Check(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

const QString& ScratchFolder()
{
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        // scripts/fuzz.sh names a folder per run and removes it afterwards: a crashing input
        // leaves its scratch folder behind.
        const QString given = qEnvironmentVariable("ZENDRIK_FUZZ_SCRATCH");
        const QString shm = QStringLiteral("/dev/shm");
        const QString base = !given.isEmpty() ? given : QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
        return std::make_unique<QTemporaryDir>(base + QStringLiteral("/zendrik-fuzz-XXXXXX"));
    }();
    static const QString path = dir->path();
    Check(dir->isValid(), "scratch folder");
    return path;
}

QString WriteScratchFile(const QString& relativePath, const QByteArray& bytes)
{
    const QString path = ScratchFolder() + QLatin1Char('/') + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    Check(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size(),
          "writing a scratch file");
    return path;
}

QString FreshScratchFolder(const QString& relativePath)
{
    const QString path = ScratchFolder() + QLatin1Char('/') + relativePath;
    QDir(path).removeRecursively();
    Check(QDir().mkpath(path), "creating a scratch folder");
    return path;
}

void EnsureGuiApplication()
{
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zendrik-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

uint8_t FuzzInput::Byte()
{
    return pos_ < size_ ? data_[pos_++] : 0;
}

uint32_t FuzzInput::U32()
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = v << 8 | Byte();
    return v;
}

QByteArray FuzzInput::Take(size_t n)
{
    const size_t k = std::min(n, size_ - std::min(pos_, size_));
    QByteArray out(reinterpret_cast<const char*>(data_ + pos_), static_cast<qsizetype>(k));
    pos_ += k;
    return out;
}

QByteArray FuzzInput::Until(char separator)
{
    size_t end = pos_;
    while (end < size_ && data_[end] != static_cast<uint8_t>(separator))
        ++end;
    QByteArray out = Take(end - std::min(pos_, end));
    if (pos_ < size_)
        ++pos_;
    return out;
}

QByteArray FuzzInput::Rest()
{
    return Take(size_);
}

} // namespace fuzz
