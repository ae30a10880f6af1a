#ifndef ZENDRIK_FORMS_TFORM12_H
#define ZENDRIK_FORMS_TFORM12_H

#include <QDialog>

struct AppContext;

// "WhatsNew"
class TForm12 : public QDialog {
    Q_OBJECT
public:
    explicit TForm12(AppContext& app);

private:
    AppContext& app_;
};

#endif
