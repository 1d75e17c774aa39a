#pragma once

#include <QObject>

#include "benchoptions.h"
#include "rendererstats.h"

class ProbeApplication;
class QWebEngineView;

// What the bare web view program measures: start to first frame, memory once
// started, the load of the console page and memory after it.
class FloorScenario : public QObject
{
    Q_OBJECT
public:
    FloorScenario(ProbeApplication *app, QWebEngineView *view, BenchOptions options);
    void start();

private:
    void onFirstFrame();
    void afterStartSettled();
    void onLoadFinished(bool ok);
    void afterLoadSettled();

    ProbeApplication *m_app;
    QWebEngineView *m_view;
    BenchOptions m_options;
    qint64 m_loadStartNs = 0;
    bool m_loaded = false;
    LoadThreadStats m_renderer{QStringLiteral("renderer")};
    LoadThreadStats m_gui{QStringLiteral("gui")};
};
