#include "platform/gdi/ColumnPath.h"

namespace gdi {

ColumnPath::ColumnPath(const std::vector<Point>& path)
    : columnEnd_(path.size())
    , x_(path.back().x)
    , minY_(path.back().y)
    , maxY_(path.back().y)
    , lastY_(path.back().y)
{
}

size_t ColumnPath::Add(std::vector<Point>& path, Point to)
{
    if (to.x != x_) {
        path.push_back(to);
        columnEnd_ = path.size();
        x_ = to.x;
        minY_ = maxY_ = lastY_ = to.y;
        minSeq_ = maxSeq_ = seq_ = 0;
        return columnEnd_ - 1;
    }
    ++seq_;
    if (to.y < minY_) {
        minY_ = to.y;
        minSeq_ = seq_;
    }
    if (to.y > maxY_) {
        maxY_ = to.y;
        maxSeq_ = seq_;
    }
    lastY_ = to.y;
    // The column's points after its first are written again as they now stand.
    path.resize(columnEnd_);
    const bool minFirst = minSeq_ > 0 && (maxSeq_ == 0 || minSeq_ < maxSeq_);
    if (minFirst)
        Emit(path, minY_);
    if (maxSeq_ > 0)
        Emit(path, maxY_);
    if (minSeq_ > 0 && !minFirst)
        Emit(path, minY_);
    Emit(path, lastY_);
    return columnEnd_;
}

void ColumnPath::Emit(std::vector<Point>& path, int32_t y) const
{
    if (path.back().x != x_ || path.back().y != y)
        path.push_back(Point{x_, y});
}

bool PenPaintsUnion(const Pen& pen, int rop2)
{
    if (rop2 != R2_COPYPEN)
        return false;
    const uint32_t kind = pen.style & PS_STYLE_MASK;
    if (kind != PS_SOLID && kind != PS_INSIDEFRAME)
        return false;
    if (pen.width <= 1)
        return true;
    return (pen.style & PS_ENDCAP_MASK) == PS_ENDCAP_ROUND && (pen.style & PS_JOIN_MASK) == PS_JOIN_ROUND;
}

} // namespace gdi
