#ifndef ZENDRIK_INSTRUMENT_INSTRUMENTSTATUS_H
#define ZENDRIK_INSTRUMENT_INSTRUMENTSTATUS_H

#include <QObject>
#include <QString>
#include <array>

// The instrument's texts for the main window's status bar: panel 0 the connection state, panel 3
// the identified model. The main window shows them when it connects to TextChanged; until it
// exists they are kept here for whoever asks.
class InstrumentStatus : public QObject {
    Q_OBJECT
public:
    static constexpr int kConnectionPanel = 0;
    static constexpr int kModelPanel = 3;

    QString Text(int panel) const;
    void SetText(int panel, const QString& text);

signals:
    void TextChanged(int panel, const QString& text);

private:
    std::array<QString, 8> texts_;
};

#endif
