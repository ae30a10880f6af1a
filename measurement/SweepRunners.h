#ifndef ZENDRIK_MEASUREMENT_SWEEPRUNNERS_H
#define ZENDRIK_MEASUREMENT_SWEEPRUNNERS_H

#include <memory>

class ModeRunner;

// Mode "sweep" (Rigol and Siglent): one swept measurement per segment by the runner of the
// family and model (Rigol DSA, Rigol RSA, Siglent SSA, SVA, SVA with preset first).
std::unique_ptr<ModeRunner> MakeSweepRunner();

#endif
