#pragma once

#include <QByteArray>

struct MixerIdentity;

// The fixed documents a mixer serves. A console page with a poll interval
// asks the mixer for "/dist/poll" that often, as a real console keeps its
// connection to the mixer alive.
QByteArray consolePage(const MixerIdentity &mixer, int pollMs = 0);
QByteArray descriptionDocument(const MixerIdentity &mixer);
