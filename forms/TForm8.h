#ifndef ZENDRIK_FORMS_TFORM8_H
#define ZENDRIK_FORMS_TFORM8_H

#include <QDialog>

struct AppContext;

// "Report"
class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(AppContext& app);

private:
    AppContext& app_;
};

#endif
