#include "forms/TForm11.h"

TForm11::TForm11(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Connect TCP"));
}
