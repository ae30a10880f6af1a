#ifndef ZENDRIK_TESTS_MEASUREMENT_LEVELRECORDER_H
#define ZENDRIK_TESTS_MEASUREMENT_LEVELRECORDER_H

#include "tools/sim/SimInstrument.h"

#include <memory>
#include <mutex>
#include <vector>

// What the simulated analyser measures at the moment the program asks for it, from its own
// emission model: the swept trace, the receiver scan, the fixed-frequency level or the zero-span
// marker level, in the order of the requests. The program's raw trace must equal this.
class LevelRecorder {
public:
    explicit LevelRecorder(SimInstrument& inst);
    ~LevelRecorder();
    std::vector<double> Levels() const;

private:
    SimInstrument& inst_;
    struct Shared {
        mutable std::mutex mutex;
        std::vector<double> levels;
    };
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

#endif
