#include "LevelRecorder.h"

LevelRecorder::LevelRecorder(SimInstrument& inst) : inst_(inst)
{
    // The sink runs inside the simulator's command execution, with its lock held, before the
    // request is answered, for every answer that carries levels, whichever command asked.
    inst_.SetLevelSink([shared = shared_](const SimLevelAnswer& a) {
        std::lock_guard<std::mutex> lock(shared->mutex);
        // The scan reader takes the values before the last comma: the last one is not read.
        const size_t n = a.scan && !a.dbuv.empty() ? a.dbuv.size() - 1 : a.dbuv.size();
        shared->levels.insert(shared->levels.end(), a.dbuv.begin(), a.dbuv.begin() + static_cast<std::ptrdiff_t>(n));
    });
}

LevelRecorder::~LevelRecorder() { inst_.SetLevelSink({}); }

std::vector<double> LevelRecorder::Levels() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->levels;
}
