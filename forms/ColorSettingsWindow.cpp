#include "forms/ColorSettingsWindow.h"

ColorSettingsWindow::ColorSettingsWindow(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Set Colors"));
}
