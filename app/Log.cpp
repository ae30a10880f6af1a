#include "app/Log.h"

#include <QLocale>
#include <QTime>

void MessageLog::Append(const QString& line)
{
    lines_.append(line);
    emit LineAppended(line);
}

void MessageLog::Clear()
{
    lines_.clear();
    emit Cleared();
}

void DebugLog::LogMessage(const QString& text)
{
    if (!DebugMode)
        return;
    const QString stamp = TimeText ? TimeText() : QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    const QString line = stamp + QStringLiteral(": ") + text;
    lines_.append(line);
    emit LineAppended(line);
}

void DebugLog::ClearLog()
{
    lines_.clear();
    emit Cleared();
}
