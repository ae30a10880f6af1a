#include "forms/ReportHeaderWindow.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFilePaths.h"
#include "forms/FormDialogs.h"
#include "reports/ReportDialogs.h"
#include "reports/ReportHeader.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace {

// Rows of the editor from the top, by item number; a row of several items shows them side by side.
const std::vector<std::vector<int>> kRows = {{7}, {6}, {4}, {1, 3, 2}, {9, 8}, {10}, {5}, {11}};
constexpr int kColumns = 3;

} // namespace

ReportHeaderWindow::ReportHeaderWindow(AppContext& app, ReportHeaderItems& items, FormServices& services)
    : QDialog(nullptr), app_(app), items_(items), ownDialogs_(std::make_unique<FormDialogs>(services))
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Report"));
    dialogs = ownDialogs_.get();
    askSaveFile = [this](const SaveDialogSettings& s) { return RunReportFileDialog(this, s, app_.WorkingFolder, true); };
    BuildControls();
    refreshFromItems();
    refreshFileList();

    connect(&items_, &ReportHeaderItems::Changed, this, &ReportHeaderWindow::refreshFromItems);
    for (int i = 1; i <= ReportHeaderItems::kCount; ++i)
        connect(itemEdits[static_cast<size_t>(i)], &QLineEdit::textEdited, this,
                [this, i](const QString& text) { items_.SetText(i, text); });
    connect(saveButton, &QPushButton::clicked, this, &ReportHeaderWindow::saveReport);
    connect(clearButton, &QPushButton::clicked, this, &ReportHeaderWindow::clearItems);
    connect(reportFileList, &QListWidget::itemClicked, this, &ReportHeaderWindow::loadListedFile);
}

ReportHeaderWindow::~ReportHeaderWindow() = default;

void ReportHeaderWindow::BuildControls()
{
    auto* grid = new QGridLayout;
    int row = 0;
    for (const std::vector<int>& items : kRows) {
        // A lone item takes the whole width; the last of a pair takes what the first leaves.
        int column = 0;
        for (size_t k = 0; k < items.size(); ++k) {
            const int n = items[k];
            const int span = k + 1 == items.size() ? kColumns - column : 1;
            auto* label = new QLabel(this);
            label->setObjectName(QStringLiteral("LabeledEdit%1Label").arg(n));
            auto* edit = new QLineEdit(this);
            edit->setObjectName(QStringLiteral("LabeledEdit%1").arg(n));
            label->setBuddy(edit);
            grid->addWidget(label, row, column, 1, span);
            grid->addWidget(edit, row + 1, column, 1, span);
            itemLabels[static_cast<size_t>(n)] = label;
            itemEdits[static_cast<size_t>(n)] = edit;
            column += span;
        }
        row += 2;
    }

    auto* heading = new QLabel(QStringLiteral("Select Report File"), this);
    reportFileList = new QListWidget(this);
    reportFileList->setObjectName(QStringLiteral("FileListBox1"));
    heading->setBuddy(reportFileList);
    saveButton = new QPushButton(QStringLiteral("Save"), this);
    saveButton->setObjectName(QStringLiteral("BitBtn1"));
    clearButton = new QPushButton(QStringLiteral("Clear"), this);
    clearButton->setObjectName(QStringLiteral("Button1"));
    auto* side = new QVBoxLayout;
    side->addWidget(heading);
    side->addWidget(reportFileList, 1);
    side->addWidget(saveButton);
    side->addWidget(clearButton);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 3);
    layout->addLayout(side, 1);
}

DataFileContext ReportHeaderWindow::Context() const
{
    return {app_.WorkingFolder, dialogs, &app_.Debug, &app_.Messages};
}

void ReportHeaderWindow::refreshFromItems()
{
    for (int i = 1; i <= ReportHeaderItems::kCount; ++i) {
        const ReportHeaderItems::Item& item = items_.At(i);
        itemLabels[static_cast<size_t>(i)]->setText(item.Caption);
        QLineEdit* edit = itemEdits[static_cast<size_t>(i)];
        if (edit->text() != item.Text)
            edit->setText(item.Text);
    }
}

void ReportHeaderWindow::refreshFileList()
{
    reportFileList->clear();
    const QString folder = datafiles::ResolveDataPath(app_.WorkingFolder, QStringLiteral("rep"));
    if (folder.isEmpty())
        return;
    // Name filters match without regard to case unless told otherwise.
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.rep")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    reportFileList->addItems(names);
}

void ReportHeaderWindow::saveReport()
{
    RunLoggingErrors(app_.Messages, [&] {
        const QString path = askSaveFile ? askSaveFile(ReportDialogSettings(ReportDialog::SaveReportHeader)) : QString();
        if (path.isEmpty())
            return;
        SaveReportFile(items_, path, Context());
        refreshFileList();
        if (refreshFileLists)
            refreshFileLists();
    });
}

void ReportHeaderWindow::clearItems()
{
    items_.SetDefaultReportItems();
}

void ReportHeaderWindow::loadListedFile(QListWidgetItem* item)
{
    if (item == nullptr)
        return;
    RunLoggingErrors(app_.Messages, [&] {
        LoadReportFile(items_, QStringLiteral(".\\rep\\") + item->text(), QLatin1Char('y'), Context());
    });
}

void ReportHeaderWindow::openForEditing()
{
    setWindowTitle(QStringLiteral("Edit report file"));
    refreshFileList();
    show();
    raise();
}
