#ifndef ZENDRIK_MAINWINDOW_TRACEONTOP_H
#define ZENDRIK_MAINWINDOW_TRACEONTOP_H

#include <QString>
#include <QStringList>
#include <cstdint>

class TCustomSeriesList;

// The four labels that bring a pair of traces (set 1 and set 2) on top of the main chart.
enum class TopTracePair {
    Chart,  // Label1 "Chart:": Series7/Series9, the corrected traces
    Trace1, // Label7 "Trace1:": Series12/Series13
    Trace2, // Label9 "Trace2:": Series19/Series20
    Trace3, // Label10 "Trace3:": Series21/Series22
};

// The main chart's drawing order after a click on a label, by series Name. toggle is flipped by
// every click and says which trace of the clicked pair goes last: set 2 after a flip to 1, set 1
// after a flip to 0. The named series move to their places from the front (first the traces
// that nothing covers, then the pairs not clicked, last the clicked pair); series the order does
// not name keep their order behind them, so the result is always a permutation of current. A
// chart of seven series or fewer keeps its order.
QStringList TraceOnTopOrder(const QStringList& current, TopTracePair clicked, uint8_t& toggle);

// The same on a chart's series list.
void PutTraceOnTop(TCustomSeriesList& list, TopTracePair clicked, uint8_t& toggle);

#endif
