#ifndef ZENDRIK_INSTRUMENT_VISA_STREAMTRANSPORT_H
#define ZENDRIK_INSTRUMENT_VISA_STREAMTRANSPORT_H

#include "instrument/visa/MessageFramer.h"
#include "instrument/visa/VisaTransport.h"

#include <QString>
#include <memory>
#include <vector>

// A byte stream without message boundaries (TCP socket, serial line): answers are framed by
// MessageFramer. Owns the file descriptor.
class StreamTransport : public VisaTransport {
public:
    enum class Kind { Socket, Serial };
    // appendLineEnd: a message written with END gets a line feed when it has none, because a raw
    // socket has no other way to mark the end of a command.
    StreamTransport(int fd, Kind kind, bool appendLineEnd);
    ~StreamTransport() override;
    StreamTransport(const StreamTransport&) = delete;
    StreamTransport& operator=(const StreamTransport&) = delete;

    ViStatus Write(const uint8_t* data, size_t size, bool end, uint32_t timeoutMs, size_t* written) override;
    ViStatus Read(uint8_t* data, size_t max, uint32_t timeoutMs, size_t* count, bool* end) override;
    void DiscardInput() override;
    ViUInt16 InterfaceType() const override;

protected:
    int Fd() const { return fd_; }
    void SetAppendLineEnd(bool on) { appendLineEnd_ = on; }
    bool AppendLineEnd() const { return appendLineEnd_; }

private:
    int fd_;
    Kind kind_;
    bool appendLineEnd_;
    MessageFramer framer_;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0;
};

// TCPIP0::host::port::SOCKET. Returns VI_SUCCESS and the transport, or the connect failure.
ViStatus OpenSocketTransport(const QString& host, uint16_t port, uint32_t timeoutMs,
                             std::unique_ptr<VisaTransport>* transport);

#endif
