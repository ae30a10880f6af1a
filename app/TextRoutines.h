#ifndef ZENDRIK_APP_TEXTROUTINES_H
#define ZENDRIK_APP_TEXTROUTINES_H

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>

// Frequency and number texts shared by every subsystem (see NumberText.h for the decimal mark).

// Empty text for a coordinate that is no number (the caller checks the sentence first).
QString NmeaCoordToDegrees(const QString& coordinate, const QString& hemisphere);
// Days and fraction of a day, as the program's date-time values are.
double SecondsToDateTime(uint32_t seconds);
QString KhzToScaledText(const QString& khz);
QString KhzToKhzText(const QString& khz);
QString IntKhzToScaledText(const QString& khz);
QString FreqTextToHzText(const QString& text);
bool TryStrToFloatAnySep(const QString& text, double& value);
double StrToFloatAnySepDef(const QString& text, double def);
QString RemoveDots(const QString& text);
QString InsertThousandDots(const QString& text);

// Operating-system figures.
struct OsVersionInfo {
    enum Platform { Win9x, WinNT, Other } platform = Other;
    uint32_t major = 0;
    uint32_t minor = 0;
    QString servicePack;
};
// The version table as a pure function; -1 for anything it does not know.
int32_t WindowsVersionIndex(const OsVersionInfo& info);
// This platform is reported as supported (an index above the refusal threshold).
int32_t GetWindowsVersionIndex();
// Byte counts from /proc/meminfo (MemAvailable, MemTotal); 0 when it cannot be read.
uint64_t GetAvailPhysMemory();
uint64_t GetTotalPhysMemory();
// Parses the text of /proc/meminfo; 0 for fields it does not find.
uint64_t MemInfoField(const QByteArray& meminfo, const char* field);
// The machine's IPv4 addresses in the order the system lists them, loopback included.
bool GetLocalIpAddresses(QStringList& list);

#endif
