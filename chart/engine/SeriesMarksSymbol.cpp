#include "chart/engine/SeriesMarksSymbol.h"

#include "chart/canvas/PlotCanvas.h"

TSeriesMarksSymbol::TSeriesMarksSymbol(PlotShapeOwner* parentChart) : TPlotCustomShape(parentChart)
{
    SetVisible(false);
    SetDefaultTransparent(false);
    SetTransparent(false);
    Shadow().InitDefaults(clBlack, 1);
}

void DrawPictureAt(TPlotCanvas& canvas, int x, int y, const TPicture& picture)
{
    if (!picture.HasGraphic())
        return;
    const QImage bitmap = picture.Graphic().convertToFormat(QImage::Format_RGB32);
    canvas.Draw(x, y, bitmap);
}
