#include "forms/WhatsNewWindow.h"

WhatsNewWindow::WhatsNewWindow(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("WhatsNew"));
}
