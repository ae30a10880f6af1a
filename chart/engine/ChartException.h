#ifndef ZENDRIK_CHART_ENGINE_CHARTEXCEPTION_H
#define ZENDRIK_CHART_ENGINE_CHARTEXCEPTION_H

#include <QString>
#include <stdexcept>

// Raised by the chart engine for invalid settings and out-of-range requests. The text is one of
// the engine's message texts, already formatted; the old state is kept when it is thrown.
class ChartException : public std::runtime_error {
public:
    explicit ChartException(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& Message() const { return message_; }

private:
    QString message_;
};

#endif
