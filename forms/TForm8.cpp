#include "forms/TForm8.h"

TForm8::TForm8(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Report"));
}
