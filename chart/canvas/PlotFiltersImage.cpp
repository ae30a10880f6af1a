#include "chart/canvas/PlotFiltersImage.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotFiltersResample.h"

#include <QPainter>
#include <QPen>

TImageFiltered::TImageFiltered(QWidget* parent)
    : QWidget(parent), picture_([this] { update(); })
{
}

QImage TImageFiltered::FilteredImage(const QSize& target) const
{
    const QImage& graphic = picture_.Graphic();
    if (graphic.isNull())
        return {};
    QImage bitmap = graphic.convertToFormat(QImage::Format_RGB32);
    if (target.isValid() && !target.isEmpty() && target != bitmap.size()) {
        QImage resized = NewFilterBitmap(target.width(), target.height());
        if (!resized.isNull()) {
            if (!SmoothStretch(bitmap, resized))
                StretchNearest(bitmap, bitmap.rect(), resized, resized.rect());
            bitmap = resized;
        }
    }
    filters_.ApplyToBitmap(bitmap);
    return bitmap;
}

void TImageFiltered::paintEvent(QPaintEvent* event)
{
    (void)event;
    try {
        QPainter painter(this);
        const QSize target = Stretch ? size() : picture_.Graphic().size();
        const QImage image = FilteredImage(target);
        if (!image.isNull())
            painter.drawImage(0, 0, image);
        if (DesignTime) {
            QPen pen(Qt::black);
            pen.setStyle(Qt::DashLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    } catch (const std::exception&) {
        // A failed paint leaves the control blank rather than ending the program.
        ReportChartError("TImageFiltered::paintEvent");
    }
}
