#ifndef ZENDRIK_FORMS_STATUSBARPANELS_H
#define ZENDRIK_FORMS_STATUSBARPANELS_H

#include "app/StatusBarPanel.h"

#include <QList>
#include <QObject>

class QStatusBar;
class QTimer;
class StatusPanel;

// The main window's status line: the status bar's panels, narrowed by their importance when the
// bar is short of room, and the timer that refreshes them.
class StatusBarPanels : public QObject {
    Q_OBJECT
public:
    StatusBarPanels(QStatusBar& bar, QObject* parent);

    void setText(StatusBarPanel panel, const QString& text);
    QString text(StatusBarPanel panel) const;
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

    // Controls; each objectName is the designer's name.
    QStatusBar& statusBar;            // StatusBar1, the main window's
    QList<StatusPanel*> statusPanels; // StatusPanel and the place in StatusBarPanel
    QTimer* statusTimer = nullptr;    // Timer1
};

#endif
