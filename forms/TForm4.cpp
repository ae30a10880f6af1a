#include "forms/TForm4.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm4::TForm4(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Connect VISA USB"));
    auto* layout = new QVBoxLayout(this);
    Button6 = new QPushButton(QStringLiteral("Rd DSA Status"), this);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button6->setVisible(false);
    layout->addWidget(Button6);
}
