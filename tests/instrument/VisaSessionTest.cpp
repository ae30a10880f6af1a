// The session functions of the VISA binding (write, the three read modes, GPS sentences, load and
// close) against the built-in back end over a scripted transport.
#include "app/Log.h"
#include "common/TestSupport.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/ScriptedTransport.h"
#include "instrument/visa/VendorVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A program state with the built-in back end loaded and one instrument session on a scripted
// peer; the peer answers "*IDN?" and whatever the test puts into answers.
struct Fixture {
    VisaState state;
    DebugLog debug;
    std::shared_ptr<ScriptedPeer> peer = std::make_shared<ScriptedPeer>();
    BuiltinVisaBackEnd* backEnd = nullptr;
    QStringList dialogs;
    int timerStops = 0;

    explicit Fixture(bool openSession = true)
    {
        debug.DebugMode = 1;
        debug.TimeText = [] { return QStringLiteral("T"); };
        auto b = std::make_unique<BuiltinVisaBackEnd>();
        backEnd = b.get();
        LoadVisaLibrary(state, debug, std::move(b));
        state.ShowErrorDialog = [this](const QString& t) { dialogs << t; };
        state.StopCoverageTimer = [this](const QString&) { ++timerStops; };
        EXPECT_EQ(state.VisaLibrary->viOpenDefaultRM(&state.VisaResourceManager), visa::VI_SUCCESS);
        if (openSession) {
            EXPECT_EQ(backEnd->OpenWithTransport(state.VisaResourceManager, "TCPIP0::fake::INSTR",
                                                 std::make_unique<ScriptedTransport>(peer), &state.VisaSession),
                      visa::VI_SUCCESS);
            EXPECT_EQ(backEnd->OpenWithTransport(state.VisaResourceManager, "ASRL1::INSTR",
                                                 std::make_unique<ScriptedTransport>(peer), &state.GpsSession),
                      visa::VI_SUCCESS);
        }
    }
};

QStringList LinesWithout(const QStringList& lines, const QString& prefix)
{
    QStringList out;
    for (const QString& l : lines)
        out << (l.startsWith(prefix) ? l.mid(prefix.size()) : l);
    return out;
}

} // namespace

TEST(VisaSession, ReadReplyDropsTheLineEndOnlyInTheEmptyMode)
{
    Fixture f;
    f.peer->answers = {"Rigol Technologies,DSA815,DSA8A1,00.01.19.00.02\n", "-40.5\n", "1\n"};
    EXPECT_EQ(VisaReadReply(f.state, ""), "Rigol Technologies,DSA815,DSA8A1,00.01.19.00.02");
    EXPECT_EQ(VisaReadReply(f.state, "5000"), "-40.5\n");
    // Any other mode keeps every byte too.
    EXPECT_EQ(VisaReadReply(f.state, "x"), "1\n");
}

TEST(VisaSession, ReadLineAndBlock)
{
    Fixture f;
    f.peer->answers = {"12.5\n", "#3abc\n"};
    EXPECT_EQ(VisaReadLine(f.state), "12.5");
    EXPECT_EQ(VisaReadBlock(f.state), "#3abc\n");
}

TEST(VisaSession, FailedReadsGiveZeroOrEmptyText)
{
    Fixture f; // nothing queued: every read times out
    EXPECT_EQ(VisaReadReply(f.state, ""), "0");
    EXPECT_EQ(VisaReadReply(f.state, "5000"), "0");
    EXPECT_EQ(VisaReadLine(f.state), "");
    EXPECT_EQ(VisaReadBlock(f.state), "");
    f.peer->dropped = true;
    EXPECT_EQ(VisaReadReply(f.state, ""), "0");
    EXPECT_EQ(VisaReadBlock(f.state), "");
}

TEST(VisaSession, BytesBecomeCharactersOneToOne)
{
    Fixture f;
    f.peer->answers = {QByteArray("\xB0\xFF\x01z\n", 5)};
    const QString s = VisaReadBlock(f.state);
    ASSERT_EQ(s.size(), 5);
    EXPECT_EQ(s[0].unicode(), 0xB0);
    EXPECT_EQ(s[1].unicode(), 0xFF);
    EXPECT_EQ(s[2].unicode(), 0x01);
}

TEST(VisaSession, OneBytePerTransportReadStillGivesWholeAnswers)
{
    Fixture f;
    f.peer->chunk = 1;
    const QByteArray idn = "Siglent Technologies,SSA3032X,SSA3XAB1234567,3.2.2.5.0\n";
    f.peer->answers = {idn, "QUASi\n"};
    EXPECT_EQ(VisaReadReply(f.state, "").toLatin1(), idn.left(idn.size() - 1));
    EXPECT_EQ(f.peer->reads, idn.size());
    EXPECT_EQ(VisaReadLine(f.state), "QUASi");
}

TEST(VisaSession, AnswerLongerThanOneReadFailsButLaterAnswersStayInStep)
{
    for (size_t chunk : {size_t(1), size_t(100), size_t(100000)}) {
        Fixture f;
        f.peer->chunk = chunk;
        const QByteArray longAnswer = QByteArray(3000, 'x') + "\n";
        f.peer->answers = {longAnswer, "1\n", QByteArray(2048, 'y'), QByteArray(2047, 'z') + "\n"};
        // Longer than 2048 bytes: the full-buffer code counts as failure...
        EXPECT_EQ(VisaReadReply(f.state, ""), "0") << chunk;
        // ...and the rest of that answer is gone, so the next read gets the next answer.
        EXPECT_EQ(VisaReadReply(f.state, ""), "1") << chunk;
        // Exactly 2048 bytes with END on the last one is a complete answer.
        EXPECT_EQ(VisaReadBlock(f.state).size(), 2048) << chunk;
        EXPECT_EQ(VisaReadLine(f.state).size(), 2047) << chunk;
        EXPECT_TRUE(f.peer->answers.empty());
    }
}

TEST(VisaSession, ReadAnswerReportsFullBufferAndKeepsTheFirstPart)
{
    Fixture f;
    f.peer->chunk = 7;
    f.peer->answers = {QByteArray("0123456789abcdef\n"), QByteArray("next\n")};
    QByteArray a;
    EXPECT_EQ(VisaReadAnswer(f.state, f.state.VisaSession, 10, &a), visa::VI_SUCCESS_MAX_CNT);
    EXPECT_EQ(a, "0123456789");
    EXPECT_EQ(VisaReadAnswer(f.state, f.state.VisaSession, 10, &a), visa::VI_SUCCESS);
    EXPECT_EQ(a, "next\n");
}

TEST(VisaSession, ScpiWriteSendsTheCommandWithoutTerminator)
{
    Fixture f;
    EXPECT_EQ(ScpiWrite(f.state, f.debug, ":SENS:FREQ:STAR 150000"), visa::VI_SUCCESS);
    ASSERT_EQ(f.peer->messages.size(), 1);
    EXPECT_EQ(f.peer->messages[0], ":SENS:FREQ:STAR 150000");
    // Longer than the old 128-byte buffer: sent whole.
    const QString longCommand = ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;" + QString(200, 'A');
    EXPECT_EQ(ScpiWrite(f.state, f.debug, longCommand), visa::VI_SUCCESS);
    EXPECT_EQ(f.peer->messages[1], longCommand.toLatin1());
    EXPECT_TRUE(f.dialogs.isEmpty());
    // ScpiWrite writes no debug line.
    for (const QString& l : f.debug.Lines())
        EXPECT_FALSE(l.contains("SENS:FREQ")) << l.toStdString();
}

TEST(VisaSession, ScpiWriteFailureIsSilentUnlessDebugMode)
{
    Fixture f(false); // resource manager only: no instrument session
    f.debug.DebugMode = 0;
    const ViStatus st = ScpiWrite(f.state, f.debug, "*CLS");
    EXPECT_NE(st, visa::VI_SUCCESS);
    EXPECT_TRUE(f.dialogs.isEmpty());

    f.debug.DebugMode = 1;
    EXPECT_EQ(ScpiWrite(f.state, f.debug, "*CLS"), visa::VI_ERROR_INV_OBJECT);
    ASSERT_EQ(f.dialogs.size(), 1);
    EXPECT_EQ(f.dialogs[0], "ViWrite FAILED! BFFF000E");
}

TEST(VisaSession, WriteStringLogsTheCommandAndNeverShowsADialog)
{
    Fixture f;
    EXPECT_EQ(VisaWriteString(f.state, f.debug, "*IDN?"), visa::VI_SUCCESS);
    EXPECT_EQ(f.peer->messages.back(), "*IDN?");
    EXPECT_EQ(f.debug.Lines().back(), "T: VI Write *IDN?");

    Fixture g(false);
    EXPECT_NE(VisaWriteString(g.state, g.debug, "*IDN?"), visa::VI_SUCCESS);
    EXPECT_TRUE(g.dialogs.isEmpty());
    EXPECT_EQ(g.debug.Lines().back(), "T: VI Write *IDN?");
}

TEST(VisaSession, GpsSentencesCarryTheChecksumAndCrLf)
{
    QFile ref(testsupport::DataPath("visa/nmea_checksums.txt"));
    ASSERT_TRUE(ref.open(QIODevice::ReadOnly));
    int checked = 0;
    while (!ref.atEnd()) {
        const QByteArray line = ref.readLine().trimmed();
        const qsizetype semi = line.lastIndexOf(';');
        ASSERT_GT(semi, -1);
        const QByteArray body = line.left(semi);
        const QByteArray checksum = line.mid(semi + 1);
        Fixture f;
        EXPECT_EQ(VisaWriteGps(f.state, f.debug, QString::fromLatin1(body)), visa::VI_SUCCESS);
        ASSERT_EQ(f.peer->messages.size(), 1);
        EXPECT_EQ(f.peer->messages[0], "$" + body + "*" + checksum + "\r\n");
        EXPECT_EQ(f.debug.Lines().back(), "T: Info: viWriteGPS:  " + QString::fromLatin1(body));
        EXPECT_EQ(f.timerStops, 0);
        ++checked;
    }
    EXPECT_GE(checked, 5);
}

TEST(VisaSession, GpsWriteFailureStopsTheCoverageTimer)
{
    Fixture f(false);
    const int linesBefore = f.debug.Lines().size();
    EXPECT_NE(VisaWriteGps(f.state, f.debug, "GPGPQ,RMC"), visa::VI_SUCCESS);
    EXPECT_EQ(f.timerStops, 1);
    ASSERT_EQ(f.dialogs.size(), 1);
    EXPECT_EQ(f.dialogs[0], "Visa ViWrite FAILED: GPGPQ,RMC");
    EXPECT_EQ(f.debug.Lines().size(), linesBefore);
}

TEST(VisaSession, LoadingFallsBackToTheBuiltInBackEndAndIsHarmlessTwice)
{
    QTemporaryDir dir;
    VisaState state;
    DebugLog debug;
    debug.DebugMode = 1;
    debug.TimeText = [] { return QString(); };
    state.LibraryPath = dir.filePath("no-such-visa.so");
    LoadVisaLibrary(state, debug);
    ASSERT_TRUE(state.VisaLibrary);
    // The machine may have a vendor library; without one the built-in takes over.
    const VisaBackEnd* first = state.VisaLibrary.get();
    const QStringList lines = LinesWithout(debug.Lines(), ": ");
    ASSERT_GE(lines.size(), 11);
    const int loaded = lines.indexOf(QRegularExpression("^Info: Visa32.DLL loaded  \\$[0-9A-F]+$"));
    ASSERT_GE(loaded, 0);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(lines[loaded + 1 + i].startsWith(QString::fromLatin1(visa::kEntryPointNames[i]) + " "))
            << lines[loaded + 1 + i].toStdString();
    LoadVisaLibrary(state, debug);
    EXPECT_EQ(state.VisaLibrary.get(), first);
    EXPECT_EQ(debug.Lines().size(), lines.size());
}

TEST(VisaSession, ALibraryWithoutTheEntryPointsIsNotUsed)
{
    QString reason;
    EXPECT_FALSE(VendorVisaBackEnd::Create("libc.so.6", &reason));
    EXPECT_TRUE(reason.contains("viOpen")) << reason.toStdString();
    EXPECT_FALSE(VendorVisaBackEnd::Create("/nonexistent/libvisa.so", &reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST(VisaSession, ConfiguredLibraryPathComesFromTheSettingsFile)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("emc_set.ini");
    EXPECT_EQ(visa::ConfiguredLibraryPath(ini), "");
    ASSERT_TRUE(testsupport::WriteAll(ini, "[Rigol]\r\nInvert_IEEE=-1\r\n[visa]\r\nlibrary = /opt/x/libvisa.so \r\n"));
    EXPECT_EQ(visa::ConfiguredLibraryPath(ini), "/opt/x/libvisa.so");
}

TEST(VisaSession, CloseClosesTheSessionAndTheResourceManager)
{
    Fixture f;
    const ViSession session = f.state.VisaSession;
    const ViSession rm = f.state.VisaResourceManager;
    ViUInt32 tmo = 0;
    ASSERT_EQ(f.state.VisaLibrary->viGetAttribute(session, visa::VI_ATTR_TMO_VALUE, &tmo), visa::VI_SUCCESS);
    CloseVisaSessions(f.state);
    EXPECT_EQ(f.state.VisaResourceManager, 0u);
    EXPECT_EQ(f.state.VisaSession, 0u);
    // The numbers no longer name anything, the GPS session of the same manager included.
    EXPECT_EQ(f.state.VisaLibrary->viGetAttribute(session, visa::VI_ATTR_TMO_VALUE, &tmo), visa::VI_ERROR_INV_OBJECT);
    EXPECT_EQ(f.state.VisaLibrary->viGetAttribute(f.state.GpsSession, visa::VI_ATTR_TMO_VALUE, &tmo),
              visa::VI_ERROR_INV_OBJECT);
    EXPECT_EQ(f.state.VisaLibrary->viClose(rm), visa::VI_ERROR_INV_OBJECT);
    f.debug.DebugMode = 0;
    EXPECT_NE(ScpiWrite(f.state, f.debug, "*CLS"), visa::VI_SUCCESS);
    // A second disconnect does nothing.
    CloseVisaSessions(f.state);
    EXPECT_EQ(f.state.VisaResourceManager, 0u);
}

TEST(VisaSession, ReadsAndWritesWithoutALibraryFail)
{
    VisaState state;
    DebugLog debug;
    EXPECT_EQ(ScpiWrite(state, debug, "*CLS"), visa::VI_ERROR_LIBRARY_NFOUND);
    EXPECT_EQ(VisaReadReply(state, ""), "0");
    EXPECT_EQ(VisaReadBlock(state), "");
}

TEST(VisaSession, ATimeOutClearsTheDeviceAndALateAnswerIsDroppedBeforeTheNextCommand)
{
    Fixture f;
    f.peer->respond = [](const QByteArray& m) { return m == "*IDN?" ? QByteArray("fresh\n") : QByteArray(); };
    ScpiWrite(f.state, f.debug, ":CALC:MARK1:Y?");
    EXPECT_EQ(VisaReadReply(f.state, ""), "0");
    EXPECT_EQ(f.peer->clears, 1);
    EXPECT_TRUE(f.debug.Lines().back().startsWith("T: Visa: read time-out, device cleared")) << f.debug.Lines().back().toStdString();
    // The level comes after all; the next command drops it, and its own answer is read.
    f.peer->answers.push_back("-6.33\n");
    ScpiWrite(f.state, f.debug, "*IDN?");
    EXPECT_EQ(f.peer->discards, 2); // the clear's and the one before the write
    EXPECT_EQ(VisaReadReply(f.state, ""), "fresh");
    // Only once: later writes keep what has come.
    f.peer->answers.push_back("kept\n");
    ScpiWrite(f.state, f.debug, ":INIT");
    EXPECT_EQ(VisaReadReply(f.state, ""), "kept");
}
