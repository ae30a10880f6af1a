#include "platform/codepage/Windows1252.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace {

// Qt's converter by name (ICU underneath) is the reference we did not write: every byte must read
// as the character Qt reads, and every UTF-16 code unit must write as the byte Qt writes, or be
// refused where Qt finds no byte for it.
TEST(Windows1252, EveryByteAndEveryCodeUnitAsQtsConverter)
{
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    ASSERT_TRUE(decoder.isValid()) << "Qt was built without ICU";

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = decoder.decode(all);
    ASSERT_FALSE(decoder.hasError());
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(codepage::FromWindows1252(all), text);
    EXPECT_EQ(codepage::ToWindows1252(text), std::optional<QByteArray>(all));

    // The five unused bytes stand for the C1 controls of their number, so stored bytes come back.
    const std::array<int, 5> unused = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (int b : unused)
        EXPECT_EQ(text[b].unicode(), b);

    int refused = 0;
    for (int u = 0; u <= 0xFFFF; ++u) {
        const QChar c(static_cast<char16_t>(u));
        if (c.isSurrogate())
            continue;
        // A fresh encoder each time: resetting one does not clear its error.
        QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
        const QByteArray expected = encoder.encode(QStringView(&c, 1));
        const bool qtHasByte = !encoder.hasError();
        const std::optional<QByteArray> ours = codepage::ToWindows1252(QStringView(&c, 1));
        ASSERT_EQ(ours.has_value(), qtHasByte) << "U+" << std::hex << u;
        ASSERT_EQ(codepage::FitsWindows1252(QStringView(&c, 1)), qtHasByte) << "U+" << std::hex << u;
        if (qtHasByte)
            ASSERT_EQ(*ours, expected) << "U+" << std::hex << u;
        else
            ++refused;
    }
    EXPECT_EQ(refused, 0x10000 - 0x800 - 256);
}

// Text that is only shown writes "?" for what the code page does not define (the WMF writer's
// test holds the rest against Python's codec): a lone surrogate is such a character, while the
// controls the code page defines pass as they are.
TEST(Windows1252, ShownTextMarksLoneSurrogatesAndKeepsControls)
{
    const QString text = QString(QChar(0xD800)) + QStringLiteral("x") + QChar(0xDC00) + QStringLiteral("\u0001\u007f\u00ff");
    EXPECT_EQ(codepage::ToWindows1252Shown(text), QByteArray("?x?\x01\x7f\xff"));
}

} // namespace
