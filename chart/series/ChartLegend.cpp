// The legend's settings, symbol, title and items, what it lists in each style, its hit test and
// its check boxes. Layout and drawing are in ChartLegendDraw.cpp.
#include "chart/series/ChartLegend.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotHtml.h"
#include "chart/engine/ChartPage.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesGroup.h"
#include "chart/series/Chart.h"

#include <algorithm>

// ---- symbol

TLegendSymbol::TLegendSymbol(TNotifyEvent onChange, std::function<int()> itemHeight)
    : onChange_(std::move(onChange)),
      itemHeight_(std::move(itemHeight)),
      gradient_(std::make_unique<TPlotGradient>(onChange_)),
      pen_(std::make_unique<TChartPen>(onChange_)),
      shadow_(std::make_unique<TPlotShadow>(onChange_))
{
    shadow_->InitDefaults(clBlack, 3);
    shadow_->SetVisible(false);
    shadow_->SetDefaultVisible(false);
}

TLegendSymbol::~TLegendSymbol() = default;

void TLegendSymbol::Assign(const TLegendSymbol& source)
{
    if (&source == this)
        return;
    continuous_ = source.continuous_;
    defaultPen_ = source.defaultPen_;
    gradient_->Assign(*source.gradient_);
    pen_->Assign(*source.pen_);
    position_ = source.position_;
    shadow_->Assign(*source.shadow_);
    squared_ = source.squared_;
    visible_ = source.visible_;
    width_ = source.width_;
    widthUnits_ = source.widthUnits_;
    OnDraw = source.OnDraw;
    if (onChange_)
        onChange_();
}

int TLegendSymbol::CalcWidth(int percentOf) const
{
    if (!visible_)
        return 0;
    if (squared_)
        return (itemHeight_ ? itemHeight_() : 0) - 5;
    if (widthUnits_ == lcsPixels)
        return width_;
    return static_cast<int>(std::nearbyint(width_ * percentOf * 0.01));
}

void TLegendSymbol::Paint(TCanvas3D& canvas, const TRect& rect, TColor color)
{
    if (!defaultPen_)
        canvas.AssignVisiblePen(*pen_);
    if (gradient_->Visible()) {
        const TColor end = gradient_->EndColor();
        const TNotifyEvent change = std::move(gradient_->OnChange);
        gradient_->SetEndColor(color);
        gradient_->Draw(canvas, rect, 0);
        gradient_->SetEndColor(end);
        gradient_->OnChange = change;
        canvas.Brush().SetStyle(bsClear);
    } else {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(color);
    }
    canvas.RectangleRect(rect);
}

// ---- items

void TLegendItem::SetText(const QString& value)
{
    text_ = value;
    custom_ = true;
    owner_.Changed();
}

void TLegendItem::SetText2(const QString& value)
{
    text2_ = value;
    custom_ = true;
    owner_.Changed();
}

TLegendItem& TLegendItems::Item(int index)
{
    while (Count() <= index)
        items_.push_back(std::make_unique<TLegendItem>(*this));
    return *items_.at(static_cast<size_t>(index));
}

void TLegendItems::Clear()
{
    items_.clear();
    Changed();
}

void TLegendItems::Changed()
{
    if (onChange_)
        onChange_();
}

// ---- title

TLegendTitle::TLegendTitle(PlotShapeOwner* chart) : TPlotShape(nullptr)
{
    SetTransparent(true);
    SetDefaultTransparent(true);
    Font().SetStyle(fsBold);
    Shadow().InitDefaults(0xC0C0C0, 2);
    SetParentChart(chart);
}

void TLegendTitle::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (&source == this)
        return;
    if (const auto* title = dynamic_cast<const TLegendTitle*>(&source)) {
        text_ = title->text_;
        textAlignment_ = title->textAlignment_;
    }
    TPlotShape::Assign(source);
}

void TLegendTitle::SetText(const QStringList& value)
{
    text_ = value;
    Repaint();
}

int TLegendTitle::FrameWidth() const
{
    auto& self = const_cast<TLegendTitle&>(*this);
    return !Transparent() && self.Pen().Visible() ? self.Pen().Width() : 0;
}

int TLegendTitle::TitleWidth(TPlotCanvas& canvas)
{
    canvas.AssignFont(&Font());
    int widest = 0;
    if (TextFormat() == ttfHtml)
        widest = canvas.TextExtentFormat(HtmlLineBreaks(text_.join(QChar(13))), true).cx;
    else
        for (const QString& line : text_)
            widest = std::max(widest, canvas.TextWidth(line));
    int width = widest + canvas.TextWidth(QStringLiteral("W"));
    if (!Transparent())
        width += 2 * FrameWidth() + (Shadow().Visible() ? Shadow().GetSize() : 0);
    return width;
}

int TLegendTitle::TitleHeight(TPlotCanvas& canvas)
{
    canvas.AssignFont(&Font());
    int height = TextFormat() == ttfHtml ? canvas.TextExtentFormat(HtmlLineBreaks(text_.join(QChar(13))), true).cy
                                         : static_cast<int>(text_.size()) * canvas.FontHeight();
    if (!Transparent())
        height += 2 + 2 * FrameWidth();
    return height;
}

void TLegendTitle::DrawTitle(TCanvas3D& canvas, const TRect& box)
{
    DrawOnCanvas(canvas, box, 0, 0.0);
    canvas.AssignFont(&Font());
    canvas.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
    canvas.SetBackMode(cbmTransparent);
    const int halfW = canvas.TextWidth(QStringLiteral("W")) / 2;
    if (TextFormat() == ttfHtml) {
        // Anchored where the plain lines are: each line starts, ends or is centred there.
        const QString text = HtmlLineBreaks(text_.join(QChar(13)));
        const TextAnchor anchor = AnchorBetween(textAlignment_, box.Left + halfW, box.Right - halfW);
        canvas.SetTextAlign(anchor.Align);
        canvas.TextOutFormat(anchor.X, box.Top + 1, text, true);
        canvas.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
        return;
    }
    const int h = canvas.FontHeight();
    for (int i = 0; i < text_.size(); ++i) {
        const QString& line = text_[i];
        int x = box.Left + halfW;
        if (textAlignment_ == taRightJustify)
            x = box.Right - canvas.TextWidth(line) - halfW;
        else if (textAlignment_ == taCenter)
            x = (box.Left + box.Right) / 2 - canvas.TextWidth(line) / 2;
        canvas.TextOut(x, box.Top + i * h, line);
    }
}

TChartLegendGradient::TChartLegendGradient(TNotifyEvent onChange) : TPlotGradient(std::move(onChange))
{
    const TNotifyEvent change = std::move(OnChange);
    SetDirection(gdRightLeft);
    SetStartColor(0xC0C0C0);
    SetEndColor(clWhite);
    OnChange = change;
}

// ---- legend settings

TCustomChartLegend::TCustomChartLegend(TCustomChart* chart)
    : TPlotCustomShapePosition(chart),
      chart_(chart),
      dividingLines_(std::make_unique<TChartHiddenPen>([this] { Repaint(); })),
      symbol_(std::make_unique<TLegendSymbol>([this] { Repaint(); }, [this] { return ItemHeight(); })),
      title_(std::make_unique<TLegendTitle>(chart)),
      items_(std::make_unique<TLegendItems>([this] { Repaint(); }))
{
}

TCustomChartLegend::~TCustomChartLegend() = default;

std::unique_ptr<TPlotGradient> TCustomChartLegend::CreateGradient()
{
    return std::make_unique<TChartLegendGradient>();
}

void TCustomChartLegend::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (&source == this)
        return;
    if (const auto* legend = dynamic_cast<const TCustomChartLegend*>(&source)) {
        alignment_ = legend->alignment_;
        checkBoxes_ = legend->checkBoxes_;
        checkBoxesStyle_ = legend->checkBoxesStyle_;
        currentPage_ = legend->currentPage_;
        dividingLines_->Assign(*legend->dividingLines_);
        firstValue_ = legend->firstValue_;
        fontSeriesColor_ = legend->fontSeriesColor_;
        horizMargin_ = legend->horizMargin_;
        vertMargin_ = legend->vertMargin_;
        inverted_ = legend->inverted_;
        leftPercent_ = legend->leftPercent_;
        topPercent_ = legend->topPercent_;
        positionUnits_ = legend->positionUnits_;
        legendStyle_ = legend->legendStyle_;
        maxNumRows_ = legend->maxNumRows_;
        resizeChart_ = legend->resizeChart_;
        symbol_->Assign(*legend->symbol_);
        textStyle_ = legend->textStyle_;
        title_->Assign(*legend->title_);
        topPos_ = legend->topPos_;
        vertSpacing_ = legend->vertSpacing_;
    }
    TPlotCustomShapePosition::Assign(source);
}

void TCustomChartLegend::NotifyCheckBoxes()
{
    if (!chart_)
        return;
    TChartLegendCheckBoxesEvent event;
    chart_->BroadcastPlotEvent(event);
}

void TCustomChartLegend::SetCheckBoxes(bool value)
{
    if (checkBoxes_ == value)
        return;
    checkBoxes_ = value;
    Repaint();
    NotifyCheckBoxes();
}

void TCustomChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle value)
{
    const bool changed = checkBoxesStyle_ != value;
    checkBoxesStyle_ = value;
    if (value == cbsRadio && chart_) {
        bool first = true;
        for (int i = 0; i < chart_->SeriesCount(); ++i) {
            TCustomChartSeries* series = chart_->Series(i);
            if (!series->ShowInLegend() || !series->Active())
                continue;
            if (!first)
                series->SetActive(false);
            first = false;
        }
    }
    Repaint();
    if (changed)
        NotifyCheckBoxes();
}

void TCustomChartLegend::SetFirstValue(int value)
{
    if (value < 0)
        throw LegendException(PlotMessage(PlotMsg::ErrLegendFirstValue));
    SetAndRepaint(firstValue_, value);
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle value)
{
    legendStyle_ = value;
    layout_.Style = CalcLegendStyle();
    Repaint();
}

// ---- what is listed

TLegendStyle TCustomChartLegend::CalcLegendStyle() const
{
    if (legendStyle_ != lsAuto)
        return legendStyle_;
    if (!chart_)
        return lsSeries;
    return !checkBoxes_ && chart_->CountActiveSeries() < 2 ? lsValues : lsSeries;
}

// A legend that would list nothing draws nothing: not even its frame.
bool TCustomChartLegend::ShouldDraw() const
{
    if (!Visible() || !chart_ || !(checkBoxes_ || chart_->CountActiveSeries() > 0))
        return false;
    int first = 0;
    return CountItems(CalcLegendStyle(), first) > 0;
}

int TCustomChartLegend::ItemHeight()
{
    if (!chart_)
        return 1;
    TPlotCanvas3D& canvas = chart_->Canvas();
    canvas.AssignFont(&Font());
    int height = canvas.FontHeight();
    if (HasCheckBoxes())
        height = std::max(height, 17);
    height += vertSpacing_;
    if (IsVertical() && dividingLines_->Visible())
        height += dividingLines_->Width();
    // A negative spacing must not leave rows of no height: rows are counted and hit by dividing.
    return std::max(height, 1);
}

TChartSeries* TCustomChartLegend::LegendSeries() const
{
    if (!chart_)
        return nullptr;
    if (series_ && chart_->SeriesList().Contains(series_))
        return series_;
    if (TChartSeries* first = chart_->GetASeries(); first && first->ShowInLegend())
        return first;
    return dynamic_cast<TChartSeries*>(chart_->ActiveSeriesLegend(0));
}

int TCustomChartLegend::CountItems(TLegendStyle style, int& first) const
{
    first = firstValue_;
    if (!chart_)
        return 0;
    const TChartPage& pages = chart_->Pages();
    const bool paging = pages.MaxPointsPerPage() > 0;
    int count = 0;
    switch (style) {
    case lsValues: {
        const TChartSeries* series = LegendSeries();
        count = series ? series->CountLegendItems() : 0;
        if (paging && currentPage_) {
            first = pages.FirstValueIndex();
            return std::clamp(count - first, 0, pages.MaxPointsPerPage());
        }
        break;
    }
    case lsSeriesGroups: count = chart_->SeriesGroups().Count(); break;
    default:
        for (int i = 0; i < chart_->SeriesCount(); ++i) {
            const TCustomChartSeries* series = chart_->Series(i);
            count += series->ShowInLegend() && (checkBoxes_ || series->Active()) ? 1 : 0;
        }
        break;
    }
    if (paging && style != lsValues)
        first = 0;
    return std::max(count - first, 0);
}

TCustomChartSeries* TCustomChartLegend::ItemSeries(int index) const
{
    if (!chart_)
        return nullptr;
    switch (layout_.Style) {
    case lsValues: return LegendSeries();
    case lsSeriesGroups: return nullptr;
    default: return chart_->SeriesLegend(index, !checkBoxes_);
    }
}

QString TCustomChartLegend::ValueText(TChartSeries& series, int valueIndex) const
{
    if (valueIndex < 0 || valueIndex >= series.CountLegendItems())
        return {};
    QString text = series.LegendString(valueIndex, textStyle_);
    text.replace(kChartLineSeparator, QChar(' '));
    return text;
}

QString TCustomChartLegend::ItemText(int index)
{
    if (!chart_)
        return {};
    const TLegendStyle style = layout_.Style;
    QString text;
    switch (style) {
    case lsValues:
        if (TChartSeries* series = LegendSeries())
            text = ValueText(*series, index);
        break;
    case lsLastValues:
        if (auto* series = dynamic_cast<TChartSeries*>(ItemSeries(index)))
            text = ValueText(*series, series->CountLegendItems() - 1);
        break;
    case lsSeriesGroups:
        if (index >= 0 && index < chart_->SeriesGroups().Count())
            text = chart_->SeriesGroups()[index]->Name();
        break;
    default: text = chart_->SeriesTitleLegend(index, !checkBoxes_); break;
    }
    if (chart_->OnGetLegendText)
        chart_->OnGetLegendText(chart_, style, index, text);
    return text;
}

void TCustomChartLegend::CalcTexts(int index, QString& text, QString& text2)
{
    if (const int listed = index - layout_.FirstValue; listed >= 0 && listed < items_->Count()) {
        if (const TLegendItem& item = items_->Item(listed); item.Custom()) {
            text = item.Text();
            text2 = item.Text2();
            return;
        }
    }
    const QString all = ItemText(index);
    const qsizetype separator = all.indexOf(kChartColumnSeparator);
    if (separator < 0) {
        text = all;
        text2.clear();
        return;
    }
    text = all.left(separator);
    // Only two columns are shown: anything after a second separator is dropped.
    text2 = all.mid(separator + 1).section(kChartColumnSeparator, 0, 0);
}

// ---- the mouse

int TCustomChartLegend::Clicked(int x, int y) const
{
    const TLegendLayout& l = layout_;
    if (!ShouldDraw() || l.TotalItems <= 0 || l.LastValue < l.FirstValue)
        return -1;
    TRect box = ShapeBounds;
    if (RectHook) {
        TRect hit = box;
        RectHook(lruHitTest, hit);
        box = TRect{std::max(box.Left, hit.Left), std::max(box.Top, hit.Top), std::min(box.Right, hit.Right),
                    std::min(box.Bottom, hit.Bottom)};
    }
    if (x < box.Left || x >= box.Right || y < box.Top || y >= box.Bottom || y < l.ItemsTop + 1)
        return -1;
    const int shown = l.LastValue - l.FirstValue + 1;
    const int row = (y - l.ItemsTop - 1) / l.ItemHeight;
    int position = row;
    if (!IsVertical()) {
        if (l.Columns < 1)
            return -1;
        const int band = (ShapeBounds.Right - ShapeBounds.Left) / l.Columns;
        if (band < 1)
            return -1;
        const int column = (x - ShapeBounds.Left) / band;
        if (column >= l.Columns || row >= l.Rows)
            return -1;
        position = row * l.Columns + column;
    }
    if (position >= shown)
        return -1;
    return l.FirstValue + (inverted_ ? shown - 1 - position : position);
}

bool TCustomChartLegend::DoCheckBox(int index)
{
    if (!chart_ || index == -1 || !HasCheckBoxes())
        return false;
    const TLegendStyle style = CalcLegendStyle();
    if (style == lsSeriesGroups) {
        TSeriesGroups& groups = chart_->SeriesGroups();
        if (index < 0 || index >= groups.Count())
            return false;
        TSeriesGroup* group = groups[index];
        if (checkBoxesStyle_ == cbsRadio) {
            for (int i = 0; i < groups.Count(); ++i)
                if (i != index)
                    groups[i]->SetActive(gaNo);
            group->SetActive(gaYes);
        } else {
            group->SetActive(group->Active() == gaYes ? gaNo : gaYes);
        }
        return true;
    }
    TCustomChartSeries* series = chart_->SeriesLegend(index, false);
    if (!series)
        return false;
    if (checkBoxesStyle_ == cbsRadio) {
        for (int i = 0; i < chart_->SeriesCount(); ++i)
            if (TCustomChartSeries* other = chart_->Series(i); other != series && other->ShowInLegend())
                other->SetActive(false);
        series->SetActive(true);
    } else {
        series->SetActive(!series->Active());
    }
    return true;
}

// The layout of the last drawing may list a series that is going: until the next drawing the
// legend answers no item.
void TCustomChartLegend::SeriesFreeing(const TCustomChartSeries* series)
{
    if (series_ && series_ == series) {
        series_ = nullptr;
        Repaint();
    }
    layout_.TotalItems = 0;
    layout_.LastValue = layout_.FirstValue - 1;
}
