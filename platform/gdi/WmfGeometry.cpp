#include "platform/gdi/WmfGeometry.h"

namespace gdi {

ClipBox WmfFrameBox(int32_t width, int32_t height, int32_t margin)
{
    return wmf::C16(VisibleBox(width, height, std::nullopt, std::max(0, margin)));
}

std::vector<std::vector<Point>> SplitPolylineForWmf(const Point* points, int count, const ClipBox& box)
{
    return SplitPolyline(points, count, box, kWmfMaxPolyPoints);
}

std::vector<Point> ClipPolygonForWmf(const Point* points, int count, const ClipBox& box)
{
    std::vector<Point> out = ClipPolygon(points, count, box);
    if (out.size() > static_cast<size_t>(kWmfMaxPolyPoints)) {
        std::vector<Point> thin;
        thin.reserve(kWmfMaxPolyPoints);
        const double step = static_cast<double>(out.size()) / kWmfMaxPolyPoints;
        for (int i = 0; i < kWmfMaxPolyPoints; ++i)
            thin.push_back(out[static_cast<size_t>(i * step)]);
        out = std::move(thin);
    }
    return out;
}

} // namespace gdi
