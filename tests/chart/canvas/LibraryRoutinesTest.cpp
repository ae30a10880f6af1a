#include "chart/canvas/LibrarySettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

TEST(LibraryRoutines, FieldsCountExtractAndReplace)
{
    EXPECT_EQ(CountFields(QString(), ';'), 0);
    EXPECT_EQ(CountFields(QStringLiteral("a;b;"), ';'), 3);
    EXPECT_EQ(CountFields(QStringLiteral("abc"), ';'), 1);
    EXPECT_EQ(ExtractField(QStringLiteral("a;b"), 5, ';'), QStringLiteral("b"));
    EXPECT_EQ(ExtractField(QStringLiteral("a;b"), 0, ';'), QString());
    EXPECT_EQ(ExtractField(QStringLiteral("a;b;c"), 2, ';'), QStringLiteral("b"));
    EXPECT_EQ(ExtractField(QString(), 1, ';'), QString());
    TPlotLibrarySettings settings;
    EXPECT_EQ(CountFields(settings, QStringLiteral("a;b;c")), 3);
    settings.FieldSeparator = QStringLiteral("|");
    EXPECT_EQ(CountFields(settings, QStringLiteral("a;b|c")), 2);
    EXPECT_EQ(ExtractField(settings, QStringLiteral("a;b|c"), 1), QStringLiteral("a;b"));
    EXPECT_EQ(ReplaceChar(QStringLiteral("1.234.5"), '.', ','), QStringLiteral("1,234,5"));
    EXPECT_EQ(ReplaceChar(QStringLiteral("1.234.5"), '.', QChar(0)), QStringLiteral("12345"));
}

TEST(LibraryRoutines, UniqueComponentNameTakesTheFirstFreeNumber)
{
    QObject owner;
    for (const char* name : {"Series1", "series2", "Series4"}) {
        auto* child = new QObject(&owner);
        child->setObjectName(QString::fromLatin1(name));
    }
    EXPECT_EQ(GetUniqueComponentName(&owner, QStringLiteral("Series")), QStringLiteral("Series3"));
    EXPECT_EQ(GetUniqueComponentName(&owner, QStringLiteral("Tool")), QStringLiteral("Tool1"));
    EXPECT_EQ(GetUniqueComponentName(nullptr, QStringLiteral("Series")), QStringLiteral("Series1"));
}

TEST(LibraryRoutines, HitTests)
{
    EXPECT_TRUE(PointInLine(TPoint{5, 11}, 0, 10, 20, 10));    // one pixel off
    EXPECT_FALSE(PointInLine(TPoint{5, 12}, 0, 10, 20, 10));   // two pixels off
    EXPECT_TRUE(PointInLine(TPoint{20, 10}, 0, 10, 20, 10));
    EXPECT_FALSE(PointInLine(TPoint{23, 10}, 0, 10, 20, 10));  // beyond the end
    EXPECT_TRUE(PointInLineTolerance(TPoint{5, 14}, 0, 10, 20, 10, 3));
    EXPECT_TRUE(PointInLine(TPoint{4, 3}, 3, 3, 3, 3));          // a segment of one point
    EXPECT_FALSE(PointInLine(TPoint{4, 4}, 3, 3, 3, 3));

    const TPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(PointInPolygon(TPoint{5, 5}, square, 3));
    EXPECT_FALSE(PointInPolygon(TPoint{15, 5}, square, 3));
    EXPECT_FALSE(PointInPolygon(TPoint{5, 5}, square, -1));
    EXPECT_TRUE(PointInTriangle(TPoint{10, 15}, 0, 20, 0, 20));
    EXPECT_FALSE(PointInTriangle(TPoint{1, 1}, 0, 20, 0, 20));
    EXPECT_TRUE(PointInHorizTriangle(TPoint{15, 10}, 0, 20, 0, 20));
    EXPECT_FALSE(PointInHorizTriangle(TPoint{1, 1}, 0, 20, 0, 20));

    EXPECT_FALSE(PointInEllipse(TPoint{5, 5}, 0, 5, 10, 5));   // zero height
    EXPECT_TRUE(PointInEllipse(TPoint{5, 5}, 0, 0, 10, 10));
    EXPECT_TRUE(PointInEllipse(TPoint{10, 5}, 0, 0, 10, 10));
    EXPECT_FALSE(PointInEllipse(TPoint{9, 9}, 0, 0, 10, 10));
}

TEST(LibraryRoutines, SmallRoutines)
{
    EXPECT_EQ(PointAtDistanceFromEnd(TPoint{0, 0}, TPoint{10, 0}, 3), (TPoint{7, 0}));
    EXPECT_EQ(PointAtDistanceFromEnd(TPoint{5, 0}, TPoint{5, 20}, 4), (TPoint{5, 16}));
    EXPECT_EQ(PointAtDistanceFromEnd(TPoint{5, 20}, TPoint{5, 0}, 4), (TPoint{5, 4}));
    EXPECT_EQ(PointAtDistanceFromEnd(TPoint{0, 0}, TPoint{30, 40}, 10), (TPoint{24, 32}));
    EXPECT_DOUBLE_EQ(Hypotenuse(3, 4), 5.0);
    double a = 1, b = 2;
    SwapDouble(a, b);
    EXPECT_EQ(a, 2);
    int32_t i = 1, j = 2;
    SwapInteger(i, j);
    EXPECT_EQ(i, 2);

    QWidget w1, w2;
    EnableControls(false, {&w1, nullptr, &w2});
    EXPECT_FALSE(w1.isEnabled());
    EXPECT_FALSE(w2.isEnabled());
}

TEST(LibraryRoutines, PaletteAndCursor)
{
    TPlotLibrarySettings settings;
    ASSERT_EQ(settings.ColorPalette.size(), 20u);
    EXPECT_EQ(settings.ColorPalette[0], 0x0000FF);
    EXPECT_EQ(settings.ColorPalette[3], 0xFF0000);
    EXPECT_EQ(settings.ColorPalette[19], 0xA4A0A0);
    const TColor mine[] = {clBlack, clWhite, clGray};
    SetDefaultColorPalette(settings, mine, 2);
    EXPECT_EQ(settings.ColorPalette, (std::vector<TColor>{clBlack, clWhite, clGray}));
    SetDefaultColorPalette(settings, mine, 0);   // 0 restores the built-in table, not one colour
    EXPECT_EQ(settings.ColorPalette, BuiltInColorPalette());
    ASSERT_EQ(settings.Cursors.count(crPlotHand), 1u);
    EXPECT_FALSE(settings.Cursors.at(crPlotHand).bitmap().isNull());
    EXPECT_EQ(settings.Cursors.at(crPlotHand).hotSpot(), QPoint(6, 0));

    QObject* seen = nullptr;
    QObject control;
    CallControlHook(settings, &control);   // no hook: nothing happens
    settings.ControlHook = [&seen](QObject* c) { seen = c; };
    CallControlHook(settings, &control);
    EXPECT_EQ(seen, &control);
    CallControlHookEx(settings);
    EXPECT_EQ(seen, nullptr);
}

TEST(LibraryRoutines, EditorOptionsLiveInTheSettingsGroup)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    EXPECT_TRUE(ReadEditorBoolean(QString::fromLatin1(kEditorSmoothGallery), true));
    EXPECT_EQ(ReadEditorInteger(QString::fromLatin1(kEditorGalleryWidth), 640), 640);
    WriteEditorBoolean(QString::fromLatin1(kEditorSmoothGallery), false);
    WriteEditorInteger(QString::fromLatin1(kEditorGalleryWidth), 812);
    EXPECT_FALSE(ReadEditorBoolean(QString::fromLatin1(kEditorSmoothGallery), true));
    EXPECT_EQ(ReadEditorInteger(QString::fromLatin1(kEditorGalleryWidth), 640), 812);
    QSettings raw(QStringLiteral("Zendrik"), QStringLiteral("PlotChart"));
    EXPECT_EQ(raw.value(QStringLiteral("Editor/GalleryWidth")).toInt(), 812);
    raw.setValue(QStringLiteral("Editor/GalleryHeight"), QStringLiteral("not a number"));
    raw.sync();
    EXPECT_EQ(ReadEditorInteger(QString::fromLatin1(kEditorGalleryHeight), 480), 480);
}

TEST(LibraryRoutines, ClassBitmapsThatAreMissingLeaveTheBitmapAlone)
{
    QImage bitmap(3, 3, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    EXPECT_FALSE(LoadClassBitmap(bitmap, QStringLiteral("TNoSuchSeries"), QStringLiteral("TNoSuchBase")));
    EXPECT_EQ(bitmap.pixel(1, 1), qRgb(255, 0, 0));
}

namespace {

void SortAndCheck(std::vector<int> values, const char* what)
{
    std::vector<int> expected = values;
    std::sort(expected.begin(), expected.end());
    int64_t calls = 0;
    QuickSortRange(
        0, static_cast<int>(values.size()) - 1,
        [&](int i, int j) {
            ++calls;
            return values[static_cast<size_t>(i)] < values[static_cast<size_t>(j)]   ? -1
                   : values[static_cast<size_t>(i)] > values[static_cast<size_t>(j)] ? 1
                                                                                     : 0;
        },
        [&](int i, int j) { std::swap(values[static_cast<size_t>(i)], values[static_cast<size_t>(j)]); });
    EXPECT_EQ(values, expected) << what;
    if (values.size() > 1) {
        EXPECT_GT(calls, 0) << what;
    }
}

} // namespace

TEST(LibraryRoutines, QuickSortRangeSortsLargeAndAwkwardInputs)
{
    constexpr int n = 250000;
    std::vector<int> v(n);
    for (int i = 0; i < n; ++i)
        v[static_cast<size_t>(i)] = i;
    SortAndCheck(v, "sorted");
    std::reverse(v.begin(), v.end());
    SortAndCheck(v, "reversed");
    SortAndCheck(std::vector<int>(n, 7), "all equal");
    // Middle pivots make organ-pipe input slow (quadratic), but never deep: kept small here.
    constexpr int m = 4000;
    std::vector<int> organ(m);
    for (int i = 0; i < m; ++i)
        organ[static_cast<size_t>(i)] = i < m / 2 ? i : m - i;
    SortAndCheck(organ, "organ pipe");
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> d(-1000, 1000);
    for (int& x : v)
        x = d(rng);
    SortAndCheck(v, "random with repeats");
    SortAndCheck({}, "empty");
    SortAndCheck({5}, "one");
    SortAndCheck({2, 1}, "two");
}
