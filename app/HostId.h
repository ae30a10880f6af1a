#ifndef ZENDRIK_APP_HOSTID_H
#define ZENDRIK_APP_HOSTID_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

// h = h * 31 + byte for every byte, in wrapping unsigned 32-bit arithmetic.
uint32_t HashString31(uint32_t seed, const char* bytes, std::size_t count);

// "HID" followed by the unsigned decimal hash of the identity text (empty text: "HID0").
QString HostIdFromText(const QByteArray& identity);

// The stable per-machine text that stands in for the computer account's security identifier:
// the first readable, non-empty file of candidates, trimmed; empty when none can be read.
QByteArray GetSystemSidString(const QStringList& candidates = {QStringLiteral("/etc/machine-id"),
                                                                QStringLiteral("/var/lib/dbus/machine-id")});

// The host identifier of this machine.
QString ComputeHostId();

#endif
