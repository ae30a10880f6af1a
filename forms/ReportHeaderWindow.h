#ifndef ZENDRIK_FORMS_REPORTHEADERWINDOW_H
#define ZENDRIK_FORMS_REPORTHEADERWINDOW_H

#include <QDialog>

struct AppContext;

// "Report"
class ReportHeaderWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReportHeaderWindow(AppContext& app);

private:
    AppContext& app_;
};

#endif
