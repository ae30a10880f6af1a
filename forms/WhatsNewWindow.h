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

    QLabel* titlePanel = nullptr;         // "Zendrik"
    QPlainTextEdit* historyMemo = nullptr; // read-only, vertical scroll bar

private:
    AppContext& app_;
};

#endif
