#ifndef ZENDRIK_FORMS_ABOUTWINDOW_H
#define ZENDRIK_FORMS_ABOUTWINDOW_H

#include <QDialog>

class QLabel;
class QPushButton;
struct AppContext;
struct Forms;

// "About": the product, its version, build date and build number, and the host identifier.
// Its creation also puts version and build into the main window's version panel.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(AppContext& app, Forms& forms);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Controls; each objectName is the designer's name where the designer gave one.
    QLabel* titleLabel = nullptr;     // the product's name
    QLabel* versionLabel = nullptr;   // after "Version:"
    QLabel* buildDateLabel = nullptr; // after "Build date:"
    QLabel* buildLabel = nullptr;     // after "Build #:"
    QLabel* hostIdLabel = nullptr;    // after "Host #:"
    QPushButton* closeButton = nullptr; // Button1 "OK"

    AppContext& app_;
};

#endif
