#ifndef ZENDRIK_MAIL_WHIRLPOOL0_H
#define ZENDRIK_MAIL_WHIRLPOOL0_H

#include <QByteArray>

// The first (2000) revision of the Whirlpool hash, which the mail settings key derivation uses.
// It differs from the final revision in its S-box and in the diffusion matrix, so no packaged
// library computes it. Result: 64 bytes.
QByteArray Whirlpool0(const QByteArray& message);

#endif
