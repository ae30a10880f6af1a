// The simulator's VXI-11 server at the RPC level, with a plain ONC RPC client: links, END
// handling, reads in pieces, clear, status byte, and the answers to calls it cannot serve.
#include "tools/sim/SimFamily.h"
#include "tools/sim/SimInstrument.h"
#include "tools/sim/SimVxi11Server.h"
#include "tools/sim/Simulator.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <QThread>
#include <rpc/rpc.h>

#include "vxi11.h"

namespace {

class RpcClient {
public:
    RpcClient(quint16 port, uint32_t program, uint32_t version)
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int sock = RPC_ANYSOCK;
        client_ = clnttcp_create(&a, program, version, &sock, 0, 0);
        if (client_) {
            timeval tv{5, 0};
            clnt_control(client_, CLSET_TIMEOUT, reinterpret_cast<char*>(&tv));
        }
    }
    ~RpcClient()
    {
        if (client_)
            clnt_destroy(client_);
    }
    CLIENT* get() const { return client_; }

private:
    CLIENT* client_ = nullptr;
};

struct Server {
    std::unique_ptr<Simulator> sim;
    explicit Server(SimFaults faults = {}, const QString& family = "dsa875")
    {
        SimulatorOptions o;
        o.vxi11 = true;
        o.vxi11Register = false;
        o.vxi11Program = 0x0607AF;
        o.family = family;
        o.faults = faults;
        sim = std::make_unique<Simulator>(o);
        QString error;
        EXPECT_TRUE(sim->Start(&error)) << error.toStdString();
    }
};

Device_Link CreateLink(CLIENT* c, const char* device, long* error)
{
    Create_LinkParms p{};
    p.device = const_cast<char*>(device);
    Create_LinkResp r{};
    EXPECT_EQ(create_link_1(&p, &r, c), RPC_SUCCESS);
    *error = r.error;
    EXPECT_GT(r.maxRecvSize, 1000u);
    EXPECT_NE(r.abortPort, 0);
    return r.lid;
}

long Write(CLIENT* c, Device_Link lid, const QByteArray& data, long flags)
{
    Device_WriteParms p{};
    p.lid = lid;
    p.io_timeout = 1000;
    p.flags = flags;
    p.data.data_len = static_cast<u_int>(data.size());
    p.data.data_val = const_cast<char*>(data.constData());
    Device_WriteResp r{};
    EXPECT_EQ(device_write_1(&p, &r, c), RPC_SUCCESS);
    if (r.error == 0) {
        EXPECT_EQ(r.size, static_cast<u_long>(data.size()));
    }
    return r.error;
}

long Read(CLIENT* c, Device_Link lid, u_long size, QByteArray* data, long* reason, u_long timeoutMs = 1000)
{
    Device_ReadParms p{};
    p.lid = lid;
    p.requestSize = size;
    p.io_timeout = timeoutMs;
    Device_ReadResp r{};
    EXPECT_EQ(device_read_1(&p, &r, c), RPC_SUCCESS);
    *data = QByteArray(r.data.data_val, static_cast<qsizetype>(r.data.data_len));
    *reason = r.reason;
    const long e = r.error;
    xdr_free(reinterpret_cast<xdrproc_t>(xdr_Device_ReadResp), reinterpret_cast<char*>(&r));
    return e;
}

// Arguments and results of the null procedure: nothing to encode.
bool_t NoData(XDR*, ...) { return 1; }

} // namespace

TEST(SimVxi11, LinkWriteReadInPiecesAndEnd)
{
    Server s;
    RpcClient rpc(s.sim->Vxi11Port(), 0x0607AF, 1);
    ASSERT_TRUE(rpc.get());
    long error = -1;
    const Device_Link lid = CreateLink(rpc.get(), "inst0", &error);
    ASSERT_EQ(error, 0);

    // A message in two writes: only the one with END is executed.
    EXPECT_EQ(Write(rpc.get(), lid, "*ID", 0), 0);
    EXPECT_TRUE(s.sim->Instrument().CommandLog().empty());
    EXPECT_EQ(Write(rpc.get(), lid, "N?", 8), 0);
    ASSERT_EQ(s.sim->Instrument().CommandLog().size(), 1u);
    EXPECT_EQ(s.sim->Instrument().CommandLog()[0].message, "*IDN?");

    const QByteArray idn = s.sim->Instrument().Family().idn.toLatin1() + "\n";
    QByteArray got, part;
    long reason = 0;
    // Request size smaller than the answer: REQCNT until the last piece, which carries END.
    EXPECT_EQ(Read(rpc.get(), lid, 10, &part, &reason), 0);
    EXPECT_EQ(reason, 1);
    got += part;
    while (reason != 4) {
        ASSERT_EQ(Read(rpc.get(), lid, 10, &part, &reason), 0);
        got += part;
    }
    EXPECT_EQ(got, idn);

    // Nothing queued: the read waits for its time-out and reports it.
    EXPECT_EQ(Read(rpc.get(), lid, 100, &part, &reason, 200), 15);
    EXPECT_TRUE(part.isEmpty());

    // A client that ends its messages with a line feed but without END is served too.
    EXPECT_EQ(Write(rpc.get(), lid, ":SYST:ERR?\n", 0), 0);
    EXPECT_EQ(Read(rpc.get(), lid, 1000, &part, &reason), 0);
    EXPECT_EQ(part, "0,\"No error\"\n");
}

TEST(SimVxi11, ClearStatusByteAndLinkErrors)
{
    Server s;
    RpcClient rpc(s.sim->Vxi11Port(), 0x0607AF, 1);
    ASSERT_TRUE(rpc.get());
    long error = -1;
    const Device_Link lid = CreateLink(rpc.get(), "inst0", &error);
    ASSERT_EQ(error, 0);
    const Device_Link other = CreateLink(rpc.get(), "inst0", &error);
    EXPECT_NE(lid, other);

    // device_clear drops an answer nobody read.
    EXPECT_EQ(Write(rpc.get(), lid, "*IDN?", 8), 0);
    Device_GenericParms g{};
    g.lid = lid;
    Device_Error e{};
    ASSERT_EQ(device_clear_1(&g, &e, rpc.get()), RPC_SUCCESS);
    EXPECT_EQ(e.error, 0);
    QByteArray part;
    long reason = 0;
    EXPECT_EQ(Read(rpc.get(), lid, 100, &part, &reason, 100), 15);

    // The status byte shows the error queue (bit 2) after a bad command, and MAV (bit 4) while
    // an answer waits to be read; reading it is no message, so it interrupts nothing.
    EXPECT_EQ(Write(rpc.get(), lid, ":NOT:A:COMMAND", 8), 0);
    Device_ReadStbResp stb{};
    ASSERT_EQ(device_readstb_1(&g, &stb, rpc.get()), RPC_SUCCESS);
    EXPECT_EQ(stb.error, 0);
    EXPECT_EQ(stb.stb, 4);
    EXPECT_EQ(Write(rpc.get(), lid, "*IDN?", 8), 0);
    ASSERT_EQ(device_readstb_1(&g, &stb, rpc.get()), RPC_SUCCESS);
    EXPECT_EQ(stb.stb, 4 | 16);
    EXPECT_EQ(Read(rpc.get(), lid, 1000, &part, &reason), 0);
    ASSERT_EQ(device_readstb_1(&g, &stb, rpc.get()), RPC_SUCCESS);
    EXPECT_EQ(stb.stb, 4);

    // Answers belong to their link.
    EXPECT_EQ(Write(rpc.get(), other, "*ESR?", 8), 0);
    EXPECT_EQ(Read(rpc.get(), lid, 100, &part, &reason, 100), 15);
    EXPECT_EQ(Read(rpc.get(), other, 100, &part, &reason), 0);
    EXPECT_EQ(part, "32\n");

    Device_Link l = lid;
    ASSERT_EQ(destroy_link_1(&l, &e, rpc.get()), RPC_SUCCESS);
    EXPECT_EQ(e.error, 0);
    EXPECT_EQ(Write(rpc.get(), lid, "*IDN?", 8), 4); // invalid link
    EXPECT_EQ(Read(rpc.get(), lid, 100, &part, &reason), 4);
    ASSERT_EQ(destroy_link_1(&l, &e, rpc.get()), RPC_SUCCESS);
    EXPECT_EQ(e.error, 4);

    Device_DocmdParms d{};
    d.lid = other;
    Device_DocmdResp dr{};
    ASSERT_EQ(device_docmd_1(&d, &dr, rpc.get()), RPC_SUCCESS);
    EXPECT_EQ(dr.error, 8); // not supported
    xdr_free(reinterpret_cast<xdrproc_t>(xdr_Device_DocmdResp), reinterpret_cast<char*>(&dr));
}

TEST(SimVxi11, WrongProgramVersionOrProcedure)
{
    Server s;
    {
        RpcClient wrongVersion(s.sim->Vxi11Port(), 0x0607AF, 2);
        ASSERT_TRUE(wrongVersion.get());
        Device_Link l = 1;
        Device_Error e{};
        EXPECT_EQ(destroy_link_1(&l, &e, wrongVersion.get()), RPC_PROGVERSMISMATCH);
    }
    {
        RpcClient wrongProgram(s.sim->Vxi11Port(), 0x0607B1, 1);
        ASSERT_TRUE(wrongProgram.get());
        Device_Link l = 1;
        Device_Error e{};
        EXPECT_EQ(destroy_link_1(&l, &e, wrongProgram.get()), RPC_PROGUNAVAIL);
    }
    {
        RpcClient core(s.sim->Vxi11Port(), 0x0607AF, 1);
        ASSERT_TRUE(core.get());
        timeval tv{5, 0};
        EXPECT_EQ(clnt_call(core.get(), 99, NoData, nullptr,
                            NoData, nullptr, tv),
                  RPC_PROCUNAVAIL);
        // The null procedure answers.
        EXPECT_EQ(clnt_call(core.get(), 0, NoData, nullptr,
                            NoData, nullptr, tv),
                  RPC_SUCCESS);
    }
}

TEST(SimVxi11, DropFaultClosesTheConnection)
{
    SimFaults f;
    f.dropAfter = 0;
    Server s(f);
    RpcClient rpc(s.sim->Vxi11Port(), 0x0607AF, 1);
    ASSERT_TRUE(rpc.get());
    long error = -1;
    const Device_Link lid = CreateLink(rpc.get(), "inst0", &error);
    Device_WriteParms p{};
    p.lid = lid;
    p.io_timeout = 1000;
    p.flags = 8;
    char cmd[] = "*IDN?";
    p.data.data_len = 5;
    p.data.data_val = cmd;
    Device_WriteResp r{};
    const clnt_stat st = device_write_1(&p, &r, rpc.get());
    EXPECT_TRUE(st == RPC_CANTRECV || st == RPC_CANTSEND) << clnt_sperrno(st);
}

TEST(SimVxi11, EightLinksAtMostUntilOneIsDestroyed)
{
    Server s;
    RpcClient rpc(s.sim->Vxi11Port(), 0x0607AF, 1);
    ASSERT_TRUE(rpc.get());
    std::vector<Device_Link> open;
    for (int i = 0; i < 8; ++i) {
        long error = -1;
        open.push_back(CreateLink(rpc.get(), "inst0", &error));
        ASSERT_EQ(error, 0) << i;
    }
    Create_LinkParms p{};
    p.device = const_cast<char*>("inst0");
    Create_LinkResp refused{};
    ASSERT_EQ(create_link_1(&p, &refused, rpc.get()), RPC_SUCCESS);
    EXPECT_EQ(refused.error, 9); // out of resources

    Device_Error e{};
    ASSERT_EQ(destroy_link_1(&open.front(), &e, rpc.get()), RPC_SUCCESS);
    long error = -1;
    CreateLink(rpc.get(), "inst0", &error);
    EXPECT_EQ(error, 0);
}

TEST(SimVxi11, LinksDieWithTheirConnection)
{
    Server s;
    {
        // A client that takes every link and goes away without destroying them.
        RpcClient rpc(s.sim->Vxi11Port(), 0x0607AF, 1);
        ASSERT_TRUE(rpc.get());
        for (int i = 0; i < 8; ++i) {
            long error = -1;
            CreateLink(rpc.get(), "inst0", &error);
            ASSERT_EQ(error, 0) << i;
        }
    }
    RpcClient next(s.sim->Vxi11Port(), 0x0607AF, 1);
    ASSERT_TRUE(next.get());
    long error = -1;
    for (int i = 0; i < 50 && error != 0; ++i) {
        // The simulator notices the closed connection on its own thread.
        QThread::msleep(5);
        Create_LinkParms p{};
        p.device = const_cast<char*>("inst0");
        Create_LinkResp r{};
        ASSERT_EQ(create_link_1(&p, &r, next.get()), RPC_SUCCESS);
        error = r.error;
    }
    EXPECT_EQ(error, 0);
    // Only the instrument's own device names are links.
    Create_LinkParms p{};
    p.device = const_cast<char*>("hislip0");
    Create_LinkResp refused{};
    ASSERT_EQ(create_link_1(&p, &refused, next.get()), RPC_SUCCESS);
    EXPECT_EQ(refused.error, 3); // device not accessible
}

TEST(SimVxi11, AnUnreadAnswerIsKeptByARigolAndInterruptedByAnRs)
{
    for (const char* family : {"dsa875", "fpc1000"}) {
        Server s({}, family);
        RpcClient rpc(s.sim->Vxi11Port(), 0x0607AF, 1);
        ASSERT_TRUE(rpc.get());
        long error = -1;
        const Device_Link lid = CreateLink(rpc.get(), "inst0", &error);
        ASSERT_EQ(error, 0);
        EXPECT_EQ(Write(rpc.get(), lid, "*IDN?", 8), 0);
        EXPECT_EQ(Write(rpc.get(), lid, "*ESR?", 8), 0);
        QByteArray part;
        long reason = 0;
        ASSERT_EQ(Read(rpc.get(), lid, 1000, &part, &reason), 0);
        if (QByteArray(family) == "fpc1000") {
            EXPECT_EQ(part, "4\n"); // the query error of -410; the identification is gone
        } else {
            EXPECT_EQ(part, s.sim->Instrument().Family().idn.toLatin1() + "\n");
        }
    }
}

TEST(SimVxi11, AbortEndsAReadThatWaits)
{
    SimFaults f;
    f.readHang = true;
    Server s(f);
    RpcClient rpc(s.sim->Vxi11Port(), 0x0607AF, 1);
    ASSERT_TRUE(rpc.get());
    Create_LinkParms cp{};
    cp.device = const_cast<char*>("inst0");
    Create_LinkResp link{};
    ASSERT_EQ(create_link_1(&cp, &link, rpc.get()), RPC_SUCCESS);
    // A read with nothing to answer waits past its own time-out, and holds the core channel.
    timeval shortWait{0, 300000};
    clnt_control(rpc.get(), CLSET_TIMEOUT, reinterpret_cast<char*>(&shortWait));
    Device_ReadParms p{};
    p.lid = link.lid;
    p.requestSize = 100;
    p.io_timeout = 50;
    Device_ReadResp r{};
    EXPECT_EQ(device_read_1(&p, &r, rpc.get()), RPC_TIMEDOUT);
    // The abort channel, at the port create_link named, ends it: the core channel serves again
    // (the RPC client skips the late reply of the aborted read).
    RpcClient abort(link.abortPort, 0x0607B0, 1);
    ASSERT_TRUE(abort.get());
    Device_Link lid = link.lid;
    Device_Error e{};
    ASSERT_EQ(clnt_call(abort.get(), 1, reinterpret_cast<xdrproc_t>(xdr_Device_Link), reinterpret_cast<char*>(&lid),
                        reinterpret_cast<xdrproc_t>(xdr_Device_Error), reinterpret_cast<char*>(&e), shortWait),
              RPC_SUCCESS);
    EXPECT_EQ(e.error, 0);
    EXPECT_EQ(Write(rpc.get(), link.lid, "*IDN?", 8), 0);
    QByteArray part;
    long reason = 0;
    EXPECT_EQ(Read(rpc.get(), link.lid, 1000, &part, &reason), 0);
    EXPECT_EQ(part, s.sim->Instrument().Family().idn.toLatin1() + "\n");
}

TEST(SimVxi11, CallsClaimingMoreBytesThanTheyCarryAreGarbage)
{
    SimInstrument inst(*FindSimFamily("dsa875"), 1, 0.001);
    SimVxi11Server server(inst, 0x0607AF, 1);
    auto u32 = [](uint32_t v) { return QByteArray::fromHex(QByteArray::number(v, 16).rightJustified(8, '0')); };
    // One record: call header, empty credential and verifier, arguments; the reply's accept state.
    auto acceptState = [&](uint32_t proc, const QByteArray& args) {
        const QByteArray body = u32(7) + u32(0) + u32(2) + u32(0x0607AF) + u32(1) + u32(proc) + u32(0) + u32(0) +
                                u32(0) + u32(0) + args;
        const QByteArray reply = server.ServeStream(u32(0x80000000u | static_cast<uint32_t>(body.size())) + body);
        return reply.size() >= 28 ? reply.mid(24, 4).toHex().toUInt(nullptr, 16) : 99u;
    };
    const QByteArray linkHead = u32(1) + u32(0) + u32(1000);
    EXPECT_EQ(acceptState(10, linkHead + u32(5) + "inst0" + QByteArray(3, '\0')), 0u);
    // The device name and the written data claim 4 GB: the simulator used to allocate them.
    EXPECT_EQ(acceptState(10, linkHead + u32(0xFFFFFFFFu) + "inst0"), 4u);
    EXPECT_EQ(acceptState(11, u32(1) + u32(1000) + u32(0) + u32(8) + u32(0xFFFFFFF0u) + "*IDN?\n"), 4u);
}
