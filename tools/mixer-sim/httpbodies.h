#pragma once

#include <QByteArray>

struct MixerIdentity;

// The fixed documents a mixer serves.
QByteArray consolePage(const MixerIdentity &mixer);
QByteArray descriptionDocument(const MixerIdentity &mixer);
