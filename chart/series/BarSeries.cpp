// The bar series: the gradient, construction and settings, the layout switches every series of
// the class shares, the gallery and samples, and the two classes. Where bars stand (layout,
// positions, origins, value ranges, depth, hit test) is in BarSeriesGeometry.cpp; drawing is in
// BarSeriesDraw.cpp.
#include "chart/series/BarSeries.h"

#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesPointer.h"
#include "chart/engine/SeriesTexts.h"

#include <algorithm>

// ---- gradient

TBarSeriesGradient::TBarSeriesGradient(TNotifyEvent onChange) : TPlotGradient(std::move(onChange))
{
    SetVisible(true);
}

void TBarSeriesGradient::Assign(const TCustomPlotGradient& source)
{
    TPlotGradient::Assign(source);
    if (const auto* bar = dynamic_cast<const TBarSeriesGradient*>(&source))
        relative_ = bar->relative_;
}

void TBarSeriesGradient::SetRelative(bool value)
{
    if (relative_ == value)
        return;
    relative_ = value;
    Changed();
}

// ---- construction and settings

TCustomBarSeries::TCustomBarSeries()
{
    auto repaint = [this] { Repaint(); };
    gradient_ = std::make_unique<TBarSeriesGradient>(repaint);
    shadow_ = std::make_unique<TPlotShadow>(repaint);
    shadow_->InitDefaults(0x808080, 0);
    tickLines_ = std::make_unique<TChartHiddenPen>(repaint);
    Marks().SetVisible(true);
    Marks().Callout().SetLength(20);
    Marks().Callout().SetDefaultLength(20);
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::Assign(TChartSeries& source)
{
    if (&source == this)
        return;
    if (const auto* s = dynamic_cast<const TCustomBarSeries*>(&source)) {
        autoMarkPosition_ = s->autoMarkPosition_;
        barWidthPercent_ = s->barWidthPercent_;
        barStyle_ = s->barStyle_;
        bevelSize_ = s->bevelSize_;
        customBarSize_ = s->customBarSize_;
        dark3D_ = s->dark3D_;
        darkPen_ = s->darkPen_;
        depthPercent_ = s->depthPercent_;
        gradient_->Assign(*s->gradient_);
        multiBar_ = s->multiBar_;
        offsetPercent_ = s->offsetPercent_;
        yOrigin_ = s->yOrigin_;
        shadow_->Assign(*s->shadow_);
        sideMargins_ = s->sideMargins_;
        stackGroup_ = s->stackGroup_;
        tickLines_->Assign(*s->tickLines_);
        transparency_ = s->transparency_;
        useYOrigin_ = s->useYOrigin_;
        CalcVisiblePoints = multiBar_ != mbSelfStack;
    }
    TChartSeries::Assign(source);
}

void TCustomBarSeries::SetParentChart(ChartParent* chart)
{
    TChartSeries::SetParentChart(chart);
    if (!chart)
        return;
    const TChartSeriesList& list = chart->SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        auto* other = dynamic_cast<TCustomBarSeries*>(list[i]);
        if (other && other != this && (IsKindOfSelf(*other) || other->IsKindOfSelf(*this))) {
            multiBar_ = other->multiBar_;
            sideMargins_ = other->sideMargins_;
            CalcVisiblePoints = multiBar_ != mbSelfStack;
            return;
        }
    }
}

void TCustomBarSeries::SetMultiBar(TMultiBar value)
{
    multiBar_ = value;
    CalcVisiblePoints = value != mbSelfStack;
    CopyLayoutToSameClass();
    Repaint();
}

void TCustomBarSeries::SetSideMargins(bool value)
{
    sideMargins_ = value;
    CopyLayoutToSameClass();
    Repaint();
}

// Layout and margins are one setting of all the chart's series of the class, active or not, so
// that a series switched on later stands in the same layout.
void TCustomBarSeries::CopyLayoutToSameClass()
{
    ChartParent* chart = ParentChart();
    if (!chart)
        return;
    const TChartSeriesList& list = chart->SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        auto* other = dynamic_cast<TCustomBarSeries*>(list[i]);
        if (!other || other == this || !(IsKindOfSelf(*other) || other->IsKindOfSelf(*this)))
            continue;
        other->multiBar_ = multiBar_;
        other->sideMargins_ = sideMargins_;
        other->CalcVisiblePoints = multiBar_ != mbSelfStack;
    }
}

// ---- gallery and samples

void TCustomBarSeries::CreateSubGallery(const std::function<void(const QString&)>& add) const
{
    for (const PlotMsg caption : {PlotMsg::GalleryNormal, PlotMsg::GalleryColors, PlotMsg::GalleryPyramid,
             PlotMsg::GalleryEllipse, PlotMsg::GalleryInvertedPyramid, PlotMsg::EditorGradient})
        add(PlotMessage(caption));
    if (SubGalleryStack())
        for (const PlotMsg caption : {PlotMsg::SeriesStack, PlotMsg::GalleryStack100, PlotMsg::GallerySelfStacked})
            add(PlotMessage(caption));
    add(PlotMessage(PlotMsg::GallerySides));
    add(PlotMessage(PlotMsg::GallerySideAll));
}

void TCustomBarSeries::SetSubGallery(int index)
{
    switch (index) {
    case 1: SetColorEachPoint(true); return;
    case 2: SetBarStyle(bsPyramid); return;
    case 3: SetBarStyle(bsEllipse); return;
    case 4: SetBarStyle(bsInvPyramid); return;
    case 5: SetBarStyle(bsRectGradient); return;
    default: break;
    }
    if (index < 6)
        return;
    if (!SubGalleryStack())
        index += 3;
    TCustomAxisPanel* panel = Panel();
    if (panel && panel->SeriesCount() == 1 && panel->Series(0) == this) {
        std::unique_ptr<TCustomBarSeries> second = NewOfSameClass();
        second->SetTitle({});
        second->Marks().SetVisible(false);
        second->SetBarWidthPercent(barWidthPercent_);
        TCustomBarSeries* added = second.get();
        panel->AddSeries(std::move(second));
        added->FillSampleValues(added->NumSampleValues());
    }
    switch (index) {
    case 6: SetMultiBar(mbStacked); break;
    case 7: SetMultiBar(mbStacked100); break;
    case 8: SetMultiBar(mbSelfStack); break;
    case 9: SetMultiBar(mbSide); break;
    case 10: SetMultiBar(mbSideAll); break;
    default: break;
    }
}

void TCustomBarSeries::PrepareForGallery(bool enabled)
{
    (void)enabled;
    SetBarWidthPercent(85);
    SetBarStyle(bsRectGradient);
    gradient_->SetVisible(true);
    SetMultiBar(mbNone);
    SetDarkPen(130);
}

int TCustomBarSeries::NumSampleValues() const
{
    if (ChartParent* chart = ParentChart()) {
        const TChartSeriesList& list = chart->SeriesList();
        for (int i = 0; i < list.Count(); ++i)
            if (auto* bar = dynamic_cast<TCustomBarSeries*>(list[i]); bar && bar != this && bar->Count() > 0)
                return bar->Count();
    }
    return 6;
}

// Categories 0, 1, 2 ... (those of the other bar series when they count that way), values
// between 100 and 1000, so that bars of the gallery stand side by side over one another's slots.
void TCustomBarSeries::AddSampleValues(int numValues)
{
    if (numValues <= 0)
        throw ChartException(seriestexts::SampleValuesCount());
    // Each place in the chart gets its own values, so that a gallery preview's series differ.
    samples_.seed(5489u + 977u * static_cast<unsigned>(std::max(0, IndexInChart())));
    std::uniform_int_distribution<int> value(100, 1000);
    UpdateScope scope(*this);
    for (int i = 0; i < numValues; ++i) {
        const double v = value(samples_);
        if (IsVertical())
            AddPointXY(i, v);
        else
            AddPointXY(v, i);
    }
}

// ---- the two classes

TBarSeries::TBarSeries()
{
    Gradient().SetDirection(gdTopBottom);
    YValues().SetName(QStringLiteral("Bar"));
}

bool TBarSeries::IsKindOfSelf(const TChartSeries& other) const
{
    return dynamic_cast<const TBarSeries*>(&other) != nullptr;
}

std::unique_ptr<TCustomBarSeries> TBarSeries::NewOfSameClass() const
{
    return std::make_unique<TBarSeries>();
}

bool TBarSeries::MoreSameZOrder() const
{
    return MultiBar() != mbSideAll && TCustomBarSeries::MoreSameZOrder();
}

THorizBarSeries::THorizBarSeries()
{
    SetHorizontal();
    XValues().SetOrder(loNone);
    YValues().SetOrder(loAscending);
    XValues().SetName(QStringLiteral("Bar"));
    Gradient().SetDirection(gdLeftRight);
}

bool THorizBarSeries::IsKindOfSelf(const TChartSeries& other) const
{
    return dynamic_cast<const THorizBarSeries*>(&other) != nullptr;
}

std::unique_ptr<TCustomBarSeries> THorizBarSeries::NewOfSameClass() const
{
    return std::make_unique<THorizBarSeries>();
}
