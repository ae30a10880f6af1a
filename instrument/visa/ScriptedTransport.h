#ifndef ZENDRIK_INSTRUMENT_VISA_SCRIPTEDTRANSPORT_H
#define ZENDRIK_INSTRUMENT_VISA_SCRIPTEDTRANSPORT_H

#include "instrument/visa/VisaTransport.h"

#include <QByteArray>
#include <QByteArrayList>
#include <deque>
#include <functional>
#include <memory>

// The peer behind a ScriptedTransport, shared with the test that scripts it: it records every
// complete message written and answers from a queue, handing out at most `chunk` bytes per read
// so that the session layer has to assemble answers from short reads.
struct ScriptedPeer {
    // Called with each complete message (the bytes up to a write with END); what it returns is
    // queued as one answer, END on its last byte. An empty result queues nothing.
    std::function<QByteArray(const QByteArray&)> respond;
    QByteArrayList messages;
    std::deque<QByteArray> answers;
    size_t chunk = 1;
    bool dropped = false;     // every later call fails with VI_ERROR_CONN_LOST
    bool unterminated = false; // answers carry no END: the instrument stops in the middle
    int reads = 0;            // transport reads served, to prove answers came in pieces
    int discards = 0;
    int clears = 0; // device clears (each also discards what is queued)
};

class ScriptedTransport final : public VisaTransport {
public:
    explicit ScriptedTransport(std::shared_ptr<ScriptedPeer> peer) : peer_(std::move(peer)) {}
    ViStatus Write(const uint8_t* data, size_t size, bool end, uint32_t timeoutMs, size_t* written) override;
    ViStatus Read(uint8_t* data, size_t max, uint32_t timeoutMs, size_t* count, bool* end) override;
    void DiscardInput() override;
    ViStatus Clear(uint32_t timeoutMs) override;
    ViUInt16 InterfaceType() const override { return visa::VI_INTF_TCPIP; }

private:
    std::shared_ptr<ScriptedPeer> peer_;
    QByteArray partial_;
};

#endif
