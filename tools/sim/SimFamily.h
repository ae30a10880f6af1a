#ifndef ZENDRIK_TOOLS_SIM_SIMFAMILY_H
#define ZENDRIK_TOOLS_SIM_SIMFAMILY_H

#include <QString>
#include <QStringList>
#include <optional>

// The analyser families the program recognises and what each answers: its identification,
// points per trace and the trace format of its family.
enum class SimKind { RigolDsa, RigolRsa, SiglentSsa, SiglentSva, Hameg, RsFpc, RsFph };

struct SimFamily {
    QString name;     // command-line name: "dsa815", "sva1032x-2111", ...
    QString idn;      // the "*IDN?" answer without its line end
    SimKind kind;
    int points;       // points per trace
    bool bigEndian;   // byte order of binary traces
    QString options;  // "*OPT?" / "SYST:OPT?" answer
    double maxHz;     // highest frequency of the model
};

// What an analyser accepts. A parameter outside gives error -222 and leaves the setting as it
// was, as the instruments do.
struct SimLimits {
    double maxHz;
    double rbwMinHz, rbwMaxHz;
    double vbwMinHz, vbwMaxHz;
    double sweepMinS, sweepMaxS;
    double attenuationMaxDb;
    double sourceMinDbm, sourceMaxDbm;
    int pointsMin, pointsMax;
};
SimLimits LimitsOf(const SimFamily& family);

// Every family and model the simulator can play, in a stable order.
const QList<SimFamily>& SimFamilies();
std::optional<SimFamily> FindSimFamily(const QString& name);
QStringList SimFamilyNames();

#endif
