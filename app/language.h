#pragma once

#include <QString>

class QTranslator;

// Path of the launcher's settings file: <home>/Documents/<application name>.ini.
// Built anew on every call, so it follows the application name.
QString settingsFilePath();

// Derives the interface language from the system locale and stores its code
// under "Language/Language_enum" (English also stores "Language/Language_mode").
void detectSystemLanguage();

// Loads the catalogue for the stored language code into the translator.
void setAppLanguage(QTranslator *translator);
