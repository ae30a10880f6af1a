#ifndef ZENDRIK_FORMS_LIBRARYSTARTUP_H
#define ZENDRIK_FORMS_LIBRARYSTARTUP_H

#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/editors/EditorRegistry.h"
#include "chart/editors/Gallery.h"
#include "chart/series/ChartLibrary.h"
#include "chart/tools/PlotExport.h"
#include "chart/tools/ToolClasses.h"

class DebugLog;

// The state of every unit of the chart library, owned by the program entry and passed by
// reference to the units' start and stop. The panel unit's settings (palette, hand cursor) are
// made with the object; the HTML text, canvas and filter units keep no state that needs a start
// here: their tables are built on first use.
struct ChartLibraryUnits {
    TPlotLibrarySettings panel;
    ChartLibraryState library;
    ToolsUnitState tools;
    TPlotExportFormats exportFormats;
    EditorsUnit editors;
    GalleryUnitState gallery;
};

// Starts the units in their order: the library up to the text table (message table, engine,
// chart unit registries, arrow series, text table), the tools, the export formats, the editors and
// last the gallery, which registers the standard series types and fills the chart unit's
// add-series and change-type hooks.
void StartLibraryUnits(ChartLibraryUnits& units);
// The reverse order.
void StopLibraryUnits(ChartLibraryUnits& units);

// The units started for the life of the object: the program entry makes one before its windows
// and lets it go after them. What the library's handlers catch goes to errors while it lives.
class LibraryStartup {
public:
    explicit LibraryStartup(ChartLibraryUnits& units, ChartErrorHook errors = {})
        : units_(units), errors_(std::move(errors))
    {
        StartLibraryUnits(units_);
    }
    ~LibraryStartup() { StopLibraryUnits(units_); }
    LibraryStartup(const LibraryStartup&) = delete;
    LibraryStartup& operator=(const LibraryStartup&) = delete;

private:
    ChartLibraryUnits& units_;
    ChartErrorHookScope errors_;
};

// The program's chart error hook: a debug log line "Chart error in <where>: <what>" (kept only
// while "Debug" is checked, like every debug line).
ChartErrorHook ChartErrorsToDebugLog(DebugLog& debug);

#endif
