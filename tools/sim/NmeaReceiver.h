#ifndef ZENDRIK_TOOLS_SIM_NMEARECEIVER_H
#define ZENDRIK_TOOLS_SIM_NMEARECEIVER_H

#include "tools/sim/SimClock.h"
#include "tools/sim/SimInstrument.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Faults of the simulated receiver.
struct NmeaFaults {
    bool noAnswer = false;      // "no-answer": no query is answered
    bool fewFields = false;     // "few-fields": "$GPRMC" with fewer than ten fields
    bool otherSentence = false; // "other-sentence": "$GPGGA" in place of "$GPRMC"
    bool badChecksum = false;   // "bad-checksum": the "$GPRMC" checksum is wrong
    bool noFix = false;         // "no-fix": status "V" with the position fields empty
    bool foreignId = false;     // "foreign-id": the identification lacks "OPUS3PVT"

    // Parses a comma-separated list of the names above; false with *error for an unknown name.
    bool Parse(const QString& list, QString* error);
    static QStringList Names();
};

// Where the simulated receiver is at one step of its route (one step per position query).
struct NmeaFix {
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
    double speedKnots = 0;
    double courseDeg = 0;
    int secondsOfDay = 0;
    int day = 1, month = 1, year = 2000;
};

// An NMEA 0183 receiver that only answers queries, as the program sets it up: sentences must
// carry a valid checksum and end with CR LF, or they are ignored. "PERDOUT" and "PERDDBG" are
// taken silently, "PERDINFO" gets the identification, "GPGPQ,RMC" one "$GPRMC" of the next step
// of a repeatable drive (stretches of standstill between legs at constant speed). Every line
// received is logged. Thread-safe.
class NmeaReceiver {
public:
    NmeaReceiver();

    // Feeds bytes from the line; returns what the receiver sends back.
    QByteArray Receive(const QByteArray& bytes);

    void SetFaults(const NmeaFaults& faults);
    // Lines as received, without their line end; transport "pty" when taken, "pty-ignored" when
    // the line end or the checksum was wrong.
    std::vector<SimLogEntry> SentenceLog() const;
    void SetLogSink(std::function<void(const SimLogEntry&)> sink);
    // Position queries answered so far (the next one gets RouteAt of this step).
    int Steps() const;

    // "$" + body + "*" + checksum + CR LF.
    static QByteArray Sentence(const QByteArray& body);
    static NmeaFix RouteAt(int step);
    // The "$GPRMC" body of a fix (without "$" and checksum).
    static QByteArray RmcBody(const NmeaFix& fix);
    static QByteArray Identification(bool foreign);

private:
    QByteArray Answer(const QByteArray& body);

    mutable QMutex mutex_;
    SimClock clock_;
    NmeaFaults faults_;
    QByteArray input_;
    int steps_ = 0;
    std::vector<SimLogEntry> log_;
    std::function<void(const SimLogEntry&)> sink_;
};

#endif
