#include "forms/RampDiagram.h"

#include "immunity/GeneratorLayout.h"

#include <QPainter>
#include <QPolygon>

RampDiagram::RampDiagram(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setMinimumSize(300, 160);
}

void RampDiagram::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(Qt::red, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    QPolygon shape;
    for (const QPoint& percent : kRampShapePercent)
        shape << QPoint(ScaleRampX(width(), percent.x()), ScaleRampY(height(), percent.y()));
    p.setPen(QPen(Qt::red, 3));
    p.drawPolyline(shape);
}

void RampDiagram::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit resized();
}
