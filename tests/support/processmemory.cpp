#include "support/processmemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMap>

namespace {

qint64 statusField(const QString &statusPath, const char *field)
{
    QFile status(statusPath);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Parent of every running process, read from /proc/<pid>/stat.
QMap<qint64, qint64> parentsOfAll()
{
    QMap<qint64, qint64> parents;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // The command name may hold blanks; the fields after it do not.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        parents.insert(pid, fields.value(1).toLongLong());
    }
    return parents;
}

}  // namespace

qint64 residentKiB()
{
    return statusField(QStringLiteral("/proc/self/status"), "VmRSS:");
}

qint64 peakResidentKiB()
{
    return statusField(QStringLiteral("/proc/self/status"), "VmHWM:");
}

void resetPeakResident()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

qint64 treeResidentKiB()
{
    const QMap<qint64, qint64> parents = parentsOfAll();
    QList<qint64> tree{qint64(QCoreApplication::applicationPid())};
    for (qsizetype i = 0; i < tree.size(); ++i) {
        for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
            if (it.value() == tree.at(i))
                tree.append(it.key());
        }
    }
    qint64 total = 0;
    for (const qint64 pid : std::as_const(tree))
        total += qMax<qint64>(0, statusField(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS:"));
    return total;
}
