#include "immunity/GeneratorLayout.h"

#include <algorithm>

int ScaleRampX(int width, int percent)
{
    return width / 100 * percent;
}

int ScaleRampY(int height, int percent)
{
    return height - height / 100 * percent;
}

int GeneratorXPercentToPixel(const QRect& diagram, int percent)
{
    return diagram.left() + ScaleRampX(diagram.width(), percent);
}

int GeneratorYPercentToPixel(const QRect& diagram, int percent)
{
    return diagram.top() + ScaleRampY(diagram.height(), percent);
}

const std::array<RampFieldPlace, 11>& RampFieldPlaces()
{
    static const std::array<RampFieldPlace, 11> places = {{
        {RampField::T0, 22, 15, true},
        {RampField::StepsUp, 20, 55, true},
        {RampField::T1, 25, 75, true},
        {RampField::T2, 55, 75, true},
        {RampField::High, 30, 100, false},
        {RampField::HighField, 46, 100, false},
        {RampField::T3, 65, 75, false},
        {RampField::StepsDown, 70, 55, false},
        {RampField::Low, 30, 15, false},
        {RampField::LowField, 48, 15, false},
        {RampField::T4, 80, 15, false},
    }};
    return places;
}

QPoint RampFieldPosition(const QRect& diagram, const RampFieldPlace& place, int fieldWidth)
{
    const int x = GeneratorXPercentToPixel(diagram, place.XPercent);
    return {place.EndsAtX ? x - fieldWidth : x, GeneratorYPercentToPixel(diagram, place.YPercent)};
}

int FloatingBoxScreen(int rememberedLeft, int mainWindowWidth, int screenCount)
{
    return (rememberedLeft < 0 || rememberedLeft > mainWindowWidth) && screenCount > 1 ? 1 : 0;
}

QPoint FloatingBoxPosition(QPoint remembered, QSize box, const QRect& screen)
{
    const int x = std::max(screen.left(), std::min(remembered.x(), screen.left() + screen.width() - box.width()));
    const int y = std::max(screen.top(), std::min(remembered.y(), screen.top() + screen.height() - box.height()));
    return {x, y};
}

namespace {

struct BoxFlow {
    std::vector<QPoint> places;
    QRect bounds;
};

BoxFlow FlowBoxes(QPoint origin, const std::vector<QSize>& boxes, int right, int gap)
{
    BoxFlow flow;
    int x = origin.x();
    int y = origin.y();
    int rowHeight = 0;
    for (const QSize& box : boxes) {
        if (x > origin.x() && x + box.width() > right) {
            x = origin.x();
            y += rowHeight + gap;
            rowHeight = 0;
        }
        flow.places.emplace_back(x, y);
        flow.bounds |= QRect(QPoint(x, y), box);
        x += box.width() + gap;
        rowHeight = std::max(rowHeight, box.height());
    }
    return flow;
}

} // namespace

std::vector<QPoint> FirstFloatingBoxPlaces(QPoint anchor, const std::vector<QSize>& boxes, const QRect& screen, int gap,
                                           const QRect& keepFree)
{
    const int right = screen.left() + screen.width();
    const QPoint start(std::clamp(anchor.x(), screen.left(), right - 1),
                       std::clamp(anchor.y(), screen.top(), screen.top() + screen.height() - 1));
    // A group that would cover the kept area is tried again from further left and higher up.
    for (const QPoint origin : {start, QPoint(screen.left(), start.y()), screen.topLeft()}) {
        BoxFlow flow = FlowBoxes(origin, boxes, right, gap);
        if (flow.bounds.width() > screen.width() || flow.bounds.height() > screen.height())
            continue;
        const QPoint shift = FloatingBoxPosition(flow.bounds.topLeft(), flow.bounds.size(), screen) - flow.bounds.topLeft();
        bool covers = false;
        for (size_t i = 0; i < boxes.size(); ++i) {
            flow.places[i] += shift;
            covers = covers || QRect(flow.places[i], boxes[i]).intersects(keepFree);
        }
        if (!covers)
            return flow.places;
    }
    BoxFlow flow = FlowBoxes(screen.topLeft(), boxes, right, gap);
    for (size_t i = 0; i < boxes.size(); ++i)
        flow.places[i] = FloatingBoxPosition(flow.places[i], boxes[i], screen);
    return flow.places;
}
