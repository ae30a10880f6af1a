// The main chart's axes as the shipped projects set them, logarithmic and linear, in both window
// layouts: no two labels of one axis overlap, neither in the window nor in the chart's metafile
// (the printed report and the WMF export) nor in the 800 x 300 picture of the mail notices. The
// frequency axis' end labels count as labels of that axis.
#include "app/AppContext.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/series/Chart.h"
#include "common/Controls.h"
#include "forms/MainWindow.h"
#include "forms/Program.h"
#include "mail/ChartImage.h"
#include "platform/gdi/GdiTypes.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using testsupport::Control;

namespace {

struct Span {
    QString text;
    int from, to; // along the axis
};

// Every label drawn on the two axes of the chart while it is hooked, by axis.
class LabelRecorder {
public:
    explicit LabelRecorder(TChart& chart) : chart_(chart)
    {
        for (TChartAxis* axis : {chart.BottomAxis(), chart.LeftAxis()})
            axis->OnDrawLabel = [this](TChartAxis* drawn, int& x, int& y, int&, QString& text, bool&) {
                Record(*drawn, x, y, text);
            };
    }
    ~LabelRecorder()
    {
        for (TChartAxis* axis : {chart_.BottomAxis(), chart_.LeftAxis()})
            axis->OnDrawLabel = nullptr;
    }
    LabelRecorder(const LabelRecorder&) = delete;
    LabelRecorder& operator=(const LabelRecorder&) = delete;

    // The overlapping pairs of what was drawn since the last call, described.
    QStringList TakeOverlaps()
    {
        QStringList faults;
        for (std::vector<Span>* spans : {&bottom_, &left_}) {
            std::sort(spans->begin(), spans->end(), [](const Span& a, const Span& b) { return a.from < b.from; });
            for (size_t i = 1; i < spans->size(); ++i) {
                const Span& a = (*spans)[i - 1];
                const Span& b = (*spans)[i];
                if (b.from < a.to)
                    faults << QStringLiteral("\"%1\" (%2..%3) overlaps \"%4\" (%5..%6)")
                                  .arg(a.text).arg(a.from).arg(a.to).arg(b.text).arg(b.from).arg(b.to);
            }
            drawnLabels_ += static_cast<int>(spans->size());
            spans->clear();
        }
        return faults;
    }
    int DrawnLabels() const { return drawnLabels_; }

private:
    void Record(TChartAxis& axis, int x, int y, const QString& text)
    {
        if (text == axis.Title().Caption())
            return;
        TCanvas3D& canvas = chart_.Canvas();
        if (axis.Horizontal()) {
            const int width = canvas.TextWidth(text);
            const uint32_t align = canvas.GetTextAlign() & gdi::TA_CENTER;
            const int from = align == gdi::TA_CENTER ? x - width / 2 : align == gdi::TA_RIGHT ? x - width : x;
            bottom_.push_back({text, from, from + width});
        } else {
            left_.push_back({text, y, y + canvas.FontHeight()});
        }
    }

    TChart& chart_;
    std::vector<Span> bottom_, left_;
    int drawnLabels_ = 0;
};

void Expect(LabelRecorder& recorder, const char* where)
{
    const QStringList faults = recorder.TakeOverlaps();
    EXPECT_TRUE(faults.isEmpty()) << where << ": " << faults.join(QStringLiteral("; ")).toStdString();
}

} // namespace

TEST(AxisLabelOverlap, ShippedProjectsLabelEachAxisApartInEveryPicture)
{
    const QDir data(QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src"));
    const QStringList projects = data.entryList({QStringLiteral("*.prj")}, QDir::Files, QDir::Name);
    ASSERT_GE(projects.size(), 10);
    const QString oldCurrent = QDir::currentPath();
    for (const QStringList& arguments : {QStringList{}, QStringList{QStringLiteral("s")}}) {
        QTemporaryDir folder;
        for (const char* sub : {"zips", "src", "rep", "out"})
            QDir(folder.path()).mkpath(QString::fromLatin1(sub));
        for (const QString& name : data.entryList(QDir::Files))
            QFile::copy(data.filePath(name), folder.filePath("src/" + name));
        AppContext app;
        Program program(app, arguments, folder.path());
        program.Services().ShowMessage = [](const QString&) {};
        program.Services().ShowError = [](const QString&) {};
        program.Services().VersionIndex = [] { return 9; };
        program.CreateForms();
        MainWindow* w = program.Windows().mainWindow;
        w->resize(arguments.isEmpty() ? QSize(1340, 706) : QSize(800, 480));
        w->show();
        QCoreApplication::processEvents();
        TChart& chart = Control<TChart>(*w, "Chart1");
        auto& logBox = Control<QCheckBox>(*w, "CheckBox2");
        LabelRecorder recorder(chart);
        for (const QString& project : projects) {
            for (const bool logarithmic : {true, false}) {
                SCOPED_TRACE((project + (logarithmic ? " log " : " lin ") + arguments.join(' ')).toStdString());
                w->openProject(folder.filePath("src/" + project));
                if (logBox.isChecked() != logarithmic)
                    logBox.click();
                chart.RepaintNow();
                Expect(recorder, "window");
                (void)chart.CreateChartMetafile(true, chart.GetRectangle());
                Expect(recorder, "report and WMF");
                QString error;
                ASSERT_TRUE(SaveChartJpeg(chart, folder.path(), &error)) << error.toStdString();
                Expect(recorder, "mail picture");
            }
        }
        EXPECT_GT(recorder.DrawnLabels(), static_cast<int>(projects.size()) * 2 * 3 * 8);
        QDir::setCurrent(oldCurrent);
    }
}
