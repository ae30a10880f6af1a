// The dlopen back end against a fake vendor library built with the tests: every entry point is
// called with the standard's signature and its status comes back unchanged; a library that lacks
// an entry point is refused; the settings file names the library; the program's state closes its
// sessions when it ends.
#include "app/Log.h"
#include "common/TestSupport.h"
#include "instrument/visa/VendorVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

// The fake's call log; the test keeps the library loaded so that the log outlives the back end.
class FakeLog {
public:
    FakeLog() : handle_(::dlopen(FAKE_VISA_LIBRARY, RTLD_NOW | RTLD_LOCAL))
    {
        if (handle_)
            calls_ = reinterpret_cast<const char* (*)()>(::dlsym(handle_, "fakeVisaCalls"));
    }
    ~FakeLog()
    {
        if (handle_)
            ::dlclose(handle_);
    }
    bool Loaded() const { return calls_ != nullptr; }
    // The calls since the last look.
    QStringList Since()
    {
        const QStringList all = QString::fromLatin1(calls_()).split('\n', Qt::SkipEmptyParts);
        const QStringList fresh = all.mid(seen_);
        seen_ = all.size();
        return fresh;
    }

private:
    void* handle_;
    const char* (*calls_)() = nullptr;
    qsizetype seen_ = 0;
};

} // namespace

TEST(VendorVisa, EntryPointsGetTheirArgumentsAndStatusesPassThrough)
{
    FakeLog log;
    ASSERT_TRUE(log.Loaded()) << ::dlerror();
    log.Since();
    QString reason;
    auto lib = VendorVisaBackEnd::Create(FAKE_VISA_LIBRARY, &reason);
    ASSERT_TRUE(lib) << reason.toStdString();
    for (int i = 0; i < 10; ++i)
        EXPECT_NE(lib->EntryPointAddress(i), 0u) << visa::kEntryPointNames[i];

    ViSession rm = 0, vi = 0;
    ASSERT_EQ(lib->viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    EXPECT_EQ(rm, 0x100u);
    EXPECT_EQ(lib->viOpen(rm, "TCPIP0::fake::INSTR", 4, 3000, &vi), visa::VI_SUCCESS);
    EXPECT_EQ(vi, 0x200u);
    EXPECT_EQ(lib->viOpen(rm, "TCPIP0::other::INSTR", 0, 0, &vi), visa::VI_ERROR_RSRC_NFOUND);
    vi = 0x200;

    ViFindList list = 0;
    ViUInt32 count = 0;
    char desc[visa::kFindBufferLength] = {};
    ASSERT_EQ(lib->viFindRsrc(rm, "USB?*", &list, &count, desc), visa::VI_SUCCESS);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(lib->viFindNext(list, desc), visa::VI_SUCCESS);
    EXPECT_STREQ(desc, "USB0::0x1AB1::0x0960::B::INSTR");

    const QByteArray q = "*IDN?";
    ViUInt32 n = 0;
    EXPECT_EQ(lib->viWrite(vi, reinterpret_cast<const ViByte*>(q.constData()), 5, &n), visa::VI_SUCCESS);
    EXPECT_EQ(n, 5u);
    // The success code of a full buffer arrives as it was given, with the count.
    ViByte buf[8];
    EXPECT_EQ(lib->viRead(vi, buf, sizeof buf, &n), visa::VI_SUCCESS_MAX_CNT);
    EXPECT_EQ(n, 8u);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buf), 8), "ANSWER:*");
    EXPECT_EQ(lib->viRead(vi, buf, sizeof buf, &n), visa::VI_SUCCESS);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buf), n), "IDN?\n");
    EXPECT_EQ(lib->viRead(vi, buf, sizeof buf, &n), visa::VI_ERROR_TMO);

    ViUInt32 tmo = 0;
    EXPECT_EQ(lib->viGetAttribute(vi, visa::VI_ATTR_TMO_VALUE, &tmo), visa::VI_SUCCESS);
    EXPECT_EQ(tmo, 1234u);
    EXPECT_EQ(lib->viGetAttribute(vi, visa::VI_ATTR_ASRL_BAUD, &tmo), visa::VI_ERROR_NSUP_ATTR);
    // ViAttrState is 64 bits wide: a value above 32 bits must arrive whole.
    EXPECT_EQ(lib->viSetAttribute(vi, visa::VI_ATTR_TMO_VALUE, 0x123456789ull), visa::VI_SUCCESS);
    EXPECT_EQ(lib->viFlush(vi, visa::VI_READ_BUF_DISCARD), visa::VI_SUCCESS);
    EXPECT_EQ(lib->viClear(vi), visa::VI_SUCCESS);
    EXPECT_EQ(lib->viClose(0x999), visa::VI_ERROR_INV_OBJECT);
    EXPECT_EQ(lib->viClose(list), visa::VI_SUCCESS);

    EXPECT_EQ(log.Since(),
              QStringList({"viOpenDefaultRM", "viOpen 100 TCPIP0::fake::INSTR 4 3000", "viOpen 100 TCPIP0::other::INSTR 0 0",
                           "viFindRsrc USB?*", "viWrite *IDN?", "viRead 8", "viRead 8", "viRead 8",
                           "viSetAttribute 200 3FFF001A 4886718345", "viFlush 4", "viClear 200", "viClose 999",
                           "viClose 300"}));
}

TEST(VendorVisa, ALibraryWithoutAnEntryPointIsRefused)
{
    QString reason;
    EXPECT_FALSE(VendorVisaBackEnd::Create(FAKE_VISA_INCOMPLETE_LIBRARY, &reason));
    EXPECT_TRUE(reason.contains("viSetAttribute")) << reason.toStdString();
}

TEST(VendorVisa, TheSettingsFileNamesTheLibraryAndSessionsCloseWithTheProgram)
{
    FakeLog log;
    ASSERT_TRUE(log.Loaded());
    QTemporaryDir dir;
    const QString ini = dir.filePath("emc_set.ini");
    ASSERT_TRUE(testsupport::WriteAll(ini, "[VISA]\r\nLibrary=" FAKE_VISA_LIBRARY "\r\n"));
    DebugLog debug;
    debug.DebugMode = 1;
    debug.TimeText = [] { return QString(); };
    {
        VisaState state;
        state.SettingsFile = ini;
        LoadVisaLibrary(state, debug);
        ASSERT_TRUE(state.VisaLibrary);
        EXPECT_EQ(state.VisaLibrary->Description(), FAKE_VISA_LIBRARY);
        ASSERT_EQ(state.VisaLibrary->viOpenDefaultRM(&state.VisaResourceManager), visa::VI_SUCCESS);
        ASSERT_EQ(state.VisaLibrary->viOpen(state.VisaResourceManager, "TCPIP0::fake::INSTR", 0, 0, &state.VisaSession),
                  visa::VI_SUCCESS);
        VisaWriteString(state, debug, "*IDN?");
        EXPECT_EQ(VisaReadReply(state, ""), "ANSWER:*IDN?");
        // A time-out clears the device through the library's viClear.
        log.Since();
        EXPECT_EQ(VisaReadReply(state, ""), "0");
        EXPECT_TRUE(log.Since().contains("viClear 200"));
    }
    // The program ends: both sessions are closed, not only on "Disconnect Visa".
    EXPECT_EQ(log.Since(), QStringList({"viClose 200", "viClose 100"}));
    // The debug log names the library's entry points with their addresses.
    EXPECT_TRUE(debug.Lines().contains(QRegularExpression("^: viOpen \\$[0-9A-F]+$")));
}
