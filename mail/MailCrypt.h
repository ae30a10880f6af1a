#ifndef ZENDRIK_MAIL_MAILCRYPT_H
#define ZENDRIK_MAIL_MAILCRYPT_H

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// The encrypted value of a mail settings file:
//   Base64( salt[16] || Blowfish-CBCx(plain text) || MAC[8] )
// with the Blowfish key derived by KdfX over Whirlpool-0 from the password (the host identifier)
// and the salt. Texts are single-byte Windows-1252 inside the value, as the files written by
// earlier versions of the program are.

using HashFunction = QByteArray (*)(const QByteArray&);

// Key derivation in which every output byte is a whole hash folded to one byte by XOR, and each
// hash also covers the bytes produced before it:
//   byte i = XOR of the bytes of hash( BE32(i) || out[0..i) || BE32(index) ||
//                                      BE32(|seed|) || seed || BE32(|data|) || data )
QByteArray KdfX(HashFunction hash, const QByteArray& data, const QByteArray& seed, int length,
                uint32_t index = 1);

// Standard Base64 with "=" padding and no line breaks.
QByteArray EncodeMime64(const QByteArray& bytes);
// Lenient: characters outside the alphabet are skipped, decoding stops at the first "=", and
// missing padding is accepted.
QByteArray DecodeMime64(const QByteArray& text);

inline constexpr int kMailSaltSize = 16;
inline constexpr int kMailKeySize = 56;
inline constexpr int kMailMacSize = 8;

// Encrypts with a fresh random salt. Empty when the text or the password does not fit
// Windows-1252 or no random bytes could be had (a real value is never empty).
QString EncryptMailSettings(const QString& plain, const QString& password);
// The same with a given salt of kMailSaltSize bytes (empty result for any other size).
QString EncryptMailSettings(const QString& plain, const QString& password, const QByteArray& salt);
// The plain text, or nullopt when the value is too short, the password is wrong or the value
// was altered (the MAC differs).
std::optional<QString> DecryptMailSettings(const QString& value, const QString& password);

#endif
