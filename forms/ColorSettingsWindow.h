#ifndef ZENDRIK_FORMS_COLORSETTINGSWINDOW_H
#define ZENDRIK_FORMS_COLORSETTINGSWINDOW_H

#include <QDialog>

struct AppContext;

// "Set Colors"
class ColorSettingsWindow : public QDialog {
    Q_OBJECT
public:
    explicit ColorSettingsWindow(AppContext& app);

private:
    AppContext& app_;
};

#endif
