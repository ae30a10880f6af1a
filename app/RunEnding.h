#ifndef ZENDRIK_APP_RUNENDING_H
#define ZENDRIK_APP_RUNENDING_H

// How a pass of an emission run ended: the run control tells it, the end notice's subject says it.
enum class RunEnding {
    AllSegmentsDone,   // every checked segment brought its trace
    StoppedByOperator, // "Stop", or the window closed, before the last checked segment was done
    AnalyserLost,      // the link to the analyser was lost
    AnalyserFailed,    // the analyser answered, but the run ended on its failure (no sweep end)
    FaultyTrace,       // a checked segment brought a faulty trace (a value that is no number)
};

#endif
