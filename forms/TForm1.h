#ifndef ZENDRIK_FORMS_TFORM1_H
#define ZENDRIK_FORMS_TFORM1_H

#include <QMainWindow>
#include <QStringList>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
struct AppContext;
struct FormServices;
struct Forms;

// The main window. Its panels are filled in by the subsystems that own them.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(AppContext& app, Forms& forms, FormServices& services, const QStringList& arguments,
           const QString& programFolder);

    void FormCreate();
    void Button1Click();  // "Show Log"
    void Button19Click(); // "Create ini File"
    void CheckBoxDebugClick();

    // Controls keep their designer names.
    QGroupBox* GroupBox3 = nullptr;      // "Messages"
    QPlainTextEdit* Memo1 = nullptr;     // main message log
    QPushButton* Button1 = nullptr;      // "Show Log", debug only
    QPushButton* Button19 = nullptr;     // "Create ini File", debug only
    QLabel* Label2 = nullptr;            // debug only
    QCheckBox* CheckBoxDebug = nullptr;  // "Debug"

signals:
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();

    AppContext& app_;
    Forms& forms_;
    FormServices& services_;
    QStringList arguments_;
    QString programFolder_;
};

#endif
