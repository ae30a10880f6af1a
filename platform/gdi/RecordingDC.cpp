#include "platform/gdi/RecordingDC.h"

#include "platform/gdi/RasterDC.h"

#include <algorithm>
#include <cmath>

namespace gdi {

int Metafile::Count(MetaOp op) const
{
    return static_cast<int>(std::count_if(Records.begin(), Records.end(),
                                          [op](const MetaRecord& r) { return r.op == op; }));
}

RecordingDC::RecordingDC(int32_t width, int32_t height, bool enhanced) : measure_(std::make_unique<RasterDC>(1, 1))
{
    meta_.Width = std::max(1, width);
    meta_.Height = std::max(1, height);
    meta_.Enhanced = enhanced;
    measure_->SelectFont(State().font);
}

RecordingDC::~RecordingDC() = default;

Metafile RecordingDC::TakePicture()
{
    lineRun_.reset();
    Metafile out = std::move(meta_);
    meta_ = Metafile{};
    meta_.Width = out.Width;
    meta_.Height = out.Height;
    meta_.Enhanced = out.Enhanced;
    return out;
}

MetaRecord& RecordingDC::Add(MetaOp op, std::initializer_list<int32_t> args)
{
    lineRun_.reset();
    MetaRecord r;
    r.op = op;
    int i = 0;
    for (int32_t v : args)
        r.a[i++] = v;
    meta_.Records.push_back(std::move(r));
    return meta_.Records.back();
}

// ---- state

void RecordingDC::StateChanged(DcField field)
{
    const DcState& s = State();
    switch (field) {
    case DcField::Pen:
        meta_.Pens.push_back(s.pen);
        Add(MetaOp::SelectPen).index = static_cast<int32_t>(meta_.Pens.size() - 1);
        break;
    case DcField::Brush:
        meta_.Brushes.push_back(s.brush);
        Add(MetaOp::SelectBrush).index = static_cast<int32_t>(meta_.Brushes.size() - 1);
        break;
    case DcField::Font:
        measure_->SelectFont(s.font);
        meta_.Fonts.push_back(s.font);
        Add(MetaOp::SelectFont).index = static_cast<int32_t>(meta_.Fonts.size() - 1);
        break;
    case DcField::CharExtra:
        measure_->SetTextCharacterExtra(s.charExtra);
        Add(MetaOp::SetTextCharExtra, {s.charExtra});
        break;
    case DcField::Rop2: Add(MetaOp::SetROP2, {s.rop2}); break;
    case DcField::BkMode: Add(MetaOp::SetBkMode, {s.bkMode}); break;
    case DcField::BkColor: Add(MetaOp::SetBkColor, {static_cast<int32_t>(s.bkColor)}); break;
    case DcField::TextColor: Add(MetaOp::SetTextColor, {static_cast<int32_t>(s.textColor)}); break;
    case DcField::TextAlign: Add(MetaOp::SetTextAlign, {static_cast<int32_t>(s.textAlign)}); break;
    case DcField::FillMode: Add(MetaOp::SetPolyFillMode, {s.fillMode}); break;
    case DcField::GraphicsMode: Add(MetaOp::SetGraphicsMode, {s.graphicsMode}); break;
    case DcField::ArcDirection: Add(MetaOp::SetArcDirection, {s.arcDirection}); break;
    case DcField::Position:
        // A move to where a run of lines stands keeps the run going.
        if (lineRun_ && lineRun_->Path.back() == s.pos)
            break;
        Add(MetaOp::MoveTo, {s.pos.x, s.pos.y});
        break;
    case DcField::Clip: {
        MetaRecord& r = Add(MetaOp::SelectClip);
        if (HasClip()) {
            meta_.Regions.push_back(ClipRegion());
            r.index = static_cast<int32_t>(meta_.Regions.size() - 1);
        }
        break;
    }
    }
}

// ---- drawing

bool RecordingDC::LinesReduce() const
{
    return reduceToColumns_ && !InPath() && PenPaintsUnion(State().pen, State().rop2);
}

void RecordingDC::LineTo(int32_t x, int32_t y)
{
    const Point from = State().pos;
    MovedTo(Point{x, y});
    if (!LinesReduce()) {
        Add(MetaOp::LineTo, {x, y});
        return;
    }
    if (!lineRun_)
        lineRun_.emplace(from, meta_.Records.size());
    LineRun& run = *lineRun_;
    const size_t changed = run.Columns.Add(run.Path, Point{x, y});
    meta_.Records.resize(run.FirstRecord + changed - 1);
    for (size_t i = changed; i < run.Path.size(); ++i) {
        MetaRecord r;
        r.op = MetaOp::LineTo;
        r.a[0] = run.Path[i].x;
        r.a[1] = run.Path[i].y;
        meta_.Records.push_back(std::move(r));
    }
}

void RecordingDC::Polyline(const Point* points, int count)
{
    if (!points || count <= 0)
        return;
    std::vector<Point>& path = Add(MetaOp::Polyline).points;
    if (!LinesReduce()) {
        path.assign(points, points + count);
        return;
    }
    path.push_back(points[0]);
    ColumnPath columns(path);
    for (int i = 1; i < count; ++i)
        columns.Add(path, points[i]);
}

void RecordingDC::Polygon(const Point* points, int count)
{
    if (!points || count <= 0)
        return;
    Add(MetaOp::Polygon).points.assign(points, points + count);
}

void RecordingDC::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    Add(MetaOp::Rectangle, {left, top, right, bottom});
}

void RecordingDC::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    Add(MetaOp::Ellipse, {left, top, right, bottom});
}

void RecordingDC::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h)
{
    Add(MetaOp::RoundRect, {left, top, right, bottom, w, h});
}

void RecordingDC::ArcFigure(ArcKind kind, const Rect& box, Point start, Point end)
{
    const MetaOp op = kind == ArcKind::Pie ? MetaOp::Pie : kind == ArcKind::Chord ? MetaOp::Chord : MetaOp::Arc;
    Add(op, {box.left, box.top, box.right, box.bottom, start.x, start.y, end.x, end.y});
}

void RecordingDC::FillRect(const Rect& rect, const Brush& brush)
{
    // A rectangle given the wrong way round is filled the right way round.
    const Rect r{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
                 std::max(rect.top, rect.bottom)};
    if (r.right == r.left || r.bottom == r.top || brush.style == BS_NULL)
        return;
    meta_.Brushes.push_back(brush);
    Add(MetaOp::FillRect, {r.left, r.top, r.right, r.bottom}).index = static_cast<int32_t>(meta_.Brushes.size() - 1);
}

void RecordingDC::PatBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop)
{
    if (w == 0 || h == 0)
        return;
    // A negative extent runs back from the start: the start pixel is filled, the far edge is not.
    if (w < 0) {
        x += w + 1;
        w = -w;
    }
    if (h < 0) {
        y += h + 1;
        h = -h;
    }
    Add(MetaOp::PatBlt, {x, y, w, h}).rop = rop;
}

COLORREF RecordingDC::SetPixel(int32_t x, int32_t y, COLORREF color)
{
    Add(MetaOp::SetPixel, {x, y, static_cast<int32_t>(color & 0xFFFFFF)});
    return color & 0xFFFFFF;
}

COLORREF RecordingDC::GetPixel(int32_t, int32_t) const { return CLR_INVALID; }

// ---- text

void RecordingDC::TextOut(int32_t x, int32_t y, const QString& text)
{
    const DcState& s = State();
    if ((s.textAlign & TA_UPDATECP) && (s.textAlign & TA_HORIZONTAL_MASK) == TA_LEFT)
        MovedTo(Point{s.pos.x + GetTextExtentPoint(text).cx, s.pos.y});
    Add(MetaOp::TextOut, {x, y}).text = text;
}

Size RecordingDC::GetTextExtentPoint(const QString& text) const { return measure_->GetTextExtentPoint(text); }

TextMetric RecordingDC::GetTextMetrics() const { return measure_->GetTextMetrics(); }

// ---- paths

void RecordingDC::PathStep(PathCall call)
{
    switch (call) {
    case PathCall::Begin: Add(MetaOp::BeginPath); break;
    case PathCall::End: Add(MetaOp::EndPath); break;
    case PathCall::Abort: Add(MetaOp::AbortPath); break;
    case PathCall::CloseFigure: Add(MetaOp::CloseFigure); break;
    case PathCall::Stroke: Add(MetaOp::StrokePath); break;
    case PathCall::Fill: Add(MetaOp::FillPath); break;
    case PathCall::StrokeAndFill: Add(MetaOp::StrokeAndFillPath); break;
    }
}

bool RecordingDC::ClipToPath(int mode)
{
    Add(MetaOp::SelectClipPath, {mode});
    return true;
}

// ---- block transfers: only the part of the source that is used is kept

void RecordingDC::BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const QImage& source, int32_t sx, int32_t sy,
                         uint32_t rop)
{
    if (source.isNull() || w <= 0 || h <= 0)
        return;
    StretchBlt(Rect{x, y, x + w, y + h}, source, Rect{sx, sy, sx + w, sy + h}, rop);
}

void RecordingDC::StretchBlt(const Rect& dest, const QImage& source, const Rect& src, uint32_t rop)
{
    if (source.isNull() || dest.right == dest.left || dest.bottom == dest.top)
        return;
    const QRect wanted(src.left, src.top, src.right - src.left, src.bottom - src.top);
    const QRect used = wanted.intersected(source.rect());
    if (used.isEmpty())
        return;
    // Shrink the destination by the part of the source rectangle that lay outside the image.
    const double kx = static_cast<double>(dest.right - dest.left) / wanted.width();
    const double ky = static_cast<double>(dest.bottom - dest.top) / wanted.height();
    const Rect d{dest.left + static_cast<int32_t>(std::lround((used.left() - wanted.left()) * kx)),
                 dest.top + static_cast<int32_t>(std::lround((used.top() - wanted.top()) * ky)),
                 dest.left + static_cast<int32_t>(std::lround((used.right() + 1 - wanted.left()) * kx)),
                 dest.top + static_cast<int32_t>(std::lround((used.bottom() + 1 - wanted.top()) * ky))};
    meta_.Images.push_back(source.copy(used).convertToFormat(QImage::Format_RGB32));
    MetaRecord& r = Add(MetaOp::StretchBlt, {d.left, d.top, d.right, d.bottom, 0, 0, used.width(), used.height()});
    r.index = static_cast<int32_t>(meta_.Images.size() - 1);
    r.rop = rop;
}

} // namespace gdi
