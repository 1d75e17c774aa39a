#pragma once

#include <QString>

// The optional, read-only "customization" folder, which brands a deployment:
// a display name ("config.ini", key "App/name"), a logo ("Tessan.ico") and
// the loading picture ("Nav.png"). Every part may be missing; nothing is ever
// written there.
namespace Customization {

enum File { ConfigFile, IconFile, LoadingPicture };

// The folder to read for a launcher whose executable lies in `appDir`:
// "customization" beside the executable when it exists; otherwise the sample
// folder that a system installation puts into ../share/model-series/ next
// to its bin/ folder, when that exists; otherwise the folder beside the
// executable again, whose absence then gives every default.
QString folder(const QString &appDir);

QString filePath(File file);

// The title-bar name: "App/name" as written, commas included, when the key
// is present (even if empty), "Corvane" otherwise.
QString displayName();

}  // namespace Customization
