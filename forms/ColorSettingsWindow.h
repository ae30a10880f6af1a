#ifndef ZENDRIK_FORMS_COLORSETTINGSWINDOW_H
#define ZENDRIK_FORMS_COLORSETTINGSWINDOW_H

#include "mainwindow/ColorSettings.h"

#include <QDialog>
#include <array>
#include <functional>

class ColorSettingsEditor;
class QPushButton;
struct AppContext;

// "Set Colors": one coloured panel per colour of the colour file. Its creation reads the file and
// hands the colours to the main window; a click on a panel edits that colour, and every closing
// writes the file.
class ColorSettingsWindow : public QDialog {
    Q_OBJECT
public:
    ColorSettingsWindow(AppContext& app, ColorSettingsEditor& editor);

    void pickColor(ColorSlot slot); // a click on a colour panel
    void setToDefault();            // "Set to Default"
    void saveColors();              // closing the window

    // The colour dialog of a panel click: the chosen colour, or the given one when cancelled.
    // Tests replace it.
    std::function<TColor(QWidget*, TColor)> colorDialog;

    void done(int result) override;

private:
    QPushButton* Panel(ColorSlot slot) const { return colorPanels[static_cast<size_t>(slot)]; }

    // Controls; each objectName is the designer's name.
    // Panel1 .. Panel23, one per colour, captioned as ColorKeys() lists them.
    std::array<QPushButton*, kColorSlotCount> colorPanels{};
    QPushButton* setToDefaultButton = nullptr; // Button1 "Set to Default"

    void ShowColors(const ColorSettings& colors, ColorSlotMask changed);
    QString FileName() const;

    AppContext& app_;
    ColorSettingsEditor& editor_;
};

#endif
