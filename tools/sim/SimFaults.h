#ifndef ZENDRIK_TOOLS_SIM_SIMFAULTS_H
#define ZENDRIK_TOOLS_SIM_SIMFAULTS_H

#include <QString>
#include <QStringList>

// Faults the simulator can play, to see the program's handling of broken instruments.
struct SimFaults {
    bool noAnswer = false;            // "no-answer": queries are never answered
    bool blockShort = false;          // "block-short": trace blocks hold one value too few
    bool blockLengthWrong = false;    // "block-length": the block header claims 4 bytes more than follow
    bool nanValue = false;            // "nan": one trace value and marker answers are NaN
    bool nanFrequency = false;        // "nan-freq": the marker frequency answers NaN (its level stays)
    bool noNumber = false;            // "no-number": marker levels answer a text that is no number
    bool hugeValue = false;           // "huge": one trace value is 1e308 (the largest float in
                                      // binary blocks) and marker answers are 1e308, a level no
                                      // analyser measures
    bool sweepNeverCompletes = false; // "no-sweep-end": *OPC / *ESR? never report completion
    bool threeDigitEsr = false;       // "esr-3digit": *ESR? carries the power-on bit (128 + ...)
    double sweepTimeAnswerS = -1;     // "sweep-time=S": the sweep time query answers S seconds,
                                      // whatever the sweep takes (-1: the time in use)
    bool longAnswer = false;          // "long-answer": text answers padded beyond 2 KB
    int dropAfter = -1;               // "drop" or "drop=N": close the link at the N-th next message
    bool shortWrite = false;          // "short-write": a VXI-11 device_write takes at most 8 bytes
    bool readHang = false;            // "read-hang": a VXI-11 read waits past the client's time-out
                                      // until its answer is ready or the call is aborted
    bool clampRange = false;          // "clamp": a parameter beyond the analyser's limits is set to
                                      // the nearest limit (still with -222), as some models do,
                                      // instead of being refused
    int freezeAfter = -1;             // "freeze" or "freeze=N": after N more messages nothing is
                                      // executed or answered on any channel (not even what those
                                      // messages still owe), and the link stays open: a hung
                                      // analyser, a stopped process

    // Parses a comma-separated list of the names above; false with *error for an unknown name.
    bool Parse(const QString& list, QString* error);
    static QStringList Names();
};

#endif
