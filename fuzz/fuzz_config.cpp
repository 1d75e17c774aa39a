// Configuration bodies: whatever a mixer (or anything posing as one) serves
// as its user configuration file.
#include <cstddef>
#include <cstdint>

#include "console/configlines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<ConfigEntry> entries = languageEntries(body);
    // At most one entry per line, only the two language keys, and a value
    // that is what follows the last "=" of a line without its blanks.
    if (entries.size() > body.count('\n') + 1)
        __builtin_trap();
    for (const ConfigEntry &entry : entries) {
        if (entry.key != QLatin1String("Language/Language_enum") &&
            entry.key != QLatin1String("Language/Language_mode"))
            __builtin_trap();
        if (entry.value.contains(QLatin1Char('=')) || entry.value.contains(QLatin1Char(' ')) ||
            entry.value.contains(QLatin1Char('\n')))
            __builtin_trap();
    }
    return 0;
}
