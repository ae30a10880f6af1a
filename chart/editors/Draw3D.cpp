#include "chart/editors/Draw3D.h"

TDraw3D::TDraw3D(QWidget* parent) : TCustomPlotPanelExtended(parent) {}

void TDraw3D::InternalDraw(const TRect& userRect)
{
    // What the handlers change must not ask for another drawing while this one runs; the switch
    // is back afterwards, also when a handler throws.
    struct RepaintSuspended {
        TDraw3D& panel;
        bool was;
        ~RepaintSuspended() { panel.SetRepaintOnChange(was); }
    } suspended{*this, RepaintOnChange()};
    SetRepaintOnChange(false);

    DrawBackImageAndShadow(userRect);
    if (OnPaint)
        OnPaint(Canvas(), userRect);
    if (BackImageInside())
        BackImage().Draw(*this, ChartRect, 0);
    if (OnAfterDraw)
        OnAfterDraw();
}
