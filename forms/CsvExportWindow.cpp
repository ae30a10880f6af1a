#include "forms/CsvExportWindow.h"

#include <QCheckBox>
#include <QVBoxLayout>

CsvExportWindow::CsvExportWindow(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Save as CSV File"));
    auto* layout = new QVBoxLayout(this);
    static const char* const captions[] = {"Lim 1", "Lim 2", "Cable", "Lisn", "Amp", "Ant", "Master"};
    for (std::size_t i = 0; i < DebugCheckBoxes.size(); ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(captions[i]), this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 5));
        box->setVisible(false);
        layout->addWidget(box);
        DebugCheckBoxes[i] = box;
    }
}
