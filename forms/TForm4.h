#ifndef ZENDRIK_FORMS_TFORM4_H
#define ZENDRIK_FORMS_TFORM4_H

#include <QDialog>

class QPushButton;
struct AppContext;

// "Connect VISA USB": instrument search and connection.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(AppContext& app);

    QPushButton* Button6 = nullptr; // "Rd DSA Status", debug only

private:
    AppContext& app_;
};

#endif
