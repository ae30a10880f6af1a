#include "forms/CsvExportWindow.h"

#include <QCheckBox>
#include <QVBoxLayout>

CsvExportWindow::CsvExportWindow(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Save as CSV File"));
    auto* layout = new QVBoxLayout(this);
    auto debugOnly = [this, layout](QCheckBox*& box, const char* name, const char* caption) {
        box = new QCheckBox(QString::fromLatin1(caption), this);
        box->setObjectName(QString::fromLatin1(name));
        box->setVisible(false);
        layout->addWidget(box);
    };
    debugOnly(limit1CheckBox, "CheckBox5", "Lim 1");
    debugOnly(limit2CheckBox, "CheckBox6", "Lim 2");
    debugOnly(cableCheckBox, "CheckBox7", "Cable");
    debugOnly(lisnCheckBox, "CheckBox8", "Lisn");
    debugOnly(amplifierCheckBox, "CheckBox9", "Amp");
    debugOnly(antennaCheckBox, "CheckBox10", "Ant");
    debugOnly(masterCheckBox, "CheckBox11", "Master");
}

std::array<QCheckBox*, 7> CsvExportWindow::DebugCheckBoxes() const
{
    return {limit1CheckBox, limit2CheckBox, cableCheckBox, lisnCheckBox, amplifierCheckBox, antennaCheckBox,
            masterCheckBox};
}
