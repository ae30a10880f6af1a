#ifndef ZENDRIK_FORMS_PEAKSPANEL_H
#define ZENDRIK_FORMS_PEAKSPANEL_H

#include "app/MeasureSet.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <vector>

class PeakLists;
class QAction;
class QCheckBox;
class QGroupBox;
class QListView;
class QPushButton;
class QTableView;

// The main window's peaks panel: the peak and re-measurement lists of the chosen set, the hidden
// frequency and level lists behind them (debug mode shows set 1's), the hidden peak grids the
// report prints, "Select 6 maxpeaks", "Displ. peaks" and "Clear peaks". The lists are views of the
// measurement engine's peak models.
class PeaksPanel : public QWidget {
    Q_OBJECT
public:
    explicit PeaksPanel(QWidget* parent);

    // The lists of both sets show these models.
    void showPeakLists(const PerSet<PeakLists*>& lists);
    // Set 1's lists shown, all four in sky blue.
    void startUp();
    // The lists and titles of the set.
    void showSet(MeasureSet set);
    // The rows selected in the peak list of the set, in order.
    std::vector<int> selectedRows(MeasureSet set) const;
    // "Displ. peaks" and "Clear peaks" only while nothing owns the traces.
    void enableCommands(bool idle);
    void showDebugControls(bool shown);

signals:
    void displayPeaksClicked();
    void clearPeaksClicked();
    // "Save to File" of the peak lists' pop-up menu.
    void savePeaksRequested();
    // A double-click on a peak: the crosshair goes to row of these lists.
    void crosshairRequested(const QStringList& freqs, const QStringList& levels, int row);

private:
    // The controls of one set; the designer names are those of set 1 / set 2.
    struct SetControls {
        QListView* peaks = nullptr;          // ListBox1 / ListBox7
        QCheckBox* selectMaxPeaks = nullptr; // CheckBox18 / CheckBox19 "Select 6 maxpeaks"
        QListView* measured = nullptr;       // ListBox2 / ListBox8
        QListView* peakFreqs = nullptr;      // ListBox3 / ListBox9
        QListView* peakLevels = nullptr;     // ListBox4 / ListBox10
        QListView* measuredFreqs = nullptr;  // ListBox5 / ListBox11
        QListView* measuredLevels = nullptr; // ListBox6 / ListBox12
        QTableView* grid = nullptr;          // StringGrid1 / StringGrid2, hidden; the report prints it
    };

    void SelectMaxPeaksClicked(MeasureSet set);

    QGroupBox* peaksGroup = nullptr;             // GroupBox4 "Peaks Set1"
    QGroupBox* peakMeasurementsGroup = nullptr;  // GroupBox5 "Peaks Measurements Set1"
    PerSet<SetControls> setLists{};
    QPushButton* displayPeaksButton = nullptr;   // Button8 "Displ. peaks"
    QPushButton* clearPeaksButton = nullptr;     // Button6 "Clear peaks"
    QAction* savePeaksAction = nullptr;          // SavePeakstoFile1 "Save to File"

    PerSet<PeakLists*> shown_{};
};

#endif
