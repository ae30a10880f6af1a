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

    // CheckBox5 .. CheckBox11: "Lim 1", "Lim 2", "Cable", "Lisn", "Amp", "Ant", "Master"; debug only.
    std::array<QCheckBox*, 7> DebugCheckBoxes{};

private:
    AppContext& app_;
};

#endif
