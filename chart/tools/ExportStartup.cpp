#include "chart/tools/ExportStartup.h"

#include "chart/tools/PlotBmpOptions.h"
#include "chart/tools/PlotEmfOptions.h"
#include "chart/tools/PlotExport.h"
#include "chart/tools/PlotJPEG.h"

void StartExportUnit(TPlotExportFormats& formats)
{
    if (formats.StartCount++ > 0)
        return;
    RegisterExportFormat(formats, TJPEGExportFormat::Class());
    RegisterExportFormat(formats, TBMPExportFormat::Class());
    RegisterExportFormat(formats, TEMFExportFormat::Class());
}

void StopExportUnit(TPlotExportFormats& formats)
{
    if (formats.StartCount == 0 || --formats.StartCount > 0)
        return;
    UnregisterExportFormat(formats, TEMFExportFormat::Class());
    UnregisterExportFormat(formats, TBMPExportFormat::Class());
    UnregisterExportFormat(formats, TJPEGExportFormat::Class());
    formats.Classes.clear();
}
