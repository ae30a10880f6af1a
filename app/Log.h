#ifndef ZENDRIK_APP_LOG_H
#define ZENDRIK_APP_LOG_H

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

// The operator's record: lines beginning "Info: ", "Warning: " or "Error: ", appended to the main
// window's message list. Logic appends here; the main window shows the lines.
class MessageLog : public QObject {
    Q_OBJECT
public:
    void Append(const QString& line);
    void Clear();
    const QStringList& Lines() const { return lines_; }

signals:
    void LineAppended(const QString& line);
    void Cleared();

private:
    QStringList lines_;
};

// The debug log: time-stamped lines that exist only while DebugMode is set.
class DebugLog : public QObject {
    Q_OBJECT
public:
    // 0 or 1; LogMessage tests for exactly 1.
    bool DebugMode = false;

    // Appends "<time>: <text>" when DebugMode is set; otherwise does nothing, not even formatting.
    void LogMessage(const QString& text);
    void ClearLog();
    const QStringList& Lines() const { return lines_; }

    // The clock used for the time stamp; tests replace it.
    std::function<QString()> TimeText;

signals:
    void LineAppended(const QString& line);
    void Cleared();

private:
    QStringList lines_;
};

#endif
