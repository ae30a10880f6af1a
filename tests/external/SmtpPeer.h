#ifndef ZENDRIK_TESTS_EXTERNAL_SMTPPEER_H
#define ZENDRIK_TESTS_EXTERNAL_SMTPPEER_H

#include "common/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QStringList>

// The system Python, where Debian installs python3-aiosmtpd (a Python of a version manager on
// the PATH may lack it).
inline const QString kPython = QStringLiteral("/usr/bin/python3");

// The sender's log lines of a failed login, a sent mail and a refused one.
inline const QStringList kLoginError = {"Info: Mail try to login", "Info: Mail login error"};
inline const QStringList kSent = {"Info: Mail try to login", "Info: Mail login ok", "Info: Mail sending ok"};
inline const QStringList kRefused = {"Info: Mail try to login", "Info: Mail login ok", "Info: Mail sending error"};

// The SMTP server of the mail tests (tests/data/mail/smtp_server.py on aiosmtpd, on loopback):
// one process, whose report lines are read when it has been told to end.
class SmtpPeer {
public:
    explicit SmtpPeer(const QStringList& args)
    {
        process_.start(kPython, QStringList {testsupport::DataPath("mail/smtp_server.py")} + args);
        while (!out_.contains('\n') && process_.waitForReadyRead(15000))
            out_ += process_.readAllStandardOutput();
        const QJsonObject ready = QJsonDocument::fromJson(out_.left(out_.indexOf('\n'))).object();
        if (ready.value("event").toString() == "ready")
            port_ = ready.value("port").toInt();
        else
            failure_ = QString::fromUtf8(out_ + process_.readAllStandardError());
    }
    ~SmtpPeer() { Finish(); }

    bool Ready() const { return port_ > 0; }
    QString Port() const { return QString::number(port_); }
    const QString& Failure() const { return failure_; }

    // Everything the server reported after it was ready.
    const QList<QJsonObject>& Finish()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.closeWriteChannel();
            if (!process_.waitForFinished(15000))
                process_.kill();
            process_.waitForFinished(5000);
            out_ += process_.readAllStandardOutput();
            const QList<QByteArray> lines = out_.split('\n');
            for (qsizetype i = 1; i < lines.size(); ++i) {
                if (!lines[i].isEmpty())
                    events_ << QJsonDocument::fromJson(lines[i]).object();
            }
        }
        return events_;
    }

    QList<QJsonObject> Events(const QString& kind)
    {
        QList<QJsonObject> found;
        for (const QJsonObject& e : Finish()) {
            if (e.value("event").toString() == kind)
                found << e;
        }
        return found;
    }

private:
    QProcess process_;
    QByteArray out_;
    int port_ = 0;
    QString failure_;
    QList<QJsonObject> events_;
};

#endif
