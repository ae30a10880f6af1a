#include "chart/canvas/PlotFilters.h"

#include "chart/canvas/PlotFiltersColor.h"
#include "chart/canvas/PlotFiltersConvolve.h"
#include "chart/canvas/PlotFiltersResample.h"

#include <algorithm>

void EnsureFilterFormat(QImage& bitmap)
{
    if (!bitmap.isNull() && bitmap.format() != QImage::Format_RGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
}

TPlotFilter::TPlotFilter() = default;
TPlotFilter::~TPlotFilter() = default;

TFilterRegion& TPlotFilter::Region()
{
    if (!region_)
        region_ = std::make_unique<TFilterRegion>();
    return *region_;
}

void TPlotFilter::Apply(QImage& bitmap, const QRect& rect)
{
    (void)rect;
    if (rowsPrepared_ && !rows_.empty())
        return;
    rows_.clear();
    EnsureFilterFormat(bitmap);
    if (bitmap.isNull() || bitmap.width() <= 0 || bitmap.height() <= 0)
        return;
    // scanLine() of a shared image detaches it, so the rows are taken after the conversion and
    // all point into the one buffer this bitmap owns from now on.
    rows_.reserve(static_cast<size_t>(bitmap.height()));
    for (int y = 0; y < bitmap.height(); ++y)
        rows_.push_back(reinterpret_cast<uint32_t*>(bitmap.scanLine(y)));
}

QRect TPlotFilter::ClippedRect(const QImage& bitmap, const QRect& rect)
{
    const int left = std::max(0, rect.left());
    const int top = std::max(0, rect.top());
    const int right = std::min(bitmap.width() - 1, rect.right());
    const int bottom = std::min(bitmap.height() - 1, rect.bottom());
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void TPlotFilter::CreateEditor(TFormCreator& creator, std::function<void()> onChange)
{
    editor_ = &creator;
    editorChange_ = std::move(onChange);
}

void TPlotFilter::EditorChanged(const QString& property)
{
    (void)property;
    if (editorChange_)
        editorChange_();
}

void TPlotFilter::DetachEditor()
{
    editor_ = nullptr;
    editorChange_ = {};
}

std::vector<FilterProperty> TPlotFilter::Properties() const
{
    return {{QStringLiteral("Enabled"), Enabled}};
}

bool TPlotFilter::SetProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("Enabled") && value.canConvert<bool>()) {
        Enabled = value.toBool();
        return true;
    }
    return false;
}

QStringList TPlotFilter::EnumNames(const QString& property) const
{
    (void)property;
    return {};
}

void TPlotFilter::Assign(const TPlotFilter& source)
{
    if (&source == this)
        return;
    if (source.region_)
        Region().Assign(*source.region_);
    else
        region_.reset();
    if (&source.FilterClass() == &FilterClass()) {
        for (const FilterProperty& p : source.Properties())
            SetProperty(p.name, p.value);
    } else {
        Enabled = source.Enabled;
    }
}

void TPlotFilter::ApplyToBitmap(QImage& bitmap)
{
    const int w = bitmap.width();
    const int h = bitmap.height();
    if (!region_) {
        Apply(bitmap, QRect(QPoint(0, 0), QPoint(w - 1, h - 1)));
        return;
    }
    const TFilterRegion& r = *region_;
    const int right = r.Width != 0 ? std::min(w - 1, r.Left + r.Width) : std::max(r.Left, w - 1);
    const int bottom = r.Height != 0 ? std::min(h - 1, r.Top + r.Height) : std::max(r.Top, h - 1);
    Apply(bitmap, QRect(QPoint(r.Left, r.Top), QPoint(right, bottom)));
}

void TPlotFilter::ApplyToBitmapClass(const TPlotFilterClass& filterClass, QImage& bitmap)
{
    std::unique_ptr<TPlotFilter> filter = filterClass.create();
    filter->ApplyToBitmap(bitmap);
}

TPlotFilter& TFilterItems::Add(const TPlotFilterClass& filterClass)
{
    items_.push_back(filterClass.create());
    return *items_.back();
}

void TFilterItems::Delete(int index)
{
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

void TFilterItems::Exchange(int index1, int index2)
{
    if (index1 < 0 || index2 < 0 || index1 >= Count() || index2 >= Count())
        return;
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TFilterItems::ApplyToBitmap(QImage& bitmap) const
{
    for (const auto& item : items_)
        if (item->Enabled)
            item->ApplyToBitmap(bitmap);
}

void TFilterItems::Assign(const TFilterItems& source)
{
    if (&source == this)
        return;
    std::vector<std::unique_ptr<TPlotFilter>> copy;
    copy.reserve(source.items_.size());
    for (const auto& item : source.items_) {
        std::unique_ptr<TPlotFilter> f = item->FilterClass().create();
        f->Assign(*item);
        copy.push_back(std::move(f));
    }
    items_ = std::move(copy);
}

TPlotPicture::TPlotPicture(std::function<void()> onChange) : OnChange(std::move(onChange)) {}

void TPlotPicture::SetGraphic(const QImage& graphic)
{
    graphic_ = graphic;
    if (OnChange)
        OnChange();
}

void TPlotPicture::SetTransparent(bool value)
{
    if (transparent_ == value)
        return;
    transparent_ = value;
    if (OnChange)
        OnChange();
}

TFilterItems& TPlotPicture::Filters()
{
    if (!filters_)
        filters_ = std::make_unique<TFilterItems>();
    return *filters_;
}

QImage TPlotPicture::FilteredGraphic()
{
    if (graphic_.isNull() || !HasFilters())
        return graphic_;
    work_ = graphic_.convertToFormat(QImage::Format_RGB32);
    filters_->ApplyToBitmap(work_);
    return work_;
}

void TPlotPicture::Assign(const TPlotPicture& source)
{
    if (&source == this)
        return;
    if (source.filters_)
        Filters().Assign(*source.filters_);
    else
        filters_.reset();
    transparent_ = source.transparent_;
    SetGraphic(source.graphic_);
}

void NotifyGraphicChanged(TPlotPicture& picture)
{
    if (picture.OnChange)
        picture.OnChange();
}

const std::vector<const TPlotFilterClass*>& RegisteredFilterClasses()
{
    // Registration order is part of what the editor shows; each class once.
    static const std::vector<const TPlotFilterClass*> classes = {
        &TInvertFilter::Class(),      &TGrayScaleFilter::Class(), &TMosaicFilter::Class(),
        &TFlipFilter::Class(),        &TReverseFilter::Class(),   &TBrightnessFilter::Class(),
        &TContrastFilter::Class(),    &TColorFilter::Class(),     &THueLumSatFilter::Class(),
        &TBlurFilter::Class(),        &TSharpenFilter::Class(),   &TGammaCorrectionFilter::Class(),
        &TEmbossFilter::Class(),      &TSoftenFilter::Class(),    &TCropFilter::Class(),
        &TResizeFilter::Class(),      &TRotateFilter::Class(),    &TMirrorFilter::Class(),
        &TTileFilter::Class(),        &TBevelFilter::Class(),     &TZoomFilter::Class(),
    };
    return classes;
}

const TPlotFilterClass* FindFilterClass(const QString& name)
{
    for (const TPlotFilterClass* c : RegisteredFilterClasses())
        if (name.compare(QLatin1String(c->name), Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}
