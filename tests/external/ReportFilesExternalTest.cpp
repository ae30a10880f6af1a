// Readers we did not write against the report files: Python's struct module reads a chart file
// by the published record layout, Python's csv module reads every CSV variant, and libwmf's
// wmf2svg reads the chart's WMF export.
#include "app/Log.h"
#include "common/TestSupport.h"
#include "reports/ChartFiles.h"
#include "reports/ChartRecord.h"
#include "reports/CsvExport.h"
#include "reports/TextReports.h"
#include "tests/reports/ReportChart.h"

#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString output;
};

ProgramRun RunProgram(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    ProgramRun r;
    if (!p.waitForStarted(10000) || !p.waitForFinished(120000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = QString::fromUtf8(p.readAll());
    return r;
}

// Written from the record table: Tag, Index (signed 32-bit), X, Y (doubles), little-endian.
const char kChartReader[] = R"PY(
import struct, sys
data = open(sys.argv[1], 'rb').read()
assert len(data) % 24 == 0, 'not whole records'
recs = [struct.unpack_from('<iidd', data, o) for o in range(0, len(data), 24)]
assert recs[0][:2] == (-1, 0) and recs[1][:2] == (-2, 0), recs[:2]
print('bottom %r %r' % recs[0][2:])
print('left %r %r' % recs[1][2:])
head = recs[2:15]
assert [r[0] for r in head] == [-3] * 13 and [r[1] for r in head] == list(range(1, 14)), head
print('header ' + ''.join(chr(int(r[2])) + chr(int(r[3])) for r in head))
order, counts, last = [], {}, None
for tag, index, x, y in recs[15:]:
    if tag != last:
        assert tag not in counts, 'series %d comes twice' % tag
        order.append(tag); counts[tag] = 0; last = tag
    assert index == counts[tag], (tag, index)
    counts[tag] += 1
print('series ' + ' '.join('%d:%d' % (t, counts[t]) for t in order))
)PY";

// Reads a CSV file with the chosen delimiter and checks it against the expected curves.
const char kCsvReader[] = R"PY(
import csv, json, sys
path, delim, dec, expected = sys.argv[1], sys.argv[2], sys.argv[3], json.load(open(sys.argv[4]))
rows = list(csv.reader(open(path, newline='', encoding='utf-8'), delimiter=delim, quotechar='"'))
header = [h for c in expected for h in (c['freq'], c['level'])]
assert rows[0] == header, (rows[0], header)
longest = max(len(c['x']) for c in expected)
assert len(rows) == 1 + longest, len(rows)
for i, row in enumerate(rows[1:]):
    assert len(row) == 2 * len(expected), row
    for k, c in enumerate(expected):
        f, l = row[2 * k], row[2 * k + 1]
        if i >= len(c['x']):
            assert f == '' and l == '', row
            continue
        assert f == '%.0f' % (c['x'][i] * 1000), (f, c['x'][i])
        assert l.replace(dec, '.') == '%.2f' % c['y'][i], (l, c['y'][i])
        assert ('.' if dec == ',' else ',') not in l, l
print('ok %d rows' % len(rows))
)PY";

QString Python()
{
    return QStandardPaths::findExecutable(QStringLiteral("python3"));
}

} // namespace

TEST(ReportFilesExternalTest, PythonStructReadsAChartFile)
{
    ASSERT_FALSE(Python().isEmpty());
    QTemporaryDir dir;
    reportstest::ReportChart chart;
    for (int i = 0; i < 5; ++i)
        chart.Series(7).AddPointXY(150 + i, 40.5 + i);
    for (int i = 0; i < 3; ++i) {
        chart.Series(1).AddPointXY(150 + i, 50 + i);
        chart.Series(15).AddPointXY(150 + i, 60);
    }
    chart.Series(26).AddPointXY(1, 1);   // not part of a chart file
    chart.BottomAxis()->SetRange(150, 30000);
    chart.LeftAxis()->SetRange(-20.5, 100);
    ASSERT_TRUE(SaveChartFile(dir.filePath("c.drw"), chart.Context));
    ASSERT_TRUE(testsupport::WriteAll(dir.filePath("read.py"), kChartReader));
    const ProgramRun r = RunProgram(Python(), {dir.filePath("read.py"), dir.filePath("c.drw")});
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_EQ(r.output, "bottom 150.0 30000.0\nleft -20.5 100.0\nheader V 0 4 . 1 2  BN=1 2 6 0 0 \n"
                        "series 1:3 7:5 15:3\n");
}

TEST(ReportFilesExternalTest, PythonCsvReadsEveryVariant)
{
    ASSERT_FALSE(Python().isEmpty());
    QTemporaryDir dir;
    TChartSeries corrected1, raw2, cable;
    const std::vector<std::pair<double, double>> points = {{150, 45.2}, {30000.5, -3.125}, {9, 0.005}, {3e6, 123.456}};
    for (size_t i = 0; i < points.size(); ++i) {
        corrected1.AddPointXY(points[i].first + 1, points[i].second);
        if (i < 2)
            raw2.AddPointXY(points[i].first, -points[i].second);
    }
    MainChartSeries series;
    series[SeriesRole::correctedTrace1] = &corrected1;
    series[SeriesRole::rawTrace2] = &raw2;
    series[SeriesRole::cableCorrection] = &cable; // ticked and empty
    CsvTicks ticks{};
    ticks[0] = ticks[3] = ticks[6] = true;
    QString expected = "[";
    for (const auto& [s, freq, level] : {std::tuple{&corrected1, "Seg1_Freq[Hz]", "Level[dBuV]"},
                                         std::tuple{&raw2, "Raw2_Freq[Hz]", "Level[dBuV]"},
                                         std::tuple{&cable, "Cable_Freq[Hz]", "Level[dB]"}}) {
        QStringList xs, ys;
        for (int i = 0; i < s->Count(); ++i) {
            xs << QString::number(s->XValues().Value(i), 'g', 17);
            ys << QString::number(s->YValues().Value(i), 'g', 17);
        }
        expected += QStringLiteral("%1{\"freq\": \"%2\", \"level\": \"%3\", \"x\": [%4], \"y\": [%5]}")
                        .arg(expected.size() > 1 ? ", " : "", freq, level, xs.join(", "), ys.join(", "));
    }
    ASSERT_TRUE(testsupport::WriteAll(dir.filePath("expected.json"), (expected + "]").toUtf8()));
    ASSERT_TRUE(testsupport::WriteAll(dir.filePath("read.py"), kCsvReader));

    int files = 0;
    for (const CsvChoice& separator : CsvSeparators())
        for (const CsvChoice& enclosure : CsvEnclosures())
            for (const CsvChoice& mark : CsvDecimalMarks()) {
                const CsvFormat format{separator.Value[0], enclosure.Value, mark.Value[0]};
                const QString file = dir.filePath(QStringLiteral("f%1.csv").arg(files++));
                ASSERT_TRUE(WriteCsvFile(file, series, ticks, format));
                const ProgramRun r = RunProgram(Python(), {dir.filePath("read.py"), file, QString::fromLatin1(separator.Value),
                                                    QString::fromLatin1(mark.Value), dir.filePath("expected.json")});
                EXPECT_EQ(r.exitCode, 0) << separator.Caption << ' ' << enclosure.Caption << ' ' << mark.Caption << '\n'
                                         << r.output.toStdString() << testsupport::ReadAll(file).toStdString();
            }
    EXPECT_EQ(files, 20);
}

TEST(ReportFilesExternalTest, Wmf2svgReadsTheChartExport)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("wmf2svg")).isEmpty())
        << "wmf2svg is missing; scripts/setup.sh installs libwmf-bin";
    QTemporaryDir dir;
    reportstest::ReportChart chart;
    for (int i = 0; i <= 100; ++i) {
        chart.Series(7).AddPointXY(100 + 10 * i, 40 + (i % 9));
        chart.Series(2).AddPointXY(100 + 10 * i, 60);
    }
    chart.Series(7).SetSeriesColor(clRed);
    chart.Series(2).SetSeriesColor(clBlue);
    chart.BottomAxis()->SetRange(100, 1100);
    chart.LeftAxis()->SetRange(20, 80);
    chart.SetColor(clSkyBlue);
    // The labels the axes draw.
    QSet<QString> labels;
    for (TChartAxis* axis : {chart.BottomAxis(), chart.LeftAxis()})
        axis->OnDrawLabel = [&labels](TChartAxis*, int&, int&, int&, QString& text, bool&) { labels.insert(text); };
    const QString wmf = dir.filePath("chart.wmf");
    MessageLog log;
    ASSERT_TRUE(SaveChartWmf(chart, wmf, &log));
    EXPECT_EQ(chart.Color(), clSkyBlue);
    EXPECT_EQ(chart.BevelOuter(), bvRaised);

    const ProgramRun r = RunProgram(QStringLiteral("wmf2svg"), {QStringLiteral("-o"), dir.filePath("chart.svg"), wmf});
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    const QString svg = QString::fromUtf8(testsupport::ReadAll(dir.filePath("chart.svg")));
    ASSERT_GE(labels.size(), 4);
    for (const QString& label : labels)
        EXPECT_TRUE(svg.contains(">" + label + "<")) << label.toStdString() << '\n' << svg.left(3000).toStdString();
    EXPECT_TRUE(svg.contains(QLatin1String("stroke:red")));
    EXPECT_TRUE(svg.contains(QLatin1String("stroke:blue")));
}
