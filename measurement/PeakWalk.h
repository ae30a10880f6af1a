#ifndef ZENDRIK_MEASUREMENT_PEAKWALK_H
#define ZENDRIK_MEASUREMENT_PEAKWALK_H

class PeakLists;

// Finds the peaks of one walk over a corrected trace: the points above the limit less the margin.
// Exceeding points in a row form a run, cut after 16 points so that a long exceedance lists
// several maxima. Without "MaxFilter" every exceeding point is listed; with it only the highest
// of each run, with the limit at that point, once the run ends (at a point within the margin,
// at its 16th point, or at the end of the walk).
class PeakWalk {
public:
    PeakWalk(PeakLists& peaks, double margin, bool maxFilter);

    // The stored corrected level at x with the limit there; points the limit line does not cover
    // are not passed, so they neither list a peak nor end a run.
    void Point(double x, double level, double limit);
    // Ends the walk: a run still open lists its maximum.
    void Finish();

private:
    PeakLists& peaks_;
    double margin_;
    bool maxFilter_;
    bool inRun_ = false;
    int runLength_ = 0;
    bool haveRun_ = false;
    double runMax_;
    double runMaxX_ = 0;
    double runMaxLimit_ = 0;
};

#endif
