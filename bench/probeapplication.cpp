#include "probeapplication.h"

#include <QEvent>
#include <QWidget>

#include "procstats.h"

ProbeApplication::ProbeApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool ProbeApplication::notify(QObject *receiver, QEvent *event)
{
    const qint64 startNs = ProcStats::monotonicNs();
    if (m_depth == 0)
        m_dispatchStartNs = startNs;

    const bool paint = event->type() == QEvent::Paint && receiver->isWidgetType();
    if (paint) {
        // Pages rendered into pictures get paint events too; only widgets of
        // a window on screen count as a painted frame.
        const auto *widget = static_cast<QWidget *>(receiver);
        if (widget->isVisible() && widget->window()->isVisible())
            m_paintedShownWindow = true;
    }

    ++m_depth;
    m_paintDepth += paint ? 1 : 0;
    const bool result = QApplication::notify(receiver, event);
    m_paintDepth -= paint ? 1 : 0;
    --m_depth;

    const qint64 endNs = ProcStats::monotonicNs();
    if (paint && m_paintDepth == 0)
        m_paintNs += endNs - startNs;
    if (paint && receiver == m_watched.data()) {
        ++m_watchedPaints;
        m_watchedPaintNs += endNs - startNs;
    }
    if (m_depth == 0)
        endOfDispatch(endNs);
    return result;
}

void ProbeApplication::endOfDispatch(qint64 endNs)
{
    const qint64 durationNs = endNs - m_dispatchStartNs;
    m_longestDispatchNs = qMax(m_longestDispatchNs, durationNs);
    m_busyNs += durationNs;
    if (m_watchedPaints > 0) {
        const Frame frame{m_dispatchStartNs, durationNs, m_watchedPaints, m_watchedPaintNs,
                          m_paintNs};
        m_frames.append(frame);
        emit frameEnded(frame);
    }
    m_paintNs = 0;
    m_watchedPaints = 0;
    m_watchedPaintNs = 0;

    const bool first = m_paintedShownWindow && m_firstFrameNs == 0;
    m_paintedShownWindow = false;
    if (first) {
        m_firstFrameNs = endNs;
        emit firstFramePainted();
    }
}

void ProbeApplication::watchPaintsOf(QWidget *widget)
{
    m_watched = widget;
}

QList<ProbeApplication::Frame> ProbeApplication::takeFrames()
{
    return std::exchange(m_frames, {});
}

qint64 ProbeApplication::takeLongestDispatchNs()
{
    return std::exchange(m_longestDispatchNs, 0);
}

qint64 ProbeApplication::takeBusyNs()
{
    return std::exchange(m_busyNs, 0);
}
