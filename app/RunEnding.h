#ifndef ZENDRIK_APP_RUNENDING_H
#define ZENDRIK_APP_RUNENDING_H

// How a pass of an emission run ended: the run control tells it, the end notice's subject says it.
enum class RunEnding {
    AllSegmentsDone,   // every checked segment brought its trace
    StoppedByOperator, // "Stop", or the window closed, before the last checked segment was done
    AnalyserLost,      // the link to the analyser was lost
    AnalyserFailed,    // the analyser answered, but the run ended on its failure (no sweep end)
    PartOfPlan,        // the run went to its end, but checked segments brought no trace or less
                       // than planned (beyond the analyser's range, a faulty trace, ...)
};

// How a pass of a run ended, for its end notice: after segment LastSegment (0: none) of Count; of
// the Planned checked segments, NotMeasured brought nothing and InPart less than planned (over all
// passes of the run so far).
struct RunEnd {
    RunEnding Ending = RunEnding::AllSegmentsDone;
    int LastSegment = 0;
    int Count = 0;
    int Planned = 0;
    int NotMeasured = 0;
    int InPart = 0;
};

#endif
