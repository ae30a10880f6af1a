#include "mainwindow/ColorSettings.h"

#include "platform/inifile/IniFile.h"

const std::array<ColorKey, kColorSlotCount>& ColorKeys()
{
    // The panels are numbered in the order the file is read ("Ser11" after "Marker12"), which
    // differs from the order it is written in.
    static const std::array<ColorKey, kColorSlotCount> keys{{
        {"Ser1", "Raw Data Set1", "Panel1", 0x808080, 0x808080},
        {"Ser2", "Limit Set1", "Panel2", 0x0000FF, 0x0000FF},
        {"Ser3", "Cable Cor", "Panel3", 0x000080, 0x000080},
        {"Ser4", "Lisn/Att Cor", "Panel4", 0xF0CAA6, 0xF0CAA6},
        {"Ser5", "Limit Set2", "Panel5", 0xFF0000, 0xFF0000},
        {"Ser6", "Show Data", "Panel6", 0x0000FF, 0x0000FF},
        {"Ser7", "Cor Data Set1", "Panel7", 0x00FF00, 0x00FF00},
        {"Ser8", "Raw Data Set2", "Panel8", 0xC0C0C0, 0xC0C0C0},
        {"Ser9", "Cor Data Set2", "Panel9", 0xFF00FF, 0xFF00FF},
        {"Ser10", "Amp Cor", "Panel10", 0x800080, 0x800080},
        {"Ser11", "Ant Cor", "Panel15", 0xC0DCC0, 0xC0DCC0},
        {"Marker11", "Marker o Set1", "Panel11", 0x00FF00, 0x00FF00},
        {"Cross", "Cross", "Panel12", 0xFF0000, 0xFF0000},
        {"ChartBG", "Chart BG", "Panel13", 0xA4A0A0, 0xA4A0A0},
        {"Marker12", "Marker o Set2", "Panel14", 0xFF00FF, 0xFF00FF},
        // Without a file the crosses of set 1 are fuchsia and those of set 2 lime; "Set to
        // Default" gives them the other way round, like the peak circles.
        {"Marker21", "Marker x Set1", "Panel16", 0xFF00FF, 0x00FF00},
        {"Marker22", "Marker x Set2", "Panel17", 0x00FF00, 0xFF00FF},
        {"Trace1Seg1", "Trace1 Set1", "Panel18", 0x008000, 0x008000},
        {"Trace1Seg2", "Trace1 Set2", "Panel19", 0x800080, 0x800080},
        {"Trace2Seg1", "Trace2 Set1", "Panel20", 0xF0CAA6, 0xF0CAA6},
        {"Trace2Seg2", "Trace2 Set2", "Panel21", 0x808000, 0x808000},
        {"Trace3Seg1", "Trace3 Set1", "Panel22", 0x800000, 0x800000},
        {"Trace3Seg2", "Trace3 Set2", "Panel23", 0xC0DCC0, 0xC0DCC0},
    }};
    return keys;
}

ColorSettings ColorsWhenMissing()
{
    ColorSettings colors;
    for (size_t i = 0; i < colors.Values.size(); ++i)
        colors.Values[i] = ColorKeys()[i].ReadDefault;
    return colors;
}

ColorSettings DefaultColors()
{
    ColorSettings colors;
    for (size_t i = 0; i < colors.Values.size(); ++i)
        colors.Values[i] = ColorKeys()[i].ResetDefault;
    return colors;
}

ColorSettings ReadColorSettings(const QString& fileName, QString* refused)
{
    const IniFile ini(fileName);
    if (refused != nullptr)
        *refused = ini.LoadError();
    const QString section = QString::fromLatin1(kColorSection);
    ColorSettings colors;
    for (size_t i = 0; i < colors.Values.size(); ++i) {
        const ColorKey& key = ColorKeys()[i];
        colors.Values[i] = ini.ReadInteger(section, QString::fromLatin1(key.Key), key.ReadDefault);
    }
    return colors;
}

bool WriteColorSettings(const QString& fileName, const ColorSettings& colors, QString* error)
{
    // A fresh file with only our section, but the old one is replaced only when the new one is on
    // disk: deleting it first would lose every colour to a full disk.
    IniFile ini(fileName);
    ini.Clear();
    const QString section = QString::fromLatin1(kColorSection);
    for (size_t i = 0; i < colors.Values.size(); ++i)
        ini.WriteInteger(section, QString::fromLatin1(ColorKeys()[i].Key), colors.Values[i]);
    return ini.UpdateFile(error);
}

TColor CaptionColorFor(TColor panel)
{
    return panel == clWhite ? clBlack : clWhite;
}
