#ifndef ZENDRIK_FORMS_STATUSPANEL_H
#define ZENDRIK_FORMS_STATUSPANEL_H

#include <QLabel>

// One panel of the main window's status line. It asks for the width it was designed with, or
// for its text's width in its font when the text needs more, and never goes below the text's
// width: a status bar short of room takes space only from panels whose text leaves some free.
class StatusPanel : public QLabel {
    Q_OBJECT
public:
    StatusPanel(int designWidth, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int designWidth_;
};

#endif
