#ifndef ZENDRIK_FORMS_WHATSNEWWINDOW_H
#define ZENDRIK_FORMS_WHATSNEWWINDOW_H

#include <QDialog>

class QLabel;
class QPlainTextEdit;
struct AppContext;

// "WhatsNew": the release history, newest first, under a title panel.
class WhatsNewWindow : public QDialog {
    Q_OBJECT
public:
    explicit WhatsNewWindow(AppContext& app);

private:
    // Controls; each objectName is this name (the designer gave them none).
    QLabel* titlePanel = nullptr;         // "Zendrik"
    QPlainTextEdit* historyMemo = nullptr; // read-only, vertical scroll bar

    AppContext& app_;
};

#endif
