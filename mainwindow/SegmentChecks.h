#ifndef ZENDRIK_MAINWINDOW_SEGMENTCHECKS_H
#define ZENDRIK_MAINWINDOW_SEGMENTCHECKS_H

class CheckListModel;

// After the operator ticked or unticked a row of a segment check list (row 0 "All", row i
// segment i): "All" gives every row its state; any other row leaves "All" ticked exactly when
// every segment row is ticked.
void ApplySegmentCheck(CheckListModel& list, int row);

#endif
