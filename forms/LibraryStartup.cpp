#include "forms/LibraryStartup.h"

#include "app/Log.h"
#include "chart/tools/ExportStartup.h"

void StartLibraryUnits(ChartLibraryUnits& units)
{
    StartChartLibrary(units.library);
    StartToolsUnit(units.tools, units.library.Chart);
    StartExportUnit(units.exportFormats);
    // The editors open the toolkit's dialogs and show their forms to the panel unit's hook.
    if (units.editors.StartCount == 0) {
        units.editors.Dialogs = StandardEditorDialogs();
        units.editors.Dialogs.Library = &units.panel;
    }
    StartEditorsUnit(units.editors);
    StartGalleryUnit(units.gallery, units.library.Chart, units.editors.Dialogs);
}

void StopLibraryUnits(ChartLibraryUnits& units)
{
    StopGalleryUnit(units.gallery);
    StopEditorsUnit(units.editors);
    StopExportUnit(units.exportFormats);
    StopToolsUnit(units.tools, units.library.Chart);
    StopChartLibrary(units.library);
}

ChartErrorHook ChartErrorsToDebugLog(DebugLog& debug)
{
    return [&debug](const QString& where, const QString& what) {
        debug.LogMessage(QStringLiteral("Chart error in ") + where + QStringLiteral(": ") + what);
    };
}
