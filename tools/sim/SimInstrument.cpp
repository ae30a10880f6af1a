#include "tools/sim/SimInstrument.h"

#include <QDateTime>
#include <QMutexLocker>
#include <cmath>

SimInstrument::SimInstrument(SimFamily family, uint64_t seed, double timeScale)
    : family_(std::move(family)), limits_(LimitsOf(family_)), spectrum_(seed), clock_(timeScale)
{
    Reset();
    RegisterCommonCommands(*this);
    RegisterAnalyserCommands(*this);
}

void SimInstrument::AddCommand(const QString& pattern, Handler set, Handler query)
{
    commands_.push_back({scpi::HeaderPattern(pattern), std::move(set), std::move(query)});
}

void SimInstrument::DefineText(const QString& key, const QString& initial)
{
    textDefaults_.insert(key, initial);
    settings_.texts.insert(key, initial);
}

void SimInstrument::Reset()
{
    settings_ = SimSettings();
    settings_.texts = textDefaults_;
    settings_.points = family_.points;
    // Each family powers up in the unit its traces come in.
    switch (family_.kind) {
    case SimKind::RigolDsa:
    case SimKind::Hameg:
    case SimKind::RsFpc:
    case SimKind::RsFph: settings_.unit = QStringLiteral("DBUV"); break;
    case SimKind::RigolRsa:
    case SimKind::SiglentSsa:
    case SimKind::SiglentSva: settings_.unit = QStringLiteral("DBM"); break;
    }
    settings_.asciiFormat = family_.kind == SimKind::SiglentSsa || family_.kind == SimKind::SiglentSva;
    sweepEndMs_ = 0;
    holdUntilMs_ = 0;
}

void SimInstrument::Clear()
{
    esr_ = 0;
    errors_.clear();
    opcArmed_ = false;
}

bool SimInstrument::InterruptsQueries() const
{
    return family_.kind == SimKind::RsFpc || family_.kind == SimKind::RsFph || family_.kind == SimKind::Hameg;
}

bool SimInstrument::ExponentAnswers() const
{
    switch (family_.kind) {
    case SimKind::RigolDsa:
    case SimKind::RigolRsa:
    case SimKind::SiglentSsa:
    case SimKind::SiglentSva: return true;
    case SimKind::Hameg:
    case SimKind::RsFpc:
    case SimKind::RsFph: return false;
    }
    return false;
}

QString SimInstrument::NumberText(double value) const
{
    return ExponentAnswers() ? scpi::FormatScientific(value) : scpi::FormatNumber(value);
}

SimReply SimInstrument::Execute(const QByteArray& message, const QString& transport, bool answerUnread)
{
    QMutexLocker lock(&mutex_);
    SimLogEntry e{clock_.NowMs(), QDateTime::currentMSecsSinceEpoch(), transport, message};
    log_.push_back(e);
    if (logSink_)
        logSink_(e);

    SimReply reply;
    if (messagesUntilDrop_ >= 0 && messagesUntilDrop_-- == 0) {
        reply.dropLink = true;
        return reply;
    }
    // The transports hold what comes while the analyser is frozen; a message handed in all the
    // same is not executed.
    if (frozen_)
        return reply;
    messageAvailable_ = answerUnread;
    if (answerUnread && InterruptsQueries()) {
        reply.discardUnread = true;
        messageAvailable_ = false;
        PushError(-410, QStringLiteral("Query INTERRUPTED"));
    }
    double waitUntil = std::max(clock_.NowMs(), holdUntilMs_);
    QList<QByteArray> answers;
    QStringList path;
    for (const scpi::Command& c : scpi::SplitMessage(message)) {
        QByteArray answer;
        bool answered = false;
        QStringList newPath = path;
        Dispatch(c, path, &answer, &answered, &waitUntil, &newPath);
        path = newPath;
        if (answered)
            answers << answer;
    }
    if (!answers.isEmpty() && !faults_.noAnswer)
        reply.bytes = answers.join(';') + '\n';
    reply.readyAtMs = waitUntil;
    // The last message before a freeze is taken in, but its answer never goes out.
    if (messagesUntilFreeze_ > 0 && --messagesUntilFreeze_ == 0)
        frozen_ = true;
    return reply;
}

void SimInstrument::Dispatch(const scpi::Command& c, const QStringList& path, QByteArray* answer, bool* answered,
                             double* waitUntil, QStringList* newPath)
{
    QList<int> suffixes;
    const Entry* found = nullptr;
    QString header = c.header;
    auto lookup = [&](const QString& h) -> const Entry* {
        for (auto it = commands_.rbegin(); it != commands_.rend(); ++it) {
            suffixes.clear();
            if (it->pattern.Match(h, &suffixes))
                return &*it;
        }
        return nullptr;
    };
    found = lookup(header);
    // A command after ";" without a leading ":" continues the path of the one before it.
    if (!found && !c.absolute && !c.common && !path.isEmpty()) {
        header = path.join(':') + ':' + c.header;
        found = lookup(header);
    }
    if (!found) {
        PushError(-113, QStringLiteral("Undefined header"));
        return;
    }
    if (!c.common) {
        QStringList nodes = header.split(':');
        nodes.removeLast();
        *newPath = nodes;
    }
    SimCall call{*this, c, suffixes, answer, waitUntil};
    if (c.query) {
        if (!found->query) {
            PushError(-113, QStringLiteral("Undefined header"));
            return;
        }
        found->query(call);
        *answered = true;
    } else {
        if (!found->set) {
            PushError(-113, QStringLiteral("Undefined header"));
            return;
        }
        found->set(call);
    }
}

void SimInstrument::ClearHold()
{
    QMutexLocker lock(&mutex_);
    holdUntilMs_ = 0;
}

void SimInstrument::PushError(int code, const QString& text)
{
    if (code <= -100 && code > -200)
        esr_ |= 32;
    else if (code <= -200 && code > -300)
        esr_ |= 16;
    else if (code <= -300 && code > -400)
        esr_ |= 8;
    else if (code <= -400 && code > -500)
        esr_ |= 4;
    if (errors_.size() >= 20) {
        errors_.back() = QStringLiteral("-350,\"Queue overflow\"");
        return;
    }
    errors_.push_back(QString::number(code) + QStringLiteral(",\"") + text + '"');
}

QString SimInstrument::PopError()
{
    if (errors_.empty())
        return QStringLiteral("0,\"No error\"");
    QString e = errors_.front();
    errors_.pop_front();
    return e;
}

bool SimInstrument::SweepDone() const { return clock_.NowMs() >= sweepEndMs_; }

void SimInstrument::UpdateOpc()
{
    if (opcArmed_ && SweepDone()) {
        esr_ |= 1;
        opcArmed_ = false;
    }
}

int SimInstrument::ReadEsr()
{
    UpdateOpc();
    int v = esr_;
    esr_ = 0;
    if (faults_.threeDigitEsr)
        v |= 128;
    return v;
}

int SimInstrument::Stb() const { return StatusByte(messageAvailable_); }

int SimInstrument::StatusByte(bool mav) const
{
    int stb = 0;
    if (!errors_.empty())
        stb |= 4;
    if (mav)
        stb |= 16;
    if (esr_ & ese_)
        stb |= 32;
    if (stb & sre_)
        stb |= 64;
    return stb;
}

int SimInstrument::ReadStatusByte(bool answerUnread) const
{
    QMutexLocker lock(&mutex_);
    return StatusByte(answerUnread);
}

double SimInstrument::SweepTimeInUseS() const
{
    const SimSettings& s = settings_;
    double seconds = s.sweepTimeS;
    if (s.sweepAuto) {
        // A swept analyser needs about k * span / RBW^2 for the filter to settle on each
        // frequency; below its shortest sweep it sweeps no faster.
        const double span = s.stopHz - s.startHz;
        const double rbw = std::max(s.rbwHz, 1.0);
        seconds = span > 0 ? std::max(0.01, 2.5 * span / (rbw * rbw)) : 0.01;
    }
    const QString d = s.detector.toUpper();
    if (d.startsWith(QStringLiteral("QPE")) || d.startsWith(QStringLiteral("QUAS"))) {
        // The quasi-peak detector dwells on every point (its time constants are hundreds of
        // milliseconds); the Siglent sets the dwell itself, the others take 1 ms.
        const double dwell = scpi::ParseNumber(s.texts.value(QStringLiteral("QPD:DWELL:TIME"))).value_or(0.001);
        seconds += s.points * dwell;
    }
    return seconds;
}

void SimInstrument::StartSweep()
{
    ++sweepCount_;
    sweepEndMs_ = faults_.sweepNeverCompletes ? SimClock::Never() : clock_.NowMs() + SweepTimeInUseS() * 1000.0;
}

SimEmissions::Settings SimInstrument::SpectrumSettings() const
{
    SimEmissions::Settings s;
    s.rbwHz = settings_.rbwHz;
    s.attenuationDb = settings_.attenuationAuto ? 10.0 : settings_.attenuationDb;
    s.preamp = settings_.preamp;
    s.noiseDetectorDb = SimEmissions::NoiseDetectorDb(settings_.detector);
    return s;
}

double SimInstrument::LevelAt(double hz) const { return spectrum_.PeakDbuv(hz, hz, SpectrumSettings(), sweepCount_); }

std::vector<double> SimInstrument::TraceDbuv() const
{
    return spectrum_.Trace(settings_.startHz, settings_.stopHz, settings_.points, SpectrumSettings(), sweepCount_);
}

QByteArray SimInstrument::TextAnswer(const QString& text) const
{
    QByteArray b = text.toLatin1();
    if (faults_.longAnswer && b.size() < 2500)
        b.append(QByteArray(2500 - b.size(), ' '));
    return b;
}

std::vector<SimLogEntry> SimInstrument::CommandLog() const
{
    QMutexLocker lock(&mutex_);
    return log_;
}

void SimInstrument::ClearCommandLog()
{
    QMutexLocker lock(&mutex_);
    log_.clear();
}

void SimInstrument::SetFaults(const SimFaults& faults)
{
    QMutexLocker lock(&mutex_);
    faults_ = faults;
    messagesUntilDrop_ = faults.dropAfter;
    messagesUntilFreeze_ = faults.freezeAfter;
    frozen_ = faults.freezeAfter == 0;
    if (!faults.sweepNeverCompletes && sweepEndMs_ >= SimClock::Never())
        sweepEndMs_ = clock_.NowMs();
    if (!faults.sweepNeverCompletes && holdUntilMs_ >= SimClock::Never())
        holdUntilMs_ = clock_.NowMs();
}

bool SimInstrument::Frozen() const
{
    QMutexLocker lock(&mutex_);
    return frozen_;
}

SimFaults SimInstrument::Faults() const
{
    QMutexLocker lock(&mutex_);
    return faults_;
}

std::vector<double> SimInstrument::TraceSnapshot() const
{
    QMutexLocker lock(&mutex_);
    return TraceDbuv();
}

SimSettings SimInstrument::Settings() const
{
    QMutexLocker lock(&mutex_);
    return settings_;
}

void SimInstrument::SetLogSink(std::function<void(const SimLogEntry&)> sink)
{
    QMutexLocker lock(&mutex_);
    logSink_ = std::move(sink);
}

void SimInstrument::SetLevelSink(std::function<void(const SimLevelAnswer&)> sink)
{
    QMutexLocker lock(&mutex_);
    levelSink_ = std::move(sink);
}

void SimInstrument::ReportLevels(const SimLevelAnswer& answer) const
{
    if (levelSink_)
        levelSink_(answer);
}
