#include "forms/TForm12.h"

TForm12::TForm12(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("WhatsNew"));
}
