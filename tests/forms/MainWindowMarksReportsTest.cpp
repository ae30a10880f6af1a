// The main window's marks and file commands on the real window: the overlays painted with the
// chart, the read-out and markers of the mouse, "Copy Markers", "Select 6 maxpeaks", the Fader
// and Math pages, and the chart, compensation and reference files through their handlers, with
// the commands a run forbids.
#include "app/AppContext.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/LoggerWindow.h"
#include "forms/MainChart.h"
#include "forms/MainWindow.h"
#include "forms/MainWindowPalette.h"
#include "forms/Program.h"
#include "instrument/InstrumentState.h"
#include "mail/ChartImage.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/MarkerStore.h"
#include "measurement/PeakLists.h"
#include "measurement/RunHost.h"
#include "platform/gdi/GdiTypes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

using enum MeasureSet;
using testsupport::Control;

namespace {

struct MarksAndReports : ::testing::Test {
    QTemporaryDir folder;
    AppContext app;
    QString oldCurrent = QDir::currentPath();
    std::unique_ptr<Program> program;
    MainWindow* w = nullptr;
    TChart* chart1 = nullptr; // the main chart, Chart1
    MainWindowState* state = nullptr;
    QString chosen; // what the file dialogs answer

    MarksAndReports()
    {
        for (const char* sub : {"zips", "src", "rep", "out"})
            QDir(folder.path()).mkpath(sub);
        program = std::make_unique<Program>(app, QStringList{}, folder.path());
        program->Services().showMessage = [](const QString&) {};
        program->Services().showError = [](const QString&) {};
        program->Services().versionIndex = [] { return 9; };
        program->CreateForms();
        w = program->Windows().mainWindow;
        chart1 = &Control<TChart>(*w, "Chart1");
        state = &program->MainState();
        w->chooseReportFile = [this](const SaveDialogSettings&, bool) { return chosen; };
        // A linear chart over 0 .. 1000 kHz and 0 .. 100 dBuV, shown so that clicks reach the lists.
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        chart1->BottomAxis()->SetLogarithmic(false);
        chart1->BottomAxis()->SetRange(0, 1000);
        chart1->LeftAxis()->SetRange(0, 100);
        C().Series(SeriesRole::correctedTrace1)->AddPointXY(100, 40);
        C().Series(SeriesRole::correctedTrace1)->AddPointXY(900, 80);
        chart1->RepaintNow();
        // One pixel per kHz, so that the pixel of a frequency reads back as that frequency.
        for (int tries = 0; tries < 8 && chart1->BottomAxis()->SizePixels() != 1000; ++tries) {
            w->resize(w->width() + 1000 - chart1->BottomAxis()->SizePixels(), w->height());
            QCoreApplication::processEvents();
            chart1->RepaintNow();
        }
        EXPECT_EQ(chart1->BottomAxis()->SizePixels(), 1000);
    }
    ~MarksAndReports() override { QDir::setCurrent(oldCurrent); }

    MainChart& C() { return w->chart(); }
    int X(double khz) const { return chart1->BottomAxis()->ValueToPixel(khz); }
    int Y(double dbuv) const { return chart1->LeftAxis()->ValueToPixel(dbuv); }
    // Pixels of the window surface in an area that pass a test.
    template <class Test> int Count(const QRect& area, Test test) const
    {
        const QImage& image = chart1->WindowImage();
        int n = 0;
        for (int j = area.top(); j <= area.bottom(); ++j)
            for (int i = area.left(); i <= area.right(); ++i)
                n += image.valid(i, j) && test(image.pixel(i, j));
        return n;
    }
    int Pixels(TColor colour, const QRect& area) const
    {
        const QRgb wanted = QColorOf(colour).rgb();
        return Count(area, [wanted](QRgb p) { return (p & 0xFFFFFFu) == (wanted & 0xFFFFFFu); });
    }
    int Pixels(TColor colour, int x, int y, int radius) const
    {
        return Pixels(colour, QRect(x - radius, y - radius, 2 * radius + 1, 2 * radius + 1));
    }
    void Move(int x, int y)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), chart1->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(chart1, &move);
    }
    void Click(int x, int y)
    {
        QTest::mousePress(chart1, Qt::LeftButton, {}, QPoint(x, y));
        QTest::mouseRelease(chart1, Qt::LeftButton, {}, QPoint(x, y));
    }
    QString File(const QString& name) const { return folder.filePath("out/" + name); }
    QStringList Messages() const { return app.Messages.Lines(); }
};

std::vector<std::pair<double, double>> Points(TChartSeries& s)
{
    std::vector<std::pair<double, double>> out;
    for (int i = 0; i < s.Count(); ++i)
        out.emplace_back(s.GetPointX(i), s.GetPointY(i));
    return out;
}

bool BitIdentical(const std::vector<std::pair<double, double>>& a, const std::vector<std::pair<double, double>>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0);
}

TEST_F(MarksAndReports, ThePaintDrawsThePeakMarksAndFlagsUnderTheBusyCursorAndTheMouseReadsTheTraces)
{
    PeakLists& set1 = w->peakLists(Set1);
    set1.AddPeak(500, 30, 70);
    Qt::CursorShape during = Qt::ArrowCursor;
    const TNotifyEvent overlays = chart1->OnBeforeDrawSeries;
    chart1->OnBeforeDrawSeries = [&] {
        overlays();
        const QCursor* c = QGuiApplication::overrideCursor();
        during = c ? c->shape() : Qt::ArrowCursor;
    };
    chart1->RepaintNow();
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_GT(Pixels(state->Colors.PeakCircles[Set1], X(500), Y(30), 6), 8);

    // Set 1 hidden: no circle; the R&S receivers paint without the busy cursor.
    Control<QCheckBox>(*w, "CheckBox4").setChecked(false);
    program->Instrument().Device.DeviceFamily = dfRsFpc;
    chart1->RepaintNow();
    EXPECT_EQ(Pixels(state->Colors.PeakCircles[Set1], X(500), Y(30), 6), 0);
    EXPECT_EQ(during, Qt::ArrowCursor);

    // The read-out: 500 kHz lies between the trace's points, 950 kHz beyond it; nothing left of
    // the axis.
    Move(X(500), Y(50));
    EXPECT_EQ(Control<QLineEdit>(*w, "Edit1").text(), "500 kHz");
    EXPECT_EQ(Control<QLineEdit>(*w, "Edit2").text(), "~ 60.00 " + state->LevelUnitName);
    EXPECT_EQ(Control<QLineEdit>(*w, "Edit3").text(), "! 0.00 " + state->LevelUnitName);
    Move(X(0) - 20, Y(50));
    EXPECT_EQ(Control<QLineEdit>(*w, "Edit1").text(), "500 kHz");

    // The debug window's "New Labels" writes the ends of a frequency axis with labels of its own.
    TChartAxis& bottom = *chart1->BottomAxis();
    bottom.Items().Clear();
    bottom.Items().Add(400);
    bottom.Items().Add(600);
    chart1->OnBeforeDrawSeries = nullptr;
    chart1->RepaintNow();
    const QRect ends(X(1000) - 40, bottom.AxisPixel() + 7, 80, 16);
    auto dark = [](QRgb p) { return qGray(p) < 96; };
    const int before = Count(ends, dark);
    Control<QPushButton>(*program->Windows().loggerWindow, "Button17").click();
    EXPECT_GT(Count(ends, dark), before + 10);
}

TEST_F(MarksAndReports, AClickPlacesTheArmedMarkerWhichCopyMarkersTurnsIntoPeaks)
{
    EXPECT_EQ(QColorOf(state->Colors[TraceColor::correctedTrace1]),
              Control<QCheckBox>(*w, "CheckBox32").palette().color(QPalette::Window));
    Control<QCheckBox>(*w, "CheckBox20").setChecked(true);
    Control<QCheckBox>(*w, "CheckBox34").setChecked(false);
    Control<QCheckBox>(*w, "CheckBox32").click();
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox20").isChecked());
    EXPECT_TRUE(Control<QCheckBox>(*w, "CheckBox34").isChecked());

    // The flag's top edge lies 6 pixels above the trace.
    const TColor flag = state->Colors[TraceColor::correctedTrace1];
    const QRect flagTop(X(500) - 6, Y(60) - 7, 13, 3);
    ASSERT_EQ(Pixels(flag, flagTop), 0);
    Click(X(500), Y(20));
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox32").isChecked());
    ASSERT_EQ(state->Markers[Set1].Count, 1);
    const MarkerRecord& m = state->Markers[Set1].Marker(1);
    EXPECT_EQ(m.LabelDbuv, "1 500 kHz 60.00 dBuV");
    EXPECT_EQ(m.Y, Y(60));
    EXPECT_EQ(w->frozenBounds().Bottom, (AxisRange{0, 1000}));
    // The flag stands on the window surface at once and in every paint after.
    EXPECT_GT(Pixels(flag, flagTop), 6);
    chart1->RepaintNow();
    EXPECT_GT(Pixels(flag, flagTop), 6);

    Control<QCheckBox>(*w, "CheckBox33").click();
    Click(X(700), Y(20));
    EXPECT_EQ(state->Markers[Set2].Count, 1);
    Control<QPushButton>(*w, "Button10").click();
    EXPECT_EQ(w->peakLists(Set1).Lines.stringList(), QStringList{"1 500 kHz 60.00 dBuV"});
    EXPECT_EQ(w->peakLists(Set1).Freqs.stringList(), QStringList{"500"});
    EXPECT_EQ(w->peakLists(Set1).Levels.stringList(), QStringList{"60.00"});
    EXPECT_EQ(w->peakLists(Set2).Lines.stringList(), QStringList{"1 700 kHz 0.00 dBuV"});

    // The harmonics of a click, dashed in the crosshair colour; "Clear Last" and "Clear All".
    Control<QCheckBox>(*w, "CheckBox20").setChecked(true);
    Click(X(200), Y(20));
    for (int k = 1; k <= 4; ++k)
        EXPECT_GT(Pixels(state->Colors.Crosshair, QRect(X(200 * k), Y(90), 1, Y(10) - Y(90))), 20) << k;
    EXPECT_EQ(state->Markers[Set1].Count, 1);
    Control<QPushButton>(*w, "Button5").click();
    Control<QPushButton>(*w, "Button9").click();
    EXPECT_EQ(state->Markers[Set1].Count + state->Markers[Set2].Count, 0);
}

TEST_F(MarksAndReports, SelectSixMaxpeaksAndTheCrosshairOfADoubleClick)
{
    PeakLists& set1 = w->peakLists(Set1);
    const double levels[] = {50, 61, 47, 61, 70, 30, 55, 58};
    for (int i = 0; i < 8; ++i)
        set1.AddPeak(100 + 100 * i, levels[i], 80);
    Control<QCheckBox>(*w, "CheckBox18").click();
    QItemSelectionModel* selection = Control<QListView>(*w, "ListBox1").selectionModel();
    QList<int> rows;
    for (const QModelIndex& i : selection->selectedIndexes())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (QList<int>{0, 1, 3, 4, 6, 7}));

    // The operator's own click unticks the box and keeps the selection; unticking clears it.
    const QRect item = Control<QListView>(*w, "ListBox1").visualRect(set1.Lines.index(5));
    QTest::mouseClick(Control<QListView>(*w, "ListBox1").viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox18").isChecked());
    EXPECT_EQ(selection->selectedIndexes().size(), 7);
    Control<QCheckBox>(*w, "CheckBox18").click();
    Control<QCheckBox>(*w, "CheckBox18").click();
    EXPECT_TRUE(selection->selectedIndexes().isEmpty());
    // An empty list unticks its box.
    Control<QCheckBox>(*w, "CheckBox19").click();
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox19").isChecked());

    emit Control<QListView>(*w, "ListBox1").doubleClicked(set1.Lines.index(4));
    EXPECT_GT(Pixels(state->Colors.Crosshair, X(500), Y(30), 1), 0);
    EXPECT_GT(Pixels(state->Colors.Crosshair, X(250), Y(70), 1), 0);
}

TEST_F(MarksAndReports, TheFaderAndMathPages)
{
    Control<QCheckBox>(*w, "CheckBox36").click();
    Control<QCheckBox>(*w, "CheckBox38").click();
    EXPECT_EQ(w->faderMode(), FaderMode::Clear);
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox36").isChecked());
    Control<QRadioButton>(*w, "RadioButton2").setChecked(true);
    SmoothRangeStore& store = w->selectedSmoothRanges();
    EXPECT_EQ(&store, &state->SmoothRanges[Set2]);
    store.Count = 1;
    store.Range(1) = {-1, 120, 180};
    Control<QPushButton>(*w, "Button14").click();
    EXPECT_EQ(store.Count, 0);

    // "S1" + "T1S1", the reference reaching up to 150 kHz only.
    C().Series(SeriesRole::reference1Set1)->AddPointXY(100, 1);
    C().Series(SeriesRole::reference1Set1)->AddPointXY(150, 1);
    Control<QComboBox>(*w, "ComboBox2").setCurrentIndex(6);
    Control<QComboBox>(*w, "ComboBox1").setCurrentIndex(1);
    Control<QComboBox>(*w, "ComboBox3").setCurrentIndex(0);
    Control<QPushButton>(*w, "Button11").click();
    TCustomSeries& result = *C().Series(SeriesRole::arithmeticResult);
    EXPECT_TRUE(Control<QCheckBox>(*w, "CheckBox40").isChecked() && result.Active());
    EXPECT_EQ(Points(result), (std::vector<std::pair<double, double>>{{100, 41}, {900, 80}}));
    Control<QCheckBox>(*w, "CheckBox40").click();
    EXPECT_FALSE(result.Active());
}

TEST_F(MarksAndReports, ChartFilesRoundTripThroughTheHandlers)
{
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> level(-20, 120);
    const int numbers[] = {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 14, 15};
    std::map<int, std::vector<std::pair<double, double>>> saved;
    for (int n : numbers) {
        TCustomSeries& s = *C().Series(n);
        s.Clear();
        for (int i = 0; i < 50 + n; ++i)
            s.AddPointXY(150 + i * 7.25, level(rng));
        saved[n] = Points(s);
    }
    chart1->BottomAxis()->SetRange(150, 600);
    chart1->LeftAxis()->SetRange(-30, 130);
    chosen = File("chart.drw");
    Control<QAction>(*w, "SaveChart1").trigger();
    ASSERT_EQ(QFileInfo(chosen).size(), 24 * (15 + 12 * 50 + 89));

    for (int n : numbers)
        C().Series(n)->Clear();
    chart1->BottomAxis()->SetRange(0, 1000);
    w->peakLists(Set1).AddPeak(200, 50, 60);
    w->peakLists(Set2).AddPeak(300, 50, 60);
    Control<QCheckBox>(*w, "CheckBox18").click();
    Control<QAction>(*w, "LoadChart1").trigger();
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox18").isChecked()) << "ticked over an emptied list";
    for (int n : numbers)
        EXPECT_TRUE(BitIdentical(Points(*C().Series(n)), saved[n])) << n;
    EXPECT_EQ(chart1->BottomAxis()->Minimum(), 150);
    EXPECT_EQ(chart1->LeftAxis()->Minimum(), -30);
    EXPECT_EQ(w->peakLists(Set1).Count() + w->peakLists(Set2).Count(), 0);
    EXPECT_EQ(Control<QLabel>(*w, "Label1").text(), "Chart: chart.drw");

    // A reference slot takes the corrected traces; "Clear traces" empties it again.
    Control<QAction>(*w, "race21").trigger();
    EXPECT_TRUE(BitIdentical(Points(*C().Series(SeriesRole::reference2Set1)), saved[7]));
    EXPECT_TRUE(BitIdentical(Points(*C().Series(SeriesRole::reference2Set2)), saved[9]));
    EXPECT_EQ(Control<QLabel>(*w, "Label9").text(), "Trace2: chart.drw");
    Control<QPushButton>(*w, "Button13").click();
    EXPECT_EQ(C().Series(SeriesRole::reference2Set1)->Count(), 0);
    EXPECT_EQ(Control<QLabel>(*w, "Label9").text(), "Trace2:");

    // Compensation of set 1 only: loading it ticks and enables "use compensation".
    C().Series(SeriesRole::compensation1)->AddPointXY(150, -1.5);
    C().Series(SeriesRole::compensation1)->AddPointXY(300, 0.25);
    const auto compensation = Points(*C().Series(SeriesRole::compensation1));
    chosen = File("zero.cmp");
    Control<QAction>(*w, "SaveasZero1").trigger();
    C().Series(SeriesRole::compensation1)->Clear();
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox37").isEnabled());
    Control<QAction>(*w, "LoadCompensation1").trigger();
    EXPECT_TRUE(BitIdentical(Points(*C().Series(SeriesRole::compensation1)), compensation));
    EXPECT_TRUE(Control<QCheckBox>(*w, "CheckBox37").isEnabled()
                && Control<QCheckBox>(*w, "CheckBox37").isChecked());
    EXPECT_TRUE(w->windowTitle().endsWith("[zero.cmp]"));
    EXPECT_TRUE(Messages().contains("Info: Set2 no compensation data available"));

    // Junk, or the chart file, as compensation, and a chart whose axis is NaN change nothing.
    QByteArray nanAxis = testsupport::ReadAll(File("chart.drw")).left(48);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(nanAxis.data() + 8, &nan, sizeof nan);
    ASSERT_TRUE(testsupport::WriteAll(File("nan.drw"), nanAxis) && testsupport::WriteAll(File("j.cmp"), "junk"));
    for (const char* name : {"j.cmp", "chart.drw", "nan.drw"}) {
        chosen = File(name);
        Control<QAction>(*w, name[0] == 'n' ? "LoadChart1" : "LoadCompensation1").trigger();
    }
    EXPECT_TRUE(BitIdentical(Points(*C().Series(SeriesRole::compensation1)), compensation));
    EXPECT_TRUE(BitIdentical(Points(*C().Series(7)), saved[7]) && w->windowTitle().endsWith("[zero.cmp]"));
    EXPECT_EQ(Messages().filter("; nothing was loaded").size(), 3);

    // The peak list's report.
    w->peakLists(Set1).AddPeak(200, 50, 60);
    chosen = File("peaks.txt");
    Control<QAction>(*w, "SavePeakstoFile1").trigger();
    const QStringList peaks = QString::fromUtf8(testsupport::ReadAll(chosen)).split("\r\n");
    EXPECT_EQ(peaks.mid(2, 4), (QStringList{"peaks set1:", w->peakLists(Set1).Lines.stringList().first(),
                                             "peaks set2:", "no peaks found"}));
}

// The window at its start size and the 800 x 300 picture the mail notices attach: every label of
// both axes, the frequency axis' end labels included, lies inside the picture, and a stored marker
// flag stands at its level in the picture too (its row belongs to the window).
TEST_F(MarksAndReports, LabelsStayInsideAndFlagsKeepTheirLevelsInTheMailPicture)
{
    w->resize(1340, 706);
    QCoreApplication::processEvents();
    TChart& chart = *chart1;
    TChartAxis& bottom = *chart.BottomAxis();
    struct Label {
        QString text;
        int from, to;     // horizontal extent
        int left, right;  // inside the frame of the picture drawn
    };
    std::vector<Label> labels;
    for (TChartAxis* axis : {&bottom, chart.LeftAxis()}) {
        axis->OnDrawLabel = [&](TChartAxis* drawn, int& x, int&, int&, QString& text, bool&) {
            if (text == drawn->Title().Caption())
                return; // the level axis' title runs upwards
            TCanvas3D& canvas = chart.Canvas();
            const int width = canvas.TextWidth(text);
            const uint32_t align = canvas.GetTextAlign() & gdi::TA_CENTER;
            const int from = align == gdi::TA_CENTER ? x - width / 2 : align == gdi::TA_RIGHT ? x - width : x;
            const int frame = chart.FrameWidth();
            labels.push_back({text, from, from + width, chart.ChartBounds.Left + frame, chart.ChartBounds.Right - frame});
        };
    }
    auto inside = [&labels](const char* where) {
        ASSERT_GE(labels.size(), 5u) << where;
        for (const Label& l : labels)
            EXPECT_TRUE(l.from >= l.left && l.to <= l.right)
                << where << ": " << l.text.toStdString() << " " << l.from << ".." << l.to << " in " << l.left << ".."
                << l.right;
        labels.clear();
    };

    // A flag at 950 kHz, beyond the trace, at 62.09 dBuV placed in the window.
    state->Markers[Set1].Count = 1;
    state->Markers[Set1].Records[0] = MakeMarker(1, 950, 62.09, Y(62.09));
    int tipX = 0, tipY = 0; // where the picture's own axes put the flag's tip
    const TNotifyEvent after = chart.OnAfterDraw;
    chart.OnAfterDraw = [&] {
        if (after)
            after();
        tipX = bottom.ValueToPixel(950);
        tipY = chart.LeftAxis()->ValueToPixel(62.09);
    };
    const QColor flag = QColorOf(state->Colors[TraceColor::correctedTrace1]);
    struct View {
        bool logarithmic;
        double minimum, maximum;
    };
    for (const View view : {View{true, 9, 30000}, View{false, 0, 30000}, View{false, 0, 1000}}) {
        SCOPED_TRACE(testing::Message() << view.minimum << " .. " << view.maximum);
        bottom.SetLogarithmic(view.logarithmic);
        bottom.SetRange(view.minimum, view.maximum);
        chart.RepaintNow();
        inside("window");
        QString error;
        ASSERT_TRUE(SaveChartJpeg(chart, folder.path(), &error)) << error.toStdString();
        inside("picture");
        if (view.maximum < 950)
            continue;
        // The lowest flag-coloured pixel of the tip's columns is the tip.
        const QImage image(File("ChartImage.jpg"));
        ASSERT_EQ(image.size(), QSize(800, 300));
        int lowest = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = tipX - 1; x <= tipX + 1; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - flag.red()) + std::abs(c.green() - flag.green()) + std::abs(c.blue() - flag.blue()) < 90)
                    lowest = y;
            }
        EXPECT_NEAR(lowest, tipY, 2);
    }
}

TEST_F(MarksAndReports, ARunForbidsLoadingAChartAndWhileMeasuringTheCompensationAndTheReload)
{
    chosen = File("chart.drw");
    Control<QAction>(*w, "SaveChart1").trigger();
    chosen = File("zero.cmp");
    Control<QAction>(*w, "SaveasZero1").trigger();
    C().Series(SeriesRole::correctedTrace1)->AddPointXY(950, 1);
    C().Series(SeriesRole::masterCorrection)->AddPointXY(100, 1);
    const auto live = Points(*C().Series(SeriesRole::correctedTrace1));

    RunControls measuring;
    measuring.Busy = true;
    measuring.GridLocked = true;
    w->followRunControls(measuring);
    EXPECT_FALSE(Control<QAction>(*w, "LoadChart1").isEnabled());
    EXPECT_FALSE(Control<QAction>(*w, "LoadCompensation1").isEnabled());
    EXPECT_FALSE(Control<QPushButton>(*w, "Button18").isEnabled());
    chosen = File("chart.drw");
    w->loadChart();
    chosen = File("zero.cmp");
    w->loadCompensation();
    w->reloadProjectFiles();
    EXPECT_TRUE(BitIdentical(Points(*C().Series(SeriesRole::correctedTrace1)), live));
    EXPECT_EQ(C().Series(SeriesRole::masterCorrection)->Count(), 1);
    EXPECT_EQ(Messages().filter("Warning: ").size(), 3);

    // Paused: the grid is free again, the run still owns the traces.
    RunControls paused = measuring;
    paused.GridLocked = false;
    w->followRunControls(paused);
    EXPECT_FALSE(Control<QAction>(*w, "LoadChart1").isEnabled());
    EXPECT_TRUE(Control<QAction>(*w, "LoadCompensation1").isEnabled());
    chosen = File("chart.drw");
    w->loadChart();
    EXPECT_TRUE(BitIdentical(Points(*C().Series(SeriesRole::correctedTrace1)), live));
    // The reload refreshes the run's estimate, which publishes the idle window's real controls:
    // it comes last.
    Control<QPushButton>(*w, "Button18").click();
    EXPECT_EQ(C().Series(SeriesRole::masterCorrection)->Count(), 0);

    w->followRunControls(RunControls{});
    Control<QAction>(*w, "LoadChart1").trigger();
    EXPECT_EQ(C().Series(SeriesRole::correctedTrace1)->Count(), 2);
}

} // namespace
