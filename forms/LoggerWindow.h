#ifndef ZENDRIK_FORMS_LOGGERWINDOW_H
#define ZENDRIK_FORMS_LOGGERWINDOW_H

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
struct AppContext;

// "Logger": the debug log window with its test buttons.
class LoggerWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoggerWindow(AppContext& app);

    void Button9Click();  // "Show Series1"
    void Button7Click();  // "Show Seriesx"
    void Button15Click(); // "Refresh Labels"
    void Button14Click(); // "Rd Labels"
    void Button17Click(); // "New Labels"
    void Button11Click(); // "R&S SPEC Mode"
    void Button10Click(); // "R&S REC Mode"
    void Button5Click();  // "clr Log"

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button15 = nullptr;
    QPushButton* Button14 = nullptr;
    QPushButton* Button17 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* Button10 = nullptr;
    QPushButton* Button5 = nullptr;

private:
    AppContext& app_;
};

#endif
