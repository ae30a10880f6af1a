#ifndef ZENDRIK_TOOLS_SIM_SIMINSTRUMENT_H
#define ZENDRIK_TOOLS_SIM_SIMINSTRUMENT_H

#include "tools/sim/ScpiParser.h"
#include "tools/sim/SimClock.h"
#include "tools/sim/SimFaults.h"
#include "tools/sim/SimFamily.h"
#include "tools/sim/SimEmissions.h"

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

// One entry of the command log: every program message as it arrived.
struct SimLogEntry {
    double virtualMs;
    int64_t realMs;
    QString transport; // "tcp", "vxi11", "pty"
    QByteArray message;
};

// The levels one answer carried (a trace, a receiver scan, a receiver's level, a marker level),
// in dBuV as the analyser measured them, before a fault spoils the answer.
struct SimLevelAnswer {
    std::vector<double> dbuv;
    bool scan = false; // a receiver scan: one value per step, the stop's included
};

// The answer to one program message: all query answers joined with ";" and ended by a line feed,
// available from virtual time readyAtMs (after *WAI or *OPC? it waits for the sweep).
struct SimReply {
    QByteArray bytes;
    double readyAtMs = 0;
    bool dropLink = false;      // the fault "drop": the transport closes the link instead
    bool discardUnread = false; // a query was interrupted (-410): drop the answers not read yet
};

// What the analyser is set to. Settings the simulator does not model are kept as texts so that
// queries give back what was set.
struct SimSettings {
    double startHz = 150e3;
    double stopHz = 30e6;
    double rbwHz = 9000;
    double vbwHz = 30000;
    double sweepTimeS = 0.1;
    bool sweepAuto = true;
    double attenuationDb = 10;
    bool attenuationAuto = true;
    bool preamp = false;
    QString detector = QStringLiteral("POS");
    QString unit = QStringLiteral("DBM");
    bool asciiFormat = true;   // FORM:DATA ASC versus REAL,32
    bool continuous = true;
    int points = 601;
    bool markerOn = false;
    double markerHz = 0;
    double scanStartHz = 150e3;
    double scanStopHz = 30e6;
    double scanStepHz = 50e3;
    QString receiverMode = QStringLiteral("SCAN"); // R&S receiver: SCAN or FIX
    QString instrument = QStringLiteral("SAN");    // INST:SEL: SA, SAN, REC, SPEC, ...
    bool binaryByFamily = false;                   // Hameg "TRAC:DATA:FORM BIN"
    double markerPeakDbuv = 0;                     // level found by the last peak search
    bool markerAtPeak = false;
    double sourceLevelDbm = -20;
    bool sourceOn = false;
    QHash<QString, QString> texts; // header (upper case) -> last parameter text
};

class SimInstrument;

// Context handed to a command handler.
struct SimCall {
    SimInstrument& inst;
    const scpi::Command& command;
    const QList<int>& suffixes;
    QByteArray* answer;     // append the answer of a query here
    double* waitUntilMs;    // raise to hold this message's answer until then
};

// The SCPI core of the simulated analyser: header matching, IEEE 488.2 status, error queue,
// sweeps in virtual time, traces and markers of the family, faults, and the command log.
// Thread-safe: transports call Execute from the simulator thread, tests read the log from
// theirs.
class SimInstrument {
public:
    using Handler = std::function<void(SimCall&)>;

    SimInstrument(SimFamily family, uint64_t seed, double timeScale);

    // answerUnread: the link holds an answer the client has not read. A family that interrupts
    // queries drops it (error -410); the others keep it, and the status byte shows MAV.
    SimReply Execute(const QByteArray& message, const QString& transport, bool answerUnread = false);
    // The status byte as a serial poll or VXI-11 device_readstb reads it, outside the message
    // exchange: MAV from the link's output (takes the lock).
    int ReadStatusByte(bool answerUnread) const;

    // Adds a command: pattern as in scpi::HeaderPattern; set and query may be empty. Later
    // additions are tried first, so a more specific pattern may refine an earlier one.
    void AddCommand(const QString& pattern, Handler set, Handler query);

    // A setting kept as text, with the value it has after a reset.
    void DefineText(const QString& key, const QString& initial);

    // Test and command-line access.
    std::vector<SimLogEntry> CommandLog() const;
    void ClearCommandLog();
    void SetFaults(const SimFaults& faults);
    SimFaults Faults() const;
    // The fault "freeze" has struck: the transports answer nothing, on no channel (takes the lock).
    bool Frozen() const;
    const SimFamily& Family() const { return family_; }
    const SimLimits& Limits() const { return limits_; }
    // Whether a new message discards an answer that was not read, with -410 (IEEE 488.2).
    bool InterruptsQueries() const;
    // Rigol and Siglent answer numeric queries in exponent form ("1.500000e+05").
    bool ExponentAnswers() const;
    // A numeric answer as the family writes it.
    QString NumberText(double value) const;
    const SimEmissions& Spectrum() const { return spectrum_; }
    const SimClock& Clock() const { return clock_; }
    SimSettings Settings() const;
    // The trace the analyser would answer now, in dBuV (takes the lock; for tests).
    std::vector<double> TraceSnapshot() const;
    // Called with each log entry as it is made (the command-line --log option).
    void SetLogSink(std::function<void(const SimLogEntry&)> sink);
    // Called, with the lock held, with the levels of every answer that carries some, whichever
    // command of whichever family asked: tests compare what the program read with it.
    void SetLevelSink(std::function<void(const SimLevelAnswer&)> sink);

    // For handlers (called with the lock held).
    SimSettings& State() { return settings_; }
    void StartSweep();
    // The sweep time the analyser uses now: the set time, or with automatic sweep time the one
    // span and RBW need; the quasi-peak detector adds its dwell on every point.
    double SweepTimeInUseS() const;
    bool SweepDone() const;
    double SweepEndMs() const { return sweepEndMs_; }
    double NowMs() const { return clock_.NowMs(); }
    uint64_t SweepCount() const { return sweepCount_; }
    void PushError(int code, const QString& text);
    QString PopError();
    int ReadEsr();  // *ESR?: the value, then cleared
    int Stb() const;
    void ArmOpc() { opcArmed_ = true; }
    // *WAI: no later message is answered before virtual time ms (the analyser executes
    // commands in order, so everything after *WAI waits for the sweep).
    void HoldUntil(double ms) { holdUntilMs_ = std::max(holdUntilMs_, ms); }
    // A device clear ends a wait that was holding the answers (takes the lock).
    void ClearHold();
    void Clear();   // *CLS
    void Reset();   // *RST and presets
    int& Ese() { return ese_; }
    int& Sre() { return sre_; }
    SimEmissions::Settings SpectrumSettings() const;
    double LevelAt(double hz) const; // dBuV at one frequency (zero span, receiver FIX, markers)
    std::vector<double> TraceDbuv() const;
    const SimFaults& ActiveFaults() const { return faults_; }
    // For the handlers that answer levels.
    void ReportLevels(const SimLevelAnswer& answer) const;
    // Pads a text answer beyond 2 KB while the "long-answer" fault is on.
    QByteArray TextAnswer(const QString& text) const;

private:
    struct Entry {
        scpi::HeaderPattern pattern;
        Handler set;
        Handler query;
    };
    void Dispatch(const scpi::Command& c, const QStringList& path, QByteArray* answer, bool* answered,
                  double* waitUntil, QStringList* newPath);
    void UpdateOpc();
    int StatusByte(bool messageAvailable) const;

    mutable QMutex mutex_;
    SimFamily family_;
    SimLimits limits_;
    SimEmissions spectrum_;
    SimClock clock_;
    SimFaults faults_;
    SimSettings settings_;
    std::vector<Entry> commands_;
    QHash<QString, QString> textDefaults_;
    std::vector<SimLogEntry> log_;
    std::function<void(const SimLogEntry&)> logSink_;
    std::function<void(const SimLevelAnswer&)> levelSink_;
    std::deque<QString> errors_;
    int esr_ = 0;
    int ese_ = 0;
    int sre_ = 0;
    bool opcArmed_ = false;
    double sweepEndMs_ = 0;
    uint64_t sweepCount_ = 0;
    int messagesUntilDrop_ = -1;
    int messagesUntilFreeze_ = -1;
    bool frozen_ = false;
    double holdUntilMs_ = 0;
    bool messageAvailable_ = false; // MAV while a message executes
};

// The command table: common commands and the analyser commands of every family.
void RegisterCommonCommands(SimInstrument& inst);
void RegisterAnalyserCommands(SimInstrument& inst);

#endif
