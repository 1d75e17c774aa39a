#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

struct SimOptions;

// One simulated mixer: what it calls itself and where it lives.
struct MixerIdentity
{
    int index = 0;  // 1-based, in the order the addresses were given
    QHostAddress address;
    QString name;
    QString model;
};

// Replaces "%n" by the 1-based index and "%a" by the dotted address.
QString expandPlaceholders(const QString &text, int index, const QHostAddress &address);

QList<MixerIdentity> mixersFrom(const SimOptions &options);
