#ifndef ZENDRIK_REPORTS_REPORTDIALOGS_H
#define ZENDRIK_REPORTS_REPORTDIALOGS_H

#include "datafiles/TableFiles.h"

// The file dialogs of the chart files, reports and exports. Each starts in the working folder's
// "out" (report headers: "rep") with filter index 1; the save dialogs ask before overwriting.
enum class ReportDialog {
    SaveChart,          // "Save Chart File"
    LoadChart,          // "Load Chart File"
    SaveCompensation,   // "Save Compensation File"
    LoadCompensation,   // "Load Compensation File"
    LoadReference1,     // "Load Reference File 1"
    LoadReference2,     // "Load Reference File 2"
    LoadReference3,     // "Load Reference File 3"
    SaveCsv,            // "Save CSV File"
    SavePeaks,          // "Save peaks to file"
    SaveMessages,       // "Save messages to file"
    SaveWmf,            // "Save file" (.wmf)
    SaveReportHeader,   // "Save file" (.rep)
};

SaveDialogSettings ReportDialogSettings(ReportDialog dialog);

#endif
