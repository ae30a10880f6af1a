#include "measurement/PeakWalk.h"

#include "measurement/PeakLists.h"

namespace {

constexpr double kNoLevel = -100.0;
// A run of exceeding points is cut after this many, so that a long exceedance lists several
// maxima instead of one.
constexpr int kLongestRun = 15;

} // namespace

PeakWalk::PeakWalk(PeakLists& peaks, double margin, bool maxFilter)
    : peaks_(peaks), margin_(margin), maxFilter_(maxFilter), runMax_(kNoLevel)
{
}

void PeakWalk::Point(double x, double level, double limit)
{
    if (level <= limit - margin_) {
        inRun_ = false;
        runLength_ = 0;
    } else {
        inRun_ = true;
        if (level > runMax_) {
            runMax_ = level;
            runMaxX_ = x;
            // The grid's limit and margin belong to the listed maximum, not to the point that
            // happened to end its run.
            runMaxLimit_ = limit;
            haveRun_ = true;
        }
        if (++runLength_ > kLongestRun) {
            runLength_ = 0;
            inRun_ = false;
        }
        if (!maxFilter_)
            peaks_.AddPeak(x, level, limit);
    }
    if (!inRun_ && haveRun_) {
        haveRun_ = false;
        if (maxFilter_)
            peaks_.AddPeak(runMaxX_, runMax_, runMaxLimit_);
        runMax_ = kNoLevel;
    }
}

// The end of the walk closes a run that is still open: its maximum may be the highest exceedance
// of the whole walk.
void PeakWalk::Finish()
{
    if (haveRun_ && maxFilter_)
        peaks_.AddPeak(runMaxX_, runMax_, runMaxLimit_);
    haveRun_ = false;
    inRun_ = false;
    runLength_ = 0;
    runMax_ = kNoLevel;
}
