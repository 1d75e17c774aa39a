// Description bodies: whatever a device (or anything posing as one) serves.
#include <cstddef>
#include <cstdint>

#include "console/discoveryprotocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView body(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<Discovery::DescriptionFields> fields =
        Discovery::parseDescriptionBody(body);
    if (fields.has_value() != body.contains(QByteArrayView("<device>")))
        __builtin_trap();
    // The reply URL goes through the same cut; give it arbitrary text too.
    const QUrl url(QString::fromUtf8(body), QUrl::TolerantMode);
    (void)Discovery::ipFromDescriptionUrl(url);
    return 0;
}
