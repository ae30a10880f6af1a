#include "forms/ReportHeaderWindow.h"

ReportHeaderWindow::ReportHeaderWindow(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Report"));
}
