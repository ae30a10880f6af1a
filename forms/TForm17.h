#ifndef ZENDRIK_FORMS_TFORM17_H
#define ZENDRIK_FORMS_TFORM17_H

#include <QDialog>

struct AppContext;

// "Setup mail"
class TForm17 : public QDialog {
    Q_OBJECT
public:
    explicit TForm17(AppContext& app);

private:
    AppContext& app_;
};

#endif
