#ifndef ZENDRIK_CHART_CANVAS_PLOTFILTERSIMAGE_H
#define ZENDRIK_CHART_CANVAS_PLOTFILTERSIMAGE_H

#include "chart/canvas/PlotFilters.h"

#include <QWidget>

// An image control that shows its picture through its filters.
class TImageFiltered : public QWidget {
public:
    explicit TImageFiltered(QWidget* parent = nullptr);

    TPlotPicture& Picture() { return picture_; }
    TFilterItems& Filters() { return filters_; }

    // Stretch the picture over the whole control (resampled) instead of showing it at its size.
    bool Stretch = false;
    // Design mode draws a dashed frame around the control.
    bool DesignTime = false;

    // The bitmap a paint shows: the picture resampled to the target size when that differs,
    // then filtered. Null without a picture.
    QImage FilteredImage(const QSize& target) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPlotPicture picture_;
    TFilterItems filters_;
};

#endif
