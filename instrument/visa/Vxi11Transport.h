#ifndef ZENDRIK_INSTRUMENT_VISA_VXI11TRANSPORT_H
#define ZENDRIK_INSTRUMENT_VISA_VXI11TRANSPORT_H

#include "instrument/visa/SocketIo.h"
#include "instrument/visa/VisaTransport.h"

#include <QString>
#include <memory>

// Where the VXI-11 core channel is found. The standard program and version are the default;
// tests give their own so that simulators of parallel test runs do not meet in the portmapper,
// or name the port directly.
struct Vxi11Endpoint {
    uint32_t program = 0x0607AF;
    uint32_t version = 1;
    uint16_t port = 0; // 0: ask the portmapper of the host
};

// TCPIP0::host[::lan device]::INSTR over VXI-11 (IPv4 or IPv6): create_link on open (its errors
// as distinct statuses), device_write with END on the last byte of a message (again with the
// rest when the device took only part), device_read until the reason says END (the termination
// character passed on when enabled), device_clear for a clear, destroy_link on close. Every RPC
// is bounded by the session's time-out plus a margin; a call that runs past it is aborted on the
// abort channel.
ViStatus OpenVxi11Transport(const QString& host, const QString& lanDevice, const Vxi11Endpoint& endpoint,
                            uint32_t timeoutMs, std::unique_ptr<VisaTransport>* transport,
                            const visaio::HostLookup& lookup = visaio::SystemLookup);

// Asks the portmapper on host for the TCP port of program/version; 0 when it is not registered.
// Returns false (with a readable reason) when the portmapper itself cannot be reached.
bool LookupRpcPort(const QString& host, uint32_t program, uint32_t version, uint32_t timeoutMs, uint16_t* port,
                   QString* reason, const visaio::HostLookup& lookup = visaio::SystemLookup);

#endif
