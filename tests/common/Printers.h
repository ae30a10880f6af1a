#ifndef ZENDRIK_TESTS_COMMON_PRINTERS_H
#define ZENDRIK_TESTS_COMMON_PRINTERS_H

// How a failed check shows the values it compared. tests/CMakeLists.txt puts this header in front
// of every test file, so that no test can forget it: without it gtest shows a QString as a row of
// "2-byte object <46-00>", a scoped enum as its bytes and a family as a bare number.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <iosfwd>

// Qt strings as quoted text; bytes that are no printable ASCII as \xNN.
void PrintTo(const QString& text, std::ostream* os);
void PrintTo(const QStringList& list, std::ostream* os);
void PrintTo(const QByteArray& bytes, std::ostream* os);
void PrintTo(QChar c, std::ostream* os);

// The analyser kinds by name, in messages (<<) as in compared values: "dfRigol (1)",
// "SimKind::RigolDsa".
enum DeviceFamilyCode : int32_t;
enum class SimKind;
std::ostream& operator<<(std::ostream& os, DeviceFamilyCode family);
std::ostream& operator<<(std::ostream& os, SimKind kind);

#endif
