#include "chart/canvas/PlotFiltersColor.h"
#include "chart/canvas/PlotFiltersConvolve.h"
#include "chart/canvas/PlotFiltersResample.h"

#include "FilterTestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace filtertest;

namespace {

TEST(FilterRegistry, TwentyOneClassesInRegistrationOrder)
{
    const char* expected[] = {"TInvertFilter",     "TGrayScaleFilter", "TMosaicFilter",        "TFlipFilter",
                              "TReverseFilter",    "TBrightnessFilter", "TContrastFilter",     "TColorFilter",
                              "THueLumSatFilter",  "TBlurFilter",      "TSharpenFilter",       "TGammaCorrectionFilter",
                              "TEmbossFilter",     "TSoftenFilter",    "TCropFilter",          "TResizeFilter",
                              "TRotateFilter",     "TMirrorFilter",    "TTileFilter",          "TBevelFilter",
                              "TZoomFilter"};
    const auto& classes = RegisteredFilterClasses();
    ASSERT_EQ(classes.size(), std::size(expected));
    for (size_t i = 0; i < classes.size(); ++i) {
        EXPECT_STREQ(classes[i]->name, expected[i]);
        auto f = classes[i]->create();
        EXPECT_EQ(&f->FilterClass(), classes[i]) << expected[i];
        EXPECT_EQ(FindFilterClass(QString::fromLatin1(expected[i])), classes[i]);
    }
    EXPECT_EQ(FindFilterClass("tzoomfilter"), &TZoomFilter::Class());
    EXPECT_EQ(FindFilterClass("TNoSuchFilter"), nullptr);
}

TEST(FilterRegistry, DescriptionsAreTheLibraryTexts)
{
    const std::map<std::string, QString> expected = {
        {"TInvertFilter", "Invert"},       {"TGrayScaleFilter", "Gray scale"},
        {"TMosaicFilter", "Mosaic"},       {"TFlipFilter", "Flip"},
        {"TReverseFilter", "Reverse"},     {"TBrightnessFilter", "Brightness"},
        {"TContrastFilter", "Contrast"},   {"TColorFilter", "Color"},
        {"THueLumSatFilter", "Hue,Lum,Sat"}, {"TBlurFilter", "Blur"},
        {"TSharpenFilter", "Sharpen"},     {"TGammaCorrectionFilter", "Gamma correction"},
        {"TEmbossFilter", "Emboss"},       {"TSoftenFilter", "Antialias"},
        {"TCropFilter", "Crop"},           {"TResizeFilter", "Resize"},
        {"TRotateFilter", "Rotate"},       {"TMirrorFilter", "Mirror"},
        {"TTileFilter", "Tile"},           {"TBevelFilter", "Bevel"},
        {"TZoomFilter", "Zoom"}};
    for (const TPlotFilterClass* c : RegisteredFilterClasses())
        EXPECT_EQ(c->create()->Description(), expected.at(c->name)) << c->name;
}

TEST(FilterItems, DisabledItemsAreSkippedOthersRunInOrder)
{
    TFilterItems items;
    auto& brighten = static_cast<TBrightnessFilter&>(items.Add(TBrightnessFilter::Class()));
    brighten.Percent = false;
    brighten.Amount = 100;
    items.Add(TInvertFilter::Class());
    auto& gray = items.Add(TGrayScaleFilter::Class());
    gray.Enabled = false;

    QImage img = Filled(2, 2, Rgb(200, 10, 50));
    items.ApplyToBitmap(img);
    // Brighten first (255, 110, 150), then invert; the gray scale step is off.
    EXPECT_EQ(Px(img, 1, 1), Rgb(0, 145, 105));
    EXPECT_EQ(items.Count(), 3);
    items.Delete(1);
    items.Delete(7);
    EXPECT_EQ(items.Count(), 2);
}

TEST(FilterItems, RegionBoundsFollowWidthAndHeightRules)
{
    // Width 3 from Left 2 ends at column 5; Height 0 runs to the last row.
    QImage img = Filled(10, 6, Rgb(0, 0, 0));
    TInvertFilter f;
    f.Region().Left = 2;
    f.Region().Top = 1;
    f.Region().Width = 3;
    f.ApplyToBitmap(img);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x <= 5 && y >= 1;
            EXPECT_EQ(Px(img, x, y), inside ? Rgb(255, 255, 255) : Rgb(0, 0, 0)) << x << "," << y;
        }
    // A region wider than the bitmap stops at its last column.
    QImage wide = Filled(4, 2, Rgb(0, 0, 0));
    TInvertFilter g;
    g.Region().Left = 1;
    g.Region().Width = 100;
    g.ApplyToBitmap(wide);
    EXPECT_EQ(Px(wide, 3, 1), Rgb(255, 255, 255));
    EXPECT_EQ(Px(wide, 0, 1), Rgb(0, 0, 0));
}

TEST(FilterItems, AssignCopiesClassesPropertiesAndRegions)
{
    TFilterItems source;
    auto& zoom = static_cast<TZoomFilter&>(source.Add(TZoomFilter::Class()));
    zoom.Percent = 33.5;
    zoom.Smooth = true;
    zoom.Region().Left = 4;
    auto& rotate = static_cast<TRotateFilter&>(source.Add(TRotateFilter::Class()));
    rotate.Angle = 12.5;
    rotate.AutoSize = false;
    rotate.BackColor = 0x123456;
    rotate.Enabled = false;

    TFilterItems copy;
    copy.Add(TInvertFilter::Class());
    copy.Assign(source);
    ASSERT_EQ(copy.Count(), 2);
    auto* z = dynamic_cast<TZoomFilter*>(copy.GetItem(0));
    auto* r = dynamic_cast<TRotateFilter*>(copy.GetItem(1));
    ASSERT_NE(z, nullptr);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(z->Percent, 33.5);
    EXPECT_TRUE(z->Smooth);
    ASSERT_TRUE(z->HasRegion());
    EXPECT_EQ(z->Region().Left, 4);
    EXPECT_EQ(r->Angle, 12.5);
    EXPECT_FALSE(r->AutoSize);
    EXPECT_EQ(r->BackColor, 0x123456);
    EXPECT_FALSE(r->Enabled);
    EXPECT_FALSE(r->HasRegion());
    EXPECT_NE(copy.GetItem(0), source.GetItem(0));
}

TEST(FilterItems, UnknownOrMistypedPropertiesAreRefused)
{
    TMirrorFilter m;
    EXPECT_FALSE(m.SetProperty("Direction", 9));
    EXPECT_EQ(m.Direction, mdDown);
    EXPECT_TRUE(m.SetProperty("Direction", int(mdLeft)));
    EXPECT_EQ(m.Direction, mdLeft);
    EXPECT_FALSE(m.SetProperty("Width", 3));
    TBlurFilter b;
    EXPECT_FALSE(b.SetProperty("Amount", QVariant("lots")));
    EXPECT_EQ(b.Amount, 1);
}

TEST(FilterPicture, FiltersRunOnACopyOnlyWithAGraphic)
{
    int changes = 0;
    TPlotPicture picture([&changes] { ++changes; });
    picture.Filters().Add(TInvertFilter::Class());
    EXPECT_TRUE(picture.FilteredGraphic().isNull());

    picture.SetGraphic(Filled(3, 3, Rgb(10, 20, 30)));
    EXPECT_EQ(changes, 1);
    const QImage filtered = picture.FilteredGraphic();
    EXPECT_EQ(Px(filtered, 1, 1), Rgb(245, 235, 225));
    EXPECT_EQ(Px(picture.Graphic(), 1, 1), Rgb(10, 20, 30));

    TPlotPicture plain;
    plain.SetGraphic(Filled(2, 2, Rgb(1, 2, 3)));
    EXPECT_EQ(Px(plain.FilteredGraphic(), 0, 0), Rgb(1, 2, 3));
    plain.Assign(picture);
    EXPECT_EQ(plain.Filters().Count(), 1);
    EXPECT_EQ(Px(plain.FilteredGraphic(), 0, 0), Rgb(245, 235, 225));

    NotifyGraphicChanged(picture);
    EXPECT_EQ(changes, 2);
}

// Records what a filter asks of the editor dialog.
class RecordingCreator : public TFormCreator {
public:
    void AddInteger(const QString& p, int mn, int mx) override { ranges[p] = {mn, mx}; order << p; }
    void AddCheckBox(const QString& p) override { order << p; }
    void AddColor(const QString& p) override { order << p; }
    void AddChoice(const QString& p, const QStringList& c) override { choices[p] = c; order << p; }
    void SetIntegerRange(const QString& p, int mn, int mx) override { ranges[p] = {mn, mx}; }

    std::map<QString, std::pair<int, int>> ranges;
    std::map<QString, QStringList> choices;
    QStringList order;
};

TEST(FilterEditor, AmountRangeFollowsPercentAndSign)
{
    RecordingCreator creator;
    int changed = 0;
    TBrightnessFilter f;
    f.CreateEditor(creator, [&changed] { ++changed; });
    EXPECT_EQ(creator.ranges["Amount"], std::make_pair(-100, 100));
    f.SetProperty("Percent", false);
    f.EditorChanged("Percent");
    EXPECT_EQ(creator.ranges["Amount"], std::make_pair(-255, 255));
    EXPECT_EQ(changed, 1);

    RecordingCreator mosaicEditor;
    TMosaicFilter m;
    m.CreateEditor(mosaicEditor, {});
    EXPECT_EQ(mosaicEditor.ranges["Amount"], std::make_pair(0, 100));

    RecordingCreator others;
    TCropFilter crop;
    crop.CreateEditor(others, {});
    EXPECT_EQ(others.order, QStringList({"Width", "Height", "Left", "Top", "Smooth"}));
    EXPECT_EQ(others.ranges["Left"].second, 10000);
    RecordingCreator blur;
    TBlurFilter b;
    b.CreateEditor(blur, {});
    EXPECT_EQ(blur.ranges["Amount"].second, 50);
    EXPECT_EQ(blur.ranges["Steps"].second, 20);

    // Once detached, a switch of Percent reaches neither the old creator nor the change event.
    f.DetachEditor();
    f.SetProperty("Percent", true);
    f.EditorChanged("Percent");
    EXPECT_EQ(creator.ranges["Amount"], std::make_pair(-255, 255));
    EXPECT_EQ(changed, 1);
}

TEST(FilterCollection, ExchangeSwapsItemsAndIgnoresBadIndexes)
{
    TFilterItems items;
    TPlotFilter& invert = items.Add(TInvertFilter::Class());
    TPlotFilter& flip = items.Add(TFlipFilter::Class());
    items.Exchange(0, 1);
    EXPECT_EQ(items.GetItem(0), &flip);
    EXPECT_EQ(items.GetItem(1), &invert);
    items.Exchange(1, 2);
    items.Exchange(-1, 0);
    EXPECT_EQ(items.GetItem(0), &flip);
    EXPECT_EQ(items.GetItem(1), &invert);
}

TEST(FilterDefaults, ConstructedFiltersCarryTheirDefaults)
{
    EXPECT_EQ(TMosaicFilter().Amount, 8);
    EXPECT_EQ(TGammaCorrectionFilter().Amount, 70);
    EXPECT_EQ(TBrightnessFilter().Amount, 5);
    EXPECT_TRUE(TContrastFilter().Percent);
    EXPECT_EQ(TZoomFilter().Percent, 10.0);
    EXPECT_TRUE(TRotateFilter().AutoSize);
    EXPECT_EQ(TRotateFilter().BackColor, 0xFFFFFF);
    EXPECT_EQ(TTileFilter().NumCols, 3);
    EXPECT_EQ(TBevelFilter().Bright, 64);
    EXPECT_EQ(TBevelFilter().Size, 15);
    TBlurFilter blur;
    EXPECT_EQ(blur.Amount, 1);
    EXPECT_EQ(blur.Steps, 1);
    EXPECT_FLOAT_EQ(blur.Scale, 1.0f / 9.0f);
    TSharpenFilter sharpen;
    EXPECT_EQ(sharpen.Weights[0], -0.125f);
    EXPECT_EQ(sharpen.Weights[4], 2.0f);
}

} // namespace

#include "chart/canvas/PlotFiltersImage.h"
#include "chart/canvas/PlotFiltersStream.h"

namespace {

TEST(FilterStream, RoundTripKeepsClassesAndChangedProperties)
{
    TFilterItems items;
    auto& gray = static_cast<TGrayScaleFilter&>(items.Add(TGrayScaleFilter::Class()));
    gray.Method = gmEye2;
    auto& zoom = static_cast<TZoomFilter&>(items.Add(TZoomFilter::Class()));
    zoom.Percent = 37.25;
    zoom.Enabled = false;
    auto& color = static_cast<TColorFilter&>(items.Add(TColorFilter::Class()));
    color.Red = -200;
    color.Green = 40000;
    items.Add(TInvertFilter::Class());

    const QByteArray bytes = WriteFilterItems(items);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 14); // collection value
    EXPECT_TRUE(bytes.contains("\x09ItemClass\x06\x10TGrayScaleFilter"));
    EXPECT_TRUE(bytes.contains("\x06Method\x07\x06gmEye2"));
    EXPECT_FALSE(bytes.contains("Steps")); // defaults are not written

    const QByteArray framed = QByteArray("xx") + bytes + QByteArray("yy");
    int pos = 2;
    TFilterItems back;
    back.Add(TBevelFilter::Class());
    QString error;
    ASSERT_TRUE(ReadFilterItems(framed, pos, back, &error)) << error.toStdString();
    EXPECT_EQ(pos, 2 + bytes.size());
    ASSERT_EQ(back.Count(), 4);
    EXPECT_EQ(static_cast<TGrayScaleFilter*>(back.GetItem(0))->Method, gmEye2);
    auto* z = static_cast<TZoomFilter*>(back.GetItem(1));
    EXPECT_EQ(z->Percent, 37.25);
    EXPECT_FALSE(z->Enabled);
    auto* c = static_cast<TColorFilter*>(back.GetItem(2));
    EXPECT_EQ(c->Red, -200);
    EXPECT_EQ(c->Green, 40000);
    EXPECT_EQ(&back.GetItem(3)->FilterClass(), &TInvertFilter::Class());
}

TEST(FilterStream, BadStreamsAreRefusedAndKeepTheFilters)
{
    TFilterItems items;
    items.Add(TZoomFilter::Class());
    const QByteArray good = WriteFilterItems(items);

    TFilterItems target;
    target.Add(TFlipFilter::Class());
    for (int cut = 1; cut < good.size(); ++cut) {
        int pos = 0;
        QString error;
        EXPECT_FALSE(ReadFilterItems(good.left(cut), pos, target, &error)) << cut;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(pos, 0);
    }
    QByteArray unknown = good;
    unknown.replace("TZoomFilter", "TWhatFilter");
    int pos = 0;
    QString error;
    EXPECT_FALSE(ReadFilterItems(unknown, pos, target, &error));
    EXPECT_TRUE(error.contains("TWhatFilter"));
    ASSERT_EQ(target.Count(), 1);
    EXPECT_EQ(&target.GetItem(0)->FilterClass(), &TFlipFilter::Class());

    // An ordinal before an item is skipped.
    QByteArray withOrdinal = good;
    withOrdinal.insert(1, QByteArray("\x02\x00", 2));
    pos = 0;
    EXPECT_TRUE(ReadFilterItems(withOrdinal, pos, target, &error)) << error.toStdString();
    EXPECT_EQ(&target.GetItem(0)->FilterClass(), &TZoomFilter::Class());
}

TEST(FilterImage, ResamplesToTheTargetThenFilters)
{
    TImageFiltered control;
    EXPECT_TRUE(control.FilteredImage(QSize(10, 10)).isNull());
    control.Picture().SetGraphic(Filled(4, 4, Rgb(10, 20, 30)));
    control.Filters().Add(TInvertFilter::Class());
    const QImage same = control.FilteredImage(QSize(4, 4));
    EXPECT_EQ(Px(same, 3, 3), Rgb(245, 235, 225));
    const QImage bigger = control.FilteredImage(QSize(9, 7));
    ASSERT_EQ(bigger.size(), QSize(9, 7));
    EXPECT_NEAR((Px(bigger, 4, 3) >> 16) & 0xFF, 245, 2);
    control.resize(20, 20);
    control.Stretch = true;
    control.DesignTime = true;
    QImage shot(20, 20, QImage::Format_RGB32);
    shot.fill(Qt::white);
    control.render(&shot);
    EXPECT_NEAR((Px(shot, 10, 10) >> 16) & 0xFF, 245, 2);
}

} // namespace
