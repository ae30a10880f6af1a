#ifndef ZENDRIK_PLATFORM_GDI_METAFILEFILE_H
#define ZENDRIK_PLATFORM_GDI_METAFILEFILE_H

#include <QByteArray>
#include <QString>

namespace gdi {

// Writes an encoded picture through a temporary file renamed over the old one, so a failed
// write keeps the old picture; error receives the reason when it is not null.
bool SaveMetafileBytes(const QByteArray& bytes, const QString& fileName, QString* error);

} // namespace gdi

#endif
