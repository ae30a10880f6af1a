#ifndef ZENDRIK_TESTS_TESTSUPPORT_H
#define ZENDRIK_TESTS_TESTSUPPORT_H

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// Absolute path of a file below tests/data.
QString DataPath(const QString& relative);

// Reads a whole file as bytes; empty when it cannot be read.
QByteArray ReadAll(const QString& path);

// Writes bytes to a file, creating folders; returns false on failure.
bool WriteAll(const QString& path, const QByteArray& bytes);

} // namespace testsupport

#endif
