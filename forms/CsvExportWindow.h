#ifndef ZENDRIK_FORMS_CSVEXPORTWINDOW_H
#define ZENDRIK_FORMS_CSVEXPORTWINDOW_H

#include "app/MainChartSeries.h"
#include "forms/ReportFileDialog.h"
#include "reports/CsvExport.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
struct AppContext;

// "Save as CSV File": the CSV export dialog. The curves are ticked in check boxes, the field
// separator, the enclosure and the decimal mark picked in three radio groups built from their
// tables; "Save" writes the main chart's series, which the main window hands over.
class CsvExportWindow : public QDialog {
    Q_OBJECT
public:
    explicit CsvExportWindow(AppContext& app);

    // The main chart's series; until set, every curve is empty.
    void setChartSeries(const MainChartSeries& series) { series_ = series; }
    // The curve boxes of the limits, the corrections and the master curve (CheckBox5 ..
    // CheckBox11) are offered in debug mode only.
    void showDebugControls(bool shown);
    // The ticked curves in column order and the chosen format.
    CsvTicks ticks() const;
    CsvFormat format() const;

    void saveCsv(); // "Save"

    // The save dialog; tests answer it without a modal loop.
    ReportFileChooser askSaveFile;

private:
    // Controls; each objectName is the designer's name.
    // The curves in column order, with the designer names and captions of CsvCurves() (CheckBox3
    // "Data Seg 1" first); the limits', corrections' and master curve's boxes (CheckBox5 ..
    // CheckBox11) show in debug mode only.
    std::array<QCheckBox*, kCsvCurveCount> curveCheckBoxes{};
    QGroupBox* separatorGroup = nullptr;     // RadioGroup2 "Seperator"
    QGroupBox* enclosureGroup = nullptr;     // RadioGroup1 "Enclosure"
    QGroupBox* decimalMarkGroup = nullptr;   // RadioGroup3 "Decimal mark"
    QButtonGroup* separatorButtons = nullptr;
    QButtonGroup* enclosureButtons = nullptr;
    QButtonGroup* decimalMarkButtons = nullptr;
    QPushButton* saveButton = nullptr;       // Button1 "Save"

    template <size_t N>
    QGroupBox* BuildRadioGroup(const char* name, const char* caption, const std::array<CsvChoice, N>& choices,
                               QButtonGroup*& buttons);

    AppContext& app_;
    MainChartSeries series_;
};

#endif
