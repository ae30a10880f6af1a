#include "forms/TForm3.h"

#include "app/AppContext.h"
#include "forms/FormServices.h"

#include <QCheckBox>
#include <QDir>
#include <QVBoxLayout>

TForm3::TForm3(AppContext& app, FormServices& services) : QDialog(nullptr), app_(app), services_(services)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Edit Lim"));
    auto* layout = new QVBoxLayout(this);
    CheckBox4 = new QCheckBox(QStringLiteral("Import s1210"), this);
    CheckBox4->setObjectName(QStringLiteral("CheckBox4"));
    CheckBox4->setVisible(false);
    layout->addWidget(CheckBox4);
    FormCreate();
}

void TForm3::FormCreate()
{
    QDir folder(app_.WorkingFolder);
    folder.mkpath(QStringLiteral("out"));
    folder.mkpath(QStringLiteral("rep"));
}
