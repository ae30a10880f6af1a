#include "tools/sim/NmeaReceiver.h"

#include <QDate>
#include <QDateTime>
#include <QMutexLocker>
#include <cmath>

namespace {

constexpr qsizetype kMaxLine = 4096;

// The drive, one second per position query, repeated from where the last leg ended.
struct Leg {
    int seconds;
    double knots;
    double courseDeg;
};
constexpr Leg kLegs[] = {{3, 0, 0}, {8, 10, 90}, {2, 0, 90}, {6, 25.5, 0}, {4, 5, 225}};
constexpr double kStartLatitude = 48.0 + 8.0 / 60.0;  // 48 deg 08' N
constexpr double kStartLongitude = 11.0 + 34.0 / 60.0; // 011 deg 34' E
constexpr int kStartSecondsOfDay = 9 * 3600 + 30 * 60;
const QDate kStartDate(2026, 3, 14);

const Leg& LegAt(int step)
{
    int total = 0;
    for (const Leg& l : kLegs)
        total += l.seconds;
    int s = step % total;
    for (const Leg& l : kLegs) {
        if (s < l.seconds)
            return l;
        s -= l.seconds;
    }
    return kLegs[0];
}

uint8_t Checksum(const QByteArray& body)
{
    uint8_t x = 0;
    for (char c : body)
        x ^= static_cast<uint8_t>(c);
    return x;
}

QByteArray Hex2(uint8_t v) { return QByteArray::number(v, 16).toUpper().rightJustified(2, '0'); }

// ddmm.mmmm or dddmm.mmmm with its hemisphere letter.
QByteArray Coordinate(double degrees, int degreeDigits, char positive, char negative, QByteArray* hemisphere)
{
    *hemisphere = QByteArray(1, degrees < 0 ? negative : positive);
    const double a = std::fabs(degrees);
    int whole = static_cast<int>(a);
    long tenThousandths = std::lround((a - whole) * 60.0 * 10000.0);
    if (tenThousandths >= 600000) {
        ++whole;
        tenThousandths -= 600000;
    }
    return QByteArray::number(whole).rightJustified(degreeDigits, '0') +
           QByteArray::number(tenThousandths / 10000).rightJustified(2, '0') + '.' +
           QByteArray::number(tenThousandths % 10000).rightJustified(4, '0');
}

QByteArray TimeField(int secondsOfDay)
{
    return QByteArray::number(secondsOfDay / 3600).rightJustified(2, '0') +
           QByteArray::number(secondsOfDay / 60 % 60).rightJustified(2, '0') +
           QByteArray::number(secondsOfDay % 60).rightJustified(2, '0') + ".00";
}

QByteArray DateField(const NmeaFix& f)
{
    return QByteArray::number(f.day).rightJustified(2, '0') + QByteArray::number(f.month).rightJustified(2, '0') +
           QByteArray::number(f.year % 100).rightJustified(2, '0');
}

} // namespace

QStringList NmeaFaults::Names()
{
    return {"no-answer", "few-fields", "other-sentence", "bad-checksum", "no-fix", "foreign-id"};
}

bool NmeaFaults::Parse(const QString& list, QString* error)
{
    for (QString name : list.split(',', Qt::SkipEmptyParts)) {
        name = name.trimmed().toLower();
        if (name == "no-answer")
            noAnswer = true;
        else if (name == "few-fields")
            fewFields = true;
        else if (name == "other-sentence")
            otherSentence = true;
        else if (name == "bad-checksum")
            badChecksum = true;
        else if (name == "no-fix")
            noFix = true;
        else if (name == "foreign-id")
            foreignId = true;
        else {
            if (error)
                *error = QStringLiteral("unknown GPS fault: ") + name + QStringLiteral(" (known: ") +
                         Names().join(", ") + ")";
            return false;
        }
    }
    return true;
}

NmeaReceiver::NmeaReceiver() : clock_(1.0) {}

QByteArray NmeaReceiver::Sentence(const QByteArray& body) { return "$" + body + "*" + Hex2(Checksum(body)) + "\r\n"; }

NmeaFix NmeaReceiver::RouteAt(int step)
{
    NmeaFix f;
    double lat = kStartLatitude;
    double lon = kStartLongitude;
    // One knot is one minute of latitude per hour; a minute of longitude shrinks with cos(lat).
    for (int s = 0; s < step; ++s) {
        const Leg& l = LegAt(s);
        const double rad = l.courseDeg * M_PI / 180.0;
        const double minutes = l.knots / 3600.0;
        lat += minutes * std::cos(rad) / 60.0;
        lon += minutes * std::sin(rad) / 60.0 / std::cos(lat * M_PI / 180.0);
    }
    const Leg& now = LegAt(step);
    f.latitude = lat;
    f.longitude = lon;
    f.speedKnots = now.knots;
    f.courseDeg = now.courseDeg;
    const int seconds = kStartSecondsOfDay + step;
    f.secondsOfDay = seconds % 86400;
    const QDate d = kStartDate.addDays(seconds / 86400);
    f.day = d.day();
    f.month = d.month();
    f.year = d.year();
    return f;
}

QByteArray NmeaReceiver::RmcBody(const NmeaFix& f)
{
    QByteArray ns, ew;
    const QByteArray lat = Coordinate(f.latitude, 2, 'N', 'S', &ns);
    const QByteArray lon = Coordinate(f.longitude, 3, 'E', 'W', &ew);
    return "GPRMC," + TimeField(f.secondsOfDay) + ",A," + lat + "," + ns + "," + lon + "," + ew + "," +
           QByteArray::number(f.speedKnots, 'f', 1) + "," + QByteArray::number(f.courseDeg, 'f', 1) + "," +
           DateField(f) + ",,,A";
}

QByteArray NmeaReceiver::Identification(bool foreign)
{
    return Sentence(foreign ? "PERDINFO,NAV200,zendrik-sim receiver,1.00"
                            : "PERDINFO,OPUS3PVT,zendrik-sim receiver,1.00");
}

void NmeaReceiver::SetFaults(const NmeaFaults& faults)
{
    QMutexLocker lock(&mutex_);
    faults_ = faults;
}

std::vector<SimLogEntry> NmeaReceiver::SentenceLog() const
{
    QMutexLocker lock(&mutex_);
    return log_;
}

void NmeaReceiver::SetLogSink(std::function<void(const SimLogEntry&)> sink)
{
    QMutexLocker lock(&mutex_);
    sink_ = std::move(sink);
}

int NmeaReceiver::Steps() const
{
    QMutexLocker lock(&mutex_);
    return steps_;
}

QByteArray NmeaReceiver::Receive(const QByteArray& bytes)
{
    QMutexLocker lock(&mutex_);
    input_.append(bytes);
    QByteArray out;
    qsizetype nl;
    while ((nl = input_.indexOf('\n')) >= 0) {
        QByteArray line = input_.left(nl);
        input_.remove(0, nl + 1);
        const bool crlf = line.endsWith('\r');
        if (crlf)
            line.chop(1);
        // A sentence starts at its "$": a fragment left from an unfinished one goes before it.
        const qsizetype start = line.lastIndexOf('$');
        const QByteArray sentence = start < 0 ? line : line.mid(start);
        const qsizetype star = sentence.lastIndexOf('*');
        const QByteArray body = star > 0 ? sentence.mid(1, star - 1) : QByteArray();
        const bool valid = crlf && start >= 0 && star > 0 && sentence.size() == star + 3 &&
                           sentence.mid(star + 1).toUpper() == Hex2(Checksum(body));
        SimLogEntry e{clock_.NowMs(), QDateTime::currentMSecsSinceEpoch(),
                      valid ? QStringLiteral("pty") : QStringLiteral("pty-ignored"), line};
        log_.push_back(e);
        if (sink_)
            sink_(e);
        if (valid)
            out += Answer(body);
    }
    if (input_.size() > kMaxLine)
        input_.clear(); // a peer that never ends its line must not grow the buffer for ever
    return out;
}

QByteArray NmeaReceiver::Answer(const QByteArray& body)
{
    if (body == "PERDINFO")
        return faults_.noAnswer ? QByteArray() : Identification(faults_.foreignId);
    if (body != "GPGPQ,RMC")
        return {}; // set-up sentences and anything unknown are taken without an answer
    const NmeaFix f = RouteAt(steps_++);
    if (faults_.noAnswer)
        return {};
    if (faults_.fewFields)
        return Sentence("GPRMC," + TimeField(f.secondsOfDay) + ",A");
    if (faults_.otherSentence)
        return Sentence("GPGGA," + TimeField(f.secondsOfDay) + ",4808.0000,N,01134.0000,E,1,08,0.9,545.4,M,47.0,M,,");
    if (faults_.noFix)
        return Sentence("GPRMC," + TimeField(f.secondsOfDay) + ",V,,,,,,," + DateField(f) + ",,,N");
    if (faults_.badChecksum) {
        const QByteArray rmc = RmcBody(f);
        return "$" + rmc + "*" + Hex2(Checksum(rmc) ^ 0x5A) + "\r\n";
    }
    return Sentence(RmcBody(f));
}
