#pragma once

#include <QString>

// The optional, read-only "customization" folder beside the executable, which
// brands a deployment: a display name ("config.ini", key "App/name"), a logo
// ("Tessan.ico") and the loading picture ("Nav.png"). Every part may be
// missing; nothing is ever written there.
namespace Customization {

enum File { ConfigFile, IconFile, LoadingPicture };

QString filePath(File file);

// The title-bar name: "App/name" as written, commas included, when the key
// is present (even if empty), "Corvane" otherwise.
QString displayName();

}  // namespace Customization
