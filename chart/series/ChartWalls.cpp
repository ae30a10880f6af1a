#include "chart/series/ChartWalls.h"

#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"

#include <array>
#include <cmath>

TCustomChartWall::TCustomChartWall(PlotShapeOwner* chart, TColor defaultColor)
    : TPlotCustomShape(chart), defaultColor_(defaultColor)
{
    SetParentChart(nullptr);
    SetColor(defaultColor);
    SetParentChart(chart);
}

void TCustomChartWall::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (&source == this)
        return;
    if (const auto* wall = dynamic_cast<const TCustomChartWall*>(&source)) {
        autoHide_ = wall->autoHide_;
        dark3D_ = wall->dark3D_;
        endPosition_ = wall->endPosition_;
        size_ = wall->size_;
        startPosition_ = wall->startPosition_;
    }
    TPlotCustomShape::Assign(source);
}

TChartBackWall::TChartBackWall(PlotShapeOwner* chart) : TChartWall(chart, 0xC0C0C0)
{
    SetParentChart(nullptr);
    SetTransparent(true);
    SetDefaultTransparent(true);
    Shadow().SetVisible(false);
    Shadow().SetDefaultVisible(false);
    Shadow().SetColor(0x808080);
    SetParentChart(chart);
}

TChartRightWall::TChartRightWall(PlotShapeOwner* chart) : TChartWall(chart, 0xC0C0C0)
{
    SetParentChart(nullptr);
    SetVisible(false);
    SetParentChart(chart);
}

TChartWalls::TChartWalls(PlotShapeOwner* chart)
    : back_(std::make_unique<TChartBackWall>(chart)), left_(std::make_unique<TChartLeftWall>(chart)),
      bottom_(std::make_unique<TChartBottomWall>(chart)), right_(std::make_unique<TChartRightWall>(chart))
{
}

TChartWalls::~TChartWalls() = default;

void TChartWalls::Assign(const TChartWalls& source)
{
    if (&source == this)
        return;
    back_->Assign(*source.back_);
    left_->Assign(*source.left_);
    bottom_->Assign(*source.bottom_);
    right_->Assign(*source.right_);
}

// ---- drawing

namespace {

int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

void SelectWallBrushAndPen(TCustomAxisPanel& chart, TCustomChartWall& wall)
{
    TPlotCanvas3D& canvas = chart.Canvas();
    canvas.AssignVisiblePen(wall.Pen());
    if (wall.Transparent())
        canvas.Brush().SetStyle(bsClear);
    else
        chart.SetBrushCanvas(wall.FillColor(), wall.Brush(), wall.Brush().BackColor());
}

// A face by its corners, clockwise as seen from outside the wall's box.
using Face3D = std::array<TPoint3D, 4>;

// The two large faces of a wall's box, the one towards the plot first; a plane wall has the
// first only.
struct WallFaceList {
    Face3D Faces[2];
    int Count = 1;
};

WallFaceList WallFaces(const TRect& r, const TCustomChartWall& wall, int kind, int depth, int leftWallSize)
{
    const int size = wall.Size();
    WallFaceList list;
    list.Count = size < 1 ? 1 : 2;
    switch (kind) {
    case kBackWall: {
        const int l = r.Left, rt = r.Right + 1, t = r.Top, b = r.Bottom + 1, z0 = depth, z1 = depth + size;
        list.Faces[0] = {TPoint3D{l, b, z0}, {l, t, z0}, {rt, t, z0}, {rt, b, z0}};
        list.Faces[1] = {TPoint3D{rt, b, z1}, {rt, t, z1}, {l, t, z1}, {l, b, z1}};
        break;
    }
    case kBottomWall: {
        const int l = r.Left - leftWallSize, rt = r.Right + 1, t = r.Bottom, b = r.Bottom + size;
        const int z0 = RoundEven(depth * wall.StartPosition() / 100.0);
        const int z1 = RoundEven(depth * wall.EndPosition() / 100.0);
        list.Faces[0] = {TPoint3D{l, t, z0}, {l, t, z1}, {rt, t, z1}, {rt, t, z0}};
        list.Faces[1] = {TPoint3D{rt, b, z0}, {rt, b, z1}, {l, b, z1}, {l, b, z0}};
        break;
    }
    default: {
        // Left and right: the face towards the plot is the inner side of the box.
        const bool left = kind == kLeftWall;
        const int inner = left ? r.Left : r.Right;
        const int outer = left ? r.Left - size : r.Right + size;
        const int t = r.Top, b = r.Bottom + 1;
        const Face3D atLeft = {TPoint3D{0, b, 0}, {0, b, depth}, {0, t, depth}, {0, t, 0}};
        const Face3D atRight = {TPoint3D{0, t, 0}, {0, t, depth}, {0, b, depth}, {0, b, 0}};
        // The inner face of the left wall is its box's right side and the other way round.
        Face3D innerFace = left ? atRight : atLeft;
        Face3D outerFace = left ? atLeft : atRight;
        for (TPoint3D& c : innerFace)
            c.X = inner;
        for (TPoint3D& c : outerFace)
            c.X = outer;
        list.Faces[0] = innerFace;
        list.Faces[1] = outerFace;
        break;
    }
    }
    return list;
}

// The gradient over the face of the wall that the viewer sees (on the screen bounds of the face,
// as the flat back wall lays it over its rectangle), outlined with the wall's pen.
void DrawWallGradient(TPlotCanvas3D& canvas, TCustomChartWall& wall, const WallFaceList& list)
{
    for (int i = 0; i < list.Count; ++i) {
        TFourPoints face;
        for (size_t k = 0; k < 4; ++k)
            face[k] = canvas.ProjectToScreen(list.Faces[i][k].X, list.Faces[i][k].Y, list.Faces[i][k].Z);
        // Clockwise from outside turns the other way round on the screen when the face looks
        // at the viewer; a plane has one face, seen from either side.
        const double ax = face[3].X - face[2].X, ay = face[3].Y - face[2].Y;
        const double bx = face[1].X - face[2].X, by = face[1].Y - face[2].Y;
        if (list.Count > 1 && ax * by - bx * ay <= 0)
            continue;
        wall.Gradient().DrawFourPoints(canvas, face);
        canvas.AssignVisiblePen(wall.Pen());
        canvas.Brush().SetStyle(bsClear);
        canvas.Polygon(TPointArray(face.begin(), face.end()), 3);
        return;
    }
}

} // namespace

TRect BackWallRect2D(const TRect& chartRect, int startPosition, int endPosition, int bottomWallSize)
{
    const int length = chartRect.Bottom - chartRect.Top;
    TRect r;
    r.Left = chartRect.Left;
    r.Right = chartRect.Right + 1;
    r.Top = chartRect.Top + RoundEven(length * startPosition / 100.0);
    r.Bottom = chartRect.Bottom + bottomWallSize - RoundEven(length * (100 - endPosition) / 100.0);
    if (endPosition == 100)
        ++r.Bottom;
    return r;
}

void DrawBackWall2D(TCustomAxisPanel& chart, TChartBackWall& wall, int bottomWallSize)
{
    TPlotCanvas3D& canvas = chart.Canvas();
    SelectWallBrushAndPen(chart, wall);
    const TRect r = BackWallRect2D(chart.ChartRect, wall.StartPosition(), wall.EndPosition(), bottomWallSize);
    std::unique_ptr<TPlotBlend> blend;
    if (wall.Transparency() > 0)
        blend = canvas.BeginBlending(r, wall.Transparency());
    if (wall.HasShadow() && wall.Shadow().Visible() && wall.Shadow().GetSize() != 0) {
        wall.Shadow().DrawRect(canvas, r);
        SelectWallBrushAndPen(chart, wall);
    }
    if (wall.HasGradient() && wall.Gradient().Visible() && !wall.Transparent()) {
        wall.Gradient().Draw(canvas, r, 0);
        canvas.Brush().SetStyle(bsClear);
    }
    canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    const int inset = wall.Pen().Visible() ? 1 : 0;
    const TRect inside{r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset};
    if (wall.HasPicture() && wall.Picture().HasGraphic())
        canvas.StretchDraw(inside, wall.Picture().FilteredGraphic());
    else if (chart.BackImageInside())
        chart.BackImage().Draw(chart, inside, 0);
    if (blend)
        canvas.EndBlending(std::move(blend));
}

void DrawWall3D(TCustomAxisPanel& chart, TCustomChartWall& wall, int kind, int leftWallSize)
{
    TPlotCanvas3D& canvas = chart.Canvas();
    SelectWallBrushAndPen(chart, wall);
    const TRect& r = chart.ChartRect;
    const int depth = chart.Width3D;
    const int size = wall.Size();
    const bool dark = wall.Dark3D() && !wall.Transparent() && canvas.Brush().Style() != bsClear &&
                      canvas.Brush().Bitmap().isNull();
    std::unique_ptr<TPlotBlend> blend;
    if (wall.Transparency() > 0)
        blend = canvas.BeginBlending(chart.ChartBounds, wall.Transparency());
    switch (kind) {
    case kBackWall:
        if (size < 1)
            canvas.RectangleAtDepth(TRect{r.Left, r.Top, r.Right + 1, r.Bottom + 1}, depth);
        else
            canvas.Cube(r.Left, r.Right + 1, r.Top, r.Bottom + 1, depth, depth + size, dark);
        break;
    case kLeftWall:
        if (size < 1)
            canvas.SidePlane(r.Left, r.Top, 0, depth, r.Bottom + 1);
        else
            canvas.Cube(r.Left - size, r.Left, r.Top, r.Bottom + 1, 0, depth, dark);
        break;
    case kBottomWall: {
        const int z0 = RoundEven(depth * wall.StartPosition() / 100.0);
        const int z1 = RoundEven(depth * wall.EndPosition() / 100.0);
        const int left = r.Left - leftWallSize;
        if (size < 1)
            canvas.HorizontalPlane(left, r.Bottom, z0, z1, r.Right + 1);
        else
            canvas.Cube(left, r.Right + 1, r.Bottom, r.Bottom + size, z0, z1, dark);
        break;
    }
    case kRightWall:
        if (size < 1)
            canvas.SidePlane(r.Right, r.Top, 0, depth, r.Bottom + 1);
        else
            canvas.Cube(r.Right, r.Right + size, r.Top, r.Bottom + 1, 0, depth, dark);
        break;
    default: break;
    }
    if (kind >= kBackWall && kind <= kRightWall && wall.HasGradient() && wall.Gradient().Visible() &&
        !wall.Transparent())
        DrawWallGradient(canvas, wall, WallFaces(r, wall, kind, depth, leftWallSize));
    if (wall.HasPicture() && wall.Picture().HasGraphic())
        canvas.DrawPictureZ(wall.Picture().FilteredGraphic(), r, kind == kBackWall ? depth : 0);
    if (blend)
        canvas.EndBlending(std::move(blend));
}
