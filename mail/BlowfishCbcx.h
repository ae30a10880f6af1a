#ifndef ZENDRIK_MAIL_BLOWFISHCBCX_H
#define ZENDRIK_MAIL_BLOWFISHCBCX_H

#include <QByteArray>
#include <array>
#include <cstdint>
#include <memory>

// Blowfish in the chaining mode the mail settings file was written with: whole 8-byte blocks in
// CBC, a final partial block byte by byte in 8-bit cipher feedback, so the cipher text is exactly
// as long as the plain text. With no IV given the IV is the key's encryption of eight 0xFF
// bytes, and the MAC is the encryption of the feedback register after the text.
class BlowfishCbcx {
public:
    using Block = std::array<uint8_t, 8>;

    // Up to 72 key bytes are used (the cipher's limit); the mail settings key has 56.
    explicit BlowfishCbcx(const QByteArray& key);
    ~BlowfishCbcx();
    BlowfishCbcx(const BlowfishCbcx&) = delete;
    BlowfishCbcx& operator=(const BlowfishCbcx&) = delete;

    // One whole text per call; each call starts from the IV.
    QByteArray Encode(const QByteArray& plain);
    QByteArray Decode(const QByteArray& cipher);

    const Block& Iv() const { return iv_; }
    // The feedback register after the last Encode or Decode.
    const Block& Feedback() const { return feedback_; }
    Block CalcMac() const { return EncryptBlock(feedback_); }

    Block EncryptBlock(const Block& in) const;
    Block DecryptBlock(const Block& in) const;

private:
    struct Key;
    std::unique_ptr<Key> key_;
    Block iv_{};
    Block feedback_{};
};

#endif
