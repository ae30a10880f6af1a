// The main window's views driven through its controls, headless: view boxes, the trace on top,
// level units, the clear buttons, zoom and fader rectangles dragged on Chart1, the axes' labels,
// the magnifier, the reference level against the simulator, arrow keys and modes, resizing,
// "SA SER", the folder dialog and "Exit".
#include "app/AppContext.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/MagnifyTool.h"
#include "common/Controls.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/AboutWindow.h"
#include "forms/ColorSettingsWindow.h"
#include "forms/ConnectionWindow.h"
#include "forms/CoverageFrame.h"
#include "forms/CsvExportWindow.h"
#include "forms/FunctionMatrixWindow.h"
#include "forms/ImmunityFrame.h"
#include "forms/MailSetupWindow.h"
#include "forms/MainChart.h"
#include "forms/MainWindow.h"
#include "forms/ParameterGridView.h"
#include "forms/Program.h"
#include "forms/WhatsNewWindow.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentState.h"
#include "instrument/ScpiIo.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "mainwindow/MainWindowState.h"
#include "measurement/PeakLists.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QScrollArea>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>

using testsupport::Control;

namespace {

struct Views : ::testing::Test {
    QTemporaryDir folder;
    AppContext app;
    QString oldCurrent = QDir::currentPath();
    std::unique_ptr<Program> program;
    MainWindow* w = nullptr;
    TChart* chart = nullptr;

    explicit Views(const QStringList& arguments = {})
    {
        for (const char* sub : {"zips", "src", "rep"})
            QDir(folder.path()).mkpath(sub);
        program = std::make_unique<Program>(app, arguments, folder.path());
        program->Services().showMessage = [](const QString&) {};
        program->Services().versionIndex = [] { return 9; };
        program->CreateForms();
        w = program->Windows().mainWindow;
        chart = &Control<TChart>(*w, "Chart1");
        w->resize(1400, 800);
        w->show();
        chart->RepaintNow();
    }
    ~Views() override { QDir::setCurrent(oldCurrent); }

    TCustomSeries& S(int n) { return *w->chart().Series(n); }
    std::vector<int> Where(const std::function<bool(TCustomSeries&)>& test)
    {
        std::vector<int> n;
        for (int i = 1; i <= 29; ++i)
            if (test(S(i)))
                n.push_back(i);
        return n;
    }
    QStringList LastOfOrder(int count)
    {
        QStringList names;
        for (int i = chart->SeriesCount() - 5 - count; i < chart->SeriesCount() - 5; ++i)
            names << chart->SeriesList()[i]->Name();
        return names;
    }
    void Click(QLabel* label)
    {
        QMouseEvent up(QEvent::MouseButtonRelease, QPointF(2, 2), label->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                       Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(label, &up);
    }
    // A rectangle dragged over the chart from one frequency to another (kHz), between two rows.
    void Drag(double fromKhz, double toKhz)
    {
        chart->RepaintNow();
        TChartAxis& axis = *chart->BottomAxis();
        const QPoint a(axis.ValueToPixel(fromKhz), chart->ChartRect.Top + 40);
        const QPoint b(axis.ValueToPixel(toKhz), chart->ChartRect.Top + 140);
        for (const auto& [type, p] : {std::pair{QEvent::MouseButtonPress, a}, std::pair{QEvent::MouseMove, b},
                                      std::pair{QEvent::MouseButtonRelease, b}}) {
            QMouseEvent e(type, p, chart->mapToGlobal(p), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(chart, &e);
        }
    }
    QStringList LabelTexts(TChartAxis& axis)
    {
        chart->RepaintNow();
        QStringList texts;
        for (int i = 0; i < axis.Items().Count(); ++i)
            texts << QString::number(axis.Items()[i]->Value()) + "=" + axis.Items()[i]->Text();
        return texts;
    }
    std::vector<double> Levels(TCustomSeries& s)
    {
        std::vector<double> y;
        for (int i = 0; i < s.Count(); ++i)
            y.push_back(s.GetPointY(i));
        return y;
    }
};

struct SmallScreenViews : Views {
    SmallScreenViews() : Views({QStringLiteral("s")}) {}
};

} // namespace

TEST_F(Views, EachBoxShowsAndHidesExactlyItsLinesAndLabelsPutTheirPairLast)
{
    // The view boxes by their designer names, with the numbers of the series each switches.
    const std::pair<const char*, std::vector<int>> boxes[] = {
        {"CheckBox4", {7}}, {"CheckBox5", {9}}, {"CheckBox6", {1}}, {"CheckBox7", {8}}, {"CheckBox9", {12}},
        {"CheckBox10", {13}}, {"CheckBox25", {19}}, {"CheckBox26", {20}}, {"CheckBox27", {21}},
        {"CheckBox28", {22}}, {"CheckBox13", {14}}, {"CheckBox14", {15}}, {"CheckBox16", {16}},
        {"CheckBox8", {3, 4, 10, 11, 25, 26, 28, 29}}};
    auto shown = [this] { return Where([](TCustomSeries& s) { return s.LinePen().Visible(); }); };
    for (const auto& [name, series] : boxes) {
        QCheckBox* box = &Control<QCheckBox>(*w, name);
        const std::vector<int> before = shown();
        box->click();
        const std::vector<int> after = shown();
        std::vector<int> changed;
        std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(),
                                      std::back_inserter(changed));
        EXPECT_EQ(changed, series) << name;
        box->click();
        EXPECT_EQ(shown(), before);
    }

    // The pair of the clicked label is drawn last, set 2 on top after one click, set 1 after two;
    // the series the labels do not name keep their order behind.
    Click(&Control<QLabel>(*w, "Label1"));
    EXPECT_EQ(LastOfOrder(8), (QStringList{"Series12", "Series13", "Series19", "Series20", "Series21", "Series22",
                                           "Series7", "Series9"}));
    Click(&Control<QLabel>(*w, "Label1"));
    EXPECT_EQ(LastOfOrder(2), (QStringList{"Series9", "Series7"}));
    Click(&Control<QLabel>(*w, "Label7"));
    EXPECT_EQ(LastOfOrder(8), (QStringList{"Series7", "Series9", "Series19", "Series20", "Series21", "Series22",
                                           "Series12", "Series13"}));
    EXPECT_EQ(chart->SeriesList()[0]->Name(), "Series24");
    EXPECT_TRUE(Control<QLabel>(*w, "Label7").font().bold() && !Control<QLabel>(*w, "Label1").font().bold());
}

TEST_F(Views, UnitBoxesKeepOneUnitAndTheLevelLabelsFollow)
{
    MainWindowState& state = program->MainState();
    TChartAxis& left = *chart->LeftAxis();
    auto ticked = [this] {
        return std::vector<bool>{Control<QCheckBox>(*w, "CheckBox29").isChecked(),
                                  Control<QCheckBox>(*w, "CheckBox30").isChecked(),
                                  Control<QCheckBox>(*w, "CheckBox31").isChecked()};
    };
    EXPECT_TRUE(LabelTexts(left).contains("100=100"));
    Control<QCheckBox>(*w, "CheckBox31").click();
    EXPECT_EQ(state.LevelUnitOffset, -107);
    EXPECT_EQ(state.LevelUnitName, "dBm");
    EXPECT_EQ(left.Title().Caption(), "dBm");
    EXPECT_TRUE(LabelTexts(left).contains("100=-7"));
    Control<QCheckBox>(*w, "CheckBox31").click(); // the chosen unit stays chosen
    EXPECT_EQ(ticked(), (std::vector<bool>{false, false, true}));
    Control<QCheckBox>(*w, "CheckBox30").click();
    EXPECT_EQ(ticked(), (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(LabelTexts(left).contains("60=43"));
    Control<QCheckBox>(*w, "CheckBox29").click();
    EXPECT_EQ(state.LevelUnitName, QString::fromUtf8("dBµV"));
    EXPECT_EQ(left.Title().Caption(), QString::fromUtf8("dBµV  (dBµV/m, dBµA)"));
}

TEST_F(Views, ClearChartAndClearAllEmptyTheirSeriesListsAndStores)
{
    MainWindowState& state = program->MainState();
    auto fill = [&] {
        for (int n = 1; n <= 29; ++n)
            S(n).AddPointXY(100, 50);
        for (MeasureSet set : kMeasureSets) {
            w->peakLists(set).AddPeak(100, 50, 40);
            state.Markers[set].Count = 1;
        }
        w->parameters().SetValue("Limit2", "a.lim");
        w->parameters().SetValue("Margin1[dB]", "6");
    };
    auto empty = [this] { return Where([](TCustomSeries& s) { return s.Count() == 0; }); };
    fill();
    Control<QPushButton>(*w, "Button12").click();
    EXPECT_EQ(empty(), (std::vector<int>{1, 7, 8, 9}));
    EXPECT_EQ(w->peakLists(MeasureSet::Set1).Count() + w->peakLists(MeasureSet::Set2).Count(), 0);
    EXPECT_EQ(w->peakLists(MeasureSet::Set2).Grid.RowCount(), 2);
    EXPECT_EQ(state.Markers[MeasureSet::Set1].Count, 1);
    EXPECT_EQ(w->parameters().Value("Limit2"), "a.lim");

    fill();
    Control<QPushButton>(*w, "Button4").click();
    EXPECT_EQ(empty(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(w->peakLists(MeasureSet::Set2).Count(), 0);
    EXPECT_EQ(state.Markers[MeasureSet::Set1].Count + state.Markers[MeasureSet::Set2].Count, 0);
    EXPECT_EQ(w->parameters().Value("Limit2"), "none");
    EXPECT_EQ(w->parameters().Value("Margin1[dB]"), "0");
    EXPECT_EQ(Control<QLabel>(*w, "Label1").text() + Control<QLabel>(*w, "Label7").text(), "Chart:Trace:");
}

TEST_F(Views, ZoomRectanglesKeepTheLevelsTakeWholeKilohertzAndAtLeastOneHundred)
{
    Control<QCheckBox>(*w, "CheckBox2").click();
    TChartAxis& bottom = *chart->BottomAxis();
    ASSERT_FALSE(bottom.Logarithmic());
    bottom.SetRange(0, 30000);
    Drag(10000, 20000);
    for (const double end : {bottom.Minimum(), bottom.Maximum()})
        EXPECT_EQ(end, std::nearbyint(end));
    EXPECT_NEAR(bottom.Minimum(), 10000, 30);
    EXPECT_NEAR(bottom.Maximum(), 20000, 30);
    EXPECT_EQ(bottom.Increment(), 50);
    EXPECT_EQ(bottom.LabelsSeparation(), 100);
    EXPECT_EQ(chart->LeftAxis()->Minimum(), -11);
    EXPECT_EQ(chart->LeftAxis()->Maximum(), 120);

    // A rectangle inside one kHz: its ends would cross if each were rounded and set alone.
    bottom.SetRange(15000, 15004);
    Drag(15000.3, 15000.49);
    EXPECT_EQ(bottom.Minimum(), 15000);
    EXPECT_EQ(bottom.Maximum(), 15100);
    EXPECT_EQ(app.Messages.Lines(), QStringList{"Info: maximum zoom reached at 100kHz"});

    Control<QCheckBox>(*w, "CheckBox12").setChecked(true);
    Drag(15010, 15090);
    EXPECT_LT(chart->LeftAxis()->Maximum(), 120);
    EXPECT_GT(chart->LeftAxis()->Minimum(), -11);
}

TEST_F(Views, FadeClearAndClearLastGiveBackTheCorrectedTraceExactly)
{
    Control<QCheckBox>(*w, "CheckBox2").click();
    chart->BottomAxis()->SetRange(0, 2000);
    TCustomSeries& trace = S(7);
    for (int k = 0; k <= 2000; ++k)
        trace.AddPointXY(k, 40 + 7 * std::sin(k * 0.37) + (k % 5) * 0.1);
    const std::vector<double> original = Levels(trace);
    SmoothRangeStore& store = program->MainState().SmoothRanges[MeasureSet::Set1];

    Control<QCheckBox>(*w, "CheckBox36").click();
    Drag(500, 900);
    EXPECT_EQ(chart->BottomAxis()->Maximum(), 2000); // the view stays
    ASSERT_EQ(store.Count, 1);
    EXPECT_NE(Levels(trace), original);
    Drag(800, 1200); // overlaps the first: refused
    EXPECT_EQ(store.Count, 1);

    Control<QCheckBox>(*w, "CheckBox38").click();
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox36").isChecked());
    Drag(850, 1000);
    EXPECT_EQ(Levels(trace), original);
    EXPECT_EQ(store.Range(1).State, -1);

    Control<QCheckBox>(*w, "CheckBox36").click();
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox38").isChecked());
    Drag(1200, 1600);
    ASSERT_EQ(store.Count, 2);
    Control<QPushButton>(*w, "Button14").click();
    EXPECT_EQ(store.Count, 1);
    EXPECT_EQ(Levels(trace), original);
}

TEST_F(Views, LogarithmicAxisLabelsItsDecadesOrBecomesLinear)
{
    TChartAxis& bottom = *chart->BottomAxis();
    bottom.SetRange(150, 30000); // the first decade, 100, lies below the axis
    EXPECT_EQ(LabelTexts(bottom), (QStringList{"1000=1.000 MHz", "10000=10.000 MHz"}));
    Control<QCheckBox>(*w, "CheckBox11").click();
    EXPECT_EQ(LabelTexts(bottom), (QStringList{"1000=1000 kHz", "10000=10000 kHz"}));

    bottom.SetRange(1000000, 9000000);
    chart->RepaintNow();
    chart->RepaintNow();
    QCoreApplication::processEvents();
    EXPECT_FALSE(bottom.Logarithmic());
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox2").isChecked());
    chart->RepaintNow();
    QCoreApplication::processEvents();
    EXPECT_EQ(app.Messages.Lines(), (QStringList{"Info: switching to lin chart mode, log mode disabled",
                                                 "Info: change zooming for log mode"}));
    EXPECT_FALSE(LabelTexts(bottom).isEmpty());
}

TEST_F(Views, MagnifierFollowsItsBoxAndTheWheelOnlyZooms)
{
    ASSERT_EQ(chart->Tools().Count(), 1);
    auto* lens = dynamic_cast<TMagnifyTool*>(chart->Tools()[0]);
    ASSERT_NE(lens, nullptr);
    EXPECT_FALSE(lens->Active());
    EXPECT_TRUE(lens->Circled());
    EXPECT_EQ(lens->Description() + "/" + lens->LongDescription(), "Magnify/Magnifies a portion of chart");
    EXPECT_TRUE(Control<QCheckBox>(*w, "CheckBox20").isEnabled());
    Control<QCheckBox>(*w, "CheckBox23").click();
    EXPECT_TRUE(lens->Active());
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox20").isEnabled()) << "\"Magnify\" disables \"Harmonics\"";
    EXPECT_EQ(lens->GetShapeBounds(), (TRect{400, 50, 550, 200}));
    chart->MouseWheelNotch(false, 470, 120);
    EXPECT_EQ(lens->Percent(), 55.0);
    EXPECT_EQ(chart->LeftAxis()->Maximum(), 120); // no panning
    Control<QCheckBox>(*w, "CheckBox23").click();
    EXPECT_FALSE(lens->Active());
    EXPECT_TRUE(Control<QCheckBox>(*w, "CheckBox20").isEnabled());
}

TEST_F(Views, ReferenceLevelArrowsAndThePreamplifierAgainstTheSimulator)
{
    SimulatorOptions o;
    o.family = QStringLiteral("rsa5065");
    o.tcpPort = 0;
    o.timeScale = 0.0001;
    Simulator sim(o);
    QString error;
    ASSERT_TRUE(sim.Start(&error)) << error.toStdString();
    InstrumentState& instrument = program->Instrument();
    VirtualEventPump pump;
    ScpiContext c{instrument.Visa, instrument.Device, app.Settings, app.Debug, app.Messages, pump, instrument.Status};
    LoadVisaLibrary(instrument.Visa, app.Debug, std::make_unique<BuiltinVisaBackEnd>());
    ASSERT_TRUE(ConnectInstrument(c, "TCPIP0::127.0.0.1::" + QString::number(sim.TcpPort()) + "::SOCKET", true).Identified);
    ScpiWrite(instrument.Visa, app.Debug, "DISP:WIND:TRAC:Y:RLEV -22.5");
    auto logged = [&] {
        // A query last, so that the simulator has read everything before it.
        VisaWriteString(instrument.Visa, app.Debug, ":SYST:ERR?");
        VisaReadReply(instrument.Visa, QString());
        QStringList out;
        for (const SimLogEntry& e : sim.Instrument().CommandLog())
            out << QString::fromLatin1(e.message);
        sim.Instrument().ClearCommandLog();
        out.removeAll(":SYST:ERR?");
        return out;
    };
    logged();

    Control<QToolButton>(*w, "refLevelDownButton").click();
    EXPECT_EQ(logged(), (QStringList{":UNIT:POW DBM", "DISP:WIND:TRAC:Y:RLEV?", "DISP:WIND:TRAC:Y:RLEV -12.5",
                                     ":UNIT:POW DBUV"}));
    EXPECT_EQ(app.Settings.OptRsaRefLevelDbm, -12);
    Control<QToolButton>(*w, "refLevelUpButton").click();
    Control<QToolButton>(*w, "refLevelUpButton").click();
    EXPECT_EQ(logged().at(6), "DISP:WIND:TRAC:Y:RLEV -32.5");
    EXPECT_EQ(app.Settings.OptRsaRefLevelDbm, -32);

    Control<QRadioButton>(*w, "RadioButton4").click();
    EXPECT_EQ(logged(), QStringList{":SENS:POW:GAIN ON"});
    Control<QRadioButton>(*w, "RadioButton3").click();
    EXPECT_TRUE(logged().isEmpty());
    EXPECT_EQ(instrument.Device.PreAmpPerSegment * 10 + instrument.Device.PreAmpOn, 11);
    Control<QRadioButton>(*w, "RadioButton5").click();
    EXPECT_EQ(logged(), QStringList{":SENS:POW:GAIN OFF"});
    EXPECT_EQ(instrument.Device.PreAmpPerSegment * 10 + instrument.Device.PreAmpOn, 0);

    // A run owns the analyser: nothing reaches it from here.
    w->showAnalyserHeld(true);
    EXPECT_FALSE(Control<QWidget>(*w, "SpinButton1").isEnabled()
                 || Control<QRadioButton>(*w, "RadioButton4").isEnabled());
    Control<QToolButton>(*w, "refLevelDownButton").click();
    EXPECT_TRUE(logged().isEmpty());
    CloseVisaSessions(instrument.Visa);
}

TEST_F(Views, ArrowKeysStepTheGeneratorOnlyInItsModeAndModesRoundTrip)
{
    ImmunityFrame& generator = Control<ImmunityFrame>(*w, "Frame131");
    auto* amplitude = generator.findChild<QLineEdit*>("LabeledEdit18");
    auto* frequency = generator.findChild<QLineEdit*>("LabeledEdit17");
    auto* marks = generator.findChild<QPlainTextEdit*>("Memo1");
    ASSERT_TRUE(amplitude && frequency && marks);
    auto key = [](int k) { QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k)); };
    QApplication::setActiveWindow(w);
    Control<ParameterGridView>(*w, "ValueListEditor1").setFocus();
    key(Qt::Key_Up);
    EXPECT_EQ(amplitude->text(), "-15");

    Control<QAction>(*w, "G1").trigger();
    EXPECT_TRUE(generator.isVisible() && !Control<CoverageFrame>(*w, "Frame141").isVisible());
    key(Qt::Key_Up);
    key(Qt::Key_Right);
    EXPECT_EQ(amplitude->text() + " " + frequency->text(), "-14 250.000");
    // In a memo of the view the arrows move the cursor.
    generator.findChild<QPushButton*>("Button4")->click();
    QApplication::setActiveWindow(marks->window());
    marks->setFocus();
    key(Qt::Key_Up);
    EXPECT_EQ(amplitude->text(), "-14");

    Control<QAction>(*w, "Power1").trigger();
    EXPECT_TRUE(Control<CoverageFrame>(*w, "Frame141").isVisible() && !generator.isVisible());
    QApplication::setActiveWindow(w);
    Control<CoverageFrame>(*w, "Frame141").setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(amplitude->text(), "-14");
    Control<QAction>(*w, "EMC1").trigger();
    EXPECT_FALSE(Control<CoverageFrame>(*w, "Frame141").isVisible() || generator.isVisible());
    EXPECT_EQ(program->MainState().MainMode, MainMode::Emc);
}

TEST_F(Views, ResizingLaysTheViewsOverTheClientArea)
{
    w->resize(1500, 900);
    QCoreApplication::processEvents();
    for (const char* host : {"Frame141Host", "Frame131Host"})
        EXPECT_EQ(Control(*w, host).size(), Control<QScrollArea>(*w, "clientArea").viewport()->size());
    EXPECT_EQ(w->minimumSize(), QSize(1340, 706));
}

// The small-screen window may become smaller than its views: they scroll in its client area.
TEST_F(SmallScreenViews, SmallScreenWindowShrinksAndItsViewsScrollInItsClientArea)
{
    w->resize(640, 400);
    Control<QAction>(*w, "G1").trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(w->size(), QSize(640, 400));
    EXPECT_EQ(Control(*w, "Frame131Host").size(), Control<QScrollArea>(*w, "clientArea").viewport()->size());
    EXPECT_TRUE(Control<QScrollArea>(*w, "Frame131Host").verticalScrollBar()->isVisible());
}

TEST_F(Views, MenusLaunchTheirWindowsAndExitStopsTheStatusLine)
{
    const Forms& f = program->Windows();
    const std::pair<QAction*, QWidget*> launchers[] = {
        {&Control<QAction>(*w, "About2"), f.aboutWindow},
        {&Control<QAction>(*w, "WhatsNew1"), f.whatsNewWindow},
        {&Control<QAction>(*w, "EditColors1"), f.colorSettingsWindow},
        {&Control<QAction>(*w, "saveCsvAction"), f.csvExportWindow},
        {&Control<QAction>(*w, "functionMatrixAction"), f.functionMatrixWindow},
        {&Control<QAction>(*w, "mailAlertAction"), f.mailSetupWindow}};
    for (const auto& [action, window] : launchers) {
        action->trigger();
        EXPECT_TRUE(window->isVisible()) << action->text().toStdString();
        window->hide();
    }
    app.Messages.Append("Info: x");
    Control<QAction>(*w, "ClearMessages1").trigger();
    EXPECT_TRUE(Control<QPlainTextEdit>(*w, "Memo1").toPlainText().isEmpty()
                && app.Messages.Lines().isEmpty());

    Control<QTimer>(*w, "Timer1").start();
    Control<QAction>(*w, "exitAction").trigger();
    EXPECT_FALSE(Control<QTimer>(*w, "Timer1").isActive() || w->isVisible());
}

TEST_F(Views, SerialAnalyserFolderDialogAndTheReceiversHooks)
{
    // "SA SER" prepares the connection window only when the kind changes.
    ConnectionWindow& connection = *program->Windows().connectionWindow;
    Control<QListWidget>(connection, "ListBox1").addItem("USB0::1::INSTR");
    Control<QAction>(*w, "SASER1").trigger();
    EXPECT_EQ(program->Instrument().Device.ConnectionKind, LinkKind::SerialAnalyser);
    EXPECT_EQ(connection.windowTitle(), "Connect Visa USBSER  ");
    EXPECT_EQ(Control<QListWidget>(connection, "ListBox1").count(), 0);
    EXPECT_TRUE(Control<QComboBox>(connection, "ComboBox1").isVisibleTo(&connection)
                && !Control<QPushButton>(connection, "BitBtn4").isVisibleTo(&connection));
    Control<QLineEdit>(connection, "Edit2").setText("ASRL3::INSTR");
    connection.hide();
    Control<QAction>(*w, "SASER1").trigger();
    EXPECT_EQ(Control<QLineEdit>(connection, "Edit2").text(), "ASRL3::INSTR");
    EXPECT_TRUE(connection.isVisible());
    connection.hide();

    // The folder dialog closes itself at the second change of folder, and counts anew.
    QFileDialog& dialog = Control<QFileDialog>(*w, "OpenDialog3");
    dialog.open();
    emit dialog.directoryEntered(folder.path());
    EXPECT_TRUE(dialog.isVisible());
    emit dialog.directoryEntered(folder.filePath("src"));
    EXPECT_FALSE(dialog.isVisible());
    dialog.open();
    emit dialog.directoryEntered(folder.path());
    EXPECT_TRUE(dialog.isVisible());
    dialog.reject();

    // The receiver's failures stop the coverage view's timer; it beeps through the program.
    Control<QTimer>(Control<CoverageFrame>(*w, "Frame141"), "Timer3").start(2000);
    ASSERT_TRUE(program->Instrument().Visa.StopCoverageTimer && program->Instrument().Gps.Beep);
    program->Instrument().Visa.StopCoverageTimer("failed");
    EXPECT_FALSE(Control<QTimer>(Control<CoverageFrame>(*w, "Frame141"), "Timer3").isActive());
}
