#ifndef ZENDRIK_MAINWINDOW_TRACEONTOP_H
#define ZENDRIK_MAINWINDOW_TRACEONTOP_H

#include "app/MainChartSeries.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class TCustomSeriesList;

// The main chart's drawing order after a click on a label, by series Name. toggle is flipped by
// every click and says which trace of the clicked pair goes last: set 2 after a flip to true, set 1
// after a flip to false. The series with a drawing rank in the main chart's table move to their
// places from the front (first the traces that nothing covers, then the pairs not clicked, last
// the clicked pair); series without one keep their order behind them, so the result is always a
// permutation of current. A chart of seven series or fewer keeps its order.
QStringList TraceOnTopOrder(const QStringList& current, TopTracePair clicked, bool& toggle);

// The same on a chart's series list.
void PutTraceOnTop(TCustomSeriesList& list, TopTracePair clicked, bool& toggle);

#endif
