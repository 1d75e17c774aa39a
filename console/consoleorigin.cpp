#include "console/consoleorigin.h"

namespace ConsoleOrigin {

bool isOnMixer(const QString &mixerHost, const QUrl &target)
{
    const QString scheme = target.scheme();
    if (mixerHost.isEmpty() || !target.isValid() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    // QUrl keeps hosts lower case and IPv4 addresses in their plain form.
    return target.host() == QUrl(QStringLiteral("http://") + mixerHost).host();
}

}  // namespace ConsoleOrigin
