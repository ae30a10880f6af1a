#include "app/CaughtErrors.h"

#include "app/Log.h"

// The texts of system errors come in the locale's encoding (UTF-8 on this platform).
QString ErrorLine(const std::exception& e)
{
    return QStringLiteral("Error: ") + QString::fromLocal8Bit(e.what());
}

void AppendErrorLine(MessageLog& log, const std::exception& e)
{
    log.Append(ErrorLine(e));
}
