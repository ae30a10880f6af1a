#ifndef ZENDRIK_INSTRUMENT_INSTRUMENTSTATUS_H
#define ZENDRIK_INSTRUMENT_INSTRUMENTSTATUS_H

#include "app/StatusBarPanel.h"

#include <QObject>
#include <QString>
#include <array>

// The instrument's texts for the main window's status bar: the connection state and the
// identified model. The main window shows them when it connects to TextChanged; until it exists
// they are kept here for whoever asks.
class InstrumentStatus : public QObject {
    Q_OBJECT
public:
    static constexpr StatusBarPanel kConnectionPanel = StatusBarPanel::Connection;
    static constexpr StatusBarPanel kModelPanel = StatusBarPanel::Model;

    QString Text(StatusBarPanel panel) const;
    void SetText(StatusBarPanel panel, const QString& text);

signals:
    void TextChanged(StatusBarPanel panel, const QString& text);

private:
    std::array<QString, kStatusBarPanelCount> texts_;
};

#endif
