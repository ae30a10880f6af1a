#ifndef ZENDRIK_FORMS_CSVEXPORTWINDOW_H
#define ZENDRIK_FORMS_CSVEXPORTWINDOW_H

#include <QDialog>
#include <array>

class QCheckBox;
struct AppContext;

// "Save as CSV File": the CSV export dialog.
class CsvExportWindow : public QDialog {
    Q_OBJECT
public:
    explicit CsvExportWindow(AppContext& app);

    // The curve boxes that only debug mode shows, in designer order (CheckBox5 .. CheckBox11).
    std::array<QCheckBox*, 7> DebugCheckBoxes() const;

    // Controls; each objectName is the designer's name.
    QCheckBox* limit1CheckBox = nullptr;    // CheckBox5 "Lim 1", debug only
    QCheckBox* limit2CheckBox = nullptr;    // CheckBox6 "Lim 2", debug only
    QCheckBox* cableCheckBox = nullptr;     // CheckBox7 "Cable", debug only
    QCheckBox* lisnCheckBox = nullptr;      // CheckBox8 "Lisn", debug only
    QCheckBox* amplifierCheckBox = nullptr; // CheckBox9 "Amp", debug only
    QCheckBox* antennaCheckBox = nullptr;   // CheckBox10 "Ant", debug only
    QCheckBox* masterCheckBox = nullptr;    // CheckBox11 "Master", debug only

private:
    AppContext& app_;
};

#endif
