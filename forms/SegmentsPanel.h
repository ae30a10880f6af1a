#ifndef ZENDRIK_FORMS_SEGMENTSPANEL_H
#define ZENDRIK_FORMS_SEGMENTSPANEL_H

#include "app/MeasureSet.h"

#include <QWidget>
#include <array>

class CheckListModel;
class QCheckBox;
class QListView;

// The main window's segments panel: the segments of each set, ticked for the run, with only the
// chosen set's list shown; "Segm." shows the chosen set's segment marks, "MaxFilter" filters the
// run's traces.
class SegmentsPanel : public QWidget {
    Q_OBJECT
public:
    // The lists show the sets' segment ticks.
    SegmentsPanel(const PerSet<CheckListModel*>& segmentChecks, QWidget* parent);

    // Set 1's list shown.
    void startUp();
    // The list of the set shown, and offered while "Segm." is ticked.
    void showSet(MeasureSet set);
    bool segmentMarksShown() const;
    bool maxFilterOn() const;

signals:
    void segmentMarksToggled();

private:
    QCheckBox* segmentsCheckBox = nullptr;       // CheckBox24 "Segm."
    QCheckBox* maxFilterCheckBox = nullptr;      // CheckBox3 "MaxFilter"
    PerSet<QListView*> segmentLists{};    // CheckListBox1, CheckListBox2
};

#endif
