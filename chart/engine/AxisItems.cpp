#include "chart/engine/AxisItems.h"

TAxisItem::TAxisItem(PlotShapeOwner* chart, TAxisItems* owner) : TPlotCustomShape(chart), owner_(owner)
{
    SetDefaultTransparent(true);
    SetTransparent(true);
}

TAxisItems::TAxisItems(TChartAxis* axis, PlotShapeOwner* chart)
    : axis_(axis), chart_(chart), format_(std::make_unique<TPlotShape>(chart))
{
    format_->SetDefaultTransparent(true);
    format_->SetTransparent(true);
}

// The format goes first, then the items, as the items' texts were laid out with it.
TAxisItems::~TAxisItems()
{
    format_.reset();
    items_.clear();
}

TAxisItem& TAxisItems::Append(double value)
{
    auto item = std::make_unique<TAxisItem>(chart_, this);
    item->value_ = value;
    items_.push_back(std::move(item));
    return *items_.back();
}

TAxisItem& TAxisItems::Add(double value)
{
    automatic_ = false;
    TAxisItem& item = Append(value);
    if (chart_)
        chart_->Invalidate();
    return item;
}

TAxisItem& TAxisItems::Add(double value, const QString& text)
{
    TAxisItem& item = Add(value);
    item.text_ = text;
    return item;
}

void TAxisItems::AddAutomatic(double value, const QString& text)
{
    Append(value).text_ = text;
}

void TAxisItems::Clear()
{
    items_.clear();
    if (chart_)
        chart_->Invalidate();
}

void TAxisItems::Assign(const TAxisItems& source)
{
    if (&source == this)
        return;
    format_->Assign(*source.format_);
    Clear();
    for (const auto& item : source.items_)
        Add(item->value_, item->text_);
}
