#ifndef ZENDRIK_FORMS_REPORTFILEDIALOG_H
#define ZENDRIK_FORMS_REPORTFILEDIALOG_H

#include "datafiles/TableFiles.h"

#include <QString>
#include <functional>

class QWidget;

// A file dialog as the report commands describe it (title, folder below the working folder,
// "ext|*.ext" filter, default name and extension, overwrite question). Returns the chosen path,
// empty when cancelled.
QString RunReportFileDialog(QWidget* parent, const SaveDialogSettings& settings, const QString& workingFolder,
                            bool save);

// What the windows call to ask for a file; tests answer without a modal loop.
using ReportFileChooser = std::function<QString(const SaveDialogSettings&)>;

#endif
