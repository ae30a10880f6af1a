#ifndef ZENDRIK_MEASUREMENT_RECEIVERRUNNERS_H
#define ZENDRIK_MEASUREMENT_RECEIVERRUNNERS_H

#include <memory>

class ModeRunner;

// "emi_scan" (R&S receivers): the receiver scans the segment with its own step.
std::unique_ptr<ModeRunner> MakeEmiScanRunner();
// "emi_fix" (R&S receivers): one fixed-frequency measurement per trace point.
std::unique_ptr<ModeRunner> MakeEmiFixRunner();
// "emi" (Rigol and Siglent): one zero-span marker reading per trace point.
std::unique_ptr<ModeRunner> MakeEmiRunner();

#endif
