#ifndef ZENDRIK_FORMS_TABLEEDITORWINDOW_H
#define ZENDRIK_FORMS_TABLEEDITORWINDOW_H

#include <QDialog>

class QCheckBox;
struct AppContext;
struct FormServices;

// "Edit Lim": the table editor. Its creation prepares the data folders and, on the first run,
// unpacks the default data and asks the program to end so the operator starts it again.
class TableEditorWindow : public QDialog {
    Q_OBJECT
public:
    TableEditorWindow(AppContext& app, FormServices& services);

    void prepareDataFolders();

    QCheckBox* importS1210CheckBox = nullptr; // CheckBox4 "Import s1210", debug only

private:
    AppContext& app_;
    FormServices& services_;
};

#endif
