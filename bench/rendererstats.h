#pragma once

#include <QtGlobal>

#include <QString>

// What the main thread of a process did while one load ran: the time it
// spent on a CPU, the time it was ready to run but waited for one, and the
// priority it ran at. For the renderer that runs the page, the main thread is
// where the document is parsed, laid out and scripted; a page the engine
// counts as hidden has it lowered in priority, so a load that shares the CPUs
// with other work waits longer. For the program itself it is the GUI thread,
// which is also the web engine's browser thread. Reported as "<prefix>_*"
// values.
class LoadThreadStats
{
public:
    explicit LoadThreadStats(QString prefix) : m_prefix(std::move(prefix)) {}
    // At the start of the load, with the process (0: none yet).
    void begin(qint64 pid);
    // At its end, with the process that ran it: one that did not exist at
    // the start spent all of its life in the load.
    void end(qint64 pid) const;

private:
    QString m_prefix;
    qint64 m_pid = 0;
    qint64 m_onCpuNs = 0;
    qint64 m_waitingNs = 0;
};
