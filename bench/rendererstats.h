#pragma once

#include <QtGlobal>

// What the renderer process that runs a page did while one load of it ran:
// the time its main thread (where the document is parsed, laid out and
// scripted) spent on a CPU and the time it was ready to run but waited for
// one, and the priority it ran at. A page the engine counts as hidden has its
// renderer's main thread lowered in priority, so a load that shares the CPUs
// with other work waits longer. Reported as "renderer_*" values.
class RendererLoadStats
{
public:
    // At the start of the load, with the page's renderer (0: none yet).
    void begin(qint64 rendererPid);
    // At its end, with the renderer that ran it.
    void end(qint64 rendererPid) const;

private:
    qint64 m_pid = 0;
    qint64 m_onCpuNs = 0;
    qint64 m_waitingNs = 0;
};
