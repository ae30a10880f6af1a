#include "chart/editors/GalleryPanel.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotFiltersResample.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/SeriesFunctions.h"
#include "chart/series/SeriesTypes.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr TColor kGrey = 0x808080;
constexpr TColor kSilver = 0xC0C0C0;
constexpr TColor kNavy = 0x800000;
constexpr int kRotation = 335;
constexpr int kFocusedRotation = 345;
constexpr int kElevation = 350;
// The smooth picture is drawn with room for the axis labels above the plot.
constexpr int kSmoothTopMargin = 30;

QColor ToQColor(TColor colour)
{
    const uint32_t rgb = ColorToRGB(colour);
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

// Keeps a chart's own repaints from marking its smooth picture stale while it is being made.
class FlagSet {
public:
    explicit FlagSet(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagSet() { flag_ = false; }
    FlagSet(const FlagSet&) = delete;
    FlagSet& operator=(const FlagSet&) = delete;

private:
    bool& flag_;
};

} // namespace

int GalleryRowsFor(int count, int numCols)
{
    const int cols = std::max(1, numCols);
    return std::max(0, (count + cols - 1) / cols);
}

QPoint PlaceInside(const QPoint& wanted, const QSize& size, const QRect& available)
{
    int x = wanted.x();
    int y = wanted.y();
    if (x + size.width() > available.left() + available.width())
        x = available.left() + available.width() - size.width();
    if (y + size.height() > available.top() + available.height())
        y = available.top() + available.height() - size.height();
    return {std::max(x, available.left()), std::max(y, available.top())};
}

// ---- gallery chart

TGalleryChart::TGalleryChart(TChartGalleryPanel* panel, QWidget* parent) : TCustomChart(parent), panel_(panel)
{
    SetRepaintOnChange(false);
    for (TChartAxis* axis : {LeftAxis(), BottomAxis()}) {
        axis->SetLabelStyle(talValue);
        axis->LabelsFont().SetSize(7);
        axis->LabelsFont().SetColor(kGrey);
        axis->Grid().SetSmallDots(true);
        axis->Grid().SetSmallSpace(3);
    }
    Title().Font().SetColor(kNavy);
    Legend().SetVisible(false);
    TView3DOptions& view = View3DOptions();
    view.SetOrthogonal(false);
    view.SetZoom(90);
    view.SetPerspective(55);
    if (!panel_ || panel_->FocusRotation()) {
        view.SetRotation(kRotation);
        view.SetElevation(kElevation);
    }
    SetChart3DPercent(100);
    SetClipPoints(false);
    Frame()->SetVisible(false);
    SetBevelWidth(2);
    SetBevelOuter(bvNone);
    for (TChartWall* wall : {static_cast<TChartWall*>(&LeftWall()), static_cast<TChartWall*>(&BottomWall())}) {
        wall->SetColor(clWhite);
        wall->SetSize(4);
        wall->Pen().SetColor(kGrey);
        wall->Gradient().SetVisible(true);
        wall->Gradient().SetStartColor(kGrey);
        wall->Gradient().SetEndColor(kSilver);
    }
    SetView3D(panel_ ? panel_->View3D() : true);
    ResetMargins();
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    SetRepaintOnChange(true);
}

void TGalleryChart::ResetMargins()
{
    const int margin = View3D() ? 4 : 5;
    SetMarginLeft(margin);
    SetMarginTop(margin);
    SetMarginRight(margin);
    SetMarginBottom(margin);
}

void TGalleryChart::SetGalleryEnabled(bool enabled)
{
    enabled_ = enabled;
    setCursor(enabled ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
    if (enabled)
        return;
    Title().Font().SetColor(kGrey);
    LeftWall().Pen().SetColor(kGrey);
    BottomWall().Pen().SetColor(kGrey);
    for (TChartAxis* axis : {LeftAxis(), BottomAxis()}) {
        axis->Axis().SetColor(clWhite);
        axis->Axis().SetWidth(1);
    }
}

void TGalleryChart::SetFocusedLook(bool focused, bool rotate)
{
    if (focused == focused_ && (!focused || Gradient().Visible()))
        return;
    focused_ = focused;
    TPlotFont& font = Title().Font();
    if (focused) {
        Gradient().SetDirection(gdFromTopLeft);
        Gradient().SetStartColor(kSilver);
        Gradient().SetEndColor(clWhite);
        Gradient().SetVisible(true);
        SetBevelOuter(bvRaised);
        font.SetSize(10);
        font.SetStyle(fsBold);
        if (enabled_)
            font.SetColor(clBlack);
        font.Shadow().SetColor(kGrey);
        font.Shadow().SetHorizSize(2);
        font.Shadow().SetVertSize(2);
        font.Shadow().SetSmoothBlur(5);
        font.Shadow().SetVisible(true);
    } else {
        if (HasGradient())
            Gradient().SetVisible(false);
        SetBevelOuter(bvNone);
        font.SetSize(8);
        font.SetStyle(0);
        if (enabled_)
            font.SetColor(kNavy);
        if (font.HasShadow())
            font.Shadow().SetVisible(false);
    }
    if (View3D() && rotate)
        View3DOptions().SetRotation(focused ? kFocusedRotation : kRotation);
    update();
}

QRect TGalleryChart::SubMarkerRect() const
{
    return QRect(width() - 14, height() - 12, 12, 12);
}

void TGalleryChart::Invalidate()
{
    if (drawingSmooth_) {
        TCustomChart::Invalidate();
        return;
    }
    smoothStale_ = true;
    // A smooth chart is drawn by its paint alone: no picture at its own size is made meanwhile.
    if (panel_ && panel_->Smooth()) {
        if (RepaintOnChange())
            update();
        return;
    }
    TCustomChart::Invalidate();
}

QImage TGalleryChart::SmoothPicture()
{
    if (!smoothStale_ && smooth_.size() == size())
        return smooth_;
    const int w = width();
    const int h = height();
    smooth_ = NewFilterBitmap(w, h);
    if (smooth_.isNull())
        return smooth_;
    QImage big;
    {
        const FlagSet guard(drawingSmooth_);
        const bool repaint = RepaintOnChange();
        const bool leftLabels = LeftAxis()->Labels();
        const bool bottomLabels = BottomAxis()->Labels();
        const bool titleVisible = Title().Visible();
        const int top = MarginTop();
        Title().SetVisible(false);
        LeftAxis()->SetLabels(true);
        BottomAxis()->SetLabels(true);
        SetMarginTop(kSmoothTopMargin);
        SetRepaintOnChange(false);
        try {
            big = CreateBitmapRect(Color(), TRect{0, 0, 2 * w, 2 * h}, QImage::Format_RGB32);
        } catch (...) {
            // The chart's colour stands in for the picture; its settings are put back below.
            ReportChartError("TGalleryChart::SmoothPicture");
            big = {};
        }
        SetRepaintOnChange(repaint);
        Title().SetVisible(titleVisible);
        LeftAxis()->SetLabels(leftLabels);
        BottomAxis()->SetLabels(bottomLabels);
        SetMarginTop(top);
        ResetMargins();
    }
    if (big.isNull() || !SmoothStretch(big, smooth_))
        smooth_.fill(ToQColor(Color()));
    DrawTitleOn(smooth_);
    smoothStale_ = false;
    return smooth_;
}

// The title goes over the resampled picture at full size, so that it stays readable.
void TGalleryChart::DrawTitleOn(QImage& picture)
{
    if (!Title().Visible() || Title().Text().isEmpty())
        return;
    TPlotFont& f = Title().Font();
    QFont font(f.Name());
    font.setPointSize(std::max(1, static_cast<int>(f.Size())));
    font.setBold((f.Style() & fsBold) != 0);
    QPainter painter(&picture);
    painter.setFont(font);
    const int lineHeight = painter.fontMetrics().height();
    int y = 2;
    for (const QString& line : Title().Text()) {
        const QRect box(0, y, picture.width(), lineHeight);
        if (f.HasShadow() && f.Shadow().Visible()) {
            painter.setPen(ToQColor(f.Shadow().Color()));
            painter.drawText(box.translated(f.Shadow().HorizSize(), f.Shadow().VertSize()), Qt::AlignHCenter, line);
        }
        painter.setPen(ToQColor(f.Color()));
        painter.drawText(box, Qt::AlignHCenter, line);
        y += lineHeight;
    }
}

void TGalleryChart::paintEvent(QPaintEvent* event)
{
    if (panel_ && panel_->Smooth() && width() >= 2 && height() >= 2) {
        const QImage picture = SmoothPicture();
        QPainter painter(this);
        painter.drawImage(0, 0, picture);
        PaintOverlay(painter);
        return;
    }
    TCustomChart::paintEvent(event);
    QPainter painter(this);
    PaintOverlay(painter);
}

void TGalleryChart::PaintOverlay(QPainter& painter)
{
    const QRect r = rect().adjusted(0, 0, -1, -1);
    const QColor light = focused_ ? ToQColor(Color()) : QColor(Qt::white);
    const QColor dark = focused_ ? ToQColor(Color()) : ToQColor(kGrey);
    painter.setPen(light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    if (!panel_ || !panel_->DisplaySub || !focused_ || !HasGradient() || !Gradient().Visible())
        return;
    // The marker shows whatever lies under it, in any colour.
    const QRect m = SubMarkerRect().adjusted(2, 3, -2, -3);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygon({m.topLeft(), m.topRight(), QPoint(m.center().x(), m.bottom())}));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TGalleryChart::mousePressEvent(QMouseEvent* event)
{
    if (enabled_ && panel_ && event->button() == Qt::LeftButton)
        panel_->ChartClicked(*this, event->position().toPoint());
    event->accept();
}

void TGalleryChart::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void TGalleryChart::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void TGalleryChart::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (enabled_ && panel_ && event->button() == Qt::LeftButton)
        panel_->ChartDoubleClicked(*this);
    event->accept();
}

// ---- panel

TChartGalleryPanel::TChartGalleryPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ChartGalleryPanel"));
    setFocusPolicy(Qt::StrongFocus);
    smooth_ = ReadEditorBoolean(QString::fromLatin1(kEditorSmoothGallery), false);
    smoothRead_ = smooth_;
}

TChartGalleryPanel::~TChartGalleryPanel()
{
    if (popup_)
        delete popup_.data();
    if (smooth_ != smoothRead_)
        WriteEditorBoolean(QString::fromLatin1(kEditorSmoothGallery), smooth_);
}

void TChartGalleryPanel::SetFocusRotation(bool value)
{
    focusRotation_ = value;
    for (TGalleryChart* chart : charts_) {
        if (value) {
            chart->View3DOptions().SetRotation(chart == selected_ ? kFocusedRotation : kRotation);
            chart->View3DOptions().SetElevation(kElevation);
        }
    }
}

void TChartGalleryPanel::SetNumRows(int value)
{
    numRows_ = value;
    LayoutCharts();
}

void TChartGalleryPanel::SetNumCols(int value)
{
    numCols_ = value;
    LayoutCharts();
}

void TChartGalleryPanel::SetSmooth(bool value)
{
    if (smooth_ == value)
        return;
    smooth_ = value;
    for (TGalleryChart* chart : charts_)
        chart->Invalidate();
}

void TChartGalleryPanel::SetView3D(bool value)
{
    view3D_ = value;
    for (TGalleryChart* chart : charts_) {
        chart->SetView3D(value);
        for (int i = 0; i < chart->SeriesCount(); ++i)
            if (TChartSeries* series = chart->ChartSeries(i))
                series->GalleryChanged3D(value);
        chart->ResetMargins();
    }
}

int TChartGalleryPanel::IndexOf(const TGalleryChart* chart) const
{
    const auto it = std::find(charts_.begin(), charts_.end(), chart);
    return it == charts_.end() ? -1 : static_cast<int>(it - charts_.begin());
}

void TChartGalleryPanel::SetSelectedChart(TGalleryChart* chart)
{
    if (chart == selected_)
        return;
    selected_ = chart;
    subIndex_ = -1;
    UpdateFocusLook();
    if (OnChangeChart)
        OnChangeChart();
}

void TChartGalleryPanel::UpdateFocusLook()
{
    for (TGalleryChart* chart : charts_)
        chart->SetFocusedLook(chart == selected_ && chart->GalleryEnabled(), focusRotation_);
}

bool TChartGalleryPanel::SelectType(const TChartSeriesClass* seriesClass, const TPlotFunctionClass* functionClass)
{
    for (TGalleryChart* chart : charts_) {
        if (chart->SeriesClass == seriesClass && chart->FunctionClass == functionClass && chart->GalleryEnabled()) {
            SetSelectedChart(chart);
            return true;
        }
    }
    return false;
}

TGalleryChart& TChartGalleryPanel::AddChart()
{
    auto* chart = new TGalleryChart(this, this);
    // Unique among the panel's charts, also after pages were refilled.
    chart->setObjectName(QStringLiteral("PlotGalleryChart%1").arg(++nameCounter_));
    charts_.push_back(chart);
    chart->setGeometry(CellRect(Count() - 1));
    chart->show();
    return *chart;
}

void TChartGalleryPanel::FreeCharts()
{
    if (popup_)
        popup_->Cancel();
    selected_ = nullptr;
    subIndex_ = -1;
    std::vector<TGalleryChart*> charts;
    charts.swap(charts_);
    for (TGalleryChart* chart : charts)
        delete chart;
}

void TChartGalleryPanel::CreateChartSeries(TGalleryChart& chart, const TChartSeriesClass& seriesClass,
                                           const TPlotFunctionClass* functionClass, int count, int subIndex)
{
    chart.SetRepaintOnChange(false);
    const bool enabled = chart.GalleryEnabled();
    std::vector<TChartSeries*> made;
    for (int i = 0; i < std::max(1, count); ++i) {
        std::unique_ptr<TChartSeries> series = seriesClass.Create();
        if (!series)
            break;
        TChartSeries* raw = chart.AddSeries(std::move(series));
        if (functionClass)
            raw->SetFunction(functionClass->Create());
        // A cell shows what the type looks like; marks are a variant of their own ("Marks"), and
        // in a cell this small they would cover the series (a pie leaves its circle to them).
        raw->Marks().SetVisible(false);
        if (subIndex != 0)
            raw->SetSubGallery(subIndex);
        raw->SetRandomSeed(static_cast<unsigned>(i + 1));
        raw->FillSampleValues();
        made.push_back(raw);
    }
    for (TChartSeries* series : made)
        series->PrepareForGallery(enabled);
    chart.SetView3D(view3D_);
    for (TChartSeries* series : made)
        series->GalleryChanged3D(view3D_);
    chart.ResetMargins();
    chart.SetRepaintOnChange(true);
    chart.Invalidate();
}

void TChartGalleryPanel::FillGalleryPage(const TPlotSeriesTypes& types, const QString& page)
{
    std::vector<const TPlotSeriesType*> onPage;
    for (int i = 0; i < types.Count(); ++i) {
        const TPlotSeriesType& type = types.Get(i);
        if (!type.SeriesClass || type.NumGallerySeries <= 0 || type.GalleryPageText() != page)
            continue;
        if ((type.FunctionClass != nullptr) != FunctionsOnly)
            continue;
        onPage.push_back(&type);
    }
    const int count = static_cast<int>(onPage.size());
    numRows_ = count > (numRows_ - 1) * numCols_ ? GalleryRowsFor(count, numCols_) : 3;

    setUpdatesEnabled(false);
    FreeCharts();
    for (const TPlotSeriesType* type : onPage) {
        TGalleryChart& chart = AddChart();
        chart.SetRepaintOnChange(false);
        chart.SeriesClass = type->SeriesClass;
        chart.FunctionClass = type->FunctionClass;
        chart.SubIndex = type->SubIndex;
        chart.Title().SetText(type->DescriptionText().split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))));
        if (CurrentSeries && CheckSeries) {
            // A probe of the type tells whether it takes the current series as its source.
            const std::unique_ptr<TChartSeries> probe = type->SeriesClass->Create();
            chart.SetGalleryEnabled(probe && probe->IsValidSourceOf(CurrentSeries));
        }
        CreateChartSeries(chart, *type->SeriesClass, type->FunctionClass, type->NumGallerySeries, type->SubIndex);
    }
    LayoutCharts();
    for (TGalleryChart* chart : charts_) {
        if (chart->GalleryEnabled()) {
            SetSelectedChart(chart);
            break;
        }
    }
    UpdateFocusLook();
    setUpdatesEnabled(true);
}

int TChartGalleryPanel::CellWidth() const
{
    if (numRows_ < 1 || numCols_ < 1)
        return 0;
    return std::max(0, (width() - frameWidth_) / numCols_);
}

int TChartGalleryPanel::CellHeight() const
{
    if (numRows_ < 1 || numCols_ < 1)
        return 0;
    return std::max(0, (height() - frameWidth_) / numRows_);
}

QRect TChartGalleryPanel::CellRect(int index) const
{
    if (numCols_ < 1 || numRows_ < 1)
        return {};
    const int w = CellWidth();
    const int h = CellHeight();
    const QRect cell((index % numCols_) * w, (index / numCols_) * h, w, h);
    return cell.intersected(rect());
}

void TChartGalleryPanel::LayoutCharts()
{
    for (int i = 0; i < Count(); ++i)
        charts_[static_cast<size_t>(i)]->setGeometry(CellRect(i));
}

void TChartGalleryPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutCharts();
}

void TChartGalleryPanel::keyPressEvent(QKeyEvent* event)
{
    if (HandleKey(event->key(), event->modifiers()))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool TChartGalleryPanel::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Left:
        MoveFocus(-1, 0);
        return true;
    case Qt::Key_Right:
        MoveFocus(1, 0);
        return true;
    case Qt::Key_Up:
        MoveFocus(0, -1);
        return true;
    case Qt::Key_Down:
        if (modifiers & Qt::AltModifier) {
            if (DisplaySub)
                ShowSubGallery();
        } else {
            MoveFocus(0, 1);
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selected_ && OnSelectedChart)
            OnSelectedChart();
        return selected_ != nullptr;
    default:
        return false;
    }
}

void TChartGalleryPanel::MoveFocus(int dCol, int dRow)
{
    const int index = IndexOf(selected_);
    if (index < 0 || numCols_ < 1)
        return;
    const int col = index % numCols_ + dCol;
    const int row = index / numCols_ + dRow;
    if (col < 0 || col >= numCols_ || row < 0 || row >= std::max(numRows_, GalleryRowsFor(Count(), numCols_)))
        return;
    const int target = row * numCols_ + col;
    if (target >= Count() || !charts_[static_cast<size_t>(target)]->GalleryEnabled())
        return;
    SetSelectedChart(charts_[static_cast<size_t>(target)]);
}

void TChartGalleryPanel::ChartClicked(TGalleryChart& chart, const QPoint& position)
{
    const bool wasFocused = &chart == selected_;
    SetSelectedChart(&chart);
    setFocus(Qt::MouseFocusReason);
    if (wasFocused && DisplaySub && chart.SubMarkerRect().contains(position))
        ShowSubGallery();
}

void TChartGalleryPanel::ChartDoubleClicked(TGalleryChart& chart)
{
    SetSelectedChart(&chart);
    if (OnSelectedChart)
        OnSelectedChart();
}

void TChartGalleryPanel::ShowSubGallery()
{
    if (!selected_ || !selected_->SeriesClass || popup_)
        return;
    auto* popup = new TSubGalleryPopup(*this);
    if (popup->Variants().isEmpty()) {
        delete popup;
        return;
    }
    popup_ = popup;
    const int rows = std::max(1, GalleryRowsFor(popup->Variants().size(), numCols_));
    const QSize size(width(), CellHeight() * rows + 8);
    popup->resize(size);
    const QPoint corner = selected_->mapToGlobal(QPoint(0, selected_->height()));
    QScreen* screen = selected_->screen() ? selected_->screen() : QGuiApplication::primaryScreen();
    popup->move(corner);
    popup->show();
    // Placed once shown, when the size with any frame the window system adds is known.
    if (screen)
        popup->move(PlaceInside(corner, popup->frameGeometry().size(), screen->availableGeometry()));
    popup->Panel().setFocus(Qt::PopupFocusReason);
}

void TChartGalleryPanel::ApplySubStyle(int variant)
{
    TGalleryChart* chart = selected_;
    if (!chart || !chart->SeriesClass || variant < 0)
        return;
    if (variant == 0) {
        const int count = chart->SeriesCount();
        chart->FreeAllSeries();
        CreateChartSeries(*chart, *chart->SeriesClass, chart->FunctionClass, count, 0);
    } else {
        for (int i = 0; i < chart->SeriesCount(); ++i)
            if (TChartSeries* series = chart->ChartSeries(i))
                series->SetSubGallery(variant);
    }
    subIndex_ = variant;
    chart->Invalidate();
}

void TChartGalleryPanel::SubPopupClosed(bool accepted, int variant)
{
    if (!accepted)
        return;
    ApplySubStyle(variant);
    if (OnSubSelected)
        OnSubSelected();
}

// ---- sub-style pop-up

TSubGalleryPopup::TSubGalleryPopup(TChartGalleryPanel& owner)
    : QWidget(&owner, Qt::Popup), owner_(owner)
{
    setObjectName(QStringLiteral("SubGalleryPopup"));
    setAttribute(Qt::WA_DeleteOnClose);
    strip_ = new QWidget(this);
    strip_->setObjectName(QStringLiteral("SubGalleryStrip"));
    strip_->setFixedHeight(kSubStripHeight);
    strip_->setCursor(Qt::PointingHandCursor);
    strip_->installEventFilter(this);
    nested_ = new TChartGalleryPanel(this);
    nested_->DisplaySub = false;
    nested_->SetNumCols(owner.NumCols());
    nested_->SetView3D(owner.View3D());
    // The pop-up follows the panel's choice and never stores it.
    nested_->smoothRead_ = owner.Smooth();
    nested_->SetSmooth(owner.Smooth());
    nested_->OnSelectedChart = [this] { Accept(); };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip_);
    layout->addWidget(nested_, 1);

    TGalleryChart* focused = owner.SelectedChart();
    const auto add = [this](const QString& variant) { variants_ << variant; };
    if (TChartSeries* first = focused->ChartSeries(0))
        first->CreateSubGallery(add);
    else if (const std::unique_ptr<TChartSeries> probe = focused->SeriesClass->Create())
        probe->CreateSubGallery(add);
    nested_->SetNumRows(std::max(1, GalleryRowsFor(variants_.size(), owner.NumCols())));
    const int count = std::max(1, focused->SeriesCount());
    for (int i = 0; i < variants_.size(); ++i) {
        TGalleryChart& chart = nested_->AddChart();
        chart.SetRepaintOnChange(false);
        chart.SeriesClass = focused->SeriesClass;
        chart.FunctionClass = focused->FunctionClass;
        chart.SubIndex = i;
        chart.Title().SetText({variants_[i]});
        nested_->CreateChartSeries(chart, *focused->SeriesClass, focused->FunctionClass, count, i);
    }
    if (nested_->Count() > 0)
        nested_->SetSelectedChart(nested_->Chart(0));
}

TSubGalleryPopup::~TSubGalleryPopup() = default;

void TSubGalleryPopup::Accept()
{
    if (done_)
        return;
    done_ = true;
    const int variant = nested_->IndexOf(nested_->SelectedChart());
    hide();
    owner_.SubPopupClosed(variant >= 0, variant);
    close();
}

void TSubGalleryPopup::Cancel()
{
    if (done_)
        return;
    done_ = true;
    close();
}

void TSubGalleryPopup::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Cancel();
        event->accept();
        return;
    }
    if (!nested_->HandleKey(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
}

bool TSubGalleryPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == strip_) {
        if (event->type() == QEvent::MouseButtonPress) {
            Accept();
            return true;
        }
        if (event->type() == QEvent::Paint) {
            QPainter painter(strip_);
            painter.fillRect(strip_->rect(), strip_->palette().color(QPalette::Button));
            const int cx = strip_->width() / 2;
            painter.setPen(Qt::NoPen);
            painter.setBrush(strip_->palette().color(QPalette::ButtonText));
            painter.drawPolygon(QPolygon({QPoint(cx - 4, 3), QPoint(cx + 4, 3), QPoint(cx, 8)}));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSubGalleryPopup::closeEvent(QCloseEvent* event)
{
    // Closed from outside (a click elsewhere): Cancel.
    done_ = true;
    QWidget::closeEvent(event);
}
