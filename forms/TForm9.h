#ifndef ZENDRIK_FORMS_TFORM9_H
#define ZENDRIK_FORMS_TFORM9_H

#include <QDialog>

struct AppContext;

// "Set Colors"
class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(AppContext& app);

private:
    AppContext& app_;
};

#endif
