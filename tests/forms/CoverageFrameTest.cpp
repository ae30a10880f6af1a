// The coverage view's frame: its controls with their defaults, the calculators and grid checks
// wired to the widgets, and logging with the simulated receiver connected through the
// connection window, whose "RD RMC" the frame shows too.
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/CoverageFrame.h"
#include "app/AppContext.h"
#include "coverage/CoverageView.h"
#include "datafiles/TableBuffer.h"
#include "forms/ConnectionWindow.h"
#include "forms/FormServices.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentState.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

using testsupport::Control;

namespace {

struct FrameRig {
    QTemporaryDir dir;
    AppContext app;
    VirtualEventPump pump;
    InstrumentState instrument;
    TableBuffer tables;
    FormServices services;
    QStringList shown;
    std::unique_ptr<CoverageFrame> frame;

    FrameRig()
    {
        QDir(dir.path()).mkpath("src");
        QFile::copy(ZENDRIK_SOURCE_DIR "/data/src/cable_rg58_5m.cac", dir.filePath("src/cable_rg58_5m.cac"));
        app.WorkingFolder = dir.path();
        app.Pump = &pump;
        services.showMessage = [this](const QString& t) { shown << t; };
        frame = std::make_unique<CoverageFrame>(app, instrument, tables, services);
    }
    template <class T> T* Find(const char* name) { return frame->findChild<T*>(QString::fromLatin1(name)); }
};

} // namespace

TEST(CoverageFrame, ControlsStartWithTheirDefaultsAndFollowTheOperator)
{
    FrameRig r;
    CoverageFrame& f = *r.frame;
    EXPECT_EQ(f.objectName(), "Frame141");
    auto* grid = r.Find<QTableView>("ValueListEditor2");
    ASSERT_NE(grid, nullptr);
    QAbstractItemModel* model = grid->model();
    QStringList rows;
    for (int i = 0; i < model->rowCount(); ++i)
        rows << model->index(i, 0).data().toString() + "=" + model->index(i, 1).data().toString();
    EXPECT_EQ(rows,
        QStringList({"Freq A[Hz]=140000000", "Freq B[Hz]=146000000", "Freq C[Hz]=148000000", "High[dBm]=-10",
            "Low[dBm]=-110", "Cable Cor=none", "Amp Cor=none", "Ant Cor=none", "Detector=POS",
            "Sweep [ms]=auto", "RBW [Hz]=9000", "Span [Hz]=20000", "PreAmp=off", "Attenuator [dB]=10"}));
    EXPECT_EQ(model->index(5, 1).data(CoverageGrid::PickListRole).toStringList(),
        QStringList({"none", "cable_rg58_5m.cac"}));
    EXPECT_EQ(r.Find<QComboBox>("ComboBox2")->currentText(), "2000");
    EXPECT_EQ(r.Find<QComboBox>("ComboBox4")->currentText(), "300");
    EXPECT_EQ(r.Find<QLineEdit>("Edit1")->text(), "16.67");
    EXPECT_EQ(r.Find<QLineEdit>("Edit2")->text(), "2400");
    EXPECT_EQ(r.Find<QPushButton>("Button1")->text(), "Latch\nFile");
    EXPECT_TRUE(r.Find<QCheckBox>("CheckBox21")->isChecked());
    EXPECT_FALSE(r.Find<QTimer>("Timer3")->isActive());
    for (const char* name : {"Button18", "Button14", "Button15", "Button17", "Button2", "CheckBox1",
             "CheckBox2", "ComboBox1", "ComboBox3", "memo2", "Chart1", "Chart3", "Image2"})
        EXPECT_NE(r.Find<QWidget>(name), nullptr) << name;

    Control<QComboBox>(f, "ComboBox1").setCurrentText("60");
    EXPECT_EQ(Control<QLineEdit>(f, "Edit1").text(), "33.33");
    EXPECT_EQ(Control<QLineEdit>(f, "Edit2").text(), "1200");
    Control<QComboBox>(f, "ComboBox2").setEditText("0");
    EXPECT_EQ(Control<QLineEdit>(f, "Edit2").text(), "");

    // An edit in the grid is checked; a pick-only row takes nothing outside its list.
    EXPECT_TRUE(model->setData(model->index(4, 1), "-67.5"));
    EXPECT_EQ(model->index(4, 1).data().toString(), "not valid");
    EXPECT_FALSE(model->setData(model->index(12, 1), "maybe"));
    Control<QCheckBox>(f, "CheckBox21").setChecked(false);
    EXPECT_FALSE(r.instrument.Gps.View.SkipNonMoving);

    Control<QPushButton>(f, "Button14").click();
    EXPECT_EQ(r.shown, QStringList({"No GPS device found"}));
}

TEST(CoverageFrame, LogsWithTheReceiverAndShowsItsReadings)
{
    SimulatorOptions o;
    o.pty = true;
    o.gps = true;
    o.tcpPort = 0;
    Simulator sim(o);
    QString error;
    ASSERT_TRUE(sim.Start(&error)) << error.toStdString();
    FrameRig r;
    CoverageFrame& f = *r.frame;
    LoadVisaLibrary(r.instrument.Visa, r.app.Debug, std::make_unique<BuiltinVisaBackEnd>());
    ConnectionWindow connection(r.app, r.instrument, r.services);
    QObject::connect(&connection, &ConnectionWindow::gpsRead, &f, &CoverageFrame::showGpsReceiver);
    connection.prepareForKind(LinkKind::GpsReceiver);
    Control<QComboBox>(connection, "ComboBox1").setEditText(sim.PtyPath());
    Control<QPushButton>(connection, "BitBtn6").click();
    ASSERT_EQ(r.instrument.Gps.GpsConnected, 1) << r.shown.join("|").toStdString();

    Control<QPushButton>(connection, "Button4").click();
    EXPECT_EQ(Control<QLineEdit>(f, "utcEdit").text(), "093000.00");
    EXPECT_EQ(Control<QLineEdit>(f, "statusEdit").text(), "fix");
    EXPECT_EQ(Control<QLineEdit>(f, "speedEdit").text(), "0");

    ConnectInstrument(connection.context(), QString("TCPIP0::127.0.0.1::%1::SOCKET").arg(sim.TcpPort()), true);
    Control<QComboBox>(f, "ComboBox2").setEditText("500");
    Control<QPushButton>(f, "Button14").click();
    EXPECT_TRUE(Control<QTimer>(f, "Timer3").isActive());
    EXPECT_EQ(Control<QTimer>(f, "Timer3").interval(), 500);
    EXPECT_TRUE(f.loggingActive());
    // Standstills at steps 1 and 2, then 10 knots: one line.
    for (int i = 0; i < 3; ++i)
        f.coverageTick();
    EXPECT_EQ(Control<QLineEdit>(f, "speedEdit").text(), "18.52");
    EXPECT_EQ(Control<QLineEdit>(f, "utcEdit").text(), "093003.00");
    QFile table(r.dir.filePath("out/coverage.txt"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    EXPECT_EQ(table.readAll().count("\r\n"), 2);

    // A full disk keeps the rows whole, says why, and after "Delete" leaves no empty table.
    const qint64 whole = table.size();
    f.askOkCancel = [](const QString&) { return true; };
    for (const rlim_t room : {rlim_t(whole + 5), rlim_t(0)}) {
        std::optional<testsupport::DiskFull> full(room);
        f.coverageTick();
        full.reset();
        EXPECT_EQ(table.exists() ? QFileInfo(table.fileName()).size() : -1, room ? whole : -1);
        Control<QPushButton>(f, "Button17").click();
    }
    const QString why = "Error: cannot write " + table.fileName() + ": " + testsupport::DiskFull::Reason();
    EXPECT_EQ(r.app.Messages.Lines().filter("Error: "), QStringList({why, why}));
    EXPECT_FALSE(table.exists());
    f.windowClosing();
    EXPECT_FALSE(Control<QTimer>(f, "Timer3").isActive());
    EXPECT_FALSE(f.loggingActive());
    EXPECT_TRUE(r.shown.isEmpty()) << r.shown.join("|").toStdString();
    CloseGpsReceiver(connection.context(), r.instrument.Gps);
}
