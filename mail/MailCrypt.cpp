#include "mail/MailCrypt.h"

#include "mail/BlowfishCbcx.h"
#include "mail/Whirlpool0.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>

#include <array>

namespace {

void AppendBigEndian32(QByteArray& out, uint32_t v)
{
    out.append(static_cast<char>(v >> 24));
    out.append(static_cast<char>(v >> 16));
    out.append(static_cast<char>(v >> 8));
    out.append(static_cast<char>(v));
}

// Windows-1252 characters of the bytes 0x80..0x9F.
constexpr std::array<char16_t, 32> kHighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Wipes key material when it goes out of scope.
struct Wiped {
    QByteArray bytes;
    ~Wiped()
    {
        if (!bytes.isEmpty())
            OPENSSL_cleanse(bytes.data(), static_cast<size_t>(bytes.size()));
    }
};

QByteArray MailKey(const QByteArray& password, const QByteArray& salt)
{
    return KdfX(&Whirlpool0, password, salt, kMailKeySize, 1);
}

} // namespace

QByteArray KdfX(HashFunction hash, const QByteArray& data, const QByteArray& seed, int length, uint32_t index)
{
    QByteArray out;
    out.reserve(length);
    QByteArray message;
    for (int i = 0; i < length; ++i) {
        message.clear();
        AppendBigEndian32(message, static_cast<uint32_t>(i));
        message.append(out);
        AppendBigEndian32(message, index);
        AppendBigEndian32(message, static_cast<uint32_t>(seed.size()));
        message.append(seed);
        AppendBigEndian32(message, static_cast<uint32_t>(data.size()));
        message.append(data);
        const QByteArray digest = hash(message);
        char folded = 0;
        for (char b : digest)
            folded ^= b;
        out.append(folded);
    }
    OPENSSL_cleanse(message.data(), static_cast<size_t>(message.size()));
    return out;
}

QByteArray EncodeMime64(const QByteArray& bytes) { return bytes.toBase64(); }

QByteArray DecodeMime64(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size() * 3 / 4);
    uint32_t accumulator = 0;
    int bits = 0;
    for (char ch : text) {
        int v;
        if (ch >= 'A' && ch <= 'Z')
            v = ch - 'A';
        else if (ch >= 'a' && ch <= 'z')
            v = ch - 'a' + 26;
        else if (ch >= '0' && ch <= '9')
            v = ch - '0' + 52;
        else if (ch == '+')
            v = 62;
        else if (ch == '/')
            v = 63;
        else if (ch == '=')
            break;
        else
            continue;
        accumulator = (accumulator << 6) | static_cast<uint32_t>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.append(static_cast<char>(accumulator >> bits));
            accumulator &= (1u << bits) - 1;
        }
    }
    return out;
}

std::optional<QByteArray> ToWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(static_cast<char>(u));
            continue;
        }
        size_t i = 0;
        while (i < kHighCharacters.size() && kHighCharacters[i] != u)
            ++i;
        if (i == kHighCharacters.size())
            return std::nullopt;
        out.append(static_cast<char>(0x80 + i));
    }
    return out;
}

QString FromWindows1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        out += (b >= 0x80 && b <= 0x9F) ? QChar(kHighCharacters[b - 0x80]) : QChar(b);
    }
    return out;
}

QString EncryptMailSettings(const QString& plain, const QString& password)
{
    QByteArray salt(kMailSaltSize, Qt::Uninitialized);
    if (RAND_bytes(reinterpret_cast<unsigned char*>(salt.data()), kMailSaltSize) != 1)
        return {};
    return EncryptMailSettings(plain, password, salt);
}

QString EncryptMailSettings(const QString& plain, const QString& password, const QByteArray& salt)
{
    if (salt.size() != kMailSaltSize)
        return {};
    const std::optional<QByteArray> plainBytes = ToWindows1252(plain);
    const std::optional<QByteArray> passwordBytes = ToWindows1252(password);
    if (!plainBytes || !passwordBytes)
        return {};
    const Wiped key{MailKey(*passwordBytes, salt)};
    BlowfishCbcx cipher(key.bytes);
    QByteArray blob = salt;
    blob += cipher.Encode(*plainBytes);
    const BlowfishCbcx::Block mac = cipher.CalcMac();
    blob.append(reinterpret_cast<const char*>(mac.data()), static_cast<qsizetype>(mac.size()));
    return QString::fromLatin1(EncodeMime64(blob));
}

std::optional<QString> DecryptMailSettings(const QString& value, const QString& password)
{
    const QByteArray blob = DecodeMime64(value.toLatin1());
    // Salt and MAC alone take 24 bytes; anything shorter is no value of ours.
    if (blob.size() < kMailSaltSize + kMailMacSize)
        return std::nullopt;
    const std::optional<QByteArray> passwordBytes = ToWindows1252(password);
    if (!passwordBytes)
        return std::nullopt;
    const QByteArray salt = blob.left(kMailSaltSize);
    const QByteArray cipherText = blob.mid(kMailSaltSize, blob.size() - kMailSaltSize - kMailMacSize);
    const QByteArray storedMac = blob.right(kMailMacSize);

    const Wiped key{MailKey(*passwordBytes, salt)};
    BlowfishCbcx cipher(key.bytes);
    Wiped plain{cipher.Decode(cipherText)};
    const BlowfishCbcx::Block mac = cipher.CalcMac();
    if (CRYPTO_memcmp(mac.data(), storedMac.constData(), mac.size()) != 0)
        return std::nullopt;
    return FromWindows1252(plain.bytes);
}
