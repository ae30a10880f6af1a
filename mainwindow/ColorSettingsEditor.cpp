#include "mainwindow/ColorSettingsEditor.h"

#include "mainwindow/MainWindowColors.h"

ColorSettingsEditor::ColorSettingsEditor(MainWindowColors& target, QObject* parent)
    : QObject(parent), target_(target), colors_(ColorsWhenMissing())
{
}

void ColorSettingsEditor::Load(const QString& fileName, QString* refused)
{
    colors_ = ReadColorSettings(fileName, refused);
    Apply(kAllColorSlots);
}

void ColorSettingsEditor::SetColor(ColorSlot slot, TColor color)
{
    if (colors_[slot] == color)
        return;
    colors_[slot] = color;
    Apply(MaskOf(slot));
}

void ColorSettingsEditor::SetToDefault()
{
    colors_ = DefaultColors();
    Apply(kAllColorSlots);
}

bool ColorSettingsEditor::Save(const QString& fileName, QString* error) const
{
    return WriteColorSettings(fileName, colors_, error);
}

void ColorSettingsEditor::Apply(ColorSlotMask changed)
{
    CopyColorSettings(colors_, target_);
    emit ColorsChanged(colors_, changed);
}
