#pragma once

#include <QString>
#include <functional>

// The name a download is saved under. A console page suggests any text it
// likes (the `download` attribute of a link, a header); what reaches the
// disk is a plain file name of our own choosing, in the folder the user
// picked and nowhere else, and never the name of a file already there.
namespace DownloadName {

// At most this many characters are kept of a suggested name, its extension
// included: a file system takes 255 bytes at most, a character takes up to
// three bytes of UTF-8, and the engine writes to the name with ".download"
// behind it, after a " (n)" of ours.
constexpr int maxLength = 75;

// What stands in for a name that has nothing usable left.
QString fallbackName();

// The last part of `suggested` behind any '/' or '\\', without control,
// format and separator characters or those that Windows refuses in names,
// without blanks at either end or dots at its end, shortened to maxLength,
// and not a name the system reserves for a device (CON, NUL, COM1, ...).
// Never empty, never "." or "..".
QString safeFileName(const QString &suggested);

// `name` itself unless `taken` says so, else "stem (1).ext", "stem (2).ext",
// and so on, the first that is not taken. Empty when the first thousand are
// all taken.
QString unusedName(const QString &name, const std::function<bool(const QString &)> &taken);

}  // namespace DownloadName
