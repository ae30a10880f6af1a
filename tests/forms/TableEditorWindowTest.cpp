#include "app/AppContext.h"
#include "chart/engine/ChartSeries.h"
#include "chart/series/LineSeries.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableEditor.h"
#include "forms/FormServices.h"
#include "forms/Forms.h"
#include "forms/MainChart.h"
#include "forms/MainWindow.h"
#include "forms/Program.h"
#include "forms/TableEditorWindow.h"
#include "platform/inifile/IniFile.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::Control;

namespace {

class PlainAxis : public AxisBounds {
public:
    PlainAxis(double minimum, double maximum) : min_(minimum), max_(maximum) {}
    double Minimum() const override { return min_; }
    double Maximum() const override { return max_; }
    void SetMinimum(double v) override { min_ = v; }
    void SetMaximum(double v) override { max_ = v; }

private:
    double min_, max_;
};

// The editor over a working folder that has had its first run and holds the shipped data.
struct TableEditorWindowTest : ::testing::Test {
    QTemporaryDir dir;
    AppContext app;
    FormServices services;
    TableBuffer table;
    QStringList questions, errors, infos;
    std::unique_ptr<TableEditorWindow> w;
    TChartSeries preview;
    PlainAxis frequency{9, 30000};
    PlainAxis level{-11, 120};
    int refreshed = 0;

    void SetUp() override
    {
        QDir(dir.path()).mkpath("zips");
        QDir(dir.path()).mkpath("src");
        const QString data = QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src");
        for (const QString& name : QDir(data).entryList(QDir::Files))
            QFile::copy(data + "/" + name, dir.filePath("src/" + name));
        app.WorkingFolder = dir.path();
        services.showMessage = [this](const QString& t) { infos << t; };
        services.showError = [this](const QString& t) { errors << t; };
        services.confirmLoad = [this](const QString& t) {
            questions << t;
            return true;
        };
        w = std::make_unique<TableEditorWindow>(app, services, table);
        TableEditorWindow::MainChartLink link;
        link.preview = &preview;
        link.frequencyAxis = &frequency;
        link.levelAxis = &level;
        link.refreshFileLists = [this] { ++refreshed; };
        w->setMainChart(link);
    }

    QColor TextColor(QLineEdit* edit) const { return edit->palette().color(QPalette::Text); }
};

TEST_F(TableEditorWindowTest, LaunchLoadVerifySaveAndClose)
{
    EXPECT_EQ(Control<QLineEdit>(*w, "Edit1").text(), "9000");
    EXPECT_FALSE(Control<QPushButton>(*w, "Button3").isEnabled());
    w->launch(TableKind::Limit);
    EXPECT_EQ(w->windowTitle(), "Edit Limit");
    EXPECT_TRUE(Control<QPushButton>(*w, "Button3").isEnabled());
    const int lims = static_cast<int>(QDir(dir.filePath("src")).entryList({"*.lim"}).size());
    EXPECT_EQ(Control<QListWidget>(*w, "FileListBox1").count(), lims);
    EXPECT_EQ(Control<QLabel>(*w, "fileCountLabel").text(), "Files " + QString::number(lims));
    QAbstractItemModel* m = Control<QTableView>(*w, "StringGrid1").model();
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "Limit[Hz]");
    EXPECT_EQ(m->headerData(2, Qt::Vertical).toString(), "Freq3");
    EXPECT_TRUE(Control<QTableView>(*w, "StringGrid1").isColumnHidden(2));

    const QList<QListWidgetItem*> found
        = Control<QListWidget>(*w, "FileListBox1").findItems("cispr32_b_qp.lim", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    emit Control<QListWidget>(*w, "FileListBox1").itemClicked(found.first());
    EXPECT_EQ(questions, QStringList{"Load Limit File \".\\src\\cispr32_b_qp.lim\""});
    EXPECT_EQ(m->index(0, 0).data().toString(), "150000");
    EXPECT_EQ(Control<QLineEdit>(*w, "Edit3").text(), table.Name());
    EXPECT_FALSE(Control<QCheckBox>(*w, "CheckBox2").isChecked()); // the file interpolates over log f

    Control<QPushButton>(*w, "Button2").click();
    EXPECT_GT(preview.Count(), 80);
    EXPECT_EQ(m->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::green));
    EXPECT_TRUE(m->index(0, 1).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(Control<QLineEdit>(*w, "Edit2").text(), table.Range().StopHz);
    EXPECT_EQ(frequency.Maximum(), table.Range().StopHz.toDouble() / 1000);

    // Without autoscale the fields are typed: a text with dots is no number.
    Control<QCheckBox>(*w, "CheckBox5").setChecked(false);
    EXPECT_TRUE(Control<QLineEdit>(*w, "Edit1").isEnabled());
    Control<QLineEdit>(*w, "Edit1").setText("1.000.000");
    EXPECT_EQ(TextColor(&Control<QLineEdit>(*w, "Edit1")), QColor(Qt::red));
    Control<QLineEdit>(*w, "Edit1").setText("1000000");
    EXPECT_EQ(TextColor(&Control<QLineEdit>(*w, "Edit1")), QColor(Qt::darkGreen));
    EXPECT_EQ(frequency.Minimum(), 1000);

    Control<QLineEdit>(*w, "Edit3").setText("My limit");
    emit Control<QLineEdit>(*w, "Edit3").textEdited("My limit");
    QString offered;
    w->chooseSaveFile = [&](const SaveDialogSettings& d) {
        offered = d.FileName + " " + d.Filter;
        return dir.filePath("src/mine.lim");
    };
    Control<QPushButton>(*w, "Button3").click();
    EXPECT_EQ(offered, "My limit lim|*.lim");
    EXPECT_EQ(Control<QListWidget>(*w, "FileListBox1").findItems("mine.lim", Qt::MatchExactly).size(), 1);
    EXPECT_TRUE(testsupport::ReadAll(dir.filePath("src/mine.lim")).contains("Name=My limit"));

    Control<QPushButton>(*w, "Button4").click();
    EXPECT_EQ(m->index(0, 0).data().toString(), "");
    Control<QPushButton>(*w, "Button1").click();
    EXPECT_EQ(preview.Count(), 0);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(errors, QStringList());
}

// A shipped table of each kind with one number no such table can hold (a flipped exponent bit), a
// frequency of 0 or a level that is no number: refused with one line naming file and row, the grid
// as it was; typed into the grid, it is red at "Verify & Show", said in one line, and nothing is
// drawn.
TEST_F(TableEditorWindowTest, NumbersNoTableCanHoldAreRefusedAtLoadAndAtVerify)
{
    const QString dB = " lies outside -200..200 dB";
    for (const auto& [kind, file, key, value, fault] : std::vector<std::tuple<TableKind, QString, QString, QString, QString>>{
             // A gap (the frequency empty or missing before later rows), in files no later row changes first.
             {TableKind::Limit, "cispr32_a_av.lim", "Freq3", "", "row 3: the frequency is empty"},
             {TableKind::Cable, "cable_rg58_5m.cac", "Freq3", QString(), "row 3: the frequency is empty"},
             {TableKind::Lisn, "lisn_limiter_10db.lsc", "Freq2", "", "row 2: the frequency is empty"},
             {TableKind::Amplifier, "preamp_20db.amp", "Freq3", QString(), "row 3: the frequency is empty"},
             {TableKind::Antenna, "antenna_horn_1g-6g.ant", "Freq2", "", "row 2: the frequency is empty"},
             {TableKind::Limit, "cispr32_b_av.lim", "Freq5", "0", "row 5: the frequency 0 Hz is not above 0 Hz"},
             {TableKind::Lisn, "lisn_v_network.lsc", "Lev3", "1,5,0", "row 3: the level 1,5,0 is no number"},
             {TableKind::Amplifier, "preamp_20db.amp", "Lev2", "1e308", "row 2: the level 1e308" + dB},
             {TableKind::Cable, "cable_rg58_5m.cac", "Lev1", "-200,5", "row 1: the level -200,5" + dB},
             {TableKind::Lisn, "lisn_limiter_10db.lsc", "Lev1", "nan", "row 1: the level nan" + dB},
             {TableKind::Antenna, "antenna_biconilog.ant", "Freq2", "1.000.000.000.001", "row 2: the frequency "
                                                                      "1000000000001 Hz lies outside 0..1e+12 Hz"},
             {TableKind::Limit, "cispr32_b_qp.lim", "Lev1", "300.5", "row 1: the level 300.5 lies outside -200..300 dBuV"}}) {
        IniFile ini(dir.filePath("src/" + file));
        value.isNull() ? ini.DeleteKey("Data", key) : ini.WriteString("Data", key, value);
        ASSERT_TRUE(ini.UpdateFile());
        w->launch(kind);
        table.SetCell(1, 1, "1234");
        errors.clear(), app.Messages.Clear();
        emit Control<QListWidget>(*w, "FileListBox1").itemClicked(
            Control<QListWidget>(*w, "FileListBox1").findItems(file, Qt::MatchExactly).value(0));
        EXPECT_EQ(errors, QStringList{"Error: " + TableKindWord(kind) + " File not usable: .\\src\\" + file + " (" + fault + ")"});
        QAbstractItemModel* m = Control<QTableView>(*w, "StringGrid1").model();
        EXPECT_EQ(m->index(0, 0).data().toString(), "1234");
        m->setData(m->index(0, 1), value.contains(',') ? value : QString("1e308"));
        Control<QPushButton>(*w, "Button2").click();
        EXPECT_TRUE(preview.Count() == 0 && table.Mark(1, 2) == TableBuffer::CellMark::Red &&
                    app.Messages.Lines().filter("not drawn (row 1: the level " + m->index(0, 1).data().toString()).size() == 1);
    }
}

// "Save File" of a grid with a gap in its rows or a level that is no number says the line of
// "Verify&Show" in a box, the cell at fault red, and asks for no name and writes nothing: for every
// kind the editor saves.
TEST_F(TableEditorWindowTest, SaveRefusesWhatVerifyRefuses)
{
    using L = QStringList;
    int asked = 0;
    w->chooseSaveFile = [&](const SaveDialogSettings&) { return ++asked, dir.filePath("src/new"); };
    for (const TableKind kind : {TableKind::Limit, TableKind::Cable, TableKind::Lisn, TableKind::Amplifier,
                                 TableKind::Antenna, TableKind::Segment})
        for (const auto& [freq2, fault] : {std::pair<QString, QString>{"", "row 2: the frequency is empty"},
                                          {"10000000", "row 3: the level 4x6 is no number"}}) {
            w->launch(kind);
            errors.clear(), app.Messages.Clear(), table.ClearData();
            const L cells = kind == TableKind::Segment ? L{"9000", "9000", freq2, "10000000", "30000000", "30000001"}
                                                       : L{"9000", "2", freq2, "2", "30000000", "4x6"};
            for (int i = 0; i < 6; ++i)
                table.SetCell(i / 2 + 1, i % 2 + 1, cells[i]);
            const QString said = "Error: " + TableKindWord(kind) + " table \"Cisperxxx\" not ";
            const QString why = kind != TableKind::Segment ? fault
                                : freq2.isEmpty()          ? "Segment File Error Seg: 2 Freqa__"
                                                           : "Segment File Error Seg: 1 BW____";
            const int row = freq2.isEmpty() ? 2 : 3; // its cell at fault: the frequency, else the level
            Control<QPushButton>(*w, "Button2").click();
            EXPECT_EQ(app.Messages.Lines(), kind == TableKind::Segment ? L() : L{said + "drawn (" + why + ")"});
            Control<QPushButton>(*w, "Button3").click();
            EXPECT_TRUE(errors == L{said + "saved (" + why + ")"} && asked == 0) << errors.join('|').toStdString();
            EXPECT_TRUE(kind == TableKind::Segment || table.Mark(row, row - 1) == TableBuffer::CellMark::Red);
        }
}

TEST_F(TableEditorWindowTest, SegmentPickListsAndTheErrorBox)
{
    table.SetCell(1, 1, "9000");
    w->launch(TableKind::Segment);
    EXPECT_EQ(w->windowTitle(), "Edit segments");
    QAbstractItemModel* m = Control<QTableView>(*w, "StringGrid1").model();
    EXPECT_EQ(m->index(0, 0).data().toString(), ""); // a segment table starts empty
    EXPECT_EQ(m->headerData(6, Qt::Horizontal).toString(), "Detector");
    // Every column shows, its heading whole in the header's font, "Sweep[ms]" and "PreAmp" included.
    const QHeaderView* header = Control<QTableView>(*w, "StringGrid1").horizontalHeader();
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < kSegmentColumnCount; ++c) {
        const QString heading = m->headerData(c, Qt::Horizontal).toString();
        EXPECT_FALSE(heading.isEmpty() || Control<QTableView>(*w, "StringGrid1").isColumnHidden(c)) << c;
        EXPECT_LE(header->fontMetrics().horizontalAdvance(heading) + margins,
                  Control<QTableView>(*w, "StringGrid1").columnWidth(c))
            << heading.toStdString();
    }

    Control<QTableView>(*w, "StringGrid1").edit(m->index(0, 5));
    auto* preamp = w->findChild<QComboBox*>("ComboBox2");
    ASSERT_NE(preamp, nullptr);
    EXPECT_FALSE(preamp->isEditable());
    preamp->setCurrentIndex(preamp->findText("off"));
    emit preamp->activated(preamp->currentIndex());
    EXPECT_EQ(table.Cell(1, 6), "off");
    Control<QTableView>(*w, "StringGrid1").edit(m->index(1, 4));
    auto* att = w->findChild<QComboBox*>("ComboBox3");
    ASSERT_NE(att, nullptr);
    EXPECT_TRUE(att->isEditable());
    EXPECT_EQ(att->count(), 12);

    // A shipped 1-6 GHz plan: every value shows whole in the bold font the grid draws it in.
    emit Control<QListWidget>(*w, "FileListBox1").itemClicked(
        Control<QListWidget>(*w, "FileListBox1").findItems("cispr_e_1g-6g_pk.seg", Qt::MatchExactly).value(0));
    ASSERT_EQ(m->index(0, 0).data().toString().remove('.'), "1000000000");
    QFont bold = Control<QTableView>(*w, "StringGrid1").font();
    bold.setBold(true);
    for (int c = 0; c < kSegmentColumnCount; ++c)
        EXPECT_LT(QFontMetrics(bold).horizontalAdvance(m->index(0, c).data().toString()),
                  Control<QTableView>(*w, "StringGrid1").columnWidth(c) - 4) << c;

    // A save that cannot be written is an error box with the error icon, not a plain one.
    table.SetCell(1, 1, "9000");
    w->chooseSaveFile = [&](const SaveDialogSettings&) { return dir.filePath("missing/x.seg"); };
    Control<QPushButton>(*w, "Button3").click();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(infos, QStringList());
}

TEST(TableEditorLaunchers, TheSetupMenuOpensTheEditorForItsKind)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("zips");
    QDir(dir.path()).mkpath("src");
    const QString data = QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src");
    for (const QString& name : QDir(data).entryList(QDir::Files))
        QFile::copy(data + "/" + name, dir.filePath("src/" + name));
    const QString oldCurrent = QDir::currentPath(); // the main window makes its folder current
    AppContext app;
    Program program(app, {}, dir.path());
    program.Services().showMessage = [](const QString&) {};
    program.Services().showError = [](const QString&) {};
    program.Services().confirmLoad = [](const QString&) { return true; };
    program.Services().versionIndex = [] { return 9; };
    program.CreateForms();
    Forms& f = program.Windows();

    // A project reads its limit tables last through the editor's grid: no editor shows another
    // kind's table, and Esc from every editor leaves the limit and margin lines as they were.
    f.mainWindow->chooseProjectFile = [&dir](auto&, bool) { return dir.filePath("src/conducted_cispr32_b.prj"); };
    f.mainWindow->findChild<QAction*>("load1")->trigger();
    const MainChart& main = f.mainWindow->chart();
    const QAbstractItemModel& grid = *Control<QTableView>(*f.tableEditorWindow, "StringGrid1").model();
    for (const char* launcher : {"N1", "EditSegments1", "EditCable1", "EditLISN1", "EditAmplifier1", "EditAntenna1"}) {
        f.mainWindow->findChild<QAction*>(launcher)->trigger();
        const QString first = grid.index(0, 0).data().toString();
        const QString name = Control<QLineEdit>(*f.tableEditorWindow, "Edit3").text();
        EXPECT_TRUE(launcher[0] == 'N' ? first == "150000" : first.isEmpty() && name == "Cisperxxx") << launcher;
        QTest::keyClick(f.tableEditorWindow, Qt::Key_Escape);
        for (int n : {2, 5, 14, 15}) // the limit and margin lines
            EXPECT_TRUE(main.Series(n)->LinePen().Visible() && main.Series(n)->Count() > 0) << launcher << n;
    }
    f.mainWindow->findChild<QAction*>("EditSegments1")->trigger();
    EXPECT_TRUE(f.tableEditorWindow->isVisible());
    EXPECT_EQ(f.tableEditorWindow->windowTitle(), "Edit segments");
    f.mainWindow->findChild<QAction*>("EditAmplifier1")->trigger();
    EXPECT_EQ(f.tableEditorWindow->editorKind(), TableKind::Amplifier);
    EXPECT_EQ(f.tableEditorWindow->windowTitle(), "Edit gain factor");
    const MainChart& chart = f.mainWindow->chart();
    EXPECT_FALSE(chart.Series(SeriesRole::limitLine1)->LinePen().Visible());
    EXPECT_TRUE(chart.Series(SeriesRole::tablePreview)->LinePen().Visible());

    // Closed, the lines follow the view boxes again: the limits always, the rest as checked.
    Control<QCheckBox>(*f.mainWindow, "CheckBox6").setChecked(false);
    Control<QCheckBox>(*f.mainWindow, "CheckBox8").setChecked(true);
    f.tableEditorWindow->close();
    EXPECT_TRUE(chart.Series(SeriesRole::limitLine1)->LinePen().Visible());
    EXPECT_TRUE(chart.Series(SeriesRole::limitLine2)->LinePen().Visible());
    EXPECT_FALSE(chart.Series(SeriesRole::rawTrace1)->LinePen().Visible());
    EXPECT_TRUE(chart.Series(SeriesRole::correctedTrace1)->LinePen().Visible());
    EXPECT_TRUE(chart.Series(SeriesRole::cableCorrection)->LinePen().Visible());
    EXPECT_TRUE(chart.Series(SeriesRole::marginLine1)->LinePen().Visible());
    EXPECT_FALSE(chart.Series(SeriesRole::tablePreview)->LinePen().Visible());
    f.mainWindow->hide();
    QDir::setCurrent(oldCurrent);
}

} // namespace
