#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Measures how responsive the event loop of this thread stays: a fast timer
// notes the longest gap between two of its timeouts. Whatever blocks the
// loop (a long slot, a busy handler) shows up as a long gap.
class EventLoopProbe : public QObject
{
    Q_OBJECT
public:
    explicit EventLoopProbe(int intervalMs = 5, QObject *parent = nullptr);

    void start();
    void stop();

    qint64 longestGapMs() const { return longestGap; }
    qint64 ticks() const { return tickCount; }

private:
    void tick();

    QTimer timer;
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    qint64 tickCount = 0;
};
