#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotHtml.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

// An HTML text must draw exactly what its runs drawn one by one with TextOut draw, at positions
// worked out here from the canvas' own text metrics.

namespace {

// A run's font: the canvas' reset font with these changes.
struct Look {
    int size = 8;
    TFontStyles style = 0;
    TColor color = clBlack;
    const char* name = nullptr;
};

struct HtmlCanvas {
    TPlotCanvas3D canvas;
    HtmlCanvas()
    {
        canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect {0, 0, 240, 160});
        canvas.ResetState();
    }
    const QImage& Image() { return canvas.Bitmap()->Image(); }
    gdi::Size Measure(const QString& text, const Look& look = {})
    {
        Use(look);
        const gdi::Size s {canvas.TextWidth(text), canvas.TextHeight(text)};
        canvas.ResetState();
        return s;
    }
    // Draws a run at (x, y) and returns the x after it.
    int Run(int x, int y, const QString& text, const Look& look = {})
    {
        Use(look);
        canvas.TextOut(x, y, text);
        x += canvas.TextWidth(text);
        canvas.ResetState();
        return x;
    }
    void Use(const Look& look)
    {
        canvas.ResetState();
        canvas.Font().SetSize(look.size);
        canvas.Font().SetStyle(look.style);
        canvas.Font().SetColor(look.color);
        if (look.name)
            canvas.Font().SetName(QString::fromLatin1(look.name));
    }
};

constexpr int kX = 10;
constexpr int kY = 20;

} // namespace

TEST(HtmlText, EachTagKindDrawsItsRunsAsTextOutWould)
{
    const int script = HtmlCanvas().Measure(QStringLiteral("W"), Look {4}).cy;
    const struct {
        const char* html;
        Look middle;
        int offset; // of a sub- or superscript, besides the sitting of a lower run near the line's bottom
    } cases[] = {
        {"a<B>b</B>c", {8, fsBold}, 0},
        {"a<bold>b</bold>c", {8, fsBold}, 0},
        {"a<STRONG>b</>c", {8, fsBold}, 0},
        {"a<I>b</I>c", {8, fsItalic}, 0},
        {"a<U>b</U>c", {8, fsUnderline}, 0},
        {"a<STRIKE>b</>c", {8, fsStrikeOut}, 0},
        {"a<SMALL>b</SMALL>c", {6}, 0},
        {"a<BIG>b</>c", {10}, 0},
        {"a<FONT size=6>b</FONT>c", {6}, 0},
        {"a<FONT SIZE=-2>b</>c", {6}, 0},
        {"H<SUB>2</SUB>O", {4}, script},
        {"x<SUPER>2</SUPER>y", {4}, -(script / 2)},
        {"x<SUPER>2</>y", {4}, -(script / 2)},
        {"a<FONT color=#FF0000>b</FONT>c", {8, 0, clRed}, 0},
        {"a<FONT COLOR=clNavy>b</FONT>c", {8, 0, clNavy}, 0},
        {"a<FONT color=$FF0000 weight=\"BOLD, ITALIC\">b</FONT>c", {8, fsBold | fsItalic, clBlue}, 0},
        {"a<FONT name=\"Liberation Serif\" color=255>b</FONT>c", {8, 0, clRed, "Liberation Serif"}, 0},
        {"a<PRE>b</PRE>c", {8, 0, clBlack, "COURIER NEW"}, 0},
    };
    for (const auto& c : cases) {
        const QString html = QString::fromLatin1(c.html);
        HtmlCanvas drawn;
        HtmlTextOut(drawn.canvas, kX, kY, html);
        // The three runs are the texts between the tags.
        const QStringList runs
            = QString(html)
                  .replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral("|"))
                  .split(QLatin1Char('|'), Qt::SkipEmptyParts);
        ASSERT_EQ(runs.size(), 3);
        HtmlCanvas expected;
        const int line = expected.Measure(QStringLiteral("W")).cy;
        const int h = expected.Measure(runs[1], c.middle).cy;
        int x = expected.Run(kX, kY, runs[0]);
        x = expected.Run(x, kY + c.offset + (h < line ? line - h - 1 : 0), runs[1], c.middle);
        // The last run back on the first one's row, unless the middle one made the line taller.
        expected.Run(x, kY + (h > line ? h - line - 1 : 0), runs[2]);
        EXPECT_TRUE(drawn.Image() == expected.Image()) << c.html;
        EXPECT_FALSE(drawn.Image() == HtmlCanvas().Image());
    }
}

TEST(HtmlText, HeadingsBreaksRulesCentringAndLiterals)
{
    HtmlCanvas drawn;
    HtmlTextOut(
        drawn.canvas, kX, kY, QStringLiteral("<H3>T</H3>x\r\n&lt;X&gt; &amp;lt;<X>\r\n<HR><CENTER>m"));
    HtmlCanvas expected;
    const int big = expected.Measure(QStringLiteral("T"), Look {24}).cy;
    const int line = expected.Measure(QStringLiteral("x")).cy;
    const int x = expected.Run(kX, kY, QStringLiteral("T"), Look {24});
    expected.Run(x, kY + big - line - 1, QStringLiteral("x"));
    expected.Run(expected.Run(kX, kY + big, QStringLiteral("<X> &lt;")), kY + big, QStringLiteral("<X>"));
    expected.canvas.Pen().SetColor(0x808080);
    expected.canvas.Line(kX, kY + big + line, kX + 100, kY + big + line);
    expected.canvas.Pen().SetColor(clBlack);
    expected.Run(
        120 - expected.Measure(QStringLiteral("m")).cx / 2, kY + big + 2 * line, QStringLiteral("m"));
    EXPECT_TRUE(drawn.Image() == expected.Image());
    EXPECT_EQ(drawn.canvas.Pen().Color(), clBlack); // the rule's pen is handed back
}

TEST(HtmlText, ImagesAndTheirPlaceholder)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(0, 128, 255));
    const HtmlImageHooks hooks {
        [](const QString& ext) { return ext == QLatin1String("PNG") ? QByteArray("png") : QByteArray(); },
        [&picture](const QString& source, QByteArray& stream) {
            QBuffer buffer(&stream);
            return source == QLatin1String("dot.png") && buffer.open(QIODevice::WriteOnly)
                    && picture.save(&buffer, "PNG")
                ? 0
                : 1;
        }};
    HtmlCanvas drawn;
    gdi::Size extent;
    HtmlTextProcess(drawn.canvas, kX, kY, extent, true,
        QStringLiteral("<IMG SRC=\"dot.png\"><IMG src=dot.png width=6><IMG SRC=x.gif HEIGHT=9>"), hooks);
    HtmlCanvas expected;
    expected.canvas.Draw(kX, kY, picture);
    expected.canvas.StretchDraw(TRect {kX + 3, kY + 2, kX + 9, kY + 4}, picture);
    expected.canvas.Pen().SetColor(clRed);
    expected.canvas.Rectangle(kX + 9, kY + 4, kX + 49, kY + 13);
    expected.canvas.Line(kX + 9, kY + 4, kX + 48, kY + 12);
    expected.canvas.Line(kX + 9, kY + 12, kX + 48, kY + 4);
    EXPECT_TRUE(drawn.Image() == expected.Image());
    EXPECT_EQ(extent, (gdi::Size {49, 13}));
    // The installed loader reads below the working folder only.
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("src")));
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("src/dot.png"))));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const gdi::Size loaded = HtmlTextExtent(drawn.canvas, QStringLiteral("<IMG SRC=.\\src\\dot.png>"));
    QDir::setCurrent(previous);
    EXPECT_EQ(loaded, (gdi::Size {3, 2}));
    QByteArray stream;
    EXPECT_NE(LoadHtmlImageFile(QStringLiteral("../etc/passwd"), stream), 0);
    EXPECT_NE(LoadHtmlImageFile(QStringLiteral("/etc/passwd"), stream), 0);
    EXPECT_NE(LoadHtmlImageFile(QStringLiteral("file:///etc/passwd"), stream), 0);
    EXPECT_EQ(HtmlImageFormat(QStringLiteral("PNG")), QByteArray("png"));
}

TEST(HtmlText, ExtentIsTheBlockFromItsStart)
{
    HtmlCanvas c;
    const gdi::Size w = c.Measure(QStringLiteral("Wide line"));
    EXPECT_EQ(HtmlTextExtent(c.canvas, QStringLiteral("Wide line")), w);
    EXPECT_EQ(HtmlTextExtent(c.canvas, QStringLiteral("Wide line\r\nW")), (gdi::Size {w.cx, 2 * w.cy}));
    EXPECT_EQ(HtmlTextExtent(c.canvas, QStringLiteral("<FONT size=+4>W")),
        c.Measure(QStringLiteral("W"), Look {12}));
    EXPECT_EQ(HtmlTextExtent(c.canvas, QStringLiteral("<font size=10>W")),
        c.Measure(QStringLiteral("W"), Look {10}));
    EXPECT_EQ(HtmlTextExtent(c.canvas, QStringLiteral("<FONT size=-20>W")).cx,
        c.Measure(QStringLiteral("W"), Look {1}).cx);
    EXPECT_EQ(HtmlTextExtent(c.canvas, QString()), (gdi::Size {0, 0}));
    gdi::Size at;
    HtmlTextProcess(c.canvas, 50, 30, at, false, QStringLiteral("Wide line\r\nW"));
    EXPECT_EQ(at, (gdi::Size {w.cx, 2 * w.cy}));
}

TEST(HtmlText, MalformedTextsRaiseAndLeaveNothingBehind)
{
    HtmlCanvas c;
    auto message = [&c](const char* text) {
        try {
            HtmlTextExtent(c.canvas, QString::fromLatin1(text));
        } catch (const HtmlParserException& e) {
            return e.Message();
        }
        return QStringLiteral("no exception");
    };
    EXPECT_EQ(message("a<b"), QStringLiteral("Missing > at b"));
    EXPECT_EQ(message("<FONT face=x>"), QStringLiteral("Unknown field in FONT: face"));
    EXPECT_EQ(message("<FONT weight=heavy>"), QStringLiteral("Unknown field in FONT WEIGHT=heavy"));
    EXPECT_EQ(message("<FONT size=big>"), QStringLiteral("Unknown value in FONT SIZE=big"));
    EXPECT_EQ(message("<FONT color=#12345>"), QStringLiteral("Unknown value in FONT COLOR=#12345"));
    EXPECT_EQ(c.canvas.Font().Size(), 8);

    // Unclosed tags end with their text; "</>" with nothing open does nothing.
    HtmlCanvas drawn;
    HtmlTextOut(drawn.canvas, kX, kY, QStringLiteral("<B><FONT size=20 color=red name=Courier>x"));
    HtmlTextOut(drawn.canvas, kX, kY + 40, QStringLiteral("</>y"));
    EXPECT_EQ(drawn.canvas.Font().Name(), QStringLiteral("Arial"));
    EXPECT_EQ(drawn.canvas.Font().Style(), 0);
    HtmlCanvas expected;
    expected.Run(kX, kY, QStringLiteral("x"), Look {20, fsBold, clRed, "Courier"});
    expected.Run(kX, kY + 40, QStringLiteral("y"));
    EXPECT_TRUE(drawn.Image() == expected.Image());
}

TEST(HtmlText, TextOutFormatDrawsAMalformedTextAsPlainText)
{
    const QString text = QStringLiteral("Level <B>a < b");
    HtmlCanvas drawn;
    drawn.canvas.TextOutFormat(kX, kY, text, true);
    HtmlCanvas expected;
    expected.canvas.TextOut(kX, kY, text);
    EXPECT_TRUE(drawn.Image() == expected.Image());
    EXPECT_EQ(drawn.canvas.TextExtentFormat(text, true), expected.Measure(text));

    HtmlCanvas html;
    html.canvas.TextOutFormat(
        kX, kY, QStringLiteral("a<B>b</B>"), true); // the library's renderer is installed
    HtmlCanvas direct;
    HtmlTextOut(direct.canvas, kX, kY, QStringLiteral("a<B>b</B>"));
    EXPECT_TRUE(html.Image() == direct.Image());
    EXPECT_FALSE(html.Image() == expected.Image());
}

TEST(HtmlText, RandomTextsRaiseOrMeasureNeverCrash)
{
    const QStringList pieces = QString::fromLatin1(
        "<|>|</|/>|</>|<B>|</B>|<I>|<SUB>|</SUB>|<SUPER>|</SUPER>|<SMALL>|<BIG>|<H1>|<H6>|</H2>|<PRE>|</PRE>|"
        "<CENTER>|<HR>|<BR>|<FONT |</FONT>|<IMG |SRC=|x.png|WIDTH=|HEIGHT=|SIZE=|COLOR=|NAME=|WEIGHT=|BOLD|"
        "NORMAL|=|\"| |,|#|#FF00|$|+|-|0|9|99999999999|red|&lt;|&amp;|&|;|\r\n|\r|x|Wy|\xe4")
                                   .split(QLatin1Char('|'));
    std::mt19937 random(20240521);
    std::uniform_int_distribution<qsizetype> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    HtmlCanvas c;
    int raised = 0;
    for (int i = 0; i < 10000; ++i) {
        QString text;
        for (int n = length(random); n > 0; --n)
            text += pieces[piece(random)];
        try {
            const gdi::Size s = HtmlTextExtent(c.canvas, text);
            ASSERT_GE(s.cx, 0) << text.toStdString();
            ASSERT_GE(s.cy, 0) << text.toStdString();
        } catch (const HtmlParserException&) {
            ++raised;
        }
        ASSERT_EQ(c.canvas.Font().Size(), 8) << text.toStdString();
    }
    EXPECT_GT(raised, 0);
    EXPECT_LT(raised, 10000);
}
