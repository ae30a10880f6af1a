#ifndef ZENDRIK_FORMS_TFORM6_H
#define ZENDRIK_FORMS_TFORM6_H

#include <QDialog>

class QLabel;
struct AppContext;

// "About": shows the host identifier after "Host #:".
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(AppContext& app);

    QLabel* LabelHost = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& app_;
};

#endif
