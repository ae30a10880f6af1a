#include "forms/CsvExportWindow.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "reports/HourglassCursor.h"
#include "reports/ReportDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CsvExportWindow::CsvExportWindow(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Save as CSV File"));
    askSaveFile = [this](const SaveDialogSettings& s) { return RunReportFileDialog(this, s, app_.WorkingFolder, true); };

    auto* curves = new QVBoxLayout;
    for (size_t i = 0; i < CsvCurves().size(); ++i) {
        const CsvCurve& curve = CsvCurves()[i];
        auto* box = new QCheckBox(QString::fromLatin1(curve.Caption), this);
        box->setObjectName(QString::fromLatin1(curve.CheckBoxName));
        box->setVisible(!curve.DebugOnly);
        curves->addWidget(box);
        curveCheckBoxes[i] = box;
    }
    curves->addStretch(1);

    separatorGroup = BuildRadioGroup("RadioGroup2", "Seperator", CsvSeparators(), separatorButtons);
    enclosureGroup = BuildRadioGroup("RadioGroup1", "Enclosure", CsvEnclosures(), enclosureButtons);
    decimalMarkGroup = BuildRadioGroup("RadioGroup3", "Decimal mark", CsvDecimalMarks(), decimalMarkButtons);
    saveButton = new QPushButton(QStringLiteral("Save"), this);
    saveButton->setObjectName(QStringLiteral("Button1"));

    auto* options = new QVBoxLayout;
    options->addWidget(separatorGroup);
    options->addWidget(enclosureGroup);
    options->addWidget(decimalMarkGroup);
    options->addStretch(1);
    options->addWidget(saveButton);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(curves);
    layout->addLayout(options);

    connect(saveButton, &QPushButton::clicked, this, &CsvExportWindow::saveCsv);
}

template <size_t N>
QGroupBox* CsvExportWindow::BuildRadioGroup(const char* name, const char* caption,
                                            const std::array<CsvChoice, N>& choices, QButtonGroup*& buttons)
{
    auto* group = new QGroupBox(QString::fromLatin1(caption), this);
    group->setObjectName(QString::fromLatin1(name));
    buttons = new QButtonGroup(group);
    auto* column = new QVBoxLayout(group);
    for (size_t i = 0; i < N; ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(choices[i].Caption), group);
        button->setChecked(i == 0);
        buttons->addButton(button, static_cast<int>(i));
        column->addWidget(button);
    }
    return group;
}

void CsvExportWindow::showDebugControls(bool shown)
{
    for (size_t i = 0; i < CsvCurves().size(); ++i)
        if (CsvCurves()[i].DebugOnly)
            curveCheckBoxes[i]->setVisible(shown);
}

CsvTicks CsvExportWindow::ticks() const
{
    CsvTicks ticks{};
    for (size_t i = 0; i < ticks.size(); ++i)
        ticks[i] = curveCheckBoxes[i]->isChecked();
    return ticks;
}

CsvFormat CsvExportWindow::format() const
{
    const auto pick = [](const auto& choices, const QButtonGroup* buttons) {
        const int id = buttons->checkedId();
        return choices[static_cast<size_t>(id < 0 ? 0 : id)].Value;
    };
    CsvFormat format;
    format.Separator = pick(CsvSeparators(), separatorButtons)[0];
    format.Enclosure = pick(CsvEnclosures(), enclosureButtons);
    format.DecimalMark = pick(CsvDecimalMarks(), decimalMarkButtons)[0];
    return format;
}

void CsvExportWindow::saveCsv()
{
    RunLoggingErrors(app_.Messages, [&] {
        const QString path = askSaveFile ? askSaveFile(ReportDialogSettings(ReportDialog::SaveCsv)) : QString();
        if (path.isEmpty())
            return;
        HourglassCursor busy;
        QString error;
        if (!WriteCsvFile(path, series_, ticks(), format(), &error))
            app_.Messages.Append(QStringLiteral("Error: ") + path + QStringLiteral(": ") + error);
    });
}
