#include "mainwindow/SegmentChecks.h"

#include "datafiles/CheckListModel.h"

void ApplySegmentCheck(CheckListModel& list, int row)
{
    if (row < 0 || row >= list.Count())
        return;
    if (row == 0) {
        const bool all = list.Checked(0);
        for (int i = 1; i < list.Count(); ++i)
            list.SetChecked(i, all);
        return;
    }
    bool every = true;
    for (int i = 1; i < list.Count() && every; ++i)
        every = list.Checked(i);
    list.SetChecked(0, every);
}
