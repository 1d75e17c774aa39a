#include "burstscenario.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QTableView>
#include <QTimer>

#include "console/widget.h"
#include "languard.h"
#include "markerprobe.h"
#include "procstats.h"
#include "resultlog.h"

namespace {
constexpr int heartbeatMs = 2;
constexpr int burstTimeoutMs = 30000;
}  // namespace

BurstScenario::BurstScenario(ProbeApplication *app, QWidget *window, MarkerProbe *probe,
                             BenchOptions options)
    : m_app(app),
      m_window(window),
      m_probe(probe),
      m_options(std::move(options)),
      m_heartbeat(new QTimer(this))
{
    m_heartbeat->setTimerType(Qt::PreciseTimer);
    m_heartbeat->setInterval(heartbeatMs);
    connect(m_heartbeat, &QTimer::timeout, this, &BurstScenario::onBeat);
}

void BurstScenario::start()
{
    connect(m_app, &ProbeApplication::firstFramePainted, this, &BurstScenario::onFirstFrame);
}

void BurstScenario::onFirstFrame()
{
    QTimer::singleShot(m_options.settleMs, this, &BurstScenario::search);
}

void BurstScenario::fail(const QString &reason)
{
    ResultLog::text(QStringLiteral("error"), reason);
    m_app->exit(1);
}

void BurstScenario::search()
{
    QString offending;
    if (!onlyTestLanAddresses(m_options.lan, &offending)) {
        fail(QStringLiteral("not on the test LAN (%1): no search").arg(offending));
        return;
    }
    auto *content = m_window->findChild<Widget *>();
    auto *table = content ? content->findChild<QTableView *>(QStringLiteral("tableView")) : nullptr;
    auto *button =
        content ? content->findChild<QAbstractButton *>(QStringLiteral("btn_search")) : nullptr;
    if (!table || !button || !table->model()) {
        fail(QStringLiteral("form incomplete"));
        return;
    }
    m_model = table->model();
    // The table is built anew for every batch of answers: each build resets
    // the model once.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { ++m_rebuilds; });
    m_app->watchPaintsOf(table->viewport());
    connect(m_app, &ProbeApplication::frameEnded, this, &BurstScenario::onFrame);
    QTimer::singleShot(burstTimeoutMs, this, [this] {
        if (m_rowShownNs == 0)
            fail(QStringLiteral("only %1 rows after %2 ms")
                     .arg(m_model ? m_model->rowCount() : -1)
                     .arg(burstTimeoutMs));
    });

    m_lastBeatNs = ProcStats::monotonicNs();
    m_heartbeat->start();
    m_app->takeLongestDispatchNs();
    m_clickNs = ProcStats::monotonicNs();
    button->click();
}

void BurstScenario::onBeat()
{
    const qint64 now = ProcStats::monotonicNs();
    m_beats.append(Beat{now, now - m_lastBeatNs});
    m_lastBeatNs = now;
}

void BurstScenario::onFrame(const ProbeApplication::Frame &frame)
{
    if (m_rowShownNs != 0 || !m_model || m_model->rowCount() < m_options.burstMixers)
        return;
    m_rowShownNs = frame.startNs + frame.durationNs;
    // The probe's thread may still be reading the last answers.
    if (m_probe->mixersSeen() >= m_options.burstMixers)
        QTimer::singleShot(0, this, &BurstScenario::finish);
    else
        connect(m_probe, &MarkerProbe::allMixersAnswered, this, &BurstScenario::finish);
}

void BurstScenario::finish()
{
    m_heartbeat->stop();
    const qint64 firstNs = m_probe->firstAnswerNs();
    const qint64 lastNs = m_probe->lastNewAnswerNs();
    qint64 stallNs = 0;
    for (const Beat &beat : std::as_const(m_beats)) {
        if (beat.atNs >= firstNs && beat.atNs - beat.gapNs <= m_rowShownNs)
            stallNs = qMax(stallNs, beat.gapNs - heartbeatMs * 1000000LL);
    }
    ResultLog::value(QStringLiteral("burst_rows"), m_model->rowCount());
    ResultLog::value(QStringLiteral("burst_mixers_heard"), m_probe->mixersSeen());
    ResultLog::value(QStringLiteral("burst_click_to_first_answer_ms"),
                     ResultLog::nsToMs(firstNs - m_clickNs));
    ResultLog::value(QStringLiteral("burst_answer_spread_ms"), ResultLog::nsToMs(lastNs - firstNs));
    ResultLog::value(QStringLiteral("burst_last_answer_to_row_ms"),
                     ResultLog::nsToMs(m_rowShownNs - lastNs));
    ResultLog::value(QStringLiteral("burst_stall_ms"), ResultLog::nsToMs(stallNs));
    ResultLog::value(QStringLiteral("burst_longest_dispatch_ms"),
                     ResultLog::nsToMs(m_app->takeLongestDispatchNs()));
    ResultLog::value(QStringLiteral("burst_rebuilds"), m_rebuilds);
    // Absolute stamps, for lining results up with a profiler's record.
    ResultLog::value(QStringLiteral("stamp_first_answer_s"), firstNs / 1e9);
    ResultLog::value(QStringLiteral("stamp_row_shown_s"), m_rowShownNs / 1e9);
    m_app->exit(0);
}
