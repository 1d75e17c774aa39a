#pragma once

#include <QByteArray>
#include <QString>

// The system locale is read once per process: this runs the test binary
// again with `argument`, under `locale` and with HOME at `home` (every other
// locale variable removed, so that the child's QLocale::system() follows
// LANG and LC_ALL alone). `unprivileged` runs it as the user "nobody" when
// this process is root, so that file permissions count. Returns what the
// child wrote to standard output; a null array when it did not end well.
QByteArray runInLocale(const QString &locale, const QString &home, const QString &argument,
                       bool unprivileged = false);
