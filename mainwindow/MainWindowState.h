#ifndef ZENDRIK_MAINWINDOW_MAINWINDOWSTATE_H
#define ZENDRIK_MAINWINDOW_MAINWINDOWSTATE_H

#include "mainwindow/ColorSettingsEditor.h"
#include "datafiles/TableBuffer.h"
#include "mainwindow/MainWindowColors.h"

// The main window's state that other windows change, owned by the program so that it outlives
// every window and tests can build their own.
struct MainWindowState {
    MainWindowColors Colors = StartupColors();
    // The colour dialog edits through it; the main window listens to its ColorsChanged.
    ColorSettingsEditor ColorEditor{Colors};
    // The table editor's grid, through which every table read passes (project loading, the
    // parameter grid, the generator and coverage views), whether or not the editor is shown.
    TableBuffer Table;
};

#endif
