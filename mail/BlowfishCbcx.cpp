#include "mail/BlowfishCbcx.h"

// The low-level Blowfish calls are deprecated in OpenSSL 3 but still part of libcrypto; the
// high-level interface would need the legacy provider loaded at run time for the same cipher.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/blowfish.h>
#include <openssl/crypto.h>

#include <algorithm>

struct BlowfishCbcx::Key {
    BF_KEY schedule;
};

BlowfishCbcx::BlowfishCbcx(const QByteArray& key) : key_(std::make_unique<Key>())
{
    const int length = std::min<int>(static_cast<int>(key.size()), (BF_ROUNDS + 2) * 4);
    BF_set_key(&key_->schedule, length, reinterpret_cast<const unsigned char*>(key.constData()));
    Block ones;
    ones.fill(0xFF);
    iv_ = EncryptBlock(ones);
    feedback_ = iv_;
}

BlowfishCbcx::~BlowfishCbcx()
{
    // The schedule is the key in another form.
    OPENSSL_cleanse(&key_->schedule, sizeof key_->schedule);
    OPENSSL_cleanse(feedback_.data(), feedback_.size());
}

BlowfishCbcx::Block BlowfishCbcx::EncryptBlock(const Block& in) const
{
    Block out;
    BF_ecb_encrypt(in.data(), out.data(), &key_->schedule, BF_ENCRYPT);
    return out;
}

BlowfishCbcx::Block BlowfishCbcx::DecryptBlock(const Block& in) const
{
    Block out;
    BF_ecb_encrypt(in.data(), out.data(), &key_->schedule, BF_DECRYPT);
    return out;
}

namespace {

BlowfishCbcx::Block BlockAt(const QByteArray& text, qsizetype offset)
{
    BlowfishCbcx::Block b;
    std::copy_n(reinterpret_cast<const uint8_t*>(text.constData()) + offset, b.size(), b.begin());
    return b;
}

void PutBlock(QByteArray& text, qsizetype offset, const BlowfishCbcx::Block& b)
{
    std::copy(b.begin(), b.end(), reinterpret_cast<uint8_t*>(text.data()) + offset);
}

// Shifts the register one byte to the left and appends the cipher-text byte.
void ShiftIn(BlowfishCbcx::Block& feedback, uint8_t cipherByte)
{
    std::copy(feedback.begin() + 1, feedback.end(), feedback.begin());
    feedback.back() = cipherByte;
}

} // namespace

QByteArray BlowfishCbcx::Encode(const QByteArray& plain)
{
    QByteArray out(plain.size(), Qt::Uninitialized);
    feedback_ = iv_;
    const qsizetype whole = plain.size() / 8 * 8;
    for (qsizetype off = 0; off < whole; off += 8) {
        Block b = BlockAt(plain, off);
        for (size_t i = 0; i < b.size(); ++i)
            b[i] ^= feedback_[i];
        feedback_ = EncryptBlock(b);
        PutBlock(out, off, feedback_);
    }
    for (qsizetype i = whole; i < plain.size(); ++i) {
        const auto c = static_cast<uint8_t>(static_cast<uint8_t>(plain[i]) ^ EncryptBlock(feedback_)[0]);
        out[i] = static_cast<char>(c);
        ShiftIn(feedback_, c);
    }
    return out;
}

QByteArray BlowfishCbcx::Decode(const QByteArray& cipher)
{
    QByteArray out(cipher.size(), Qt::Uninitialized);
    feedback_ = iv_;
    const qsizetype whole = cipher.size() / 8 * 8;
    for (qsizetype off = 0; off < whole; off += 8) {
        const Block c = BlockAt(cipher, off);
        Block p = DecryptBlock(c);
        for (size_t i = 0; i < p.size(); ++i)
            p[i] ^= feedback_[i];
        PutBlock(out, off, p);
        feedback_ = c;
    }
    // The tail is cipher feedback, so it runs the cipher forwards here too.
    for (qsizetype i = whole; i < cipher.size(); ++i) {
        const auto c = static_cast<uint8_t>(cipher[i]);
        out[i] = static_cast<char>(c ^ EncryptBlock(feedback_)[0]);
        ShiftIn(feedback_, c);
    }
    return out;
}
