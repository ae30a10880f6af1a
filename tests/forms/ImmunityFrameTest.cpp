// The generator view driven through its controls, headless: the calculator timer follows the
// mode, an amplifier file picked in the settings grid enters the row texts, the stepping
// operations and arrow keys, marks and the report, the floating boxes, the ramp diagram, and
// closing the window mid-sweep against the simulator.
#include "app/AppContext.h"
#include "chart/engine/ChartSeries.h"
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
#include <stdexcept>
#include <string>

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
        services.ShowMessage = [this](const QString& t) { boxes << t; };
        frame = std::make_unique<ImmunityFrame>(app, instrument, services, settings);
        frame->clock = [] { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); };
        frame->resize(1300, 650);
    }

    // A control of the view by its objectName.
    template <class T = QLineEdit> T* Find(const QString& name)
    {
        T* found = frame->findChild<T*>(name);
        if (found == nullptr)
            throw std::runtime_error("no control " + name.toStdString());
        return found;
    }
    QComboBox* GridCombo(int row) { return static_cast<QComboBox*>(frame->settingsGrid->cellWidget(row, 1)); }
};

} // namespace

TEST_F(ImmunityFrameFixture, GeneratorModeRunsTheCalculatorWithTheAmplifierFromTheGrid)
{
    EXPECT_FALSE(frame->calculatorTimer->isActive());
    frame->setMainMode(3);
    EXPECT_TRUE(frame->calculatorTimer->isActive());
    EXPECT_EQ(frame->calculatorTimer->interval(), 1000);

    QComboBox* amp = GridCombo(0);
    ASSERT_TRUE(amp->findText("preamp_20db.amp") >= 0);
    amp->setCurrentText("preamp_20db.amp");
    EXPECT_GT(frame->amplifierCorrection().Count(), 0);
    frame->fixedAmplitudeEdits[7]->setText("-27"); // row 8: 50 MHz, below 1 GHz
    frame->refreshFieldStrengths();

    // 20 dB of preamplifier on -27 dBm: -7 dBm into the cell of 2.8 cm.
    const double e = std::sqrt(50.0 * std::pow(10.0, -7.0 / 10.0) / 1000.0) * 100.0 / 2.8;
    EXPECT_EQ(frame->findChild<QLineEdit*>("Edit64")->text(), "-7.00-->" + QString::number(e, 'f', 2));
    EXPECT_EQ(frame->calculatorFieldEdits[0]->text(), "8 V/m");

    // A septum height of 0 would divide by zero: it becomes 2.8.
    QComboBox* septum = GridCombo(2);
    septum->setCurrentText("0");
    QTest::keyClick(septum->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(septum->currentText(), "2.8");
    septum->setCurrentText("10");
    QTest::keyClick(septum->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(settings.SeptumCm, 10.0);

    frame->calculatorInputEdit->setText("101");
    frame->refreshFieldStrengths();
    EXPECT_EQ(frame->calculatorInputEdit->text(), "");
    EXPECT_EQ(frame->messagesMemo->toPlainText(), "Warning: dBm value out of range");

    frame->setMainMode(1);
    EXPECT_FALSE(frame->calculatorTimer->isActive());

    frame->setFieldValueShown(false);
    EXPECT_TRUE(frame->settingsGrid->isRowHidden(0) && frame->settingsGrid->isRowHidden(2));
    EXPECT_FALSE(frame->settingsGrid->isRowHidden(3));
    EXPECT_TRUE(frame->fixedFieldEdits[0]->isHidden());
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
}

TEST_F(ImmunityFrameFixture, ArrowKeysStepTheBoxesUnlessAMemoHasTheFocus)
{
    EXPECT_FALSE(frame->handleMainWindowKey(Qt::Key_Up)); // EMC mode
    frame->setMainMode(3);
    frame->show();
    EXPECT_TRUE(frame->handleMainWindowKey(Qt::Key_Up));
    EXPECT_TRUE(frame->handleMainWindowKey(Qt::Key_Left));
    EXPECT_EQ(frame->manualAmplitudeEdit->text(), "-14");
    EXPECT_EQ(frame->markerLevelEdit->text(), "-14");
    EXPECT_EQ(frame->manualFrequencyEdit->text(), "50.000");
    EXPECT_EQ(frame->markerFrequencyEdit->text(), "50.000");
    EXPECT_TRUE(frame->handleMainWindowKey(Qt::Key_Right));
    EXPECT_TRUE(frame->handleMainWindowKey(Qt::Key_Down));
    EXPECT_FALSE(frame->handleMainWindowKey(Qt::Key_A));
    EXPECT_EQ(frame->manualFrequencyEdit->text(), "150.000");
    EXPECT_EQ(frame->manualAmplitudeEdit->text(), "-15");
    EXPECT_EQ(app.Debug.Lines().mid(app.Debug.Lines().size() - 2), (QStringList{"T: key: hinunter", "T: key: "}));

    frame->showMessagesButton->click();
    ASSERT_TRUE(frame->messagesBox->isVisible());
    QApplication::setActiveWindow(frame->messagesBox);
    frame->messagesMemo->setFocus();
    ASSERT_TRUE(frame->messagesMemo->hasFocus());
    EXPECT_FALSE(frame->handleMainWindowKey(Qt::Key_Up));
    EXPECT_EQ(frame->manualAmplitudeEdit->text(), "-15");

    // The spin buttons are the same operations; Enter writes the increment with dots.
    frame->frequencyUpButton->click();
    EXPECT_EQ(frame->manualFrequencyEdit->text(), "250.000");
    frame->manualFrequencyIncrementEdit->setText("1000000");
    QTest::keyClick(frame->manualFrequencyIncrementEdit, Qt::Key_Return);
    EXPECT_EQ(frame->manualFrequencyIncrementEdit->text(), "1.000.000");
}

TEST_F(ImmunityFrameFixture, MarksAndTheReportFile)
{
    frame->manualFrequencyEdit->setText("150000");
    QTest::keyClick(frame->manualFrequencyEdit, Qt::Key_Return);
    frame->manualAmplitudeEdit->setText("-15");
    frame->amplitudeUpButton->click();
    frame->amplitudeDownButton->click();
    frame->markStarButton->click();
    frame->markHashButton->click();
    EXPECT_EQ(frame->marksMemo->toPlainText(), "05:06:07:* 150.000Hz  -15dBm\n05:06:07:# 150.000Hz  -15dBm");

    const QString path = folder.filePath("out/markers.txt");
    QDir(folder.path()).mkpath("out");
    ImmunityReportDialog asked;
    frame->chooseReportFile = [&](const ImmunityReportDialog& d) {
        asked = d;
        return path;
    };
    QAction* save = frame->marksMemo->findChild<QAction*>("SavetoFile1");
    ASSERT_NE(save, nullptr);
    save->trigger();
    EXPECT_EQ(asked.FileName, "markers");
    EXPECT_EQ(asked.Filter, "txt (*.txt)");
    EXPECT_EQ(testsupport::ReadAll(path), QByteArray("Zendrik Pre-Compliance Immunity Report 04.03.2026 05:06:07\r\n\r\n"
                                                     "05:06:07:* 150.000Hz  -15dBm\r\n05:06:07:# 150.000Hz  -15dBm\r\n"));

    frame->marksMemo->findChild<QAction*>("Clear1")->trigger();
    EXPECT_TRUE(frame->marksMemo->toPlainText().isEmpty());
    frame->chooseReportFile = [&](const ImmunityReportDialog&) { return folder.filePath("gone/markers.txt"); };
    save->trigger();
    ASSERT_FALSE(app.Messages.Lines().isEmpty());
    EXPECT_TRUE(app.Messages.Lines().last().startsWith("Error: immunity report not saved: "));
}

TEST_F(ImmunityFrameFixture, FloatingBoxesFollowTheirButtonsAndTheMode)
{
    frame->show();
    frame->setMainMode(3);
    EXPECT_TRUE(frame->settingsBox->isVisible()); // the field-strength option shows the settings
    EXPECT_TRUE(frame->settingsBox->isWindow());
    EXPECT_FALSE(frame->markerBox->isVisible());
    frame->showMarkerButton->click();
    ASSERT_TRUE(frame->markerBox->isVisible());
    const QPoint at(10, 20);
    frame->markerBox->move(at);

    frame->setMainMode(2);
    EXPECT_FALSE(frame->markerBox->isVisible());
    EXPECT_FALSE(frame->settingsBox->isVisible());
    frame->setMainMode(3);
    EXPECT_TRUE(frame->markerBox->isVisible());
    EXPECT_EQ(frame->markerBox->pos(), at);

    frame->showMarkerButton->click();
    EXPECT_FALSE(frame->markerBox->isVisible());
    frame->setMainMode(1);
    frame->setMainMode(3);
    EXPECT_FALSE(frame->markerBox->isVisible());
    frame->showMessagesButton->click();
    EXPECT_TRUE(app.Debug.Lines().last().startsWith("T: A3:box6 left/top "));
}

TEST_F(ImmunityFrameFixture, RampDiagramAndItsFields)
{
    frame->show();
    frame->layoutRampFields();
    RampDiagram* d = frame->rampDiagram;
    const QImage image = d->grab().toImage();
    EXPECT_EQ(QColor(image.pixel(ScaleRampX(d->width(), 45), ScaleRampY(d->height(), 85))), QColor(Qt::red));
    EXPECT_NE(QColor(image.pixel(ScaleRampX(d->width(), 45), ScaleRampY(d->height(), 50))), QColor(Qt::red));
    const QRect g = d->geometry();
    QLineEdit* t4 = frame->findChild<QLineEdit*>("LabeledEdit9");
    EXPECT_EQ(t4, frame->rampTimeEdits[4]);
    EXPECT_EQ(t4->pos(), QPoint(GeneratorXPercentToPixel(g, 80), GeneratorYPercentToPixel(g, 15)));
    QLineEdit* t0 = frame->findChild<QLineEdit*>("LabeledEdit1");
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

    QWidget host;
    frame->setParent(&host);
    host.show();
    std::vector<bool> active;
    QObject::connect(frame.get(), &ImmunityFrame::generatorActionChanged, [&](bool on) { active.push_back(on); });
    pump.Schedule(3500, [&] {
        EXPECT_TRUE(frame->speedButtons[GeneratorAction::SweepBand1]->isChecked());
        EXPECT_FALSE(frame->speedButtons[GeneratorAction::FixedFrequency1]->isEnabled());
        EXPECT_EQ(frame->markerFrequencyEdit->text(), "130.000");
        host.close();
    });
    frame->speedButtons[GeneratorAction::SweepBand1]->click();
    frame->setParent(nullptr);

    VisaWriteString(instrument.Visa, app.Debug, "*OPC?");
    VisaReadReply(instrument.Visa, QString());
    const std::vector<SimLogEntry> log = sim.Instrument().CommandLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2].message, ":OUTP 0");
    EXPECT_FALSE(sim.Instrument().Settings().sourceOn);
    EXPECT_EQ(active, (std::vector<bool>{true, false}));
    CloseVisaSessions(instrument.Visa);
    sim.Stop();
}
