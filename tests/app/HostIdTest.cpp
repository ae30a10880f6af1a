#include "app/HostId.h"
#include "common/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Reference hashes were computed by the JDK (String.hashCode read as unsigned), which for ASCII
// text is the same recurrence; see tests/data/app/hostid_reference.tsv.
TEST(HostId, MatchesIndependentReferenceHashes)
{
    const QByteArray table = testsupport::ReadAll(testsupport::DataPath(QStringLiteral("app/hostid_reference.tsv")));
    ASSERT_FALSE(table.isEmpty());
    int rows = 0;
    for (const QByteArray& line : table.split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> cells = line.split('\t');
        ASSERT_EQ(cells.size(), 2);
        EXPECT_EQ(HostIdFromText(cells[0]), QStringLiteral("HID") + QString::fromLatin1(cells[1])) << cells[0].constData();
        ++rows;
    }
    EXPECT_GE(rows, 5);
}

TEST(HostId, HashWrapsAndPrintsUnsigned)
{
    EXPECT_EQ(HashString31(0, "abc", 3), 96354u);
    // A seed carries into the recurrence: ((7*31+'a')*31+'b')*31+'c'.
    EXPECT_EQ(HashString31(7, "abc", 3), ((7u * 31u + 'a') * 31u + 'b') * 31u + 'c');
    // Bytes above 127 count as unsigned.
    EXPECT_EQ(HashString31(0, "\xff", 1), 255u);
    // 0xFFFFFFFF * 31 + 30 wraps to 0xFFFFFFFF: all bits set, printed without a sign.
    EXPECT_EQ(HashString31(0xFFFFFFFFu, "\x1e", 1), 0xFFFFFFFFu);
    const char ones[] = {'\x01', '\xe0'};
    // (1 * 31 + 224) = 255; checks the second step uses the first result.
    EXPECT_EQ(HashString31(0, ones, 2), 255u);
}

TEST(HostId, EmptyIdentityGivesHid0)
{
    EXPECT_EQ(HostIdFromText(QByteArray()), QStringLiteral("HID0"));
}

TEST(HostId, MachineIdFallsBackAndTrims)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("missing"));
    const QString empty = dir.filePath(QStringLiteral("empty"));
    const QString second = dir.filePath(QStringLiteral("second"));
    ASSERT_TRUE(testsupport::WriteAll(empty, "\n"));
    ASSERT_TRUE(testsupport::WriteAll(second, "4c4c4544004d3510804bc4c04f4b4d32\n"));
    EXPECT_EQ(GetSystemSidString({missing, empty, second}), QByteArray("4c4c4544004d3510804bc4c04f4b4d32"));
    EXPECT_TRUE(GetSystemSidString({missing}).isEmpty());
    // The same machine gives the same identifier every time.
    EXPECT_EQ(ComputeHostId(), ComputeHostId());
}
