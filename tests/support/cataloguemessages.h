#pragma once

#include <QList>
#include <QString>

// The interface messages and their translations, as the translators
// delivered them: the reference that catalogue and interface tests compare with.
struct CatalogueMessage
{
    const char *context;
    const char *source;
    const char *simplified;
    const char *traditional;
    const char *spanish;

    // The translation for a catalogue suffix ("zh", "tc", "sp"); the source
    // text for "en".
    QString text(const QString &language) const;
};

const QList<CatalogueMessage> &catalogueMessages();

// What the interface should show for a source text in a language: its
// translation, or the source text itself when the table has no entry.
QString expectedText(const QString &language, const char *context, const char *source);
