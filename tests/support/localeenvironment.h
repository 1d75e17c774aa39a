#pragma once

#include <QProcessEnvironment>
#include <QString>

// The environment for a child process that must see the given system locale
// and home folder: every other locale variable of ours is removed, so the
// child's QLocale::system() follows only LANG and LC_ALL.
QProcessEnvironment localeEnvironment(const QString &locale, const QString &home);
