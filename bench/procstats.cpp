#include "procstats.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMultiHash>
#include <ctime>

namespace {

// Value of the "Key:  1234 kB" line of a /proc status-like file.
qint64 kbField(const QString &path, const QByteArray &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (!line.startsWith(key + ':'))
            continue;
        const QList<QByteArray> parts = line.mid(key.size() + 1).simplified().split(' ');
        return parts.isEmpty() ? 0 : parts.first().toLongLong();
    }
    return 0;
}

// Parent of a process from /proc/PID/stat; the command name may hold blanks
// and parentheses, so the fields are counted from the last ')'.
qint64 parentOf(const QString &pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = file.readAll();
    const int close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() : -1;
}

}  // namespace

namespace ProcStats {

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

qint64 residentKb(qint64 pid)
{
    return kbField(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS");
}

qint64 peakResidentKb(qint64 pid)
{
    return kbField(QStringLiteral("/proc/%1/status").arg(pid), "VmHWM");
}

qint64 treeProportionalKb(qint64 pid)
{
    QMultiHash<qint64, qint64> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 child = entry.toLongLong(&numeric);
        if (numeric)
            children.insert(parentOf(entry), child);
    }
    qint64 total = 0;
    QList<qint64> pending{pid};
    while (!pending.isEmpty()) {
        const qint64 current = pending.takeLast();
        total += kbField(QStringLiteral("/proc/%1/smaps_rollup").arg(current), "Pss");
        pending += children.values(current);
    }
    return total;
}

qint64 selfPid()
{
    return getpid();
}

}  // namespace ProcStats
