#include "forms/LibraryStartup.h"

#include "app/Log.h"
#include "chart/tools/ExportStartup.h"

void StartLibraryUnits(ChartLibraryUnits& units)
{
    StartChartLibrary(units.Library);
    StartToolsUnit(units.Tools, units.Library.Chart);
    StartExportUnit(units.ExportFormats);
    // The editors open the toolkit's dialogs and show their forms to the panel unit's hook.
    if (units.Editors.StartCount == 0) {
        units.Editors.Dialogs = StandardEditorDialogs();
        units.Editors.Dialogs.Library = &units.Panel;
    }
    StartEditorsUnit(units.Editors);
}

void StopLibraryUnits(ChartLibraryUnits& units)
{
    StopEditorsUnit(units.Editors);
    StopExportUnit(units.ExportFormats);
    StopToolsUnit(units.Tools, units.Library.Chart);
    StopChartLibrary(units.Library);
}

ChartErrorHook ChartErrorsToDebugLog(DebugLog& debug)
{
    return [&debug](const QString& where, const QString& what) {
        debug.LogMessage(QStringLiteral("Chart error in ") + where + QStringLiteral(": ") + what);
    };
}
