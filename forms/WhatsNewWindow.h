#ifndef ZENDRIK_FORMS_WHATSNEWWINDOW_H
#define ZENDRIK_FORMS_WHATSNEWWINDOW_H

#include <QDialog>

struct AppContext;

// "WhatsNew"
class WhatsNewWindow : public QDialog {
    Q_OBJECT
public:
    explicit WhatsNewWindow(AppContext& app);

private:
    AppContext& app_;
};

#endif
