#ifndef ZENDRIK_FORMS_TABLEEDITORWINDOW_H
#define ZENDRIK_FORMS_TABLEEDITORWINDOW_H

#include "chart/canvas/PlotColor.h"
#include "datafiles/TableFiles.h"

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>

class AxisBounds;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class TableBuffer;
class TChartSeries;
struct AppContext;
struct FormServices;

// "Edit Lim": the table editor, a view of the shared table buffer for limit lines, the four
// correction kinds and segment tables. Its creation prepares the data folders and, on the first
// run, unpacks the default data and asks the program to end so the operator starts it again.
class TableEditorWindow : public QDialog {
    Q_OBJECT
public:
    // What the editor reaches of the main window once its chart exists; everything may be null.
    struct MainChartLink {
        TChartSeries* preview = nullptr; // Series6, the table drawn by "Verify&Show"
        TColor previewColor = 0xFF8040;
        AxisBounds* frequencyAxis = nullptr; // the main chart's bottom axis (kHz)
        AxisBounds* levelAxis = nullptr;     // its left axis (dBuV)
        // A launcher hides the limit and correction lines and shows the preview.
        std::function<void()> showPreviewOnly;
        // Closing: the main chart's lines follow the view check boxes again.
        std::function<void()> restoreSeriesVisibility;
        // Closing: the main window's file pick lists are rebuilt (newly saved files appear).
        std::function<void()> refreshFileLists;
    };

    TableEditorWindow(AppContext& app, FormServices& services, TableBuffer& table);

    void prepareDataFolders();
    // The main window links its chart; the plot-range fields then show the chart's axes.
    void setMainChart(MainChartLink link);
    // The Setup menu's launchers ("Edit Limit" ... "Edit Segments").
    void launch(TableKind kind);
    std::optional<TableKind> editorKind() const { return editorKind_; }
    // "Import s1210" is offered in debug mode only.
    void showDebugControls(bool shown);

    // Handlers.
    void loadFile(const QString& fileName); // a click in the file list
    void saveFile();                        // "Save File"
    void verifyAndShow();                   // "Verify&Show"
    void clearTable();                      // "Clear"

    // As wide as the grid's columns, which the window may narrow on a small screen.
    QSize sizeHint() const override;

    // Where "Save File" writes; the default asks with a save dialog (empty: cancelled).
    std::function<QString(const SaveDialogSettings&)> chooseSaveFile;

    // Closing, by any way: the preview goes, the main chart's lines follow the view boxes again
    // and the file pick lists are rebuilt.
    void done(int result) override;

private:
    // Controls; each objectName is the designer's name.
    QListWidget* fileList = nullptr;          // FileListBox1 under "File"
    QListWidget* secondFileList = nullptr;    // FileListBox2, always hidden
    QLabel* fileCountLabel = nullptr;         // "Files " + count
    QLineEdit* nameEdit = nullptr;            // Edit3 "Name"
    QLineEdit* startFreqEdit = nullptr;       // Edit1 "Start Freq. Plot"
    QLineEdit* stopFreqEdit = nullptr;        // Edit2 "Stop Freq. Plot"
    QLineEdit* levelMinEdit = nullptr;        // Edit4 "dBuV"
    QLineEdit* levelMaxEdit = nullptr;        // Edit5 "dBuV"
    QCheckBox* freqLinCheckBox = nullptr;     // CheckBox3 "Freq  lin/log", shows the file's mode
    QCheckBox* levelLinCheckBox = nullptr;    // CheckBox2 "Level lin/log"
    QCheckBox* autoscaleCheckBox = nullptr;   // CheckBox5 "Autoscale"
    QCheckBox* importS1210CheckBox = nullptr; // CheckBox4 "Import s1210", debug only
    QPushButton* clearButton = nullptr;       // Button4 "Clear"
    QPushButton* verifyButton = nullptr;      // Button2 "Verify&&Show"
    QPushButton* saveButton = nullptr;        // Button3 "Save File"
    QPushButton* closeButton = nullptr;       // Button1 "Close"
    QTableView* grid = nullptr;               // StringGrid1

    void BuildControls();
    void WireControls();
    void RefreshFileList();
    void ShowFlags();
    void ShowPlotRange();
    void PlotRangeEdited(QLineEdit* edit);
    void FitColumns();
    int ValueWidth(int column) const;
    int TextWidth(const QString& text) const;
    QSize Room() const;

    AppContext& app_;
    FormServices& services_;
    TableBuffer& table_;
    MainChartLink link_;
    std::optional<TableKind> editorKind_;
};

#endif
