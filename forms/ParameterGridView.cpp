#include "forms/ParameterGridView.h"

#include "datafiles/ParameterGridModel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kRowHeight = 17;
constexpr int kTextInset = 2;

// A key cell painted in a trace's colour names its row in black or white, whichever reads.
QColor ReadableOn(const QColor& background)
{
    const int luminance = (299 * background.red() + 587 * background.green() + 114 * background.blue()) / 1000;
    return luminance < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

class ParameterCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Owner drawing: the model's colours where it gives them, the text two pixels inside.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.data(ParameterGridModel::SeparatorRole).toBool())
            return;
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QVariant background = index.data(Qt::BackgroundRole);
        const QVariant foreground = index.data(Qt::ForegroundRole);
        const bool selected = opt.state & QStyle::State_Selected;
        painter->save();
        if (background.isValid() && !selected)
            painter->fillRect(opt.rect, background.value<QColor>());
        else if (selected)
            painter->fillRect(opt.rect, opt.palette.highlight());
        QColor text = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        if (foreground.isValid() && !selected)
            text = foreground.value<QColor>();
        else if (background.isValid() && !selected)
            text = ReadableOn(background.value<QColor>());
        painter->setPen(text);
        painter->setFont(opt.font);
        const QRect r = opt.rect.adjusted(kTextInset, 0, -kTextInset, 0);
        painter->drawText(r, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                          opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, r.width()));
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QVariant picks = index.data(ParameterGridModel::PickListRole);
        if (!picks.isValid())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->addItems(picks.toStringList());
        combo->setEditable(!index.data(ParameterGridModel::ReadOnlyRole).toBool());
        // A pick from the list is the operator's decision: commit it at once.
        connect(combo, &QComboBox::activated, this, [this, combo](int) {
            auto* self = const_cast<ParameterCellDelegate*>(this);
            emit self->commitData(combo);
            emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
        });
        return combo;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const QString value = index.data(Qt::EditRole).toString();
            const int i = combo->findText(value);
            if (i >= 0)
                combo->setCurrentIndex(i);
            else if (combo->isEditable())
                combo->setEditText(value);
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            // Leaving the cell unchanged is no edit: nothing to validate.
            if (combo->currentText() != index.data(Qt::EditRole).toString())
                model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && line->text() == index.data(Qt::EditRole).toString())
            return;
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

} // namespace

ParameterGridView::ParameterGridView(QWidget* parent) : QTableView(parent)
{
    setItemDelegate(new ParameterCellDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setMouseTracking(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
}

void ParameterGridView::setModel(QAbstractItemModel* model)
{
    if (QAbstractItemModel* old = this->model())
        disconnect(old, nullptr, this, nullptr);
    QTableView::setModel(model);
    if (model) {
        connect(model, &QAbstractItemModel::modelReset, this, &ParameterGridView::FitRows);
        connect(model, &QAbstractItemModel::rowsInserted, this, &ParameterGridView::FitRows);
    }
    FitRows();
}

void ParameterGridView::FitRows()
{
    QAbstractItemModel* m = model();
    if (!m)
        return;
    for (int row = 0; row < m->rowCount(); ++row) {
        const bool separator = m->index(row, 0).data(ParameterGridModel::SeparatorRole).toBool();
        setRowHeight(row, separator ? 1 : kRowHeight);
    }
}

void ParameterGridView::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || index.column() != 1)
        return;
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text == lastHint_)
        return;
    lastHint_ = text;
    emit hintChanged(text);
}
