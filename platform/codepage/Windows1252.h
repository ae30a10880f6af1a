#ifndef ZENDRIK_PLATFORM_CODEPAGE_WINDOWS1252_H
#define ZENDRIK_PLATFORM_CODEPAGE_WINDOWS1252_H

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

// Windows-1252, the single-byte code page of the files, metafiles and mail settings written on
// the original platform. Every byte stands for one character: the five bytes the code page leaves
// unused (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same number, as the
// Windows conversion reads them, so any stored byte survives a read and a rewrite.
namespace codepage {

QString FromWindows1252(const QByteArray& bytes);

// nullopt when a character has no byte in the code page.
std::optional<QByteArray> ToWindows1252(QStringView text);
bool FitsWindows1252(QStringView text);

// For text that is only shown, never read back (metafile text): a character the code page does
// not define becomes "?", one for a whole surrogate pair. The five controls that stand for the
// unused bytes count as undefined here, as they do for readers that decode the code page strictly.
QByteArray ToWindows1252Shown(QStringView text);

} // namespace codepage

#endif
