#ifndef ZENDRIK_FORMS_ABOUTWINDOW_H
#define ZENDRIK_FORMS_ABOUTWINDOW_H

#include <QDialog>

class QLabel;
struct AppContext;

// "About": shows the host identifier after "Host #:".
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(AppContext& app);

    QLabel* hostIdLabel = nullptr; // LabelHost "Host #:" and the host identifier

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& app_;
};

#endif
