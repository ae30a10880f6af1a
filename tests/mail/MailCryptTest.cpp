// The mail settings cipher against the reference vectors in tests/data/mail/mail-crypto.json.
#include "mail/BlowfishCbcx.h"
#include "mail/MailCrypt.h"
#include "mail/Whirlpool0.h"
#include "platform/codepage/Windows1252.h"

#include "common/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <openssl/sha.h>

namespace {

const QString kHostId = QStringLiteral("HID1234567890");

const QJsonObject& Vectors()
{
    static const QJsonObject root =
        QJsonDocument::fromJson(testsupport::ReadAll(testsupport::DataPath("mail/mail-crypto.json"))).object();
    return root;
}

QByteArray Hex(const QJsonValue& v) { return QByteArray::fromHex(v.toString().toLatin1()); }
QByteArray Hex(const BlowfishCbcx::Block& b)
{
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size())).toHex();
}

QByteArray Sha1(const QByteArray& m)
{
    QByteArray d(SHA_DIGEST_LENGTH, Qt::Uninitialized);
    SHA1(reinterpret_cast<const unsigned char*>(m.constData()), static_cast<size_t>(m.size()),
         reinterpret_cast<unsigned char*>(d.data()));
    return d;
}

} // namespace

TEST(MailCrypt, Whirlpool0MatchesPublishedValues)
{
    const QJsonObject h = Vectors()["hash_checks"].toObject();
    ASSERT_FALSE(h.isEmpty());
    EXPECT_EQ(Whirlpool0("").toHex(), h["whirlpool0_empty"].toString().toLatin1());
    EXPECT_EQ(Whirlpool0("a").toHex(), h["whirlpool0_a"].toString().toLatin1());
    EXPECT_EQ(Whirlpool0("abc").toHex(), h["whirlpool0_abc"].toString().toLatin1());
    EXPECT_EQ(Whirlpool0("The quick brown fox jumps over the lazy dog").toHex(),
              h["whirlpool0_quick_brown_fox"].toString().toLatin1());
    // Messages of 45 to 100 bytes: both padding cases, and a full block before the padding.
    const QJsonObject k = Vectors()["kdfx_checks"].toObject();
    EXPECT_EQ(Whirlpool0(Hex(k["iteration0_message_hex"])).toHex(), k["iteration0_whirlpool0_hex"].toString().toLatin1());
}

TEST(MailCrypt, KdfXStepsAndKeys)
{
    const QJsonObject k = Vectors()["kdfx_checks"].toObject();
    const QByteArray salt = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
    const QByteArray pw = kHostId.toLatin1();
    EXPECT_EQ(KdfX(&Whirlpool0, pw, salt, 1).toHex(), k["iteration0_output_byte_hex"].toString().toLatin1());
    EXPECT_EQ(KdfX(&Whirlpool0, pw, salt, 4).toHex(), k["whirlpool0_pw_HID1234567890_salt_00to0f_len4_index1"].toString().toLatin1());
    EXPECT_EQ(KdfX(&Whirlpool0, pw, salt, 56, 2).toHex(),
              k["whirlpool0_pw_HID1234567890_salt_00to0f_len56_index2"].toString().toLatin1());
    EXPECT_EQ(KdfX(&Sha1, QByteArray::fromHex("deadbeeffeebdaed"), {}, 32).toHex(),
              k["sha1_data_deadbeeffeebdaed_nosalt_len32_index1"].toString().toLatin1());
}

TEST(MailCrypt, BlowfishBlocks)
{
    const QJsonObject b = Vectors()["blowfish_checks"].toObject();
    const BlowfishCbcx zero(QByteArray(8, '\0'));
    EXPECT_EQ(Hex(zero.EncryptBlock({})), b["ecb_key_0000000000000000_pt_0000000000000000"].toString().toLatin1());
    const BlowfishCbcx other(QByteArray::fromHex("fedcba9876543210"));
    const BlowfishCbcx::Block plain = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef};
    const BlowfishCbcx::Block cipher = other.EncryptBlock(plain);
    EXPECT_EQ(Hex(cipher), b["ecb_key_fedcba9876543210_pt_0123456789abcdef"].toString().toLatin1());
    EXPECT_EQ(other.DecryptBlock(cipher), plain);
}

TEST(MailCrypt, EveryVectorEncryptsAndDecrypts)
{
    const QJsonArray vectors = Vectors()["vectors"].toArray();
    ASSERT_EQ(vectors.size(), 8);
    for (const QJsonValue& item : vectors) {
        const QJsonObject v = item.toObject();
        SCOPED_TRACE(v["name"].toString().toStdString());
        const QByteArray salt = Hex(v["salt_hex"]);
        const QByteArray plain = Hex(v["plaintext_hex"]);
        const QString password = v["password"].toString();
        const QByteArray key = KdfX(&Whirlpool0, password.toLatin1(), salt, kMailKeySize);
        EXPECT_EQ(key.toHex(), v["key_hex"].toString().toLatin1());

        BlowfishCbcx cipher(key);
        EXPECT_EQ(Hex(cipher.Iv()), v["iv_hex"].toString().toLatin1());
        const QByteArray encoded = cipher.Encode(plain);
        EXPECT_EQ(encoded.toHex(), v["ciphertext_hex"].toString().toLatin1());
        EXPECT_EQ(Hex(cipher.Feedback()), v["feedback_before_mac_hex"].toString().toLatin1());
        EXPECT_EQ(Hex(cipher.CalcMac()), v["mac_hex"].toString().toLatin1());
        // Decoding ends with the same register, so the MAC can be recomputed.
        EXPECT_EQ(cipher.Decode(encoded), plain);
        EXPECT_EQ(Hex(cipher.Feedback()), v["feedback_before_mac_hex"].toString().toLatin1());

        // The text as the operator sees it ("Müller" is Windows-1252 inside the value).
        const QString text = v["plaintext"].toString();
        EXPECT_EQ(codepage::ToWindows1252(text), plain);
        const QString value = EncryptMailSettings(text, password, salt);
        EXPECT_EQ(value, v["base64"].toString());
        EXPECT_EQ(DecodeMime64(value.toLatin1()).toHex(), v["blob_hex"].toString().toLatin1());
        EXPECT_EQ(DecryptMailSettings(v["base64"].toString(), kHostId), std::optional<QString>(text));
    }
}

TEST(MailCrypt, RefusesAlteredShortAndForeignValues)
{
    // The MAC covers the salt (through the key), the last eight cipher-text bytes (through the
    // feedback register) and itself; a text shorter than one block is covered whole. Earlier
    // cipher-text blocks are not covered: the stored format has nothing that could check them.
    for (int index : {0, 6}) {
        const QJsonObject v = Vectors()["vectors"].toArray()[index].toObject();
        const QByteArray blob = Hex(v["blob_hex"]);
        for (qsizetype i = 0; i < blob.size() * 8; ++i) {
            const qsizetype byte = i / 8;
            if (byte >= kMailSaltSize && byte < blob.size() - 2 * kMailMacSize)
                continue;
            QByteArray flipped = blob;
            flipped[byte] = static_cast<char>(flipped[byte] ^ (1 << (i % 8)));
            ASSERT_FALSE(DecryptMailSettings(QString::fromLatin1(EncodeMime64(flipped)), kHostId)) << "bit " << i;
        }
    }
    const QString value = Vectors()["vectors"].toArray()[0].toObject()["base64"].toString();
    EXPECT_FALSE(DecryptMailSettings(value, QStringLiteral("HID1234567891")));
    EXPECT_FALSE(DecryptMailSettings(QString(), kHostId));
    // 23 bytes cannot hold salt and MAC; 24 bytes are the empty text.
    const QByteArray empty = Hex(Vectors()["vectors"].toArray()[1].toObject()["blob_hex"]);
    ASSERT_EQ(empty.size(), 24);
    EXPECT_FALSE(DecryptMailSettings(QString::fromLatin1(EncodeMime64(empty.left(23))), kHostId));
    EXPECT_EQ(DecryptMailSettings(QString::fromLatin1(EncodeMime64(empty)), kHostId), std::optional<QString>(""));
    // No other chaining mode is tried: a value in the library's default mode does not open.
    const QJsonArray other = Vectors()["fallback_ctsx_only_if_cbcx_fails"].toObject()["vectors"].toArray();
    ASSERT_FALSE(other.isEmpty());
    for (const QJsonValue& v : other)
        EXPECT_FALSE(DecryptMailSettings(v.toObject()["base64"].toString(), kHostId));
}

TEST(MailCrypt, FreshSaltEveryTime)
{
    const QString a = EncryptMailSettings(QStringLiteral("|x|"), kHostId);
    const QString b = EncryptMailSettings(QStringLiteral("|x|"), kHostId);
    EXPECT_NE(a, b);
    EXPECT_EQ(DecryptMailSettings(a, kHostId), std::optional<QString>("|x|"));
    EXPECT_EQ(DecryptMailSettings(b, kHostId), std::optional<QString>("|x|"));
    // Text the code page cannot hold is not encrypted at all.
    EXPECT_TRUE(EncryptMailSettings(QStringLiteral("\u03a9"), kHostId).isEmpty());
}

TEST(MailCrypt, Mime64)
{
    const QJsonObject b = Vectors()["base64_checks"].toObject();
    for (const QJsonValue& e : b["encode"].toArray())
        EXPECT_EQ(EncodeMime64(e["input_ascii"].toString().toLatin1()), e["output"].toString().toLatin1());
    for (const QJsonValue& d : b["decode_leniency"].toArray()) {
        const QByteArray input = d["input_escaped"].toString().toLatin1().replace("\\r", "\r").replace("\\n", "\n");
        EXPECT_EQ(DecodeMime64(input).toHex(), d["output_hex"].toString().toLatin1()) << input.constData();
    }
    // Bad input beyond the vectors: the URL-safe alphabet and bytes above 0x7F are skipped too, a
    // last lone character carries no whole byte, and a value that starts with "=" is empty.
    EXPECT_EQ(DecodeMime64("T-W_E"), QByteArray("Ma"));
    EXPECT_EQ(DecodeMime64("\xffTWFu\x80T"), QByteArray("Man"));
    EXPECT_EQ(DecodeMime64("=TWFu"), QByteArray());
    // No line breaks however long the text.
    EXPECT_FALSE(EncodeMime64(QByteArray(100, 'x')).contains('\n'));
}

TEST(MailCrypt, Windows1252Boundary)
{
    const QString text = QStringLiteral("\u20ac\u0178\u00fc\u0081 a");
    EXPECT_EQ(codepage::ToWindows1252(text), QByteArray("\x80\x9f\xfc\x81 a"));
    EXPECT_EQ(codepage::FromWindows1252("\x80\x9f\xfc\x81 a"), text);
    EXPECT_FALSE(codepage::ToWindows1252(QStringLiteral("ok \u2603")));
}
