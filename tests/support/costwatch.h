#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>

// What a piece of work costs this process, from the watch's construction:
// how far its resident memory peaked above where it stood (from
// /proc/self/status), and the longest gap between two ticks of a 5 ms timer
// on this thread, which anything blocking the event loop stretches.
class CostWatch : public QObject
{
public:
    CostWatch()
    {
        // The peak starts again from the resident size of now.
        QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
        if (clearRefs.open(QIODevice::WriteOnly))
            clearRefs.write("5");
        residentBefore = statusKiB("VmRSS:");
        connect(&timer, &QTimer::timeout, this, &CostWatch::tick);
        timer.start(5);
        clock.start();
    }
    // Stops the watch. True when the memory grew less than `growthKiB` (more
    // under AddressSanitizer, which pads allocations) and the loop, having
    // ticked more than `ticks` times, never stalled for `stallMs`; `figures`
    // says how it went.
    bool stopWithin(qint64 growthKiB, qint64 stallMs, int ticks, QString *figures)
    {
        timer.stop();
        tick();  // a stall still going on counts as well
        const qint64 growth = statusKiB("VmHWM:") - residentBefore;
        *figures = QStringLiteral("peak +%1 KiB; longest stall %2 ms over %3 ticks")
                       .arg(growth)
                       .arg(longestStall)
                       .arg(count);
        return residentBefore > 0 && growth < growthKiB * memoryFactor && longestStall < stallMs &&
               count > ticks;
    }

private:
    static qint64 statusKiB(const char *field)
    {
        QFile status(QStringLiteral("/proc/self/status"));
        const QString text =
            status.open(QIODevice::ReadOnly) ? QString::fromLatin1(status.readAll()) : QString();
        const auto found = QRegularExpression(QLatin1String(field) + "\\s*(\\d+)").match(text);
        return found.hasMatch() ? found.captured(1).toLongLong() : -1;
    }
    void tick()
    {
        longestStall = qMax(longestStall, clock.restart());
        ++count;
    }

#if defined(__SANITIZE_ADDRESS__)
    static constexpr int memoryFactor = 4;
#else
    static constexpr int memoryFactor = 1;
#endif
    QTimer timer;
    QElapsedTimer clock;
    qint64 residentBefore = -1;
    qint64 longestStall = 0;
    int count = 0;
};
