#include "mail/MailCrypt.h"

#include "mail/BlowfishCbcx.h"
#include "mail/Whirlpool0.h"
#include "platform/codepage/Windows1252.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>

namespace {

void AppendBigEndian32(QByteArray& out, uint32_t v)
{
    out.append(static_cast<char>(v >> 24));
    out.append(static_cast<char>(v >> 16));
    out.append(static_cast<char>(v >> 8));
    out.append(static_cast<char>(v));
}

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
    // Qt's lenient decoder skips every character outside the alphabet, "=" included; the stored
    // format ends the value at the first "=" instead.
    const qsizetype end = text.indexOf('=');
    return QByteArray::fromBase64(end < 0 ? text : text.left(end));
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
    const std::optional<QByteArray> plainBytes = codepage::ToWindows1252(plain);
    const std::optional<QByteArray> passwordBytes = codepage::ToWindows1252(password);
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
    const std::optional<QByteArray> passwordBytes = codepage::ToWindows1252(password);
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
    return codepage::FromWindows1252(plain.bytes);
}
