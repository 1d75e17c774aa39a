#include "support/eventloopprobe.h"

EventLoopProbe::EventLoopProbe(int intervalMs, QObject *parent) : QObject(parent)
{
    timer.setInterval(intervalMs);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &EventLoopProbe::tick);
}

void EventLoopProbe::start()
{
    longestGap = 0;
    tickCount = 0;
    clock.start();
    lastTick = 0;
    timer.start();
}

void EventLoopProbe::stop()
{
    timer.stop();
    // A stall that is still going on when the probe stops counts as well.
    tick();
}

void EventLoopProbe::tick()
{
    const qint64 now = clock.elapsed();
    longestGap = qMax(longestGap, now - lastTick);
    lastTick = now;
    ++tickCount;
}
