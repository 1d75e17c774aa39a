#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include "benchoptions.h"
#include "probeapplication.h"

class MarkerProbe;
class QAbstractItemModel;
class QTimer;
class QWidget;

// Presses Search once with many mixers on the test LAN and measures, from the
// last new mixer's answer (seen by the probe beside the launcher) to the end
// of the first frame that paints the table holding all of them, and the
// longest stall of the event loop in between, as a 2 ms heartbeat sees it.
class BurstScenario : public QObject
{
    Q_OBJECT
public:
    BurstScenario(ProbeApplication *app, QWidget *window, MarkerProbe *probe, BenchOptions options);
    void start();

private:
    struct Beat
    {
        qint64 atNs;
        qint64 gapNs;
    };

    void onFirstFrame();
    void search();
    void onBeat();
    void onFrame(const ProbeApplication::Frame &frame);
    void finish();
    void fail(const QString &reason);

    ProbeApplication *m_app;
    QWidget *m_window;
    MarkerProbe *m_probe;
    BenchOptions m_options;
    QPointer<QAbstractItemModel> m_model;
    QTimer *m_heartbeat;
    QList<Beat> m_beats;
    qint64 m_lastBeatNs = 0;
    qint64 m_clickNs = 0;
    qint64 m_rowShownNs = 0;
    int m_rebuilds = 0;
};
