#include "platform/gdi/MetafileFile.h"

#include <QSaveFile>

namespace gdi {

bool SaveMetafileBytes(const QByteArray& bytes, const QString& fileName, QString* error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace gdi
