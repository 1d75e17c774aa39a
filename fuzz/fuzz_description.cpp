// Description bodies: whatever a device (or anything posing as one) serves.
#include <cstddef>
#include <cstdint>

#include "console/discovery_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView body(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<discovery::DescriptionFields> fields =
        discovery::parseDescriptionBody(body);
    if (fields.has_value() != body.contains(QByteArrayView("<device>")))
        __builtin_trap();
    // The reply URL goes through the same cut; give it arbitrary text too.
    const QUrl url(QString::fromUtf8(body), QUrl::TolerantMode);
    (void)discovery::ipFromDescriptionUrl(url);
    return 0;
}
