#include "app/HostId.h"

#include <QFile>

uint32_t HashString31(uint32_t seed, const char* bytes, std::size_t count)
{
    uint32_t h = seed;
    for (std::size_t i = 0; i < count; ++i)
        h = h * 31u + static_cast<uint8_t>(bytes[i]);
    return h;
}

QString HostIdFromText(const QByteArray& identity)
{
    const uint32_t h = HashString31(0, identity.constData(), static_cast<std::size_t>(identity.size()));
    return QStringLiteral("HID") + QString::number(h);
}

QByteArray GetSystemSidString(const QStringList& candidates)
{
    for (const QString& path : candidates) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        // machine-id is 32 hex digits and a newline; anything much longer is not one.
        const QByteArray text = f.read(256).trimmed();
        if (!text.isEmpty())
            return text;
    }
    return {};
}

QString ComputeHostId()
{
    return HostIdFromText(GetSystemSidString());
}
