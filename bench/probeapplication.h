#pragma once

#include <QApplication>
#include <QList>
#include <QPointer>

// The application object of the benchmark programs. It sees every event
// dispatch, so it can tell from outside the widgets it serves when a window
// first got painted, how long each frame that painted a watched widget took,
// and how long the longest single dispatch kept the event loop busy.
class ProbeApplication : public QApplication
{
    Q_OBJECT
public:
    // One outermost event dispatch that painted the watched widget: the
    // repaint of a window with everything in it, flush included.
    struct Frame
    {
        qint64 startNs = 0;
        qint64 durationNs = 0;
        int watchedPaints = 0;
        qint64 watchedPaintNs = 0;
        // All painting of the frame; the rest of it is mostly the flush.
        qint64 paintNs = 0;
    };

    ProbeApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    void watchPaintsOf(QWidget *widget);
    QList<Frame> takeFrames();
    const QList<Frame> &frames() const { return m_frames; }
    qint64 takeLongestDispatchNs();
    // Time spent inside event dispatches since the last call.
    qint64 takeBusyNs();
    // Monotonic time at which the dispatch that painted a shown window for
    // the first time ended; 0 before that.
    qint64 firstFrameNs() const { return m_firstFrameNs; }

signals:
    void firstFramePainted();
    // Every frame that painted the watched widget, when its dispatch ends.
    void frameEnded(const ProbeApplication::Frame &frame);

private:
    void endOfDispatch(qint64 endNs);

    int m_depth = 0;
    qint64 m_dispatchStartNs = 0;
    bool m_paintedShownWindow = false;
    int m_paintDepth = 0;
    qint64 m_paintNs = 0;
    int m_watchedPaints = 0;
    qint64 m_watchedPaintNs = 0;
    qint64 m_firstFrameNs = 0;
    qint64 m_longestDispatchNs = 0;
    qint64 m_busyNs = 0;
    QPointer<QWidget> m_watched;
    QList<Frame> m_frames;
};
