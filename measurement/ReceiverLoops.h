#ifndef ZENDRIK_MEASUREMENT_RECEIVERLOOPS_H
#define ZENDRIK_MEASUREMENT_RECEIVERLOOPS_H

#include <memory>

class SegmentWork;

// "emi_scan" (R&S receivers): the receiver scans the segment with its own step.
std::unique_ptr<SegmentWork> MakeEmiScanWork();
// "emi_fix" (R&S receivers): one fixed-frequency measurement per trace point.
std::unique_ptr<SegmentWork> MakeEmiFixWork();
// "emi" (Rigol and Siglent): one zero-span marker reading per trace point.
std::unique_ptr<SegmentWork> MakeEmiWork();

#endif
