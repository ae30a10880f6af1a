#include "forms/ColorSettingsWindow.h"

#include "app/AppContext.h"
#include "chart/canvas/PlotControls.h"
#include "mainwindow/ColorSettingsEditor.h"
#include "platform/gdi/GdiTypes.h"

#include <QDir>
#include <QGridLayout>
#include <QPushButton>

namespace {

QColor ToQColor(TColor color)
{
    return QColor::fromRgb(gdi::ToQRgb(ColorToRGB(color)));
}

} // namespace

ColorSettingsWindow::ColorSettingsWindow(AppContext& app, ColorSettingsEditor& editor)
    : QDialog(nullptr), colorDialog(EditColorDialog), app_(app), editor_(editor)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Set Colors"));
    auto* grid = new QGridLayout(this);
    constexpr int kRows = (kColorSlotCount + 1) / 2;
    for (int i = 0; i < kColorSlotCount; ++i) {
        const ColorKey& key = ColorKeys()[static_cast<size_t>(i)];
        auto* panel = new QPushButton(QString::fromLatin1(key.Caption), this);
        panel->setObjectName(QString::fromLatin1(key.PanelName));
        // A flat button fills its background from the palette, so the panel shows its colour in
        // every style.
        panel->setFlat(true);
        panel->setAutoFillBackground(true);
        panel->setMinimumWidth(140);
        grid->addWidget(panel, i % kRows, i / kRows);
        colorPanels[static_cast<size_t>(i)] = panel;
        connect(panel, &QPushButton::clicked, this, [this, i] { pickColor(static_cast<ColorSlot>(i)); });
    }
    setToDefaultButton = new QPushButton(QStringLiteral("Set to Default"), this);
    setToDefaultButton->setObjectName(QStringLiteral("Button1"));
    grid->addWidget(setToDefaultButton, kRows, 0, 1, 2);
    connect(setToDefaultButton, &QPushButton::clicked, this, &ColorSettingsWindow::setToDefault);

    connect(&editor_, &ColorSettingsEditor::ColorsChanged, this, &ColorSettingsWindow::ShowColors);
    // A file refused as too large (or with an endless line) gives the defaults, and says so.
    QString refused;
    editor_.Load(FileName(), &refused);
    if (!refused.isEmpty())
        app_.Messages.Append(QStringLiteral("Error: ") + refused);
}

QString ColorSettingsWindow::FileName() const
{
    return QDir(app_.WorkingFolder).filePath(QString::fromLatin1(kColorSettingsFile));
}

void ColorSettingsWindow::ShowColors(const ColorSettings& colors, ColorSlotMask changed)
{
    for (int i = 0; i < kColorSlotCount; ++i) {
        const auto slot = static_cast<ColorSlot>(i);
        if (!(changed & MaskOf(slot)))
            continue;
        QPalette palette = Panel(slot)->palette();
        palette.setColor(QPalette::Button, ToQColor(colors[slot]));
        palette.setColor(QPalette::ButtonText, ToQColor(CaptionColorFor(colors[slot])));
        Panel(slot)->setPalette(palette);
    }
}

void ColorSettingsWindow::pickColor(ColorSlot slot)
{
    editor_.SetColor(slot, colorDialog(this, editor_.Colors()[slot]));
}

void ColorSettingsWindow::setToDefault()
{
    editor_.SetToDefault();
}

void ColorSettingsWindow::saveColors()
{
    const QString file = FileName();
    QString error;
    if (!editor_.Save(file, &error))
        app_.Messages.Append(QStringLiteral("Error: cannot write ") + file + QStringLiteral(": ") + error);
}

void ColorSettingsWindow::done(int result)
{
    // Closing by the title bar, Escape or a button all end here.
    saveColors();
    QDialog::done(result);
}
