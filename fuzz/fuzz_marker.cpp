// Marker datagrams as they may arrive on either discovery socket.
#include <cstddef>
#include <cstdint>

#include "console/discoveryprotocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView payload(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<DeviceInfo> device = Discovery::parseMarker(payload);
    if (!device)
        return 0;
    // An accepted marker always has a value behind each key and never links.
    if (device->name.isEmpty() || device->ip.isEmpty() || device->model.isEmpty() || device->linked)
        __builtin_trap();
    return 0;
}
