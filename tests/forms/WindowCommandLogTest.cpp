// Everything the analyser receives while an operator works through the windows: the connection,
// the log window's mode buttons, the preamplifier choice, the reference-level arrows and a whole
// run of each measurement set of the demo project. The commands are compared with a recorded log,
// so that a change of how the windows are built cannot change what reaches the instrument.
#include "RunWindowFixture.h"

#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/Forms.h"
#include "forms/LoggerWindow.h"
#include "forms/MainWindow.h"

#include <QAbstractButton>
#include <algorithm>
#include <gtest/gtest.h>

using testsupport::Control;

namespace {

// How long the analyser takes to complete a sweep depends on the machine, so the number of
// completion polls does: a run of the same poll counts once. Nothing else is left out.
QStringList CollapsePolls(const QStringList& log)
{
    QStringList out;
    for (const QString& command : log)
        if (!(command == "*ESR?" && !out.isEmpty() && out.last() == command))
            out << command;
    return out;
}

} // namespace

TEST(WindowCommandLog, TheAnalyserReceivesWhatItAlwaysReceived)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(f.Start("rsa5065", "conducted_cispr32_b.prj"));
    ASSERT_NO_FATAL_FAILURE(f.Connect(true));
    MainWindow& w = *f.w;
    QWidget& logger = *f.program->Windows().loggerWindow;

    Control<QAbstractButton>(logger, "Button11").click(); // "R&S SPEC Mode"
    Control<QAbstractButton>(logger, "Button10").click(); // "R&S REC Mode"
    for (const char* preAmp : {"RadioButton4", "RadioButton5", "RadioButton3"}) // "on", "off", "seg"
        Control<QAbstractButton>(w, preAmp).click();
    Control<QAbstractButton>(w, "refLevelDownButton").click(); // the arrows of "SpinButton1"
    Control<QAbstractButton>(w, "refLevelUpButton").click();
    Control<QAbstractButton>(w, "BitBtn1").click(); // "Play", set 1
    Control<QAbstractButton>(w, "RadioButton2").click(); // "Set2"
    Control<QAbstractButton>(w, "BitBtn1").click();
    EXPECT_TRUE(f.boxes.isEmpty()) << f.boxes.join('|').toStdString();
    EXPECT_TRUE(f.Lines("Error").isEmpty()) << f.Lines("Error").join('|').toStdString();

    const QStringList log = CollapsePolls(f.SimLog());
    const QString golden = testsupport::DataPath("forms/window_command_log_rsa5065.txt");
    if (qEnvironmentVariableIsSet("ZENDRIK_WRITE_GOLDEN")) {
        ASSERT_TRUE(testsupport::WriteAll(golden, (log.join('\n') + '\n').toLatin1()));
        GTEST_SKIP() << "wrote " << golden.toStdString();
    }
    const QStringList expected = QString::fromLatin1(testsupport::ReadAll(golden)).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(expected.isEmpty()) << golden.toStdString();
    for (qsizetype i = 0; i < std::max(log.size(), expected.size()); ++i) {
        const QString got = i < log.size() ? log[i] : QStringLiteral("(nothing)");
        const QString want = i < expected.size() ? expected[i] : QStringLiteral("(nothing)");
        ASSERT_EQ(got, want) << "command " << i + 1 << " of " << expected.size();
    }
}
