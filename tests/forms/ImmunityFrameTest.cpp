// The generator view driven through its controls, headless: the calculator timer follows the
// mode, an amplifier file picked in the settings grid enters the row texts, the stepping
// operations and arrow keys, marks and the report, the floating boxes, the ramp diagram, and
// closing the window mid-sweep against the simulator.
#include "app/AppContext.h"
#include "chart/engine/ChartSeries.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/FormServices.h"
#include "forms/ImmunityFrame.h"
#include "forms/RampDiagram.h"
#include "immunity/FieldStrength.h"
#include "immunity/GeneratorLayout.h"
#include "immunity/GeneratorSettings.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentState.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct ImmunityFrameFixture : ::testing::Test {
    QTemporaryDir folder;
    VirtualEventPump pump;
    AppContext app;
    InstrumentState instrument;
    FormServices services;
    GeneratorSettings settings;
    QStringList boxes;
    std::unique_ptr<ImmunityFrame> frame;

    ImmunityFrameFixture()
    {
        QDir(folder.path()).mkpath("src");
        QFile::copy(QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src/preamp_20db.amp"), folder.filePath("src/preamp_20db.amp"));
        app.WorkingFolder = folder.path();
        app.Pump = &pump;
        app.Settings.OptTgFieldValue = true;
        app.Debug.DebugMode = 1;
        app.Debug.TimeText = [] { return QStringLiteral("T"); };
        services.showMessage = [this](const QString& t) { boxes << t; };
        frame = std::make_unique<ImmunityFrame>(app, instrument, services, settings);
        frame->clock = [] { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); };
        frame->resize(1300, 650);
    }

    // A control of the view by its objectName.
    template <class T = QLineEdit> T* Find(const QString& name)
    {
        return &testsupport::Control<T>(*frame, name);
    }
    QComboBox* GridCombo(int row)
    {
        return static_cast<QComboBox*>(Find<QTableWidget>("ValueListEditor1")->cellWidget(row, 1));
    }
};

} // namespace

TEST_F(ImmunityFrameFixture, GeneratorModeRunsTheCalculatorWithTheAmplifierFromTheGrid)
{
    QTimer* timer = Find<QTimer>("Timer1");
    EXPECT_FALSE(timer->isActive());
    frame->setMainMode(MainMode::Generator);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);

    QComboBox* amp = GridCombo(0);
    ASSERT_TRUE(amp->findText("preamp_20db.amp") >= 0);
    amp->setCurrentText("preamp_20db.amp");
    EXPECT_GT(frame->amplifierCorrection().Count(), 0);
    Find("fixedAmplitudeEdit8")->setText("-27"); // row 8: 50 MHz, below 1 GHz
    frame->refreshFieldStrengths();

    // 20 dB of preamplifier on -27 dBm: -7 dBm into the cell of 2.8 cm.
    const double e = std::sqrt(50.0 * std::pow(10.0, -7.0 / 10.0) / 1000.0) * 100.0 / 2.8;
    EXPECT_EQ(Find("Edit64")->text(), "-7.00-->" + QString::number(e, 'f', 2));
    EXPECT_EQ(Find("calculatorFieldEdit1")->text(), "8 V/m");

    // A septum height of 0 would divide by zero: it becomes 2.8.
    QComboBox* septum = GridCombo(2);
    septum->setCurrentText("0");
    QTest::keyClick(septum->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(septum->currentText(), "2.8");
    septum->setCurrentText("10");
    QTest::keyClick(septum->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(settings.SeptumCm, 10.0);

    Find("calculatorInputEdit")->setText("101");
    frame->refreshFieldStrengths();
    EXPECT_EQ(Find("calculatorInputEdit")->text(), "");
    EXPECT_EQ(Find<QPlainTextEdit>("Memo2")->toPlainText(), "Warning: dBm value out of range");

    frame->setMainMode(MainMode::Emc);
    EXPECT_FALSE(timer->isActive());

    frame->setFieldValueShown(false);
    auto* grid = Find<QTableWidget>("ValueListEditor1");
    EXPECT_TRUE(grid->isRowHidden(0) && grid->isRowHidden(2));
    EXPECT_FALSE(grid->isRowHidden(3));
    EXPECT_TRUE(Find("Edit57")->isHidden());
}

// Each speed button works on its own boxes: with only those unreadable, its click is refused with
// the message of its kind and the button pops out again.
TEST_F(ImmunityFrameFixture, EachSpeedButtonReadsItsOwnRowBandRampOrManualBox)
{
    instrument.Device.DeviceConnected = 1;
    instrument.Device.DeviceFamily = dfRigol;
    struct Case {
        QString button, edit, error;
    };
    std::vector<Case> cases;
    for (int i = 1; i <= 12; ++i)
        cases.push_back({QStringLiteral("SpeedButton%1").arg(i), QStringLiteral("fixedFrequencyEdit%1").arg(i),
                         QStringLiteral("Fixed Freq Setup Error ")});
    for (int b = 1; b <= 6; ++b)
        cases.push_back({QStringLiteral("SpeedButton%1").arg(12 + b), QStringLiteral("sweepStepEdit%1").arg(b),
                         QStringLiteral("Sweep Setup Error ")});
    cases.push_back({"SpeedButton19", "LabeledEdit5", "Ramp Setup Error "});
    for (const Case& c : cases) {
        QLineEdit* edit = Find(c.edit);
        const QString kept = edit->text();
        edit->setText("x");
        boxes.clear();
        auto* button = Find<QToolButton>(c.button);
        button->click();
        EXPECT_EQ(boxes, QStringList{c.error}) << c.button.toStdString();
        EXPECT_FALSE(button->isChecked()) << c.button.toStdString();
        edit->setText(kept);
    }
    Find("LabeledEdit17")->setText("x");
    Find<QToolButton>("SpeedButton20")->click();
    EXPECT_EQ(Find<QPlainTextEdit>("Memo2")->toPlainText(), "Warnng: Manual stepping freq value error");
    for (const QLabel* label : frame->findChildren<QLabel*>()) // the boxes' amplitudes are in dBm
        EXPECT_TRUE(!label->text().startsWith("Am") || !label->text().contains('[') ||
                    (label->text().startsWith("Amplitude") && label->text().endsWith("[dBm]"))) << label->text().toStdString();
}

TEST_F(ImmunityFrameFixture, ArrowKeysStepTheBoxesUnlessAMemoHasTheFocus)
{
    QLineEdit* frequency = Find("LabeledEdit17");
    QLineEdit* amplitude = Find("LabeledEdit18");
    QLineEdit* increment = Find("LabeledEdit19");
    auto* memo = Find<QPlainTextEdit>("Memo2");
    EXPECT_FALSE(frame->handleMainWindowKey(Qt::Key_Up)); // EMC mode
    frame->setMainMode(MainMode::Generator);
    frame->show();
    EXPECT_TRUE(frame->handleMainWindowKey(Qt::Key_Up));
    EXPECT_TRUE(frame->handleMainWindowKey(Qt::Key_Left));
    EXPECT_EQ(amplitude->text(), "-14");
    EXPECT_EQ(frequency->text(), "50.000");
    EXPECT_EQ(Find("markerLevelEdit")->text() + Find("markerFrequencyEdit")->text(), ""); // nothing sent
    EXPECT_TRUE(frame->handleMainWindowKey(Qt::Key_Right));
    EXPECT_TRUE(frame->handleMainWindowKey(Qt::Key_Down));
    EXPECT_FALSE(frame->handleMainWindowKey(Qt::Key_A));
    EXPECT_EQ(frequency->text(), "150.000");
    EXPECT_EQ(amplitude->text(), "-15");
    EXPECT_EQ(app.Debug.Lines().mid(app.Debug.Lines().size() - 2), (QStringList{"T: key: hinunter", "T: key: "}));

    Find<QPushButton>("Button6")->click();
    ASSERT_TRUE(Find<QGroupBox>("GroupBox6")->isVisible());
    QApplication::setActiveWindow(Find<QGroupBox>("GroupBox6"));
    memo->setFocus();
    ASSERT_TRUE(memo->hasFocus());
    EXPECT_FALSE(frame->handleMainWindowKey(Qt::Key_Up));
    EXPECT_EQ(amplitude->text(), "-15");

    // The spin buttons are the same operations; Enter writes the increment with dots.
    Find<QToolButton>("SpinButton1Up")->click();
    EXPECT_EQ(frequency->text(), "250.000");
    increment->setText("1000000");
    QTest::keyClick(increment, Qt::Key_Return);
    EXPECT_EQ(increment->text(), "1.000.000");
}

TEST_F(ImmunityFrameFixture, MarksAndTheReportFile)
{
    QLineEdit* frequency = Find("LabeledEdit17");
    auto* marks = Find<QPlainTextEdit>("Memo1");
    frequency->setText("150000");
    QTest::keyClick(frequency, Qt::Key_Return);
    Find("LabeledEdit18")->setText("-15");
    Find<QToolButton>("SpinButton2Up")->click();
    Find<QToolButton>("SpinButton2Down")->click();
    Find<QPushButton>("Button1")->click();
    Find<QPushButton>("Button2")->click();
    EXPECT_EQ(marks->toPlainText(), "05:06:07:* Hz  dBm\n05:06:07:# Hz  dBm"); // no device: nothing was sent

    const QString path = folder.filePath("out/markers.txt");
    QDir(folder.path()).mkpath("out");
    ImmunityReportDialog asked;
    frame->chooseReportFile = [&](const ImmunityReportDialog& d) {
        asked = d;
        return path;
    };
    QAction* save = marks->findChild<QAction*>("SavetoFile1");
    ASSERT_NE(save, nullptr);
    save->trigger();
    EXPECT_EQ(asked.FileName, "markers");
    EXPECT_EQ(asked.Filter, "txt (*.txt)");
    EXPECT_EQ(testsupport::ReadAll(path), QByteArray("Zendrik Pre-Compliance Immunity Report 04.03.2026 05:06:07\r\n\r\n"
                                                     "05:06:07:* Hz  dBm\r\n05:06:07:# Hz  dBm\r\n"));

    marks->findChild<QAction*>("Clear1")->trigger();
    EXPECT_TRUE(marks->toPlainText().isEmpty());
    frame->chooseReportFile = [&](const ImmunityReportDialog&) { return folder.filePath("gone/markers.txt"); };
    save->trigger();
    ASSERT_FALSE(app.Messages.Lines().isEmpty());
    EXPECT_TRUE(app.Messages.Lines().last().startsWith("Error: immunity report not saved: "));
}

TEST_F(ImmunityFrameFixture, FloatingBoxesFollowTheirButtonsAndTheMode)
{
    auto* markerBox = Find<QGroupBox>("GroupBox9");
    auto* settingsBox = Find<QGroupBox>("GroupBox5");
    auto* showMarker = Find<QPushButton>("Button4");
    frame->show();
    frame->setMainMode(MainMode::Generator);
    EXPECT_TRUE(settingsBox->isVisible()); // the field-strength option shows the settings
    EXPECT_TRUE(settingsBox->isWindow());
    EXPECT_FALSE(markerBox->isVisible());
    showMarker->click();
    ASSERT_TRUE(markerBox->isVisible());
    const QPoint at(10, 20);
    markerBox->move(at);

    frame->setMainMode(MainMode::Coverage);
    EXPECT_FALSE(markerBox->isVisible());
    EXPECT_FALSE(settingsBox->isVisible());
    frame->setMainMode(MainMode::Generator);
    EXPECT_TRUE(markerBox->isVisible());
    EXPECT_EQ(markerBox->pos(), at);

    showMarker->click();
    EXPECT_FALSE(markerBox->isVisible());
    frame->setMainMode(MainMode::Emc);
    frame->setMainMode(MainMode::Generator);
    EXPECT_FALSE(markerBox->isVisible());
    Find<QPushButton>("Button6")->click();
    EXPECT_TRUE(app.Debug.Lines().last().startsWith("T: A3:box6 left/top "));
}

TEST_F(ImmunityFrameFixture, RampDiagramAndItsFields)
{
    frame->show();
    frame->layoutRampFields();
    RampDiagram* d = Find<RampDiagram>("PaintBox1");
    const QImage image = d->grab().toImage();
    EXPECT_EQ(QColor(image.pixel(ScaleRampX(d->width(), 45), ScaleRampY(d->height(), 85))), QColor(Qt::red));
    EXPECT_NE(QColor(image.pixel(ScaleRampX(d->width(), 45), ScaleRampY(d->height(), 50))), QColor(Qt::red));
    const QRect g = d->geometry();
    QLineEdit* t4 = Find("LabeledEdit9");
    EXPECT_EQ(t4->pos(), QPoint(GeneratorXPercentToPixel(g, 80), GeneratorYPercentToPixel(g, 15)));
    QLineEdit* t0 = Find("LabeledEdit1");
    EXPECT_EQ(t0->geometry().right() + 1, GeneratorXPercentToPixel(g, 22));
}

TEST_F(ImmunityFrameFixture, ClosingTheWindowMidSweepLeavesTheGeneratorOff)
{
    SimulatorOptions o;
    o.family = "dsa815";
    o.tcpPort = 0;
    o.timeScale = 0.0001;
    Simulator sim(o);
    QString error;
    ASSERT_TRUE(sim.Start(&error)) << error.toStdString();
    LoadVisaLibrary(instrument.Visa, app.Debug, std::make_unique<BuiltinVisaBackEnd>());
    ScpiContext c{instrument.Visa, instrument.Device, app.Settings, app.Debug, app.Messages, pump, instrument.Status};
    ASSERT_TRUE(ConnectInstrument(c, "TCPIP0::127.0.0.1::" + QString::number(sim.TcpPort()) + "::SOCKET", true).Identified);

    auto* sweep = Find<QToolButton>("SpeedButton13");
    QWidget host;
    frame->setParent(&host);
    host.show();
    std::vector<bool> active;
    QObject::connect(frame.get(), &ImmunityFrame::generatorActionChanged, [&](bool on) { active.push_back(on); });
    pump.Schedule(3500, [&] {
        EXPECT_TRUE(sweep->isChecked());
        EXPECT_FALSE(Find<QToolButton>("SpeedButton1")->isEnabled());
        EXPECT_EQ(Find("markerFrequencyEdit")->text(), "130.000");
        host.close();
    });
    sweep->click();
    frame->setParent(nullptr);

    VisaWriteString(instrument.Visa, app.Debug, "*OPC?");
    VisaReadReply(instrument.Visa, QString());
    const std::vector<SimLogEntry> log = sim.Instrument().CommandLog();
    ASSERT_GE(log.size(), 3u); // the stop's "*OPC?" confirms it reached the analyser, then the query above
    EXPECT_EQ(log[log.size() - 3].message, ":OUTP 0");
    EXPECT_FALSE(sim.Instrument().Settings().sourceOn);
    EXPECT_EQ(active, (std::vector<bool>{true, false}));
    CloseVisaSessions(instrument.Visa);
    sim.Stop();
}
