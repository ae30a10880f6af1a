// The VXI-11 replies the program decodes from an instrument on the LAN (or a peer posing as one):
// the results of create_link, device_read and device_readstb, decoded by the XDR routines
// generated from our interface definition.
#include "fuzz/FuzzSupport.h"

#include <rpc/rpc.h>

#include "vxi11.h"

namespace {

template <typename T>
void DecodeAndFree(const uint8_t* data, size_t size, xdrproc_t proc)
{
    T value{};
    XDR x;
    xdrmem_create(&x, const_cast<char*>(reinterpret_cast<const char*>(data)), static_cast<u_int>(size), XDR_DECODE);
    if (proc(&x, &value) != 0)
        fuzz::Check(xdr_getpos(&x) <= size, "a reply decodes from the bytes it has");
    xdr_destroy(&x);
    xdr_free(proc, reinterpret_cast<char*>(&value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    switch (data[0] % 3) {
    case 0: DecodeAndFree<Create_LinkResp>(data + 1, size - 1, reinterpret_cast<xdrproc_t>(xdr_Create_LinkResp)); break;
    case 1: DecodeAndFree<Device_ReadResp>(data + 1, size - 1, reinterpret_cast<xdrproc_t>(xdr_Device_ReadResp)); break;
    default:
        DecodeAndFree<Device_ReadStbResp>(data + 1, size - 1, reinterpret_cast<xdrproc_t>(xdr_Device_ReadStbResp));
        break;
    }
    return 0;
}
