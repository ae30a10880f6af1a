#include "forms/TForm17.h"

TForm17::TForm17(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form17"));
    setWindowTitle(QStringLiteral("Setup mail"));
}
