#ifndef ZENDRIK_TESTS_TESTSUPPORT_H
#define ZENDRIK_TESTS_TESTSUPPORT_H

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ostream>
#include <sys/resource.h>

namespace testsupport {

// Absolute path of a file below tests/data.
QString DataPath(const QString& relative);

// Reads a whole file as bytes; empty when it cannot be read.
QByteArray ReadAll(const QString& path);

// Writes bytes to a file, creating folders; returns false on failure.
bool WriteAll(const QString& path, const QByteArray& bytes);

// While it lives no file of this process grows beyond `room` bytes: writes fail as on a full disk.
struct DiskFull {
    rlimit old{};
    explicit DiskFull(rlim_t room = 0)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit none{room, old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~DiskFull() { ::setrlimit(RLIMIT_FSIZE, &old); }
    static QString Reason() { return QString::fromLocal8Bit(std::strerror(EFBIG)); }
};

} // namespace testsupport

#endif
