#include "forms/TableEditorWindow.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/FirstRun.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableEditor.h"
#include "forms/CompactView.h"
#include "forms/FormDialogs.h"
#include "forms/FormServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The table buffer as the grid shows it: row 0 and column 0 of the buffer are the headings;
// kinds 1 to 4 draw their cells bold in the verify colours, kinds 5 and 6 plainly.
class TableGridModel final : public QSortFilterProxyModel {
public:
    TableGridModel(TableBuffer& table, const std::optional<TableKind>& kind, QObject* parent)
        : QSortFilterProxyModel(parent), table_(table), kind_(kind)
    {
        setDynamicSortFilter(false);
        setSourceModel(&table);
        connect(&table, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                    if (topLeft.row() == 0 && columnCount() > 0)
                        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
                    if (topLeft.column() == 0 && rowCount() > 0)
                        emit headerDataChanged(Qt::Vertical, std::max(topLeft.row() - 1, 0),
                                               std::max(bottomRight.row() - 1, 0));
                });
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return QSortFilterProxyModel::headerData(section, orientation, role);
        return orientation == Qt::Horizontal ? table_.Cell(0, section + 1) : table_.Cell(section + 1, 0);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const EditorKindInfo* info = kind_ ? EditorKindInfoOf(*kind_) : nullptr;
        const bool drawnByEditor = info != nullptr && info->BoldCells;
        if (role == Qt::FontRole && drawnByEditor) {
            QFont font;
            font.setBold(true);
            return font;
        }
        if (role == Qt::ForegroundRole && !drawnByEditor)
            return {};
        return QSortFilterProxyModel::data(index, role);
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex&) const override { return sourceRow > 0; }
    bool filterAcceptsColumn(int sourceColumn, const QModelIndex&) const override { return sourceColumn > 0; }

private:
    TableBuffer& table_;
    const std::optional<TableKind>& kind_;
};

// The pick lists of a segment table: attenuation (ComboBox3, also typed), preamplifier
// (ComboBox2) and detector (ComboBox1) open over their cell; choosing an entry writes it.
class SegmentPickDelegate final : public QStyledItemDelegate {
public:
    SegmentPickDelegate(const std::optional<TableKind>& kind, QObject* parent)
        : QStyledItemDelegate(parent), kind_(kind)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int column = index.column() + 1;
        const SegmentColumnInfo* info = kind_ == TableKind::Segment ? SegmentColumnAt(column) : nullptr;
        const QStringList picks = info ? SegmentColumnPicks(column) : QStringList();
        if (picks.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* box = new QComboBox(parent);
        box->setObjectName(QString::fromLatin1(info->PickListName));
        box->addItems(picks);
        box->setEditable(SegmentColumnTakesTyping(column));
        auto* self = const_cast<SegmentPickDelegate*>(this);
        connect(box, &QComboBox::activated, self, [self, box] {
            emit self->commitData(box);
            emit self->closeEditor(box);
        });
        return box;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            const QString text = index.data(Qt::EditRole).toString();
            const int at = box->findText(text);
            if (at >= 0)
                box->setCurrentIndex(at);
            else if (box->isEditable())
                box->setEditText(text);
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, box->currentText());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    const std::optional<TableKind>& kind_;
};

void ShowMark(QLineEdit* edit, FieldMark mark)
{
    if (mark == FieldMark::Unchanged)
        return;
    QPalette p = edit->palette();
    p.setColor(QPalette::Text, mark == FieldMark::Green ? QColor(Qt::darkGreen) : QColor(Qt::red));
    edit->setPalette(p);
}

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

TableEditorWindow::TableEditorWindow(AppContext& app, FormServices& services, TableBuffer& table)
    : QDialog(nullptr), app_(app), services_(services), table_(table)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Edit Lim"));
    chooseSaveFile = [this](const SaveDialogSettings& d) {
        QFileDialog dialog(this, d.Title, app_.WorkingFolder + QStringLiteral("/src"),
                           d.DefaultExt + QStringLiteral(" (*.") + d.DefaultExt + QLatin1Char(')'));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(d.DefaultExt);
        dialog.selectFile(d.FileName);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    BuildControls();
    WireControls();
    prepareDataFolders();
}

void TableEditorWindow::BuildControls()
{
    auto* layout = new QHBoxLayout(this);
    auto* side = new QVBoxLayout;
    auto named = [this](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };

    side->addWidget(new QLabel(QStringLiteral("File"), this));
    fileList = named(new CompactView<QListWidget>(6, this), "FileListBox1");
    secondFileList = named(new QListWidget(this), "FileListBox2");
    secondFileList->setVisible(false);
    fileCountLabel = new QLabel(this);
    fileCountLabel->setObjectName(QStringLiteral("fileCountLabel"));
    // File names of some twenty-six characters show whole ("cispr32_b_3m_av_1g-6g.lim"); the
    // fields below share the column. At least four names stay in sight.
    fileList->setMinimumWidth(26 * fileList->fontMetrics().averageCharWidth());
    fileList->setMinimumHeight(4 * fileList->fontMetrics().height());
    side->addWidget(fileList, 1);
    side->addWidget(secondFileList);
    side->addWidget(fileCountLabel);

    side->addWidget(new QLabel(QStringLiteral("Name"), this));
    nameEdit = named(new QLineEdit(table_.Name(), this), "Edit3");
    side->addWidget(nameEdit);

    auto* range = new QGridLayout;
    startFreqEdit = named(new QLineEdit(this), "Edit1");
    stopFreqEdit = named(new QLineEdit(this), "Edit2");
    levelMinEdit = named(new QLineEdit(this), "Edit4");
    levelMaxEdit = named(new QLineEdit(this), "Edit5");
    // Wide enough for any frequency in Hz, and no wider: the column stays narrow.
    for (QLineEdit* edit : {startFreqEdit, stopFreqEdit, levelMinEdit, levelMaxEdit})
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
    range->addWidget(new QLabel(QStringLiteral("Start Freq. Plot"), this), 0, 0);
    range->addWidget(startFreqEdit, 0, 1);
    range->addWidget(new QLabel(QStringLiteral("Stop Freq. Plot"), this), 1, 0);
    range->addWidget(stopFreqEdit, 1, 1);
    range->addWidget(new QLabel(QStringLiteral("dBuV"), this), 2, 0);
    range->addWidget(levelMinEdit, 2, 1);
    range->addWidget(new QLabel(QStringLiteral("dBuV"), this), 3, 0);
    range->addWidget(levelMaxEdit, 3, 1);
    side->addLayout(range);

    freqLinCheckBox = named(new QCheckBox(QStringLiteral("Freq  lin/log"), this), "CheckBox3");
    freqLinCheckBox->setEnabled(false);
    levelLinCheckBox = named(new QCheckBox(QStringLiteral("Level lin/log"), this), "CheckBox2");
    autoscaleCheckBox = named(new QCheckBox(QStringLiteral("Autoscale"), this), "CheckBox5");
    autoscaleCheckBox->setChecked(true);
    importS1210CheckBox = named(new QCheckBox(QStringLiteral("Import s1210"), this), "CheckBox4");
    importS1210CheckBox->setVisible(false);
    for (QCheckBox* box : {freqLinCheckBox, levelLinCheckBox, autoscaleCheckBox, importS1210CheckBox})
        side->addWidget(box);

    clearButton = named(new QPushButton(QStringLiteral("Clear"), this), "Button4");
    verifyButton = named(new QPushButton(QStringLiteral("Verify&&Show"), this), "Button2");
    saveButton = named(new QPushButton(QStringLiteral("Save File"), this), "Button3");
    saveButton->setEnabled(false);
    closeButton = named(new QPushButton(QStringLiteral("Close"), this), "Button1");
    // Two by two, so that the whole column fits a small screen beside the grid.
    auto* buttons = new QGridLayout;
    buttons->addWidget(clearButton, 0, 0);
    buttons->addWidget(verifyButton, 0, 1);
    buttons->addWidget(saveButton, 1, 0);
    buttons->addWidget(closeButton, 1, 1);
    side->addLayout(buttons);
    layout->addLayout(side);

    grid = named(new QTableView(this), "StringGrid1");
    grid->setModel(new TableGridModel(table_, editorKind_, grid));
    grid->setItemDelegate(new SegmentPickDelegate(editorKind_, grid));
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->verticalHeader()->setFixedWidth(45);
    grid->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    layout->addWidget(grid, 1);
    ShowFlags();
}

void TableEditorWindow::WireControls()
{
    connect(fileList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { loadFile(item->text()); });
    connect(saveButton, &QPushButton::clicked, this, &TableEditorWindow::saveFile);
    connect(verifyButton, &QPushButton::clicked, this, &TableEditorWindow::verifyAndShow);
    connect(clearButton, &QPushButton::clicked, this, &TableEditorWindow::clearTable);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    connect(nameEdit, &QLineEdit::textEdited, &table_, &TableBuffer::SetName);
    connect(&table_, &TableBuffer::NameChanged, this, [this](const QString& name) {
        if (nameEdit->text() != name)
            nameEdit->setText(name);
    });
    connect(levelLinCheckBox, &QCheckBox::clicked, &table_, &TableBuffer::SetLevelLinear);
    connect(&table_, &TableBuffer::FlagsChanged, this, &TableEditorWindow::ShowFlags);
    connect(&table_, &TableBuffer::RangeChanged, this, &TableEditorWindow::ShowPlotRange);
    // A file read or a value typed may be longer than its column.
    connect(&table_, &QAbstractItemModel::modelReset, this, &TableEditorWindow::FitColumns);
    connect(&table_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
        for (int r = std::max(from.row(), 1); r <= to.row(); ++r)
            for (int c = std::max(from.column(), 1); c <= to.column() && c < TableBuffer::kColumns; ++c)
                if (!grid->isColumnHidden(c - 1) && grid->columnWidth(c - 1) < TextWidth(table_.Cell(r, c))) {
                    FitColumns();
                    return;
                }
    });

    for (QLineEdit* edit : {startFreqEdit, stopFreqEdit, levelMinEdit, levelMaxEdit})
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { PlotRangeEdited(edit); });
    connect(autoscaleCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        for (QLineEdit* edit : {startFreqEdit, stopFreqEdit, levelMinEdit, levelMaxEdit})
            edit->setEnabled(!on);
    });
    for (QLineEdit* edit : {startFreqEdit, stopFreqEdit, levelMinEdit, levelMaxEdit})
        edit->setEnabled(!autoscaleCheckBox->isChecked());
}

void TableEditorWindow::prepareDataFolders()
{
    // On the first run the default data are unpacked and the operator must start again on them;
    // the request to end is carried out once the message loop runs.
    FormDialogs dialogs(services_);
    const FirstRunResult result = RunFirstStartSetup(app_.WorkingFolder, app_.Messages, &dialogs);
    if (result.MustEnd && services_.requestTerminate)
        services_.requestTerminate();
}

void TableEditorWindow::setMainChart(MainChartLink link)
{
    link_ = std::move(link);
    if (link_.frequencyAxis == nullptr || link_.levelAxis == nullptr)
        return;
    const TableBuffer::PlotRange r = PlotRangeOfAxes(*link_.frequencyAxis, *link_.levelAxis);
    const QSignalBlocker b1(startFreqEdit), b2(stopFreqEdit), b3(levelMinEdit), b4(levelMaxEdit);
    startFreqEdit->setText(r.StartHz);
    stopFreqEdit->setText(r.StopHz);
    levelMinEdit->setText(r.LevelMin);
    levelMaxEdit->setText(r.LevelMax);
}

void TableEditorWindow::showDebugControls(bool shown)
{
    importS1210CheckBox->setVisible(shown);
}

void TableEditorWindow::launch(TableKind kind)
{
    const EditorKindInfo* info = EditorKindInfoOf(kind);
    if (info == nullptr)
        return;
    const bool changed = PrepareEditorKind(editorKind_, kind, table_);
    fileList->setVisible(true);
    RefreshFileList();
    if (changed) {
        setWindowTitle(info->Caption);
        FitColumns();
        resize(sizeHint().boundedTo(Room()).expandedTo(minimumSizeHint()));
    }
    if (link_.showPreviewOnly)
        link_.showPreviewOnly();
    saveButton->setEnabled(true);
    show();
    raise();
}

void TableEditorWindow::FitColumns()
{
    const EditorKindInfo* info = editorKind_ ? EditorKindInfoOf(*editorKind_) : nullptr;
    if (info == nullptr)
        return;
    // Each column keeps its designed width unless its heading or its longest value needs more
    // in this font: the headings ("Sweep[ms]", "PreAmp"), the row titles ("Freq499") and the
    // values (a start of "1000000000" Hz) show whole.
    const int titles = std::max(info->ColumnWidths.front(), grid->verticalHeader()->sizeHint().width());
    int width = titles;
    grid->verticalHeader()->setFixedWidth(titles);
    for (int c = 0; c < TableBuffer::kColumns - 1; ++c) {
        const bool shown = c + 1 < static_cast<int>(info->ColumnWidths.size());
        grid->setColumnHidden(c, !shown);
        if (shown) {
            const int column = std::max({info->ColumnWidths[static_cast<size_t>(c) + 1],
                                         grid->horizontalHeader()->sectionSizeHint(c), ValueWidth(c + 1)});
            grid->setColumnWidth(c, column);
            width += column;
        }
    }
    // The frame, the vertical scroll bar and the grid lines beside the columns.
    const int full = width + grid->verticalScrollBar()->sizeHint().width() + 2 * grid->frameWidth() + 8;
    // The grid shows all its columns where the window has room for them; on a small screen it
    // gives way and scrolls sideways, so that the window and its buttons stay on the screen.
    // The column beside keeps its measure until told: a longer file name may have widened it.
    layout()->itemAt(0)->invalidate();
    layout()->invalidate();
    const QMargins m = layout()->contentsMargins();
    const int beside = layout()->itemAt(0)->minimumSize().width() + layout()->spacing() + m.left() + m.right();
    const int excess = beside + full - kSmallScreenRoom.width();
    grid->setHorizontalScrollBarPolicy(excess > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    grid->setMaximumWidth(full);
    grid->setMinimumWidth(excess > 0 ? full - excess : full);
    // Columns widened by a file read widen the open window where the screen has room.
    if (isVisible() && QWidget::width() < sizeHint().width())
        resize(std::min(sizeHint().width(), Room().width()), QWidget::height());
}

// What the window may take of the screen it opens on, its title bar and frame included.
QSize TableEditorWindow::Room() const
{
    return screen() ? screen()->availableGeometry().size() - (QSize(800, 480) - kSmallScreenRoom) : kSmallScreenRoom;
}

QSize TableEditorWindow::sizeHint() const
{
    return QDialog::sizeHint() + QSize(grid->maximumWidth() - grid->minimumWidth(), 0);
}

// The width of a column's longest value as the grid draws it. Numbers are as wide as their
// digits, so only the texts of the most characters are measured.
int TableEditorWindow::ValueWidth(int column) const
{
    qsizetype longest = 0;
    int widest = 0;
    for (int row = 1; row < table_.Rows(); ++row) {
        const QString& text = table_.Cell(row, column);
        if (text.size() < longest || text.isEmpty())
            continue;
        if (text.size() > longest)
            widest = 0;
        longest = text.size();
        widest = std::max(widest, TextWidth(text));
    }
    return widest;
}

// A cell's text in the grid's font (bold for the kinds the editor draws), with the cell's margins.
int TableEditorWindow::TextWidth(const QString& text) const
{
    if (text.isEmpty())
        return 0;
    QFont font = grid->font();
    const EditorKindInfo* info = editorKind_ ? EditorKindInfoOf(*editorKind_) : nullptr;
    font.setBold(info != nullptr && info->BoldCells);
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    return QFontMetrics(font).horizontalAdvance(text) + 2 * margin + 2;
}

void TableEditorWindow::RefreshFileList()
{
    const QStringList files = editorKind_ ? ListEditorFiles(app_.WorkingFolder, *editorKind_) : QStringList();
    fileList->clear();
    fileList->addItems(files);
    // Every name shows whole beside the list's scroll bar.
    int widest = 0;
    for (const QString& file : files)
        widest = std::max(widest, fileList->fontMetrics().horizontalAdvance(file));
    fileList->setMinimumWidth(std::max(26 * fileList->fontMetrics().averageCharWidth(),
                                       widest + fileList->verticalScrollBar()->sizeHint().width() +
                                           2 * fileList->frameWidth() + 6));
    fileCountLabel->setText(FileCountText(static_cast<int>(files.size())));
}

void TableEditorWindow::loadFile(const QString& fileName)
{
    FormDialogs dialogs(services_);
    const DataFileContext context{app_.WorkingFolder, &dialogs, &app_.Debug, &app_.Messages};
    RunLoggingErrors(app_.Messages, [&] {
        if (editorKind_)
            LoadEditorFile(*editorKind_, table_, fileName, context);
    });
}

void TableEditorWindow::saveFile()
{
    if (!editorKind_)
        return;
    FormDialogs dialogs(services_);
    const DataFileContext context{app_.WorkingFolder, &dialogs, &app_.Debug, &app_.Messages};
    // A grid its reader would refuse is said so before the dialog asks for a name in vain.
    bool refused = true;
    RunLoggingErrors(app_.Messages, [&] { refused = RefuseEditorSave(*editorKind_, table_, context); });
    if (refused)
        return;
    const QString path =
        chooseSaveFile ? chooseSaveFile(EditorSaveDialog(*editorKind_, table_.Name())) : QString();
    if (path.isEmpty())
        return;
    RunLoggingErrors(app_.Messages, [&] {
        SaveEditorFile(*editorKind_, table_, path, context);
    });
    RefreshFileList();
}

void TableEditorWindow::verifyAndShow()
{
    BusyCursor busy;
    FormDialogs dialogs(services_);
    const DataFileContext context{app_.WorkingFolder, &dialogs, &app_.Debug, &app_.Messages};
    RunLoggingErrors(app_.Messages, [&] {
        if (editorKind_)
            VerifyTable(*editorKind_, table_, link_.preview, link_.previewColor,
                        autoscaleCheckBox->isChecked(), context);
    });
}

void TableEditorWindow::clearTable()
{
    table_.ClearData();
}

void TableEditorWindow::ShowFlags()
{
    freqLinCheckBox->setChecked(table_.FreqLinear());
    levelLinCheckBox->setChecked(table_.LevelLinear());
}

void TableEditorWindow::ShowPlotRange()
{
    // The verify step's autoscale: the four fields get the table's range, which reaches the
    // chart with each axis set as one pair.
    const TableBuffer::PlotRange& r = table_.Range();
    {
        const QSignalBlocker b1(startFreqEdit), b2(stopFreqEdit), b3(levelMinEdit), b4(levelMaxEdit);
        startFreqEdit->setText(r.StartHz);
        stopFreqEdit->setText(r.StopHz);
        levelMinEdit->setText(r.LevelMin);
        levelMaxEdit->setText(r.LevelMax);
    }
    if (link_.frequencyAxis == nullptr || link_.levelAxis == nullptr)
        return;
    const PlotRangeMarks marks = ApplyPlotRange(r, *link_.frequencyAxis, *link_.levelAxis);
    ShowMark(startFreqEdit, marks.StartHz);
    ShowMark(stopFreqEdit, marks.StopHz);
    ShowMark(levelMinEdit, marks.LevelMin);
    ShowMark(levelMaxEdit, marks.LevelMax);
}

void TableEditorWindow::PlotRangeEdited(QLineEdit* edit)
{
    if (link_.frequencyAxis == nullptr || link_.levelAxis == nullptr)
        return;
    const PlotRangeField field = edit == startFreqEdit  ? PlotRangeField::StartHz
                                 : edit == stopFreqEdit ? PlotRangeField::StopHz
                                 : edit == levelMinEdit ? PlotRangeField::LevelMin
                                                        : PlotRangeField::LevelMax;
    RunLoggingErrors(app_.Messages, [&] {
        ShowMark(edit, ApplyPlotRangeField(field, edit->text(), *link_.frequencyAxis, *link_.levelAxis));
    });
}

// Every way out passes here: the close box and "Close" through the close event, Esc straight
// through reject(). The lines a launcher hid must come back whichever was taken.
void TableEditorWindow::done(int result)
{
    if (link_.preview != nullptr)
        link_.preview->Clear();
    if (link_.restoreSeriesVisibility)
        link_.restoreSeriesVisibility();
    if (link_.refreshFileLists)
        link_.refreshFileLists();
    QDialog::done(result);
}
