// Pies drawn through the chart canvas, checked pixel by pixel by a numpy script of their own
// (tests/data/series/pie_pixels_check.py): from the values, rotation, sweep, explosions, grouping
// and the chart rectangle it works out every slice and classifies each pixel that lies 1.5
// pixels or more from a slice border. The image must show the slice's colour (or the back colour
// outside all slices) there, and the series' hit test must answer that slice (or nothing).
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/series/Chart.h"
#include "chart/series/PieSeries.h"
#include "platform/gdi/RasterDC.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr TColor kBack = 0x203448;
constexpr int kSize = 400;

// Distinct colours, none of them the back colour.
TColor SliceColor(int index)
{
    const int r = (53 * index + 40) % 256, g = (97 * index + 200) % 256, b = (29 * index + 90) % 256;
    const TColor c = r | (g << 8) | (b << 16);
    return c == kBack ? 0x0000FF : c;
}

struct PieCase {
    std::vector<double> Values;
    int Rotation = 0;
    int AngleSize = 360;
    int ExplodeBiggest = 0;
    TPieOtherStyle OtherStyle = poNone;
    double OtherValue = 0.0;
    bool Circled = false;
};

struct ChartCase {
    QString Name;
    std::vector<PieCase> Pies;
    int DotsPerMetreX = 0;   // 0: the device's own
    int DotsPerMetreY = 0;
};

std::vector<double> RandomValues(int count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(1, 100);
    std::vector<double> v;
    for (int i = 0; i < count; ++i)
        v.push_back(d(rng));
    return v;
}

std::vector<ChartCase> Cases()
{
    std::vector<ChartCase> cases;
    auto one = [&](const QString& name, PieCase pie) { cases.push_back({name, {pie}}); };
    one("one slice", {{42}});
    one("two slices", {{30, 70}});
    one("eight slices", {RandomValues(8, 1)});
    one("hundred slices", {RandomValues(100, 2)});
    one("one zero value", {{25, 0, 40, 35}});
    one("all zero", {{0, 0, 0, 0}});
    one("negative values", {{-20, 35, -10, 50, 15}});
    PieCase half{{10, 20, 30, 40}};
    half.AngleSize = 180;
    one("angle size 180", half);
    PieCase rotated{{10, 20, 30, 40}};
    rotated.Rotation = 450;
    one("rotation 450", rotated);
    PieCase exploded{{15, 45, 20, 20}};
    exploded.ExplodeBiggest = 30;
    one("explode biggest 30", exploded);
    PieCase grouped{{50, 2, 30, 1, 3, 14, 4}};
    grouped.OtherStyle = poBelowPercent;
    grouped.OtherValue = 5;
    one("below 5 percent", grouped);
    for (int n : {2, 3, 5}) {
        ChartCase multi{QStringLiteral("multi-pie %1").arg(n), {}};
        for (int i = 0; i < n; ++i) {
            PieCase p{RandomValues(3 + i, 10 + i)};
            p.Rotation = 30 * i;
            multi.Pies.push_back(p);
        }
        cases.push_back(multi);
    }
    PieCase circled{{10, 20, 30, 40}};
    circled.Circled = true;
    cases.push_back({"circled on a device of 4:3 pixels", {circled}, 3780, 2835});
    return cases;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

TEST(PieSeriesExternal, NumpyClassifiesEveryPixelOfTheSlices)
{
    const QString python = QStringLiteral("/usr/bin/python3");   // where Debian installs python3-numpy
    QProcess probe;
    probe.start(python, {"-c", "import numpy"});
    ASSERT_TRUE(probe.waitForFinished(60000) && probe.exitCode() == 0)
        << "python3-numpy is not installed (scripts/setup.sh installs it)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QJsonArray described;
    const std::vector<ChartCase> cases = Cases();
    for (size_t c = 0; c < cases.size(); ++c) {
        const ChartCase& cc = cases[c];
        TChart chart;
        chart.resize(kSize, kSize);
        chart.SetView3D(false);
        chart.Legend().Hide();
        chart.SetColor(kBack);
        std::vector<std::unique_ptr<TPieSeries>> pies;
        QJsonArray piesJson;
        int colorIndex = 0;
        for (const PieCase& pc : cc.Pies) {
            auto pie = std::make_unique<TPieSeries>();
            chart.AddSeries(pie.get());
            pie->Pen().Hide();
            pie->Shadow().SetVisible(false);
            pie->Marks().SetVisible(false);
            pie->SetRotationAngle(pc.Rotation);
            pie->SetAngleSize(pc.AngleSize);
            pie->SetExplodeBiggest(pc.ExplodeBiggest);   // before the points: nothing to explode yet
            pie->OtherSlice().SetStyle(pc.OtherStyle);
            pie->OtherSlice().SetValue(pc.OtherValue);
            const TColor otherColor = SliceColor(colorIndex++);
            pie->OtherSlice().SetColor(otherColor);
            QJsonArray colors, values;
            for (double v : pc.Values) {
                const TColor color = SliceColor(colorIndex++);
                pie->AddPie(v, {}, color);
                colors.append(color);
                values.append(v);
            }
            pie->SetCircled(pc.Circled);
            piesJson.append(QJsonObject{{"values", values}, {"colors", colors}, {"rotation", pc.Rotation},
                                        {"angleSize", pc.AngleSize}, {"explodeBiggest", pc.ExplodeBiggest},
                                        {"otherStyle", int(pc.OtherStyle)}, {"otherValue", pc.OtherValue},
                                        {"otherColor", otherColor}, {"circled", pc.Circled}});
            pies.push_back(std::move(pie));
        }
        chart.RepaintNow();
        double aspect = 1.0;
        if (cc.DotsPerMetreX > 0) {
            // The same size keeps the off-screen picture, and with it the resolution set here.
            QImage& image = chart.Canvas().Bitmap()->Device().ImageForWrite();
            image.setDotsPerMeterX(cc.DotsPerMetreX);
            image.setDotsPerMeterY(cc.DotsPerMetreY);
            double seen = 0.0;
            chart.OnAfterDraw = [&] { seen = TCircledSeries::DevicePixelAspect(chart.Canvas()); };
            chart.Invalidate();
            chart.RepaintNow();
            chart.OnAfterDraw = nullptr;
            aspect = double(cc.DotsPerMetreX) / cc.DotsPerMetreY;
            ASSERT_DOUBLE_EQ(seen, aspect);
        }
        const QImage image = chart.WindowImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.width(), kSize);
        QByteArray rgb(kSize * kSize * 4, Qt::Uninitialized);
        for (int y = 0; y < kSize; ++y)
            memcpy(rgb.data() + y * kSize * 4, image.constScanLine(y), kSize * 4);
        QByteArray hits(kSize * kSize * 4, Qt::Uninitialized);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                int32_t hit = -1;
                for (size_t s = 0; s < pies.size() && hit < 0; ++s)
                    if (const int k = pies[s]->Clicked(x, y); k >= 0)
                        hit = static_cast<int32_t>(s * 1000 + k);
                qToLittleEndian<int32_t>(hit, hits.data() + (y * kSize + x) * 4);
            }
        const QString id = QStringLiteral("c%1").arg(c);
        ASSERT_TRUE(WriteFile(dir.filePath(id + ".rgb"), rgb));
        ASSERT_TRUE(WriteFile(dir.filePath(id + ".hit"), hits));
        const TRect& r = chart.ChartRect;
        described.append(QJsonObject{{"id", id}, {"name", cc.Name}, {"size", kSize}, {"back", kBack},
                                     {"chartRect", QJsonArray{r.Left, r.Top, r.Right, r.Bottom}},
                                     {"aspect", aspect}, {"pies", piesJson}});
        for (auto& pie : pies)
            chart.RemoveSeries(*pie);
    }
    ASSERT_TRUE(WriteFile(dir.filePath("cases.json"), QJsonDocument(described).toJson()));

    QProcess check;
    check.start(python, {ZENDRIK_SOURCE_DIR "/tests/data/series/pie_pixels_check.py", dir.path()});
    ASSERT_TRUE(check.waitForFinished(600000)) << "the numpy check did not finish";
    const QString out = QString::fromUtf8(check.readAllStandardOutput());
    EXPECT_EQ(check.exitCode(), 0) << out.toStdString() << check.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("cases agreeing: %1 of %1").arg(cases.size()))) << out.toStdString();
}
