#ifndef ZENDRIK_FORMS_FUNCTIONMATRIXWINDOW_H
#define ZENDRIK_FORMS_FUNCTIONMATRIXWINDOW_H

#include <QDialog>
#include <QImage>

struct AppContext;

// "Function Matrix": one fixed picture (which operations each analyser family supports), stretched
// proportionally to the window.
class FunctionMatrixWindow : public QDialog {
    Q_OBJECT
public:
    explicit FunctionMatrixWindow(AppContext& app);

    const QImage& picture() const { return picture_; }
    // Where the picture lands in a client area of the given size: as large as fits, centred,
    // keeping its aspect ratio.
    static QRect pictureRect(const QSize& picture, const QSize& client);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AppContext& app_;
    QImage picture_;
};

#endif
