#include "LevelRecorder.h"

#include <cmath>

LevelRecorder::LevelRecorder(SimInstrument& inst) : inst_(inst)
{
    // The sink runs inside the simulator's command execution, with its lock held, before the
    // request is answered: the state it reads is the one the answer is made from.
    inst_.SetLogSink([&inst, shared = shared_](const SimLogEntry& e) {
        const QByteArray m = e.message.trimmed();
        std::vector<double> v;
        const SimSettings& s = inst.State();
        const bool scan = s.receiverMode.startsWith("SCAN", Qt::CaseInsensitive);
        if (m == ":TRAC:DATA? TRACE1" || m == ":TRACe:DATA? 1") {
            v = inst.TraceDbuv();
        } else if (m == ":TRAC:DATA?" && scan) {
            const double step = s.scanStepHz;
            const int n = static_cast<int>(std::floor((s.scanStopHz - s.scanStartHz) / step)) + 1;
            // The scan reader takes the values before the last comma: the last one is not read.
            for (int i = 0; i + 1 < n; ++i) {
                const double at = s.scanStartHz + i * step;
                v.push_back(inst.Spectrum().PeakDbuv(at - step / 2, at + step / 2, inst.SpectrumSettings(),
                                                     inst.SweepCount()));
            }
        } else if (m == ":TRACE:DATA?" || m == ":CALC:MARK1:Y?") {
            v = {inst.LevelAt((s.startHz + s.stopHz) / 2.0)};
        }
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->levels.insert(shared->levels.end(), v.begin(), v.end());
    });
}

LevelRecorder::~LevelRecorder() { inst_.SetLogSink({}); }

std::vector<double> LevelRecorder::Levels() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->levels;
}
