// The box tools on a chart: where an annotation's box goes, what its text may draw, and how a
// rectangle is dragged and resized with the mouse.
#include "ToolsTestSupport.h"

#include "common/PictureSupport.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotHtml.h"
#include "chart/tools/AnnotationTool.h"

using toolstest::DifferentPixels;
using toolstest::ToolChart;

namespace {

bool SameBox(const TRect& a, const TRect& b)
{
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

// HTML text in blue on a pale green fill framed in black: colours no other part of the chart uses.
void FramedHtml(TPlotCustomShape& box)
{
    box.SetTransparent(false);
    box.SetColor(0xC8FFC8);
    box.Pen().SetVisible(true);
    box.Pen().SetColor(clBlack);
    box.Font().SetColor(clBlue);
    box.SetTextFormat(ttfHtml);
}

} // namespace

TEST_F(ToolChart, AnnotationBoxFollowsItsTextAndCorner)
{
    TAnnotationTool tool;
    tool.SetParentChart(&chart);
    chart.Canvas().AssignFont(&tool.Shape().Font());
    const int lineHeight = chart.Canvas().FontHeight();

    const TRect empty = tool.GetShapeBounds();     // no text still takes one line
    EXPECT_EQ(empty.Left, 10);
    EXPECT_EQ(empty.Top, 10);
    EXPECT_EQ(empty.Bottom - empty.Top + 1, lineHeight + tool.Shape().Margins().VertSize() + 1);
    tool.SetText(QStringLiteral("Peak\r\n12.5 dBuV"));
    const TRect crlf = tool.GetShapeBounds();
    const QImage withCrLf = Render();
    tool.SetText(QStringLiteral("Peak\r12.5 dBuV"));
    EXPECT_TRUE(SameBox(tool.GetShapeBounds(), crlf));
    EXPECT_EQ(DifferentPixels(Render(), withCrLf, QRect(0, 0, 640, 400)), 0);
    EXPECT_EQ(crlf.Bottom - crlf.Top, empty.Bottom - empty.Top + lineHeight);

    tool.SetPosition(ppRightBottom);               // the box ends at the chart's last pixels
    const TRect corner = tool.GetShapeBounds();
    EXPECT_EQ(corner.Right, 639);
    EXPECT_EQ(corner.Bottom, 399);

    int clicks = 0;
    tool.OnClick = [&](TPlotCustomTool*, int, int, int, int) { ++clicks; };
    Down(corner.Left + 2, corner.Top + 2);
    Up(corner.Left + 2, corner.Top + 2);
    Down(corner.Left - 2, corner.Top + 2);
    Up(corner.Left - 2, corner.Top + 2);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ToolChart, AnnotationTextStaysInsideAFixedBox)
{
    const QImage bare = Render();
    TAnnotationTool tool;
    tool.SetParentChart(&chart);
    tool.SetText(QStringLiteral("A text far too long for the small box it is given here"));
    tool.SetLeft(100);
    tool.SetTop(100);
    tool.SetWidth(60);
    tool.SetHeight(30);
    EXPECT_FALSE(tool.AutoSize());
    const TRect box = tool.GetShapeBounds();
    ASSERT_TRUE(SameBox(box, TRect{100, 100, 159, 129}));
    // Right of the box and its shadow nothing changes while the text is clipped ...
    const QRect beside(box.Right + 8, box.Top, 200, box.Bottom - box.Top);
    EXPECT_EQ(DifferentPixels(Render(), bare, beside), 0);
    // ... and the text runs on there when it is not.
    tool.SetClipText(false);
    EXPECT_GT(DifferentPixels(Render(), bare, beside), 20);
}

TEST_F(ToolChart, RectangleStartsResizingNearItsCornersAndDragsInside)
{
    TRectangleTool tool;
    tool.SetParentChart(&chart);
    int zooms = 0, dragging = 0, dragged = 0;
    chart.OnZoom = [&] { ++zooms; };
    tool.OnDragging = [&] { ++dragging; };
    tool.OnDragged = [&] { ++dragged; };
    ASSERT_TRUE(SameBox(tool.GetShapeBounds(), TRect{10, 10, 59, 59}));

    Down(13, 13);                                  // 3 pixels inside the corner: resize
    EXPECT_EQ(tool.ActiveEdge(), 4);
    EXPECT_FALSE(tool.Dragging());
    Up(13, 13);
    EXPECT_EQ(tool.ActiveEdge(), -1);

    Down(14, 24);                                  // 4 pixels inside: drag
    EXPECT_EQ(tool.ActiveEdge(), -1);
    ASSERT_TRUE(tool.Dragging());
    Move(104, 74);
    Move(104, 74);                                 // no movement: nobody is told
    Move(204, 124);
    Up(204, 124);
    EXPECT_TRUE(SameBox(tool.GetShapeBounds(), TRect{200, 110, 249, 159}));   // grab point kept
    EXPECT_EQ(dragging, 2);
    EXPECT_EQ(dragged, 1);
    EXPECT_EQ(zooms, 0);                           // the chart never saw the drag

    tool.SetPositionUnits(muPercent);              // a drag stores percent of the chart's size
    tool.SetLeft(20);
    tool.SetTop(25);
    ASSERT_TRUE(SameBox(tool.GetShapeBounds(), TRect{128, 100, 177, 149}));
    Down(140, 110);
    Move(76, 50);
    Up(76, 50);
    EXPECT_EQ(tool.Left(), 10);
    EXPECT_EQ(tool.Top(), 10);
}

TEST_F(ToolChart, RectangleResizeKeepsItsSidesThreePixelsApart)
{
    TRectangleTool tool;
    tool.SetParentChart(&chart);
    int resizing = 0, resized = 0;
    tool.OnResizing = [&] { ++resizing; };
    tool.OnResized = [&] { ++resized; };
    Down(58, 57);                                  // right-bottom corner
    EXPECT_EQ(tool.ActiveEdge(), 7);
    Move(0, 0);
    EXPECT_TRUE(SameBox(tool.GetShapeBounds(), TRect{10, 10, 13, 13}));
    Move(300, 200);                                // the grab offset stays with the corner
    Up(300, 200);
    EXPECT_TRUE(SameBox(tool.GetShapeBounds(), TRect{10, 10, 301, 202}));
    EXPECT_EQ(resizing, 2);
    EXPECT_EQ(resized, 1);

    Down(11, 100);                                 // left edge: only the left side moves
    EXPECT_EQ(tool.ActiveEdge(), 0);
    Move(40, 150);
    Up(40, 150);
    EXPECT_TRUE(SameBox(tool.GetShapeBounds(), TRect{39, 10, 301, 202}));
}

TEST_F(ToolChart, RectangleCursorTellsEdgeCornerAndInside)
{
    TRectangleTool tool;
    tool.SetParentChart(&chart);
    Move(10, 30);
    EXPECT_EQ(Shape(), Qt::SizeHorCursor);
    Move(30, 59);
    EXPECT_EQ(Shape(), Qt::SizeVerCursor);
    Move(59, 10);
    EXPECT_EQ(Shape(), Qt::SizeBDiagCursor);
    Move(30, 30);
    EXPECT_EQ(Shape(), Qt::PointingHandCursor);
    tool.SetAllowResize(false);
    Move(10, 30);
    EXPECT_EQ(Shape(), Qt::PointingHandCursor);
    tool.SetAllowDrag(false);                      // neither: a press goes on to the chart
    tool.SetShapeBounds(TRect{200, 100, 249, 149});
    Down(220, 120);
    EXPECT_FALSE(tool.Dragging());
    EXPECT_TRUE(chart.ZoomDragActive());
    Up(220, 120);
}

// HTML text in an annotation box: blue on pale green, two lines of different width, each line
// inside the box, on its own rows and centred or right-aligned as asked.
class AnnotationPictures : public ToolChart, public ::testing::WithParamInterface<TAlignment> {};

TEST_P(AnnotationPictures, HtmlTextStaysInItsBoxAligned)
{
    const TAlignment align = GetParam();
    TAnnotationTool tool;
    tool.SetParentChart(&chart);
    FramedHtml(tool.Shape());
    tool.SetTextAlignment(align);
    tool.SetText(QStringLiteral("<b>Wide</b> first line\rshort"));
    tool.SetLeft(200);
    tool.SetTop(150);
    const QImage image = Render();
    picture::Save(image, align == taCenter ? QStringLiteral("annotation_centred") : QStringLiteral("annotation_right"));

    const picture::InkReport ink = picture::FindInk(image, qRgb(200, 255, 200), qRgb(0, 0, 255));
    ASSERT_GT(ink.Ink, 0);
    EXPECT_EQ(ink.Loose, 0) << "ink outside the box";
    ASSERT_EQ(ink.Boxes.size(), 1u);
    picture::ExpectTwoAlignedLines(ink.Boxes.front(), align == taCenter);
}

INSTANTIATE_TEST_SUITE_P(Tool, AnnotationPictures, ::testing::Values(taCenter, taRightJustify),
                         [](const auto& p) { return p.param == taCenter ? "Centred" : "Right"; });

// An HTML title, subtitle, foot, subfoot, legend title or annotation is as tall as its text: a
// line break inside one line, sub- and superscripts and a larger font stay inside the box, whole.
class HtmlBoxes : public ToolChart, public ::testing::WithParamInterface<std::tuple<int, const char*>> {};

TEST_P(HtmlBoxes, HoldTheirWholeText)
{
    const auto [kind, html] = GetParam();
    const QString text = QString::fromLatin1(html);
    TAnnotationTool tool;
    TChartTitle* const titles[] = {&chart.Title(), &chart.SubTitle(), &chart.Foot(), &chart.SubFoot()};
    TPlotCustomShape* box = &tool.Shape();
    if (kind < 4) {
        titles[kind]->SetText({text});
        box = titles[kind];
    } else if (kind == 4) {
        chart.Legend().SetVisible(true);
        chart.Legend().Title().SetText({text});
        box = &chart.Legend().Title();
    } else {
        tool.SetParentChart(&chart);
        tool.SetText(text);
        tool.SetLeft(200);
    }
    FramedHtml(*box);
    box->Font().SetSize(12);
    const QImage image = Render();
    picture::Save(image, QStringLiteral("html_box_%1_%2").arg(kind).arg(text.size()));
    const picture::InkReport ink = picture::FindInk(image, qRgb(200, 255, 200), qRgb(0, 0, 255));
    EXPECT_EQ(ink.Loose, 0) << "ink outside its box";
    ASSERT_EQ(ink.Boxes.size(), 1u);
    // The same text drawn alone, its lines centred as the titles centre them.
    TPlotCanvas3D alone;
    alone.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, 400, 200});
    alone.ResetState();
    alone.Brush().SetColor(0xC8FFC8);
    alone.FillRect(TRect{0, 0, 400, 200});
    alone.AssignFont(&box->Font());
    alone.SetTextAlign(kind < 4 ? gdi::TA_CENTER : gdi::TA_LEFT);
    alone.TextOutFormat(200, 60, HtmlLineBreaks(text), true);
    picture::ExpectWholeText(image, ink.Boxes.front(), alone.Bitmap()->Image(), qRgb(200, 255, 200), qRgb(0, 0, 255));
}

INSTANTIATE_TEST_SUITE_P(Chart, HtmlBoxes,
                         ::testing::Combine(::testing::Range(0, 6),
                                            ::testing::Values("<b>one</b> line\rtwo", "<b>one</b> line\r\ntwo",
                                                              "E<sub>field</sub> strength",
                                                              "m<font size=+6><super>2</super></font> area",
                                                              "<font size=+6>Big</font> text")));
