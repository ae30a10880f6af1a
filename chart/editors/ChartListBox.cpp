#include "chart/editors/ChartListBox.h"

#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotGraphics.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesRoutines.h"
#include "chart/series/Chart.h"
#include "chart/series/ChartUnit.h"
#include "platform/gdi/DeviceContext.h"

#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <exception>
#include <memory>

// Outside any namespace, as the resource initialiser must be.
static void InitSeriesIconResources()
{
    Q_INIT_RESOURCE(editors);
}

namespace {

constexpr int kSeriesRole = Qt::UserRole;
constexpr int kCheckBoxSize = 13;
// The legend symbol keeps this distance from the colour section's edges.
constexpr int kSymbolInset = 4;

TColor ToColor(const QColor& colour)
{
    return RGBColor(colour.red(), colour.green(), colour.blue());
}

// The icon of the series' type; a type without an icon of its own shows the generic one.
QImage SeriesIcon(const TCustomChartSeries& series)
{
    static const bool registered = (InitSeriesIconResources(), true);
    (void)registered;
    QImage icon;
    LoadClassBitmap(icon, series.ClassName(), QStringLiteral("TChartSeries"));
    return icon;
}

} // namespace

// Every item is drawn by the box itself, at the box's fixed item height.
class ChartListBoxDelegate : public QStyledItemDelegate {
public:
    explicit ChartListBoxDelegate(TChartListBox& box) : QStyledItemDelegate(&box), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        box_.DrawItem(*painter, option.rect, index.row(), (option.state & QStyle::State_Selected) != 0);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), TChartListBox::kItemHeight};
    }

private:
    TChartListBox& box_;
};

TChartListBox::TChartListBox(const EditorDialogs& dialogs, QWidget* parent)
    : QListWidget(parent), dialogs_(dialogs)
{
    setItemDelegate(new ChartListBoxDelegate(*this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setMouseTracking(true);
    titleEditor_ = new QLineEdit(viewport());
    titleEditor_->setObjectName(QStringLiteral("titleEditor"));
    titleEditor_->hide();
    titleEditor_->installEventFilter(this);
}

TChartListBox::~TChartListBox()
{
    if (chart_)
        chart_->RemoveListener(this);
}

// ---- the chart

void TChartListBox::SetChart(TCustomChart* chart)
{
    if (chart_ == chart)
        return;
    if (chart_) {
        chart_->RemoveListener(this);
        disconnect(chart_, &QObject::destroyed, this, nullptr);
    }
    chart_ = chart;
    if (chart) {
        chart->AddListener(this);
        connect(chart, &QObject::destroyed, this, &TChartListBox::ForgetChart);
    }
    FillSeries();
}

// A widget says it is destroyed after its own parts are gone (the listener list too), and before
// the guarded pointer is cleared: the chart must not be touched here.
void TChartListBox::ForgetChart()
{
    chart_ = nullptr;
    editedSeries_ = nullptr;
    titleEditor_->hide();
    clear();
}

// ---- settings

void TChartListBox::SetCheckStyle(TCheckBoxesStyle value)
{
    checkStyle_ = value;
    if (value == cbsRadio)
        ApplyRadioStyle();
    viewport()->update();
}

void TChartListBox::ApplyRadioStyle()
{
    bool first = true;
    for (int i = 0; i < count(); ++i) {
        TCustomChartSeries* series = SeriesAt(i);
        if (!series->Active())
            continue;
        if (!first)
            series->SetActive(false);
        first = false;
    }
}

void TChartListBox::SetFontSeriesColor(bool value)
{
    fontSeriesColor_ = value;
    viewport()->update();
}

void TChartListBox::SetSectionShown(TListBoxSection section, bool value)
{
    showSection_[section] = value;
    viewport()->update();
}

void TChartListBox::SetSorted(bool value)
{
    setSortingEnabled(value);
    if (value)
        sortItems();
}

// ---- queries

TCustomChartSeries* TChartListBox::SeriesAt(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? reinterpret_cast<TCustomChartSeries*>(it->data(kSeriesRole).value<quintptr>()) : nullptr;
}

int TChartListBox::IndexOfSeries(const TCustomChartSeries* series) const
{
    for (int i = 0; i < count(); ++i)
        if (SeriesAt(i) == series)
            return i;
    return -1;
}

std::vector<TCustomChartSeries*> TChartListBox::SelectedSeries() const
{
    std::vector<TCustomChartSeries*> result;
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected())
            result.push_back(SeriesAt(i));
    return result;
}

int TChartListBox::SectionLeft(TListBoxSection section) const
{
    int left = 0;
    for (int s = lbsIcon; s < section; ++s)
        if (showSection_[s])
            left += kSectionWidths[s];
    return left;
}

bool TChartListBox::InSection(TListBoxSection section, int x) const
{
    if (!showSection_[section])
        return false;
    const int left = SectionLeft(section);
    return x >= left && (section == lbsTitle || x < left + kSectionWidths[section]);
}

bool TChartListBox::CanChangeColor(int index) const
{
    // A series that colours each point has no one colour to change.
    const auto* series = dynamic_cast<const TChartSeries*>(SeriesAt(index));
    return series && !series->ColorEachPoint();
}

// ---- filling

void TChartListBox::FillSeries()
{
    const std::vector<TCustomChartSeries*> selected = SelectedSeries();
    clear();
    if (chart_) {
        std::vector<SeriesItem> items;
        FillSeriesItems(items, chart_->SeriesList(), true);
        for (const SeriesItem& entry : items) {
            auto* it = new QListWidgetItem(entry.text, this);
            it->setData(kSeriesRole, QVariant::fromValue(reinterpret_cast<quintptr>(entry.series)));
        }
    }
    bool any = false;
    for (int i = 0; i < count(); ++i) {
        if (std::find(selected.begin(), selected.end(), SeriesAt(i)) == selected.end())
            continue;
        if (!any)
            setCurrentRow(i, QItemSelectionModel::ClearAndSelect);
        item(i)->setSelected(true);
        any = true;
    }
    if (!any && count() > 0)
        setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    Refreshed();
}

void TChartListBox::Refreshed()
{
    viewport()->update();
    if (OnRefresh)
        OnRefresh();
}

void TChartListBox::RemoveItemOf(TCustomChartSeries* series)
{
    if (series && series == editedSeries_)
        CloseTitleEditor(false);
    const int index = IndexOfSeries(series);
    if (index < 0)
        return;
    std::unique_ptr<QListWidgetItem> gone(takeItem(index));
    gone.reset();
    if (OnRemovedSeries)
        OnRemovedSeries(series);
}

// ---- chart events

void TChartListBox::PlotEvent(TPlotEvent& event)
{
    if (!chart_)
        return;
    if (auto* seriesEvent = dynamic_cast<TPlotSeriesEvent*>(&event)) {
        TCustomChartSeries* series = seriesEvent->Series;
        switch (seriesEvent->Event) {
        case seAdd:
            FillSeries();
            return;
        case seRemove:
            RemoveItemOf(series);
            return;
        case seChangeTitle:
            if (const int index = IndexOfSeries(series); index >= 0)
                item(index)->setText(SeriesTitleOrName(*series));
            return;
        default:
            // A series that took another's place (a type change) is new to the list.
            if (series && IndexOfSeries(series) < 0 && chart_->SeriesList().Contains(series) &&
                series->ShowInEditor()) {
                FillSeries();
                return;
            }
            viewport()->update();
            if (OnOtherItemsChange)
                OnOtherItemsChange();
            return;
        }
    }
    if (dynamic_cast<TChartLegendCheckBoxesEvent*>(&event)) {
        TChartLegend& legend = chart_->Legend();
        if (legend.HasCheckBoxes())
            SetCheckStyle(legend.CheckBoxesStyle());
    }
}

// ---- actions

void TChartListBox::ToggleActive(int index)
{
    TCustomChartSeries* series = SeriesAt(index);
    if (!series)
        return;
    if (checkStyle_ == cbsRadio) {
        for (int i = 0; i < count(); ++i)
            SeriesAt(i)->SetActive(i == index);
    } else {
        series->SetActive(!series->Active());
    }
    viewport()->update();
    if (OnChangeActive)
        OnChangeActive(series);
}

void TChartListBox::MoveSeries(int from, int to)
{
    if (!chart_ || from == to || from < 0 || to < 0 || from >= count() || to >= count())
        return;
    TCustomChartSeries* a = SeriesAt(from);
    TCustomChartSeries* b = SeriesAt(to);
    QListWidgetItem* itemA = item(from);
    QListWidgetItem* itemB = item(to);
    const QString textA = itemA->text();
    itemA->setText(itemB->text());
    itemA->setData(kSeriesRole, QVariant::fromValue(reinterpret_cast<quintptr>(b)));
    itemB->setText(textA);
    itemB->setData(kSeriesRole, QVariant::fromValue(reinterpret_cast<quintptr>(a)));
    chart_->ExchangeSeries(a, b);
    if (OnChangeOrder)
        OnChangeOrder();
    setCurrentRow(to, QItemSelectionModel::ClearAndSelect);
    Refreshed();
}

void TChartListBox::AddSeries()
{
    if (!AllowAddSeries || !chart_ || !unit_ || !unit_->AddSeriesHook)
        return;
    TChartSeries* added = unit_->AddSeriesHook(this, *chart_);
    if (!added)
        return;
    // The chart told the box about the new series already; only the selection changes.
    const int index = IndexOfSeries(added);
    if (index >= 0)
        setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    else
        clearSelection();
    Refreshed();
}

void TChartListBox::DeleteSelectedSeries()
{
    if (!AllowDeleteSeries || !chart_)
        return;
    // Each freed series takes its item with it: the victims are collected first.
    const std::vector<TCustomChartSeries*> victims = SelectedSeries();
    if (victims.empty())
        return;
    if (AskDelete) {
        InitChartMessages();
        const QString name =
            victims.size() == 1 ? SeriesTitleOrName(*victims.front()) : PlotMessage(PlotMsg::EditorSelectedSeries);
        if (!AskDeleteConfirmation(dialogs_, name, this))
            return;
    }
    for (TCustomChartSeries* series : victims) {
        if (!chart_)
            break;
        // Freeing one series may take others with it (a handler of the removal).
        if (!chart_->SeriesList().Contains(series))
            continue;
        // A series the chart does not own belongs to someone else: it only leaves the chart.
        if (std::unique_ptr<TCustomChartSeries> owned = chart_->ReleaseSeries(series))
            owned.reset();
        else
            chart_->RemoveSeries(*series);
    }
    if (count() > 0)
        setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    Refreshed();
}

void TChartListBox::ChangeSeriesType()
{
    if (!EnableChangeType || !unit_ || !unit_->ChangeSeriesTypeHook)
        return;
    auto* series = dynamic_cast<TChartSeries*>(SeriesAt(currentRow()));
    if (!series)
        return;
    unit_->ChangeSeriesTypeHook(series);
    // The series may have been replaced: its item must hold the new one.
    FillSeries();
    if (const int index = IndexOfSeries(series); index >= 0)
        setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

void TChartListBox::ChangeSeriesColor()
{
    const int index = currentRow();
    if (!EnableChangeColor || !CanChangeColor(index))
        return;
    auto* series = dynamic_cast<TChartSeries*>(SeriesAt(index));
    const auto& pick = dialogs_.Color ? dialogs_.Color : DefaultEditorDialogs().Color;
    const TColor old = series->SeriesColor();
    const TColor chosen = pick(this, old);
    if (chosen == old)
        return;
    series->SetSeriesColor(chosen);
    viewport()->update();
    if (OnChangeColor)
        OnChangeColor(series);
}

void TChartListBox::EditTitle()
{
    const int index = currentRow();
    TCustomChartSeries* series = SeriesAt(index);
    if (!series)
        return;
    QRect rect = visualItemRect(item(index));
    rect.setLeft(rect.left() + SectionLeft(lbsTitle));
    editedSeries_ = series;
    titleEditor_->setGeometry(rect);
    titleEditor_->setText(item(index)->text());
    titleEditor_->selectAll();
    titleEditor_->show();
    titleEditor_->setFocus();
}

void TChartListBox::CloseTitleEditor(bool store)
{
    TCustomChartSeries* series = editedSeries_;
    if (!series)
        return;
    // Cleared first: hiding the box moves the focus, which comes back here.
    editedSeries_ = nullptr;
    titleEditor_->hide();
    setFocus();
    if (store)
        series->SetTitle(titleEditor_->text());
    viewport()->update();
}

// ---- keyboard and mouse

namespace {

// Hooks and chart changes may throw; none of it may leave an event handler.
template <class Fn>
void Guarded(const EditorDialogs& dialogs, QWidget* owner, Fn&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        ShowEditorError(dialogs, QString::fromUtf8(error.what()), owner);
    }
}

} // namespace

void TChartListBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Insert:
        Guarded(dialogs_, this, [this] { AddSeries(); });
        return;
    case Qt::Key_Delete:
        Guarded(dialogs_, this, [this] { DeleteSelectedSeries(); });
        return;
    case Qt::Key_F2:
        EditTitle();
        return;
    default:
        QListWidget::keyPressEvent(event);
    }
}

bool TChartListBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != titleEditor_)
        return QListWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Up:
        case Qt::Key_Down:
            Guarded(dialogs_, this, [this] { CloseTitleEditor(true); });
            return true;
        case Qt::Key_Escape:
            CloseTitleEditor(false);
            return true;
        default:
            break;
        }
    } else if (event->type() == QEvent::FocusOut) {
        CloseTitleEditor(false);
    }
    return QListWidget::eventFilter(watched, event);
}

void TChartListBox::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int index = indexAt(pos).row();
    dragFromTitle_ = false;
    if (index >= 0) {
        const int x = pos.x() - visualItemRect(item(index)).left();
        if (event->button() == Qt::LeftButton && InSection(lbsCheck, x))
            Guarded(dialogs_, this, [this, index] { ToggleActive(index); });
        dragFromTitle_ = EnableDragSeries && event->button() == Qt::LeftButton &&
                         event->buttons() == Qt::LeftButton && event->modifiers() == Qt::NoModifier &&
                         InSection(lbsTitle, x);
    }
    QListWidget::mousePressEvent(event);
}

void TChartListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    dragFromTitle_ = false;
    const QPoint pos = event->position().toPoint();
    const int index = indexAt(pos).row();
    if (index < 0 || event->button() != Qt::LeftButton) {
        QListWidget::mouseDoubleClickEvent(event);
        return;
    }
    const int x = pos.x() - visualItemRect(item(index)).left();
    if (currentRow() != index)
        setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    Guarded(dialogs_, this, [&] {
        // The second press of a double click on the check box switches it again, as a press does.
        if (InSection(lbsCheck, x))
            ToggleActive(index);
        else if (InSection(lbsIcon, x))
            ChangeSeriesType();
        else if (InSection(lbsColor, x))
            ChangeSeriesColor();
        else if (InSection(lbsTitle, x) && OnDblClickSeries)
            OnDblClickSeries(SeriesAt(index));
    });
}

void TChartListBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int index = indexAt(pos).row();
    bool hand = false;
    if (index >= 0) {
        const int x = pos.x() - visualItemRect(item(index)).left();
        hand = (EnableChangeType && InSection(lbsIcon, x)) || (EnableChangeColor && InSection(lbsColor, x));
    }
    if (hand)
        viewport()->setCursor(Qt::PointingHandCursor);
    else
        viewport()->unsetCursor();
    QListWidget::mouseMoveEvent(event);
}

void TChartListBox::startDrag(Qt::DropActions)
{
    if (!EnableDragSeries || !dragFromTitle_ || Sorted() || !currentItem())
        return;
    // Our own drag: Qt's would take the source item away after a move, the drop exchanges instead.
    auto* drag = new QDrag(this);
    drag->setMimeData(model()->mimeData({currentIndex()}));
    drag->exec(Qt::MoveAction);
}

void TChartListBox::dropEvent(QDropEvent* event)
{
    if (event->source() != this || !EnableDragSeries || Sorted()) {
        event->ignore();
        return;
    }
    const int from = currentRow();
    int to = indexAt(event->position().toPoint()).row();
    if (to < 0)
        to = count() - 1;
    Guarded(dialogs_, this, [this, from, to] { MoveSeries(from, to); });
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

// ---- drawing

void TChartListBox::DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) const
{
    TCustomChartSeries* series = SeriesAt(index);
    if (!series || rect.isEmpty())
        return;
    const int height = rect.height();
    TBitmap bitmap(rect.width(), height);
    TCanvas& canvas = bitmap.Canvas();
    const QPalette& colours = palette();
    const TColor back = ToColor(selected ? colours.color(QPalette::Highlight) : colours.color(QPalette::Base));
    canvas.Brush().SetColor(back);
    canvas.FillRect({0, 0, rect.width(), height});

    if (showSection_[lbsIcon]) {
        const QImage icon = SeriesIcon(*series);
        if (!icon.isNull())
            canvas.Draw(SectionLeft(lbsIcon) + (kSectionWidths[lbsIcon] - icon.width()) / 2,
                        (height - icon.height()) / 2, icon);
    }
    if (showSection_[lbsCheck])
        DrawCheckBox(SectionLeft(lbsCheck) + (kSectionWidths[lbsCheck] - kCheckBoxSize) / 2,
                     (height - kCheckBoxSize) / 2, canvas, checkStyle_ == cbsCheck, series->Active());
    auto* chartSeries = dynamic_cast<TChartSeries*>(series);
    if (showSection_[lbsColor] && CanChangeColor(index)) {
        const int left = SectionLeft(lbsColor);
        const TRect symbol{left + kSymbolInset, kSymbolInset, left + kSectionWidths[lbsColor] - kSymbolInset,
                           height - kSymbolInset};
        DrawSeriesLegendSymbol(*chartSeries, canvas, symbol, chart_);
        canvas.ForgetSelection();
    }
    if (showSection_[lbsTitle]) {
        const QString text = item(index)->text();
        TColor textColour = ToColor(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
        if (fontSeriesColor_ && !selected && chartSeries)
            textColour = chartSeries->SeriesColor();
        canvas.Font().SetColor(textColour);
        canvas.Brush().SetColor(back);
        if (gdi::DeviceContext* device = canvas.Handle()) {
            device->SetTextColor(ColorToRGB(textColour));
            device->SetBkMode(gdi::TRANSPARENT);
        }
        canvas.TextOut(SectionLeft(lbsTitle) + 2, (height - canvas.TextHeight(text)) / 2, text);
    }
    painter.drawImage(rect.topLeft(), bitmap.Image());
}
