#ifndef ZENDRIK_TESTS_FORMS_RUNWINDOWFIXTURE_H
#define ZENDRIK_TESTS_FORMS_RUNWINDOWFIXTURE_H

#include "app/AppContext.h"
#include "common/ScaledEventPump.h"
#include "forms/Program.h"
#include "tools/sim/Simulator.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

class MainWindow;
class QPushButton;

// The whole program against the analyser simulator, as an operator meets it: a working folder
// that has had its first run (the shipped data in ".\src"), the windows on a clock that runs a
// thousand times faster, a simulator on loopback that registers with rpcbind under a program
// number of this test, and the connection made through the connection window.
struct RunWindowFixture {
    QTemporaryDir folder;
    AppContext app;
    ScaledEventPump pump{1000};
    std::unique_ptr<Simulator> sim;
    std::unique_ptr<Program> program;
    MainWindow* w = nullptr;
    QStringList boxes; // every message and error box, in order
    QString oldCurrent;
    // The simulator's command log position at each "Info: measurement start seg i" and
    // "Info: measurement done  seg i" line, in order of the lines.
    std::vector<std::pair<QString, size_t>> marks;

    RunWindowFixture();
    ~RunWindowFixture();

    // Starts the simulator of a family (its emissions drawn from seed) and the program, and loads
    // a shipped project with "Load Proj".
    void Start(const QString& family, const QString& project, const SimFaults& faults = {}, uint32_t seed = 1);
    // Device > "SA TCP", the address 127.0.0.1 (socket: "SA USB", "Search", the raw socket), "Connect
    // Visa". The simulator's command log is emptied afterwards unless keepLog.
    void Connect(bool keepLog = false, bool socket = false);
    // The run's buttons, found by their designer names: "Play" (BitBtn1), "Stop" (BitBtn2) and
    // "Pause" (BitBtn3).
    QPushButton& Play() const;
    QPushButton& Stop() const;
    QPushButton& Pause() const;
    // The VISA time-out of the analyser session, in real milliseconds.
    void SetTimeoutMs(uint32_t ms);
    // Message-log lines that begin with prefix.
    QStringList Lines(const QString& prefix) const;
    // The simulator's commands from position `from` to `to`.
    QStringList SimLog(size_t from = 0, size_t to = SIZE_MAX) const;
    // The simulator log position of a start or done line of segment i ("start" or "done").
    size_t Mark(const QString& what, int segment) const;
};

#endif
