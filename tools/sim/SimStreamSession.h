#ifndef ZENDRIK_TOOLS_SIM_SIMSTREAMSESSION_H
#define ZENDRIK_TOOLS_SIM_SIMSTREAMSESSION_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

class SimInstrument;

// One client on a byte stream (TCP connection, pseudo-terminal): program messages end at a line
// feed (a CR before it is dropped); answers go out in order, each when its virtual time has come.
// While the analyser is frozen, what comes and what is ready waits until it thaws.
class SimStreamSession : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<void(const QByteArray&)>;
    using Closer = std::function<void()>;
    SimStreamSession(SimInstrument& inst, QString transport, Writer write, Closer close, QObject* parent = nullptr);

    // Feeds received bytes.
    void Receive(const QByteArray& bytes);

private:
    void Flush();
    // Looks again, every little while, whether a frozen analyser has thawed.
    void Hold();
    struct Pending {
        QByteArray bytes;
        double readyAtMs;
    };
    SimInstrument& inst_;
    QString transport_;
    Writer write_;
    Closer close_;
    QByteArray input_;
    std::deque<Pending> queue_;
    QTimer timer_;
    QTimer thaw_;
    bool closed_ = false;
};

#endif
