#ifndef ZENDRIK_MAINWINDOW_MAINWINDOWSTATE_H
#define ZENDRIK_MAINWINDOW_MAINWINDOWSTATE_H

#include "mainwindow/ColorSettingsEditor.h"
#include "datafiles/TableBuffer.h"
#include "mainwindow/LevelUnits.h"
#include "mainwindow/MainMode.h"
#include "mainwindow/MainWindowColors.h"
#include "mainwindow/MarkerStore.h"
#include "measurement/SmoothRangeStore.h"

#include <array>
#include <cstdint>

// The main window's state that other windows change, owned by the program so that it outlives
// every window and tests can build their own.
struct MainWindowState {
    MainWindowColors Colors = StartupColors();
    // The colour dialog edits through it; the main window listens to its ColorsChanged.
    ColorSettingsEditor ColorEditor{Colors};
    // The table editor's grid, through which every table read passes (project loading, the
    // parameter grid, the generator and coverage views), whether or not the editor is shown.
    TableBuffer Table;

    // Added to every displayed level; stored levels stay in dBuV.
    int32_t LevelUnitOffset = LevelUnitOffsetOf(LevelUnit::dBuV);
    QString LevelUnitName = LevelUnitNameOf(LevelUnit::dBuV);
    // Flipped by each click on a "trace on top" label: which trace of the clicked pair goes last.
    bool TraceOnTopToggle = false;
    // Which view owns the window: EMC, RF coverage or the generator.
    ::MainMode MainMode = ::MainMode::Emc;
    // The fader's smoothed ranges of each set.
    PerSet<SmoothRangeStore> SmoothRanges{};
    // The markers of each set.
    PerSet<MarkerStore> Markers{};
};

#endif
