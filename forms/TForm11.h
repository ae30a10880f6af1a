#ifndef ZENDRIK_FORMS_TFORM11_H
#define ZENDRIK_FORMS_TFORM11_H

#include <QDialog>

struct AppContext;

// "Connect TCP"
class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(AppContext& app);

private:
    AppContext& app_;
};

#endif
