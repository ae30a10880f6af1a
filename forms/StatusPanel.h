#ifndef ZENDRIK_FORMS_STATUSPANEL_H
#define ZENDRIK_FORMS_STATUSPANEL_H

#include <QLabel>

// One panel of the main window's status line. It asks for the width it was designed with, or
// for its text's width in its font when the text needs more; a status bar short of room may
// narrow it down to a few characters. Its text() stays whole; a panel narrower than its text
// shows the text shortened at a place that keeps every number whole, with "...", and the whole
// text as its tool tip.
class StatusPanel : public QLabel {
    Q_OBJECT
public:
    StatusPanel(int designWidth, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The text as the panel shows it at its present width.
    QString shownText() const;
    // The width of the whole text, margins included, and the least width ("...").
    int wholeWidth() const { return QLabel::sizeHint().width(); }
    int designWidth() const { return designWidth_; }
    // The width the status line gives the panel; 0: as it asks. False when it had it already.
    bool setAllotted(int width);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FollowToolTip();

    int designWidth_;
    int allotted_ = 0;
};

#endif
