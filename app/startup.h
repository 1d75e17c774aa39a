#pragma once

class QTranslator;

// Widgets, the web engine and Qt Quick share one process. Qt accepts these
// settings only before the application object exists.
void prepareProcessForWebAndQuick();

// Names the application, detects the interface language from the system
// locale and installs its catalogue into the translator. The settings file
// is named after the application, so the name comes first.
void installInterfaceLanguage(QTranslator *translator);
