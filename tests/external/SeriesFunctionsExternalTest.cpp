// The seven series functions against numpy: a script of their own (series_functions_check.py)
// recomputes every calculated series from the same irregular sources, by points, by ranges of
// numeric and date-time X, with the three alignments, over all points and over several sources,
// and compares the points (values within 1e-9 relative, High and Low exactly).
#include "chart/canvas/DateTimeSteps.h"
#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"
#include "chart/engine/SeriesFunctions.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

class QuietChart : public ChartParent {
public:
    void Repaint() override {}
    TChartSeriesList& SeriesList() override { return list_; }
    TChartTools& Tools() override { return tools_; }

private:
    TChartSeriesList list_;
    TChartTools tools_;
};

const char* const kNames[] = {"Add", "Subtract", "Multiply", "Divide", "High", "Low", "Average"};
const char* const kAligns[] = {"first", "center", "last"};

// Sorted X with random gaps (some equal neighbours, some long gaps that leave ranges empty) and
// values near 1, so that products over whole sources stay finite; withZeros puts exact zeros
// among them for the division rule.
std::unique_ptr<TChartSeries> IrregularSource(QuietChart& chart, std::mt19937& rng, int count, double start,
                                              double meanGap, bool dateTime, bool withZeros)
{
    auto s = std::make_unique<TChartSeries>();
    s->SetParentChart(&chart);
    s->XValues().SetDateTime(dateTime);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    TChartSeries::UpdateScope scope(*s);
    double x = start;
    for (int i = 0; i < count; ++i) {
        const double r = u(rng);
        x += r < 0.02 ? 0.0 : (r > 0.995 ? 60.0 : 1.0) * meanGap * -std::log(u(rng) + 1e-300);
        const double y = withZeros && u(rng) < 0.002 ? 0.0 : 0.9 + 0.2 * u(rng);
        s->AddPointXY(x, y);
    }
    return s;
}

bool WriteValues(const QString& path, std::span<const double> values)
{
    QByteArray bytes(static_cast<qsizetype>(values.size() * 8), Qt::Uninitialized);
    for (size_t i = 0; i < values.size(); ++i)
        qToLittleEndian<double>(values[i], bytes.data() + i * 8);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class CaseWriter {
public:
    explicit CaseWriter(const QString& folder) : folder_(folder) {}

    QString Source(TChartSeries& s)
    {
        const QString base = QStringLiteral("s%1").arg(sources_++);
        ok_ = ok_ && WriteValues(folder_ + "/" + base + ".x", s.XValues().Values())
            && WriteValues(folder_ + "/" + base + ".y", s.YValues().Values());
        return base;
    }

    // Computes the case with our engine and writes its points beside its description.
    void Add(QJsonObject c, const QStringList& sources, const std::vector<TChartSeries*>& feeds,
             const QString& function, double period, TFunctionPeriodStyle style, TFunctionPeriodAlign align,
             bool single = true)
    {
        TChartSeries result;
        result.SetParentChart(feeds.front()->ParentChart());
        result.SinglePoint = single;
        auto f = FindPlotFunctionClass("T" + function + "Function")->Create();
        f->SetPeriod(period);
        f->SetPeriodStyle(style);
        f->SetPeriodAlign(align);
        result.SetFunction(std::move(f));
        for (TChartSeries* feed : feeds)
            result.DataSources().Add(feed);
        const QString id = QStringLiteral("c%1").arg(cases_.size());
        ok_ = ok_ && WriteValues(folder_ + "/" + id + ".x", result.XValues().Values())
            && WriteValues(folder_ + "/" + id + ".y", result.YValues().Values());
        points_ += result.Count();
        c["id"] = id;
        c["function"] = function;
        c["sources"] = QJsonArray::fromStringList(sources);
        c["result"] = id;
        c["period"] = period;
        c["align"] = kAligns[align];
        c["single"] = single;
        cases_.append(c);
        result.SetParentChart(nullptr);
    }

    bool Finish()
    {
        QFile f(folder_ + "/cases.json");
        return ok_ && f.open(QIODevice::WriteOnly) && f.write(QJsonDocument(cases_).toJson()) > 0;
    }
    int Cases() const { return static_cast<int>(cases_.size()); }
    int Points() const { return points_; }

private:
    QString folder_;
    QJsonArray cases_;
    int sources_ = 0;
    int points_ = 0;
    bool ok_ = true;
};

} // namespace

TEST(SeriesFunctionsExternal, NumpyComputesTheSameSeries)
{
    const QString python = QStringLiteral("/usr/bin/python3");   // where Debian installs python3-numpy
    QProcess probe;
    probe.start(python, {"-c", "import numpy"});
    ASSERT_TRUE(probe.waitForFinished(60000) && probe.exitCode() == 0)
        << "python3-numpy is not installed (scripts/setup.sh installs it)";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CaseWriter cases(dir.path());
    QuietChart chart;
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> size(1000, 100000);
    std::vector<std::unique_ptr<TChartSeries>> keep;

    // By points, by numeric ranges and by date-time ranges, each with the three alignments.
    const double pointPeriods[] = {2.5, 7, 10.4};
    const double rangePeriods[] = {3.7, 10, 25};
    const int dateSteps[] = {12, 16, 19, 20, 21, 23, 26};   // 1 hour, 1 and 7 days, half months, 1 and 3 months, 1 year
    for (int kind = 0; kind < 3; ++kind) {
        for (int a = 0; a < 3; ++a) {
            const bool dateTime = kind == 2;
            keep.push_back(IrregularSource(chart, rng, size(rng), dateTime ? 44000.3 : -500.0, dateTime ? 0.04 : 1.0,
                                           dateTime, a != 1));
            TChartSeries& source = *keep.back();
            const QString name = cases.Source(source);
            double period = kind == 0 ? pointPeriods[a] : rangePeriods[a];
            if (dateTime)
                period = DateTimeSteps()[static_cast<size_t>(dateSteps[rng() % std::size(dateSteps)])];
            QJsonObject c{{"kind", kind == 0 ? "points" : "range"}, {"dateTime", dateTime}};
            for (const char* f : kNames)
                cases.Add(c, {name}, {&source}, f, period, kind == 0 ? psNumPoints : psRange,
                          static_cast<TFunctionPeriodAlign>(a));
        }
    }
    // Every date-time step of a month or longer once more, so each calendar rule is met.
    for (int step : {20, 21, 22, 23, 24, 25, 26}) {
        keep.push_back(IrregularSource(chart, rng, size(rng), 43000.75, 0.05, true, false));
        const QString name = cases.Source(*keep.back());
        cases.Add(QJsonObject{{"kind", "range"}, {"dateTime", true}}, {name}, {keep.back().get()}, "Average",
                  DateTimeSteps()[static_cast<size_t>(step)], psRange, paCenter);
    }
    // Period 0: one point in the middle of the X range, or a level line across it.
    keep.push_back(IrregularSource(chart, rng, size(rng), 10.0, 0.5, false, false));
    const QString whole = cases.Source(*keep.back());
    for (const char* f : kNames)
        for (bool single : {true, false})
            cases.Add(QJsonObject{{"kind", "all"}}, {whole}, {keep.back().get()}, f, 0, psNumPoints, paCenter, single);
    // Several sources of different lengths, one of them with zeros.
    QStringList names;
    std::vector<TChartSeries*> feeds;
    for (int k = 0; k < 3; ++k) {
        keep.push_back(IrregularSource(chart, rng, size(rng), 0.0, 1.0, false, k == 1));
        names << cases.Source(*keep.back());
        feeds.push_back(keep.back().get());
    }
    for (const char* f : kNames)
        cases.Add(QJsonObject{{"kind", "many"}}, names, feeds, f, 0, psNumPoints, paCenter);
    ASSERT_TRUE(cases.Finish());
    ASSERT_GT(cases.Points(), 100000);

    QProcess check;
    check.start(python, {ZENDRIK_SOURCE_DIR "/tests/external/series_functions_check.py", dir.path()});
    ASSERT_TRUE(check.waitForFinished(600000)) << "the numpy check did not finish";
    const QString out = QString::fromUtf8(check.readAllStandardOutput());
    EXPECT_EQ(check.exitCode(), 0) << out.toStdString() << check.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("cases agreeing: %1 of %1").arg(cases.Cases()))) << out.toStdString();
    for (auto& s : keep)
        s->SetParentChart(nullptr);
}
