// The chart control: its parts, colours, walls and text blocks. The mouse is in ChartMouse.cpp.
#include "chart/series/Chart.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesRoutines.h"
#include "chart/series/ColorPalettes.h"

#include <QVariant>
#include <cstdlib>

TCustomChart::TCustomChart(QWidget* parent) : TCustomAxisPanel(parent)
{
    SetRepaintOnChange(false);
    title_ = std::make_unique<TChartTitle>(this, true);
    scrollMouseButton_ = mbRight;
    subTitle_ = std::make_unique<TChartTitle>(this, true);
    foot_ = std::make_unique<TChartFootTitle>(this);
    subFoot_ = std::make_unique<TChartFootTitle>(this);
    walls_ = std::make_unique<TChartWalls>(this);
    legend_ = std::make_unique<TChartLegend>(this);
    unzoomed_ = true;
    SetRepaintOnChange(true);
}

TCustomChart::~TCustomChart()
{
    SetRepaintOnChange(false);
    if (watchedWindow_)
        watchedWindow_->removeEventFilter(this);
}

// ---- colours

TColor TCustomChart::BackColor() const
{
    const TChartBackWall& back = walls_->Back();
    return back.Transparent() ? Color() : back.FillColor();
}

void TCustomChart::SetBackColor(TColor value)
{
    walls_->Back().SetColor(value);
    if (parentWidget() && !IsLoading())
        walls_->Back().Brush().SetStyle(bsSolid);
}

// Stored first: the palette routine sets the index of the chart it colours, and finds it set.
void TCustomChart::SetColorPaletteIndex(int value)
{
    if (colorPaletteIndex_ == value)
        return;
    colorPaletteIndex_ = value;
    ::SetColorPalette(*this, value);
}

bool TCustomChart::IsFreeSeriesColor(TColor color, bool checkBackground, const TChartSeries* skip)
{
    for (int i = 0; i < SeriesCount(); ++i) {
        const TChartSeries* series = ChartSeries(i);
        if (series && series != skip && series->SeriesColor() == color)
            return false;
    }
    return !checkBackground || (color != Color() && color != walls_->Back().FillColor());
}

TChartSeries* TCustomChart::GetASeries() const
{
    for (int i = 0; i < SeriesCount(); ++i)
        if (TChartSeries* series = ChartSeries(i); series && series->Active())
            return series;
    return nullptr;
}

bool TCustomChart::AnySeriesUsesAxes() const
{
    bool anyActive = false;
    for (int i = 0; i < SeriesCount(); ++i) {
        TChartSeries* series = ChartSeries(i);
        if (!series || !series->Active())
            continue;
        anyActive = true;
        if (series->UseAxis())
            return true;
    }
    return !anyActive;
}

// ---- legend

QString TCustomChart::FormattedLegendText(TCustomChartSeries& series, int valueIndex)
{
    auto* chartSeries = dynamic_cast<TChartSeries*>(&series);
    if (!chartSeries)
        return {};
    QString text = legend_->ValueText(*chartSeries, valueIndex);
    if (OnGetLegendText)
        OnGetLegendText(this, legend_->CalcLegendStyle(), valueIndex, text);
    return text;
}

void TCustomChart::DrawLegendRect(const TRect& rect)
{
    TLegendSymbol& symbol = legend_->Symbol();
    if (symbol.Gradient().Visible())
        symbol.Paint(Canvas(), rect, Canvas().Brush().Color());
    else
        TCustomAxisPanel::DrawLegendRect(rect);
}

void TCustomChart::SeriesFreeing(TCustomChartSeries& series)
{
    if (legend_)
        legend_->SeriesFreeing(&series);
    emit SeriesAboutToBeFreed(&series);
}

// ---- walls

int TCustomChart::GetWallSize(const TChartAxis& axis) const
{
    if (!const_cast<TCustomChart*>(this)->View3D() || !View3DWalls())
        return 0;
    const TCustomChartWall* wall = &walls_->Back();
    if (&axis == LeftAxis())
        wall = &walls_->Left();
    else if (&axis == BottomAxis())
        wall = &walls_->Bottom();
    else if (&axis == RightAxis())
        wall = &walls_->Right();
    return wall->Visible() ? wall->Size() : 0;
}

void TCustomChart::CalcWallsRect()
{
    CalcSize3DWalls();
    TView3DOptions& options = View3DOptions();
    if (View3D() && options.Orthogonal() && !CustomChartRect) {
        const int back = AnySeriesUsesAxes() && GetASeries() ? walls_->Back().Size() : 0;
        const int width3D = std::abs(Width3D) + back;
        if (options.OrthoAngle() < 91) {
            ChartRect.Right -= width3D;
            if (walls_->Right().Visible())
                ChartRect.Right -= walls_->Right().Size() + 1;
        } else {
            ChartRect.Left += width3D;
            if (walls_->Left().Visible())
                ChartRect.Left += walls_->Left().Size() + 1;
        }
        ChartRect.Top += back + std::abs(Height3D);
    }
    RecalcChartBounds();
}

// The canvas culling test on that side of the chart box, front at depth 0, back behind the
// series and the back wall.
bool TCustomChart::SideFacesViewer(bool left)
{
    TPlotCanvas3D& canvas = Canvas();
    if (canvas.GetSupportsFeature())
        return left;
    const int x = left ? ChartRect.Left : ChartRect.Right;
    const int back = Width3D + walls_->Back().Size();
    const TFourPoints corners = {canvas.ProjectToScreen(x, ChartRect.Top, 0), canvas.ProjectToScreen(x, ChartRect.Top, back),
                                 canvas.ProjectToScreen(x, ChartRect.Bottom, back),
                                 canvas.ProjectToScreen(x, ChartRect.Bottom, 0)};
    const bool leftFacing = !IsBackFaceQuad(corners);
    if (left)
        return leftFacing;
    // Only one side faces the viewer: the right one exactly when the left one does not.
    const TFourPoints leftCorners = {
        canvas.ProjectToScreen(ChartRect.Left, ChartRect.Top, 0), canvas.ProjectToScreen(ChartRect.Left, ChartRect.Top, back),
        canvas.ProjectToScreen(ChartRect.Left, ChartRect.Bottom, back),
        canvas.ProjectToScreen(ChartRect.Left, ChartRect.Bottom, 0)};
    return IsBackFaceQuad(leftCorners);
}

void TCustomChart::DrawWalls()
{
    if (!AnySeriesUsesAxes())
        return;
    const bool view3D = View3D();
    const bool walls3D = view3D && View3DWalls();
    const int leftSize = walls_->Left().Visible() && !walls_->Left().AutoHide() && SideFacesViewer(true)
                             ? walls_->Left().Size()
                             : 0;
    if (walls3D && walls_->Right().Visible() && !SideFacesViewer(false))
        DrawWall3D(*this, walls_->Right(), kRightWall, 0);
    if (View3DWalls() && walls_->Back().Visible() && !IsViewMirrored(0)) {
        if (view3D)
            DrawWall3D(*this, walls_->Back(), kBackWall, 0);
        else
            DrawBackWall2D(*this, walls_->Back(), 0);
    }
    if (!walls3D)
        return;
    if (walls_->Left().Visible() && !SideFacesViewer(true))
        DrawWall3D(*this, walls_->Left(), kLeftWall, 0);
    if (walls_->Bottom().Visible())
        DrawWall3D(*this, walls_->Bottom(), kBottomWall, leftSize);
    if (IsViewMirrored(0)) {
        if (LeftAxis()->ComputedVisible())
            LeftAxis()->Draw(false);
        if (BottomAxis()->ComputedVisible())
            BottomAxis()->Draw(false);
    }
}

// ---- titles and legend

void TCustomChart::DrawTitles(bool customPositioned)
{
    for (TChartTitle* title : {title_.get(), subTitle_.get(), static_cast<TChartTitle*>(foot_.get()),
                               static_cast<TChartTitle*>(subFoot_.get())})
        if (title->CustomPosition() == customPositioned)
            title->DrawTitle(*this);
}

void TCustomChart::DrawTitlesAndLegend(bool beforeSeries)
{
    TPlotCanvas3D& canvas = Canvas();
    canvas.BeginFlatSection();
    if (beforeSeries) {
        const bool legendInPlace = !legend_->CustomPosition() && legend_->ShouldDraw();
        if (legendInPlace && legend_->IsVertical()) {
            legend_->Draw();
            DrawTitles(false);
        } else {
            DrawTitles(false);
            if (legendInPlace)
                legend_->Draw();
        }
        canvas.EndFlatSection();
        return;
    }
    if (legend_->CustomPosition() && legend_->ShouldDraw())
        legend_->Draw();
    DrawTitles(true);
    canvas.EndFlatSection();
    if (!View3D() || !AnySeriesUsesAxes() || !GetASeries())
        return;
    // What stands in front of the series in 3D is drawn over them.
    auto frontWall = [this](TCustomChartWall& wall) { return View3DWalls() && wall.Visible() && !wall.AutoHide(); };
    if (SideFacesViewer(false)) {
        if (frontWall(walls_->Right()))
            DrawWall3D(*this, walls_->Right(), kRightWall, 0);
        if (IsAxisVisible(*RightAxis()))
            RightAxis()->Draw(false);
    }
    if (SideFacesViewer(true)) {
        if (frontWall(walls_->Left()))
            DrawWall3D(*this, walls_->Left(), kLeftWall, 0);
        if (IsAxisVisible(*LeftAxis()))
            LeftAxis()->Draw(false);
    }
    if (IsViewMirrored(0)) {
        if (IsAxisVisible(*TopAxis()))
            TopAxis()->Draw(false);
        if (IsAxisVisible(*BottomAxis()))
            BottomAxis()->Draw(false);
        if (frontWall(walls_->Back()))
            DrawWall3D(*this, walls_->Back(), kBackWall, 0);
    }
}

// ---- copying and streaming

void TCustomChart::Assign(const TCustomChart& source)
{
    if (&source == this)
        return;
    colorPaletteIndex_ = source.colorPaletteIndex_;
    foot_->Assign(*source.foot_);
    legend_->Assign(*source.legend_);
    scrollMouseButton_ = source.scrollMouseButton_;
    subFoot_->Assign(*source.subFoot_);
    subTitle_->Assign(*source.subTitle_);
    title_->Assign(*source.title_);
    walls_->Assign(*source.walls_);
    TCustomAxisPanel::Assign(source);
}

bool TCustomChart::ReadLegacyProperty(const QString& name, const QVariant& value)
{
    if (name.compare(QLatin1String("BackColor"), Qt::CaseInsensitive) == 0) {
        TColor color = 0;
        if (value.typeId() == QMetaType::QString) {
            if (!IdentToPlotColor(value.toString(), color))
                return false;
        } else {
            bool ok = false;
            color = static_cast<TColor>(value.toLongLong(&ok));
            if (!ok)
                return false;
        }
        SetBackColor(color);
        return true;
    }
    if (name.compare(QLatin1String("ColorPaletteIndex"), Qt::CaseInsensitive) == 0) {
        bool ok = false;
        const int index = value.toInt(&ok);
        if (!ok)
            return false;
        SetColorPaletteIndex(index);
        return true;
    }
    return TCustomAxisPanel::ReadLegacyProperty(name, value);
}
