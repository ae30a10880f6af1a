#include "app/DateTimeText.h"

#include <QDateTime>
#include <gtest/gtest.h>

TEST(DateTimeText, ValueOfADateTimeCountsDaysFromTheEndOf1899AndReadsBackAsText)
{
    struct Case {
        QDateTime when;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0.0, "30.12.1899"},
        {QDateTime(QDate(1900, 1, 1), QTime(6, 0)), 2.25, "01.01.1900 06:00:00"},
        {QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25, "29.12.1899 06:00:00"},
        {QDateTime(QDate(2026, 12, 6), QTime(22, 53, 31)), 46362 + (22 * 3600 + 53 * 60 + 31) / 86400.0,
         "06.12.2026 22:53:31"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(DateTimeValue(c.when), c.value);
        EXPECT_EQ(FormatDateTimeText(QStringLiteral("c"), DateTimeValue(c.when)), QString::fromLatin1(c.text));
    }
}
