#include "floorscenario.h"

#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "probeapplication.h"
#include "procstats.h"
#include "resultlog.h"

FloorScenario::FloorScenario(ProbeApplication *app, QWebEngineView *view, BenchOptions options)
    : m_app(app), m_view(view), m_options(std::move(options))
{
}

void FloorScenario::start()
{
    connect(m_app, &ProbeApplication::firstFramePainted, this, &FloorScenario::onFirstFrame);
    connect(m_view, &QWebEngineView::loadFinished, this, &FloorScenario::onLoadFinished);
}

void FloorScenario::onFirstFrame()
{
    ResultLog::value(QStringLiteral("first_frame_ms"),
                     ResultLog::nsToMs(m_app->firstFrameNs() - m_options.spawnedAtNs));
    QTimer::singleShot(m_options.settleMs, this, &FloorScenario::afterStartSettled);
}

void FloorScenario::afterStartSettled()
{
    ResultLog::memory(QStringLiteral("start"));
    if (m_options.address.isEmpty()) {
        m_app->exit(0);
        return;
    }
    m_app->takeBusyNs();
    m_renderer.begin(m_view->page()->renderProcessPid());
    m_gui.begin(ProcStats::selfPid());
    m_loadStartNs = ProcStats::monotonicNs();
    m_view->setUrl(QUrl(m_options.consoleUrl()));
}

void FloorScenario::onLoadFinished(bool ok)
{
    if (m_loadStartNs == 0 || m_loaded)
        return;
    m_loaded = true;
    ResultLog::value(QStringLiteral("load_ok"), ok ? 1 : 0);
    ResultLog::value(QStringLiteral("load_ms"),
                     ResultLog::nsToMs(ProcStats::monotonicNs() - m_loadStartNs));
    ResultLog::value(QStringLiteral("load_busy_ms"), ResultLog::nsToMs(m_app->takeBusyNs()));
    m_renderer.end(m_view->page()->renderProcessPid());
    m_gui.end(ProcStats::selfPid());
    QTimer::singleShot(m_options.settleMs, this, &FloorScenario::afterLoadSettled);
}

void FloorScenario::afterLoadSettled()
{
    ResultLog::memory(QStringLiteral("connect"));
    m_app->exit(0);
}
