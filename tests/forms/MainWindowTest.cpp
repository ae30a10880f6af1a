#include "app/AppContext.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "coverage/CoverageView.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/ProjectFile.h"
#include "datafiles/SegmentTable.h"
#include "forms/ConnectionWindow.h"
#include "forms/CoverageFrame.h"
#include "forms/ImmunityFrame.h"
#include "forms/MainChart.h"
#include "forms/MainWindow.h"
#include "forms/ParameterGridView.h"
#include "forms/Program.h"
#include "mainwindow/MainWindowState.h"
#include "measurement/PeakLists.h"
#include "platform/inifile/IniFile.h"

#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

using testsupport::Control;

namespace {

struct MainWindowFixture : ::testing::Test {
    QTemporaryDir folder;
    AppContext app;
    QStringList boxes;
    QString oldCurrent = QDir::currentPath();
    std::unique_ptr<Program> program;
    MainWindow* w = nullptr;
    TChart* chart1 = nullptr; // the main chart, Chart1

    void Put(const QString& relative, const QByteArray& bytes = "[General]\r\n")
    {
        ASSERT_TRUE(testsupport::WriteAll(folder.filePath(relative), bytes));
    }
    void CopyShippedData()
    {
        const QDir data(QStringLiteral(ZENDRIK_SOURCE_DIR "/data"));
        for (const QString& name : QDir(data.filePath("src")).entryList(QDir::Files))
            QFile::copy(data.filePath("src/" + name), folder.filePath("src/" + name));
        QFile::copy(data.filePath("rep/demo.rep"), folder.filePath("rep/demo.rep"));
    }
    void Start()
    {
        for (const char* sub : {"zips", "src", "rep"})
            QDir(folder.path()).mkpath(sub);
        program = std::make_unique<Program>(app, QStringList{}, folder.path());
        program->Services().showMessage = [this](const QString& t) { boxes << t; };
        program->Services().showError = [this](const QString& t) { boxes << t; };
        program->Services().versionIndex = [] { return 9; };
        program->CreateForms();
        w = program->Windows().mainWindow;
        chart1 = &Control<TChart>(*w, "Chart1");
    }
    TCustomSeries& S(int n) { return *w->chart().Series(n); }
    ~MainWindowFixture() override { QDir::setCurrent(oldCurrent); }
};

QStringList DataFiles(const QString& folder, const QString& mask)
{
    return QDir(folder).entryList({mask}, QDir::Files, QDir::Name);
}

TEST_F(MainWindowFixture, TheTwentyNineSeriesHaveTheirRolesColoursAndPens)
{
    Start();
    const MainChart& c = w->chart();
    ASSERT_EQ(chart1->SeriesCount(), 29);
    struct Expect { TColor color; int width; TPenStyle style; bool lineShown, active; };
    // Colours as the chart starts (the colour window recolours points, not the series); pens
    // after "Cor" (unchecked) hid the corrections and the debug series are inactive.
    const TColor d = clDefault;
    const Expect expected[29] = {
        {clYellow, 1, psSolid, true, true},   {0x8000FF, 2, psSolid, true, true},  {d, 1, psSolid, false, true},
        {d, 1, psSolid, false, true},         {d, 2, psSolid, true, true},         {0x4080FF, 1, psSolid, true, true},
        {clTeal, 1, psSolid, true, true},     {clWhite, 1, psSolid, true, true},   {clGray, 1, psSolid, true, true},
        {clFuchsia, 1, psSolid, false, true}, {clNavy, 1, psSolid, false, true},   {clMaroon, 1, psSolid, true, true},
        {clLime, 1, psSolid, true, true},     {clOlive, 1, psDot, true, true},     {clPurple, 1, psDot, true, true},
        {d, 2, psSolid, false, true},         {d, 1, psSolid, true, true},         {d, 1, psSolid, true, false},
        {clLime, 1, psSolid, true, true},     {clMaroon, 1, psSolid, true, true},  {d, 1, psSolid, true, true},
        {clMaroon, 1, psSolid, true, true},   {d, 1, psSolid, true, false},        {d, 1, psSolid, true, false},
        {d, 1, psSolid, false, false},        {d, 1, psSolid, false, true},        {d, 1, psSolid, true, false},
        {d, 1, psSolid, false, false},        {d, 1, psSolid, false, true},
    };
    const MainChartSeries& byRole = c.ByRole();
    for (int n = 1; n <= 29; ++n) {
        SCOPED_TRACE(n);
        TCustomSeries& s = S(n);
        const Expect& e = expected[n - 1];
        EXPECT_EQ(s.Name(), QStringLiteral("Series%1").arg(n));
        EXPECT_EQ(byRole.Number(n), &s);
        // "Default" leaves the colour to the chart's palette.
        if (e.color == clDefault)
            EXPECT_NE(s.StoredSeriesColor(), clDefault);
        else
            EXPECT_EQ(s.StoredSeriesColor(), e.color);
        EXPECT_EQ(s.LinePen().Width(), e.width);
        EXPECT_EQ(s.LinePen().Style(), e.style);
        EXPECT_EQ(s.LinePen().Visible(), e.lineShown);
        EXPECT_EQ(s.Active(), e.active);
        EXPECT_EQ(s.Pointer().Visible(), n == 17 || n == 18);
    }
    EXPECT_TRUE(S(15).Stairs());
    // The segment marks: small left triangles, numbered, one colour per point.
    for (SeriesRole role : {SeriesRole::segmentMarks1, SeriesRole::segmentMarks2}) {
        auto* marks = dynamic_cast<TPointSeries*>(c.Series(role));
        ASSERT_NE(marks, nullptr);
        EXPECT_EQ(marks->Pointer().Style(), psLeftTriangle);
        EXPECT_EQ(marks->Pointer().HorizSize(), 3);
        EXPECT_EQ(marks->Marks().Style(), smsPointIndex);
        EXPECT_TRUE(marks->Marks().Visible());
        EXPECT_TRUE(marks->ColorEachPoint());
    }
    // The roles the logic asks for are the series of their numbers.
    using enum SeriesRole;
    const std::pair<SeriesRole, int> roles[] = {
        {limitLine1, 2},        {lisnCorrection, 4},     {antennaFactor, 11},    {marginLine2, 15},
        {masterCorrection, 16}, {segmentMarks2, 18},     {temCellCorrection, 24}, {rawTrace2, 8},
        {correctedTrace1, 7},   {correctedTrace2, 9},    {compensation2, 29}};
    for (const auto& [role, n] : roles) {
        EXPECT_EQ(c.Series(role)->Name(), QStringLiteral("Series%1").arg(n));
        EXPECT_EQ(byRole[role], c.Series(role)) << n;
    }
    // The chart itself: 2D, axes in kHz and dBuV, rubber-band zoom without panning.
    EXPECT_FALSE(chart1->View3D());
    EXPECT_EQ(chart1->BottomAxis()->Minimum(), 9);
    EXPECT_EQ(chart1->BottomAxis()->Maximum(), 30000);
    EXPECT_EQ(chart1->BottomAxis()->AxisValuesFormat(), "###0.###");
    EXPECT_EQ(chart1->LeftAxis()->Title().Caption(), QString::fromUtf8("dBµV  (dBµV/m, dBµA)"));
    EXPECT_TRUE(chart1->AllowZoom());
    EXPECT_EQ(chart1->AllowPanning(), pmNone);
}

TEST_F(MainWindowFixture, StartUpStateAndAdvancedSettings)
{
    Put("emc_set.ini", "[Option]\r\nPreAmpBox=1\r\nVBWBox=0\r\nTG_FieldValue=1\r\nHarmonics_Order=2147483647\r\n");
    Start();
    EXPECT_EQ(app.Messages.Lines().filter("emc_set"),
              QStringList("Warning: emc_set.ini [Option] Harmonics_Order=2147483647 is outside 1 .. 1000; 1000 is "
                          "used instead"));
    EXPECT_FALSE(Control<QGroupBox>(*w, "GroupBox8").isHidden());
    EXPECT_TRUE(Control<QGroupBox>(*w, "GroupBox9").isHidden());
    EXPECT_FALSE(
        Control<QTableWidget>(Control<ImmunityFrame>(*w, "Frame131"), "ValueListEditor1").isRowHidden(0));
    EXPECT_TRUE(Control<CoverageFrame>(*w, "Frame141").isHidden());
    EXPECT_TRUE(Control<ImmunityFrame>(*w, "Frame131").isHidden());
    EXPECT_TRUE(Control<QPushButton>(*w, "BitBtn1").isEnabled());
    EXPECT_FALSE(Control<QPushButton>(*w, "BitBtn2").isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox8").isChecked());
    EXPECT_TRUE(Control<QCheckBox>(*w, "CheckBox28").isChecked());
    EXPECT_FALSE(Control<QListView>(*w, "ListBox1").isHidden());
    EXPECT_TRUE(Control<QListView>(*w, "ListBox7").isHidden());
    EXPECT_TRUE(Control<QTableView>(*w, "StringGrid1").isHidden());
    const QAbstractItemModel& peakGrid = *Control<QTableView>(*w, "StringGrid1").model();
    EXPECT_EQ(peakGrid.data(peakGrid.index(1, 10)).toString(), "[msec]");
    EXPECT_EQ(Control<QTableView>(*w, "StringGrid1").columnWidth(0), 40);
    EXPECT_EQ(Control<QListView>(*w, "CheckListBox1").model()->rowCount(), 1);
    EXPECT_TRUE(Control<QListView>(*w, "CheckListBox2").isHidden());
    EXPECT_EQ(w->windowTitle(), "Zendrik");
    EXPECT_EQ(Control<QPushButton>(Control<CoverageFrame>(*w, "Frame141"), "Button1").text(), "Latch\nFile");
    EXPECT_FALSE(Control<QLabel>(*w, "Image2").pixmap().isNull());
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();
}

// The designer's names lead to the controls the documentation gives them to, with their captions;
// a frame's names are its own.
TEST_F(MainWindowFixture, ControlsAreFoundThroughTheirDesignerNames)
{
    Start();
    const std::pair<const char*, const char*> captions[] = {
        {"Button3", "Undo zoom"}, {"BitBtn1", "Play"}, {"BitBtn2", "Stop"}, {"BitBtn3", "Pause"},
        {"Button8", "Displ. peaks"}, {"Button18", "Reload Project Files"}, {"CheckBox37", "use compensation"},
        {"CheckBox4", "Set1"}, {"CheckBox31", "dBm"}, {"RadioButton3", "seg"}, {"GroupBox9", "VBW"},
        {"GroupBox4", "Peaks Set1"}, {"load1", "Load Proj"}, {"CP1", "SA TCP"}, {"Chart2", "Print Report"}};
    for (const auto& [name, caption] : captions) {
        const QObject& control = Control<QObject>(*w, name);
        const QVariant text = control.property(qobject_cast<const QGroupBox*>(&control) ? "title" : "text");
        EXPECT_EQ(text.toString(), caption) << name;
    }
    EXPECT_EQ(Control<ParameterGridView>(*w, "ValueListEditor1").model()->rowCount(),
              w->parameters().rowCount());
    EXPECT_EQ(Control<QListView>(*w, "ListBox7").model(), &w->peakLists(MeasureSet::Set2).Lines);
    EXPECT_EQ(Control<QListView>(*w, "CheckListBox2").model(), &w->segmentChecks(MeasureSet::Set2));
    TChart& gpsChart = Control<TChart>(Control<CoverageFrame>(*w, "Frame141"), "Chart1");
    EXPECT_NE(&gpsChart, chart1);
    EXPECT_EQ(chart1->SeriesCount(), MainChart::kSeriesCount);
}

TEST_F(MainWindowFixture, ParameterGridRowsPickListsAndTheirEditors)
{
    Put("src/b_qp.lim", "[General]\r\nName=b\r\n[Data]\r\nFreq1=150000\r\nLev1=66\r\nFreq2=30000000\r\nLev2=60\r\n");
    for (const char* name :
         {"src/A_AV.LIM", "src/c.cac", "src/d.amp", "src/e.lsc", "src/f.seg", "src/g.ant", "src/notes.txt", "rep/r.rep"})
        Put(name);
    Start();
    ParameterGridModel& grid = w->parameters();
    QStringList keys;
    for (int r = 0; r < grid.RowCount(); ++r)
        keys << grid.Definition(r).Key;
    const QString sep = QStringLiteral(" ");
    EXPECT_EQ(keys, (QStringList{"Chart Start[Hz]", "Chart Stop[Hz]", "High[dBuV]", "Low[dBuV]", sep, "Limit1",
                                 "Limit2", "Margin1[dB]", "Margin2[dB]", sep, "Cable Cor", "Lisn/Att Cor", "Amp Cor",
                                 "Ant Cor", sep, "Seg-Set1", "Seg-Set2", sep, "Detector", "Sweep [ms]", "RBW [Hz]",
                                 "Span [Hz]", "PreAmp", "Attenuator [dB]", sep, "Report", "MaxHold", "Marker"}));
    for (int r = 0; r < grid.RowCount(); ++r)
        EXPECT_EQ(Control<ParameterGridView>(*w, "ValueListEditor1").rowHeight(r) == 1, keys[r] == sep) << r;

    // The pick lists: "none", then the folder's files in name order, whatever their case.
    EXPECT_EQ(grid.PickList("Limit2"), (QStringList{"none", "A_AV.LIM", "b_qp.lim"}));
    EXPECT_EQ(grid.PickList("Cable Cor"), (QStringList{"none", "c.cac"}));
    EXPECT_EQ(grid.PickList("Lisn/Att Cor"), (QStringList{"none", "e.lsc"}));
    EXPECT_EQ(grid.PickList("Seg-Set2"), (QStringList{"none", "f.seg"}));
    EXPECT_EQ(grid.PickList("Ant Cor"), (QStringList{"none", "g.ant"}));
    EXPECT_EQ(grid.PickList("Report"), (QStringList{"none", "r.rep"}));
    EXPECT_EQ(w->fileLists().Amplifier, (QStringList{"none", "d.amp"}));
    // A file saved later is offered once the lists are rebuilt.
    Put("src/h.amp");
    w->refreshFileLists();
    EXPECT_EQ(grid.PickList("Amp Cor"), (QStringList{"none", "d.amp", "h.amp"}));

    // A read-only list row is edited by a fixed choice, an editable one takes typed text too.
    const QModelIndex detector = grid.index(grid.RowOf("Detector"), 1);
    const QModelIndex sweep = grid.index(grid.RowOf("Sweep [ms]"), 1);
    QAbstractItemDelegate* delegate = Control<ParameterGridView>(*w, "ValueListEditor1").itemDelegate();
    QStyleOptionViewItem option;
    std::unique_ptr<QWidget> editor(delegate->createEditor(
        Control<ParameterGridView>(*w, "ValueListEditor1").viewport(), option, detector));
    auto* combo = qobject_cast<QComboBox*>(editor.get());
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->count(), 7);
    std::unique_ptr<QWidget> typed(
        delegate->createEditor(Control<ParameterGridView>(*w, "ValueListEditor1").viewport(), option, sweep));
    EXPECT_TRUE(qobject_cast<QComboBox*>(typed.get())->isEditable());

    // A pick is validated at once: the limit line is drawn.
    const QModelIndex limit1 = grid.index(grid.RowOf("Limit1"), 1);
    Control<ParameterGridView>(*w, "ValueListEditor1").edit(limit1);
    auto* limitCombo
        = qobject_cast<QComboBox*>(Control<ParameterGridView>(*w, "ValueListEditor1").indexWidget(limit1));
    ASSERT_NE(limitCombo, nullptr);
    limitCombo->setCurrentIndex(limitCombo->findText("b_qp.lim"));
    emit limitCombo->activated(limitCombo->currentIndex());
    EXPECT_EQ(grid.Value("Limit1"), "b_qp.lim");
    EXPECT_GT(w->chart().Series(SeriesRole::limitLine1)->Count(), 0);

    // The value under the mouse is the hint panel's text.
    const QRect cell = Control<ParameterGridView>(*w, "ValueListEditor1")
                           .visualRect(grid.index(grid.RowOf("RBW [Hz]"), 1));
    QMouseEvent move(QEvent::MouseMove, QPointF(cell.center()), QPointF(cell.center()), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(Control<ParameterGridView>(*w, "ValueListEditor1").viewport(), &move);
    EXPECT_EQ(testsupport::StatusPanelControl<QLabel>(*w, StatusBarPanel::Hint).text(), "100");
}

// Each axis is set as one pair, so a new range wholly below or above the old one is taken.
TEST_F(MainWindowFixture, UndoZoomTakesTheGridsRangeAsPairs)
{
    Start();
    TChart& chart = *chart1;
    int undos = 0;
    chart.OnUndoZoom = [&] { ++undos; };
    ParameterGridModel& grid = w->parameters();
    const auto setGrid = [&grid](const char* start, const char* stop, const char* high, const char* low) {
        grid.SetValue("Chart Start[Hz]", start), grid.SetValue("Chart Stop[Hz]", stop);
        grid.SetValue("High[dBuV]", high), grid.SetValue("Low[dBuV]", low);
    };
    const auto axes = [&chart] {
        return std::array{chart.BottomAxis()->Minimum(), chart.BottomAxis()->Maximum(), chart.LeftAxis()->Minimum(),
                          chart.LeftAxis()->Maximum()};
    };
    chart.BottomAxis()->SetRange(100000, 200000);
    chart.LeftAxis()->SetRange(200, 300);
    setGrid("9000", "30000000", "120", "-11");
    Control<QCheckBox>(*w, "CheckBox36").setChecked(true);
    chart.LeftAxis()->Title().SetCaption("dBm");
    Control<QPushButton>(*w, "Button3").click();
    EXPECT_EQ(axes(), (std::array<double, 4>{9, 30000, -11, 120}));
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox36").isChecked());
    EXPECT_EQ(chart.LeftAxis()->Title().Caption(), QString::fromUtf8("dBµV  (dBµV/m, dBµA)"));
    EXPECT_EQ(undos, 1);

    // Upwards beyond the old maximum; a value with thousands dots is no whole number and leaves
    // its end alone, and the frequency range needs both.
    setGrid("150000000", "300000000", "1.000", "100");
    Control<QPushButton>(*w, "Button3").click();
    EXPECT_EQ(axes(), (std::array<double, 4>{150000, 300000, 100, 120}));
    grid.SetValue("Chart Stop[Hz]", "3.000.000");
    Control<QPushButton>(*w, "Button3").click();
    EXPECT_EQ(chart.BottomAxis()->Maximum(), 300000);
}

// Every shipped project loads through "Load Proj" into the chart's series, without a box.
TEST_F(MainWindowFixture, ShippedProjectsLoadIntoTheChart)
{
    Start();
    CopyShippedData();
    w->refreshFileLists();
    const QStringList projects = DataFiles(folder.filePath("src"), "*.prj");
    ASSERT_FALSE(projects.isEmpty());
    QString chosen;
    w->chooseProjectFile = [&](const SaveDialogSettings& dialog, bool save) {
        EXPECT_FALSE(save);
        EXPECT_EQ(dialog.Title, "Load project");
        return folder.filePath("src/" + chosen);
    };
    const MainChart& c = w->chart();
    for (const QString& name : projects) {
        SCOPED_TRACE(name.toStdString());
        chosen = name;
        Control<QAction>(*w, "load1").trigger();
        const IniFile ini(folder.filePath("src/" + name));
        const auto value = [&](const char* key) { return ini.ReadString("SetUp", key, ""); };
        EXPECT_EQ(w->windowTitle(), "Zendrik [" + name + "] ");
        EXPECT_EQ(w->parameters().Value("Limit1"), value("LIM1"));
        // A limit or a correction "none" empties its lines, whatever the project before loaded.
        EXPECT_EQ(c.Series(SeriesRole::limitLine1)->Count() > 0, value("LIM1") != "none");
        EXPECT_EQ(c.Series(SeriesRole::marginLine1)->Count() > 0, value("LIM1") != "none");
        EXPECT_EQ(c.Series(SeriesRole::limitLine2)->Count() > 0, value("LIM2") != "none");
        const std::pair<const char*, SeriesRole> corrections[] = {{"CABLE", SeriesRole::cableCorrection},
                                                                  {"LISN", SeriesRole::lisnCorrection},
                                                                  {"ANT", SeriesRole::antennaFactor},
                                                                  {"AMP", SeriesRole::amplifierCorrection}};
        for (const auto& [key, role] : corrections)
            EXPECT_EQ(c.Series(role)->Count() > 0, value(key) != "none") << key;
        // Each project starts logarithmic; only a range under a decade turns linear once drawn.
        chart1->RepaintNow();
        QCoreApplication::processEvents();
        EXPECT_EQ(chart1->BottomAxis()->Logarithmic(), !name.contains("1g-6g"));
        EXPECT_EQ(w->segmentTable(MeasureSet::Set1).Count > 0, value("SEG1") != "none");
        EXPECT_EQ(c.Series(SeriesRole::segmentMarks1)->Count() > 0, value("SEG1") != "none");
        EXPECT_EQ(w->segmentChecks(MeasureSet::Set1).Count(), w->segmentTable(MeasureSet::Set1).Count + 1);
        const double start = value("Start_Hz").remove('.').toDouble() / 1000;
        EXPECT_DOUBLE_EQ(chart1->BottomAxis()->Minimum(), start);
        EXPECT_EQ(ReadLastProject(folder.path()), name);
    }
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();
    for (const QString& line : app.Messages.Lines())
        EXPECT_FALSE(line.startsWith("Error")) << line.toStdString();
}

// A damaged segment table named in a project is said at load in one line naming the file, with no
// box, and leaves the set without segments: empty, junk bytes, cut short, a NaN, another kind.
TEST_F(MainWindowFixture, DamagedSegmentTablesAreSaidAtLoad)
{
    Start();
    CopyShippedData();
    w->chooseProjectFile = [&](const SaveDialogSettings&, bool) { return folder.filePath("src/conducted_cispr32_b.prj"); };
    const QString segments = folder.filePath("src/cispr_b_150k-30m_pk.seg");
    const QByteArray good = testsupport::ReadAll(segments);
    const std::pair<QByteArray, QString> damages[] = {
        {"", "(no key FRQa__1)"}, {QByteArray(4096, '\x9c'), ")"},
        {good.left(good.indexOf("Sweep_2")), "(Segment File Error Seg: 2 Sweep_)"},
        {QByteArray(good).replace("FRQa__1=150.000", "FRQa__1=NaN"), "(Segment File Error Seg: 1 NaN)"},
        {testsupport::ReadAll(folder.filePath("src/cispr14_qp.lim")), "(no key FRQa__1)"}};
    for (const auto& [bytes, reason] : damages) {
        ASSERT_TRUE(testsupport::WriteAll(segments, bytes));
        app.Messages.Clear();
        Control<QAction>(*w, "load1").trigger();
        const QStringList errors = app.Messages.Lines().filter(QRegularExpression("^(Error|Warning)")) + boxes;
        ASSERT_EQ(errors.size(), 1) << errors.join('|').toStdString(); // and no box
        EXPECT_TRUE(errors[0].startsWith("Error: SEG1 File holds no segment: .\\src\\cispr_b_150k-30m_pk.seg (") &&
                    errors[0].endsWith(reason)) << errors[0].toStdString();
        EXPECT_TRUE(w->segmentTable(MeasureSet::Set1).Count == 0 && w->segmentTable(MeasureSet::Set2).Count > 0);
    }
}

// What a project keeps of the coverage and generator views comes back into them.
TEST_F(MainWindowFixture, ProjectsKeepTheViewsValues)
{
    Put("emc_set.ini", "[Option]\r\nTG_FieldValue=1\r\n");
    Start();
    const QString file = folder.filePath("src/views.prj");
    w->chooseProjectFile = [&](const SaveDialogSettings&, bool) { return file; };
    ImmunityFrame& generator = Control<ImmunityFrame>(*w, "Frame131");
    CoverageGrid& coverage = Control<CoverageFrame>(*w, "Frame141").view().Grid();
    auto* fixedFrequency4 = generator.findChild<QLineEdit*>("fixedFrequencyEdit4");
    auto* rampT4 = generator.findChild<QLineEdit*>("LabeledEdit9");
    auto* amplitudeIncrement = generator.findChild<QLineEdit*>("manualAmplitudeIncrementEdit");
    ASSERT_TRUE(fixedFrequency4 && rampT4 && amplitudeIncrement);
    fixedFrequency4->setText("123.000");
    rampT4->setText("4444");
    amplitudeIncrement->setText("2");
    generator.setSettingValue("SEPTUM[cm]", "10");
    coverage.SetValue("Freq B[Hz]", "151000000");
    Control<QAction>(*w, "updateexisting1").trigger();
    // Values no view can hold are refused and leave what the views show, not what was saved.
    IniFile saved(file);
    saved.WriteString("SetUp3", "T4", "nan");
    saved.WriteString("SetUp2", "FREQ_B", "1e308");
    ASSERT_TRUE(saved.UpdateFile());

    fixedFrequency4->setText("1");
    rampT4->setText("1");
    amplitudeIncrement->setText("1");
    generator.setSettingValue("SEPTUM[cm]", "2.8");
    coverage.SetValue("Freq B[Hz]", "1");
    Control<QAction>(*w, "load1").trigger();
    EXPECT_EQ(fixedFrequency4->text(), "123.000");
    EXPECT_EQ(rampT4->text(), "1");
    EXPECT_EQ(app.Messages.Lines().filter("Warning: project value").size(), 2);
    EXPECT_EQ(amplitudeIncrement->text(), "2");
    EXPECT_EQ(generator.settingValue("SEPTUM[cm]"), "10");
    EXPECT_EQ(coverage.Value("Freq B[Hz]"), "1");
    EXPECT_EQ(w->windowTitle(), "Zendrik [views.prj] ");
}

TEST_F(MainWindowFixture, ColoursAndFamilyControlsReachTheWindow)
{
    Start();
    TChartSeries& limit = *w->chart().Series(SeriesRole::limitLine1);
    limit.AddPointXY(150, 66);
    limit.AddPointXY(30000, 60);
    program->MainState().ColorEditor.SetColor(ColorSlot::limitLine1, clAqua);
    EXPECT_EQ(limit.GetPointColor(1), clAqua);
    program->MainState().ColorEditor.SetColor(ColorSlot::chartBackground, clWhite);
    EXPECT_EQ(chart1->BackColor(), clWhite);
    EXPECT_EQ(Control<TChart>(Control<CoverageFrame>(*w, "Frame141"), "Chart3").BackColor(), clWhite);
    EXPECT_EQ(w->projectTargets().Colors.Limit[MeasureSet::Set1], clAqua);
    const QModelIndex key = w->parameters().index(w->parameters().RowOf("Limit1"), 0);
    EXPECT_EQ(key.data(Qt::BackgroundRole).value<QColor>(), QColor(0, 255, 255));

    // A Siglent: VBW offered with "auto", EMI zero span on, max. peak off; a Hameg leaves both.
    Control<QRadioButton>(*w, "RadioButton7").setChecked(true);
    emit program->Windows().connectionWindow->connected(FamilyControls{true, true, false});
    EXPECT_TRUE(Control<QGroupBox>(*w, "GroupBox9").isEnabled());
    EXPECT_TRUE(Control<QRadioButton>(*w, "RadioButton6").isChecked());
    EXPECT_TRUE(Control<QCheckBox>(*w, "CheckBox21").isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox22").isEnabled());
    emit program->Windows().connectionWindow->connected(FamilyControls{false, std::nullopt, std::nullopt});
    EXPECT_FALSE(Control<QGroupBox>(*w, "GroupBox9").isEnabled());
    EXPECT_TRUE(Control<QCheckBox>(*w, "CheckBox21").isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox22").isEnabled());
}

} // namespace
