#include "rendererstats.h"

#include <QFile>
#include <QList>

#include "resultlog.h"

namespace {

struct MainThread
{
    bool read = false;
    qint64 onCpuNs = 0;
    qint64 waitingNs = 0;
    int nice = 0;
};

// /proc/PID/schedstat and /proc/PID/stat describe the process's main thread.
MainThread mainThreadOf(qint64 pid)
{
    MainThread thread;
    if (pid <= 0)
        return thread;
    QFile schedstat(QStringLiteral("/proc/%1/schedstat").arg(pid));
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!schedstat.open(QIODevice::ReadOnly) || !stat.open(QIODevice::ReadOnly))
        return thread;
    const QList<QByteArray> times = schedstat.readAll().simplified().split(' ');
    // The command name may hold blanks: count the fields from its closing ')'.
    const QByteArray statLine = stat.readAll();
    const QList<QByteArray> fields = statLine.mid(statLine.lastIndexOf(')') + 2).split(' ');
    if (times.size() < 2 || fields.size() < 17)
        return thread;
    thread.read = true;
    thread.onCpuNs = times.at(0).toLongLong();
    thread.waitingNs = times.at(1).toLongLong();
    thread.nice = fields.at(16).toInt();
    return thread;
}

}  // namespace

void LoadThreadStats::begin(qint64 pid)
{
    const MainThread thread = mainThreadOf(pid);
    m_pid = thread.read ? pid : 0;
    m_onCpuNs = thread.onCpuNs;
    m_waitingNs = thread.waitingNs;
}

void LoadThreadStats::end(qint64 pid) const
{
    const MainThread thread = mainThreadOf(pid);
    if (!thread.read)
        return;
    const bool started = pid != m_pid;
    ResultLog::value(m_prefix + QLatin1String("_started"), started ? 1 : 0);
    ResultLog::value(m_prefix + QLatin1String("_cpu_ms"),
                     ResultLog::nsToMs(thread.onCpuNs - (started ? 0 : m_onCpuNs)));
    ResultLog::value(m_prefix + QLatin1String("_wait_ms"),
                     ResultLog::nsToMs(thread.waitingNs - (started ? 0 : m_waitingNs)));
    ResultLog::value(m_prefix + QLatin1String("_nice"), thread.nice);
}
