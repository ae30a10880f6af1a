#ifndef ZENDRIK_FORMS_SEGMENTSPANEL_H
#define ZENDRIK_FORMS_SEGMENTSPANEL_H

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
    // The lists show the sets' segment ticks (index 0 is set 1).
    SegmentsPanel(const std::array<CheckListModel*, 2>& segmentChecks, QWidget* parent);

    // Set 1's list shown.
    void startUp();
    // The list of set (1 or 2) shown, and offered while "Segm." is ticked.
    void showSet(int set);
    bool segmentMarksShown() const;
    bool maxFilterOn() const;

signals:
    void segmentMarksToggled();

private:
    QCheckBox* segmentsCheckBox = nullptr;       // CheckBox24 "Segm."
    QCheckBox* maxFilterCheckBox = nullptr;      // CheckBox3 "MaxFilter"
    std::array<QListView*, 2> segmentLists{};    // CheckListBox1, CheckListBox2
};

#endif
