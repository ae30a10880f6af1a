#ifndef ZENDRIK_MAINWINDOW_COLORSETTINGSEDITOR_H
#define ZENDRIK_MAINWINDOW_COLORSETTINGSEDITOR_H

#include "mainwindow/ColorSettings.h"

#include <QObject>

struct MainWindowColors;

// What the colour dialog does to the colours, without the dialog: reads and writes the colour
// file, takes a panel's new colour, resets to the defaults, and keeps the main window's colours in
// step. ColorsChanged is the hook through which the main window recolours what is already drawn.
class ColorSettingsEditor : public QObject {
    Q_OBJECT
public:
    explicit ColorSettingsEditor(MainWindowColors& target, QObject* parent = nullptr);

    const ColorSettings& Colors() const { return colors_; }

    // The dialog's creation: every colour from the file (a missing file or key gives its default;
    // a refused file gives them all and its reason in *refused).
    void Load(const QString& fileName, QString* refused = nullptr);
    // A colour confirmed for one panel; nothing happens when it is the panel's colour already.
    void SetColor(ColorSlot slot, TColor color);
    // "Set to Default": every colour, whatever it was.
    void SetToDefault();
    // The dialog's closing: all 23 colours, also when nothing changed. A failure keeps the old file
    // and says why in *error.
    bool Save(const QString& fileName, QString* error = nullptr) const;

signals:
    // After the main window's colours were updated: all colours, and which of them were set.
    void ColorsChanged(const ColorSettings& colors, ColorSlotMask changed);

private:
    void Apply(ColorSlotMask changed);

    MainWindowColors& target_;
    ColorSettings colors_;
};

#endif
