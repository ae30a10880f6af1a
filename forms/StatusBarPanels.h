#ifndef ZENDRIK_FORMS_STATUSBARPANELS_H
#define ZENDRIK_FORMS_STATUSBARPANELS_H

#include <QList>
#include <QObject>

class QStatusBar;
class QTimer;
class StatusPanel;

// The main window's status line: the status bar's eight panels (0 connection, 2 the grid's hint,
// 3 model, 4 settings echo, 5 memory, 6 version, 7 clock), narrowed by their importance when the
// bar is short of room, and the timer that refreshes them.
class StatusBarPanels : public QObject {
    Q_OBJECT
public:
    StatusBarPanels(QStatusBar& bar, QObject* parent);

    // Text of panel 0..7; other numbers are ignored.
    void setText(int panel, const QString& text);
    QString text(int panel) const;
    void start();
    void stop();

signals:
    // Timer1, once a second.
    void tick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The panels' widths for the bar's present width.
    void AllotWidths();

    QStatusBar& bar_;
    QList<StatusPanel*> statusPanels; // StatusPanel0 .. StatusPanel7
    QTimer* statusTimer = nullptr;    // Timer1
};

#endif
