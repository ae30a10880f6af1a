#include "app/AppContext.h"
#include "chart/engine/ChartSeries.h"
#include "chart/series/LineSeries.h"
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
#include <gtest/gtest.h>

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
        services.ShowMessage = [this](const QString& t) { infos << t; };
        services.ShowError = [this](const QString& t) { errors << t; };
        services.ConfirmLoad = [this](const QString& t) {
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
    EXPECT_EQ(w->startFreqEdit->text(), "9000");
    EXPECT_FALSE(w->saveButton->isEnabled());
    w->launch(ekLimit);
    EXPECT_EQ(w->windowTitle(), "Edit Limit");
    EXPECT_TRUE(w->saveButton->isEnabled());
    const int lims = static_cast<int>(QDir(dir.filePath("src")).entryList({"*.lim"}).size());
    EXPECT_EQ(w->fileList->count(), lims);
    EXPECT_EQ(w->fileCountLabel->text(), "Files " + QString::number(lims));
    QAbstractItemModel* m = w->grid->model();
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "Limit[Hz]");
    EXPECT_EQ(m->headerData(2, Qt::Vertical).toString(), "Freq3");
    EXPECT_TRUE(w->grid->isColumnHidden(2));

    const QList<QListWidgetItem*> found = w->fileList->findItems("cispr32_b_qp.lim", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    emit w->fileList->itemClicked(found.first());
    EXPECT_EQ(questions, QStringList{"Load Limit File \".\\src\\cispr32_b_qp.lim\""});
    EXPECT_EQ(m->index(0, 0).data().toString(), "150000");
    EXPECT_EQ(w->nameEdit->text(), table.Name());
    EXPECT_FALSE(w->levelLinCheckBox->isChecked()); // the file interpolates over log f

    w->verifyButton->click();
    EXPECT_GT(preview.Count(), 80);
    EXPECT_EQ(m->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::green));
    EXPECT_TRUE(m->index(0, 1).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(w->stopFreqEdit->text(), table.Range().StopHz);
    EXPECT_EQ(frequency.Maximum(), table.Range().StopHz.toDouble() / 1000);

    // Without autoscale the fields are typed: a text with dots is no number.
    w->autoscaleCheckBox->setChecked(false);
    EXPECT_TRUE(w->startFreqEdit->isEnabled());
    w->startFreqEdit->setText("1.000.000");
    EXPECT_EQ(TextColor(w->startFreqEdit), QColor(Qt::red));
    w->startFreqEdit->setText("1000000");
    EXPECT_EQ(TextColor(w->startFreqEdit), QColor(Qt::darkGreen));
    EXPECT_EQ(frequency.Minimum(), 1000);

    w->nameEdit->setText("My limit");
    emit w->nameEdit->textEdited("My limit");
    QString offered;
    w->chooseSaveFile = [&](const SaveDialogSettings& d) {
        offered = d.FileName + " " + d.Filter;
        return dir.filePath("src/mine.lim");
    };
    w->saveButton->click();
    EXPECT_EQ(offered, "My limit lim|*.lim");
    EXPECT_EQ(w->fileList->findItems("mine.lim", Qt::MatchExactly).size(), 1);
    EXPECT_TRUE(testsupport::ReadAll(dir.filePath("src/mine.lim")).contains("Name=My limit"));

    w->clearButton->click();
    EXPECT_EQ(m->index(0, 0).data().toString(), "");
    w->closeButton->click();
    EXPECT_EQ(preview.Count(), 0);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(errors, QStringList());
}

TEST_F(TableEditorWindowTest, SegmentPickListsAndTheErrorBox)
{
    table.SetCell(1, 1, "9000");
    w->launch(ekSegment);
    EXPECT_EQ(w->windowTitle(), "Edit segments");
    QAbstractItemModel* m = w->grid->model();
    EXPECT_EQ(m->index(0, 0).data().toString(), ""); // a segment table starts empty
    EXPECT_EQ(m->headerData(6, Qt::Horizontal).toString(), "Detector");
    EXPECT_FALSE(w->grid->isColumnHidden(6));
    // Every heading shows whole in the header's font, "Sweep[ms]" and "PreAmp" included.
    const QHeaderView* header = w->grid->horizontalHeader();
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < 7; ++c) {
        const QString heading = m->headerData(c, Qt::Horizontal).toString();
        EXPECT_LE(header->fontMetrics().horizontalAdvance(heading) + margins, w->grid->columnWidth(c))
            << heading.toStdString();
    }

    w->grid->edit(m->index(0, 5));
    auto* preamp = w->findChild<QComboBox*>("ComboBox2");
    ASSERT_NE(preamp, nullptr);
    EXPECT_FALSE(preamp->isEditable());
    preamp->setCurrentIndex(preamp->findText("off"));
    emit preamp->activated(preamp->currentIndex());
    EXPECT_EQ(table.Cell(1, 6), "off");
    w->grid->edit(m->index(1, 4));
    auto* att = w->findChild<QComboBox*>("ComboBox3");
    ASSERT_NE(att, nullptr);
    EXPECT_TRUE(att->isEditable());
    EXPECT_EQ(att->count(), 12);

    // A save that cannot be written is an error box with the error icon, not a plain one.
    table.SetCell(1, 1, "9000");
    w->chooseSaveFile = [&](const SaveDialogSettings&) { return dir.filePath("missing/x.seg"); };
    w->saveButton->click();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(infos, QStringList());
}

TEST(TableEditorLaunchers, TheSetupMenuOpensTheEditorForItsKind)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("zips");
    QDir(dir.path()).mkpath("src");
    const QString oldCurrent = QDir::currentPath(); // the main window makes its folder current
    AppContext app;
    Program program(app, {}, dir.path());
    program.Services().ShowMessage = [](const QString&) {};
    program.Services().ShowError = [](const QString&) {};
    program.Services().VersionIndex = [] { return 9; };
    program.CreateForms();
    Forms& f = program.Windows();
    f.mainWindow->findChild<QAction*>("EditSegments1")->trigger();
    EXPECT_TRUE(f.tableEditorWindow->isVisible());
    EXPECT_EQ(f.tableEditorWindow->windowTitle(), "Edit segments");
    f.mainWindow->findChild<QAction*>("EditAmplifier1")->trigger();
    EXPECT_EQ(f.tableEditorWindow->editorKind(), ekAmplifier);
    EXPECT_EQ(f.tableEditorWindow->windowTitle(), "Edit gain factor");
    const MainChart& chart = f.mainWindow->chart();
    EXPECT_FALSE(chart.Series(SeriesRole::limitLine1)->LinePen().Visible());
    EXPECT_TRUE(chart.Series(SeriesRole::tablePreview)->LinePen().Visible());

    // Closed, the lines follow the view boxes again: the limits always, the rest as checked.
    f.mainWindow->viewRaw1CheckBox->setChecked(false);
    f.mainWindow->viewCorrectionsCheckBox->setChecked(true);
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
