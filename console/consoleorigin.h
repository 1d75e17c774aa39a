#pragma once

#include <QString>
#include <QUrl>

// Where a console may take its window. The window shows no address bar, so
// whatever its top-level page shows is taken for the mixer's own console:
// it stays on the mixer the user connected to.
namespace ConsoleOrigin {

// True when `target` is a web address (http or https) on `mixerHost`, on any
// port and path. Anything else, another host, a file, a data or blob
// document, a scheme some other program handles, is not the console.
bool isOnMixer(const QString &mixerHost, const QUrl &target);

}  // namespace ConsoleOrigin
