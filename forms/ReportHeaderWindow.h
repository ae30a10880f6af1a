#ifndef ZENDRIK_FORMS_REPORTHEADERWINDOW_H
#define ZENDRIK_FORMS_REPORTHEADERWINDOW_H

#include "forms/ReportFileDialog.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class DataFileDialogs;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class ReportHeaderItems;
struct AppContext;
struct DataFileContext;
struct FormServices;

// "Report": the report header editor. It shows and edits the program's report header items (the
// store the printed report and the project loader use) and saves and loads ".rep" files of the
// working folder's "rep".
class ReportHeaderWindow : public QDialog {
    Q_OBJECT
public:
    ReportHeaderWindow(AppContext& app, ReportHeaderItems& items, FormServices& services);
    ~ReportHeaderWindow() override;

    void saveReport();                            // "Save"
    void clearItems();                            // "Clear"
    void loadListedFile(QListWidgetItem* item);   // a click in the file list
    // "Edit Report" of the main window's "Setup" menu: the list read again, then shown.
    void openForEditing();
    // Lists the ".rep" files of the working folder's "rep", whatever the case of the extension.
    void refreshFileList();
    // Shows what the store holds.
    void refreshFromItems();

    // The save dialog and the load question; tests answer them without a modal loop.
    ReportFileChooser askSaveFile;
    DataFileDialogs* dialogs = nullptr;
    // The parameter grid's pick lists learn of a new file ("RefreshFileLists"); the main window sets it.
    std::function<void()> refreshFileLists;

private:
    // Controls; each objectName is the designer's name. itemEdits[i] edits report item i (1..11);
    // its label shows the item's caption.
    std::array<QLineEdit*, 12> itemEdits{};       // LabeledEdit1 .. LabeledEdit11
    std::array<QLabel*, 12> itemLabels{};
    QListWidget* reportFileList = nullptr;        // FileListBox1, headed "Select Report File"
    QPushButton* saveButton = nullptr;            // BitBtn1 "Save"
    QPushButton* clearButton = nullptr;           // Button1 "Clear"

    void BuildControls();
    DataFileContext Context() const;

    AppContext& app_;
    ReportHeaderItems& items_;
    std::unique_ptr<DataFileDialogs> ownDialogs_;
};

#endif
