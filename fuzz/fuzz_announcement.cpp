// Datagrams on the announcement path, of any length and content.
#include <cstddef>
#include <cstdint>

#include "console/discoveryprotocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView datagram(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArrayView text = Discovery::announcementText(datagram);
    // The text is a prefix of the datagram, inside the reading buffer, and
    // ends before the first NUL.
    if (text.size() > Discovery::announcementBufferSize || text.size() > datagram.size() ||
        (text.size() > 0 && text.data() != datagram.data()) || text.contains('\0'))
        __builtin_trap();
    const bool announces = Discovery::isAnnouncement(datagram);
    if (announces && !text.contains(QByteArrayView(":8200/rootDesc.xml")))
        __builtin_trap();
    return 0;
}
