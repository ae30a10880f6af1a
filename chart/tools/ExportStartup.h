#ifndef ZENDRIK_CHART_TOOLS_EXPORTSTARTUP_H
#define ZENDRIK_CHART_TOOLS_EXPORTSTARTUP_H

struct TPlotExportFormats;

// Registers the picture export formats when the library starts (JPEG, bitmap, metafile), once
// however many users start it.
void StartExportUnit(TPlotExportFormats& formats);
// Unregisters them when the last user stops, and empties the list.
void StopExportUnit(TPlotExportFormats& formats);

#endif
