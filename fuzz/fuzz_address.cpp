// Address texts as a user may type them into the address field.
#include <cstddef>
#include <cstdint>

#include <QUrl>

#include "app/ipv4.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool valid = isValidIPv4(text);
    const QString canonical = canonicalIPv4(text);
    if (valid == canonical.isEmpty())
        __builtin_trap();
    if (!valid)
        return 0;
    // The plain form is itself valid, stays as it is, and is the host that a
    // URL built from it names: no octal reading, no host name.
    if (!isValidIPv4(canonical) || canonicalIPv4(canonical) != canonical)
        __builtin_trap();
    const QUrl url(QStringLiteral("http://%1/dist/index.html").arg(canonical), QUrl::TolerantMode);
    if (url.host() != canonical)
        __builtin_trap();
    return 0;
}
