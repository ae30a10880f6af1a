#include "forms/TForm9.h"

TForm9::TForm9(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Set Colors"));
}
