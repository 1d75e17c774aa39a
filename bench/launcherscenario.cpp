#include "launcherscenario.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>

#include "console/widget.h"
#include "probeapplication.h"
#include "procstats.h"
#include "resultlog.h"

namespace {
// A quick typist: one key every 150 ms, then 300 ms to reach the button.
constexpr int keyIntervalMs = 150;
constexpr int reachButtonMs = 300;
}  // namespace

LauncherScenario::LauncherScenario(ProbeApplication *app, QWidget *window, BenchOptions options)
    : m_app(app), m_window(window), m_options(std::move(options))
{
}

void LauncherScenario::start()
{
    connect(m_app, &ProbeApplication::firstFramePainted, this, &LauncherScenario::onFirstFrame);
}

void LauncherScenario::onFirstFrame()
{
    ResultLog::value(QStringLiteral("first_frame_ms"),
                     ResultLog::nsToMs(m_app->firstFrameNs() - m_options.spawnedAtNs));
    QTimer::singleShot(m_options.settleMs, this, &LauncherScenario::afterStartSettled);
}

void LauncherScenario::afterStartSettled()
{
    ResultLog::memory(QStringLiteral("start"));
    if (m_options.address.isEmpty()) {
        m_app->exit(0);
        return;
    }
    if (m_options.maximise) {
        if (auto *resize = m_window->findChild<QAbstractButton *>(QStringLiteral("toolResize")))
            resize->click();
        // Without a window manager (a bare X server) nobody acts on the
        // request; do what a window manager would and give the window the
        // screen's work area.
        const QScreen *screen = m_window->screen();
        if (m_window->isMaximized() && screen &&
            m_window->geometry() != screen->availableGeometry())
            m_window->setGeometry(screen->availableGeometry());
        QTimer::singleShot(m_options.settleMs, this, &LauncherScenario::connectToMixer);
        return;
    }
    connectToMixer();
}

void LauncherScenario::connectToMixer()
{
    auto *content = m_window->findChild<Widget *>();
    if (!content) {
        ResultLog::text(QStringLiteral("error"), QStringLiteral("no content widget"));
        m_app->exit(1);
        return;
    }
    m_stack = content->findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
    m_pageLoad = content->findChild<QWidget *>(QStringLiteral("page_load"));
    m_pageWeb = content->findChild<QWidget *>(QStringLiteral("page_web"));
    auto *view = content->findChild<QWebEngineView *>();
    auto *address = content->findChild<QLineEdit *>(QStringLiteral("lineEdit_ip"));
    auto *button = content->findChild<QAbstractButton *>(QStringLiteral("btn_connect"));
    if (!m_stack || !m_pageLoad || !m_pageWeb || !view || !address || !button) {
        ResultLog::text(QStringLiteral("error"), QStringLiteral("form incomplete"));
        m_app->exit(1);
        return;
    }
    connect(view, &QWebEngineView::loadFinished, this, &LauncherScenario::onLoadFinished);
    connect(m_stack, &QStackedWidget::currentChanged, this, &LauncherScenario::onPageChanged);
    // The loading page is hidden when the slide that takes it away starts.
    m_pageLoad->installEventFilter(this);
    m_address = address;
    m_button = button;
    m_view = view;
    address->setFocus(Qt::MouseFocusReason);
    m_app->watchPaintsOf(address);
    m_app->takeFrames();
    m_app->takeLongestDispatchNs();
    typeNextKey();
}

void LauncherScenario::typeNextKey()
{
    if (!m_address || !m_button)
        return;
    if (m_keysTyped == m_options.address.size()) {
        QTimer::singleShot(reachButtonMs, Qt::PreciseTimer, this, &LauncherScenario::clickConnect);
        return;
    }
    // Through the event loop, as keys from the window system arrive.
    const QChar character = m_options.address.at(m_keysTyped++);
    m_keyNs.append(ProcStats::monotonicNs());
    const int key = character == QLatin1Char('.') ? int(Qt::Key_Period) : character.unicode();
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QCoreApplication::postEvent(m_address,
                                    new QKeyEvent(type, key, Qt::NoModifier, QString(character)));
    QTimer::singleShot(keyIntervalMs, Qt::PreciseTimer, this, &LauncherScenario::typeNextKey);
}

void LauncherScenario::clickConnect()
{
    ResultLog::value(QStringLiteral("typing_stall_ms"),
                     ResultLog::nsToMs(m_app->takeLongestDispatchNs()));
    reportKeyEchoes();
    // What a user who typed an address holds before connecting.
    ResultLog::memory(QStringLiteral("typed"));
    m_app->watchPaintsOf(m_stack);
    m_app->takeBusyNs();
    m_renderer.begin(m_view ? m_view->page()->renderProcessPid() : 0);
    m_gui.begin(ProcStats::selfPid());
    m_connectNs = ProcStats::monotonicNs();
    m_button->click();
    ResultLog::value(QStringLiteral("click_ms"),
                     ResultLog::nsToMs(ProcStats::monotonicNs() - m_connectNs));
}

void LauncherScenario::reportKeyEchoes()
{
    // From each key to the end of the first frame that painted the field
    // after it: how long the user waited to see the key.
    const QList<ProbeApplication::Frame> frames = m_app->takeFrames();
    qint64 longestNs = 0;
    for (const qint64 keyNs : std::as_const(m_keyNs)) {
        const auto echo = std::find_if(frames.cbegin(), frames.cend(), [keyNs](const auto &frame) {
            return frame.startNs >= keyNs;
        });
        if (echo == frames.cend()) {
            ResultLog::text(QStringLiteral("error"), QStringLiteral("a key was never painted"));
            return;
        }
        longestNs = qMax(longestNs, echo->startNs + echo->durationNs - keyNs);
    }
    ResultLog::value(QStringLiteral("key_echo_max_ms"), ResultLog::nsToMs(longestNs));
}

bool LauncherScenario::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pageLoad && event->type() == QEvent::Hide && m_loadNs != 0 &&
        m_slideStartNs == 0) {
        m_slideStartNs = ProcStats::monotonicNs();
        m_app->takeBusyNs();
    }
    return QObject::eventFilter(watched, event);
}

void LauncherScenario::onLoadFinished(bool ok)
{
    if (m_loadNs != 0)
        return;
    m_loadNs = ProcStats::monotonicNs();
    ResultLog::value(QStringLiteral("load_ok"), ok ? 1 : 0);
    ResultLog::value(QStringLiteral("load_ms"), ResultLog::nsToMs(m_loadNs - m_connectNs));
    ResultLog::value(QStringLiteral("load_busy_ms"), ResultLog::nsToMs(m_app->takeBusyNs()));
    if (m_view)
        m_renderer.end(m_view->page()->renderProcessPid());
    m_gui.end(ProcStats::selfPid());
    // The slide to the loading page runs while the console loads, on the
    // thread that also runs the engine's side of the load.
    int frames = 0;
    qint64 framesNs = 0;
    for (const ProbeApplication::Frame &frame : m_app->frames()) {
        if (frame.startNs >= m_connectNs && frame.startNs < m_loadNs) {
            ++frames;
            framesNs += frame.durationNs;
        }
    }
    ResultLog::value(QStringLiteral("load_frames"), frames);
    ResultLog::value(QStringLiteral("load_frames_ms"), ResultLog::nsToMs(framesNs));
}

void LauncherScenario::onPageChanged()
{
    if (m_webShownNs != 0 || m_stack->currentWidget() != m_pageWeb)
        return;
    m_webShownNs = ProcStats::monotonicNs();
    ResultLog::value(QStringLiteral("connect_ms"), ResultLog::nsToMs(m_webShownNs - m_connectNs));
    ResultLog::value(QStringLiteral("switch_wait_ms"),
                     ResultLog::nsToMs(m_slideStartNs - m_loadNs));
    ResultLog::value(QStringLiteral("slide_ms"), ResultLog::nsToMs(m_webShownNs - m_slideStartNs));
    ResultLog::value(QStringLiteral("slide_busy_ms"), ResultLog::nsToMs(m_app->takeBusyNs()));
    // Absolute stamps, for lining results up with a profiler's record.
    ResultLog::value(QStringLiteral("stamp_connect_s"), m_connectNs / 1e9);
    ResultLog::value(QStringLiteral("stamp_load_s"), m_loadNs / 1e9);
    ResultLog::value(QStringLiteral("stamp_slide_s"), m_slideStartNs / 1e9);
    ResultLog::value(QStringLiteral("stamp_web_s"), m_webShownNs / 1e9);
    reportSlide();
    QTimer::singleShot(m_options.settleMs, this, &LauncherScenario::afterConnectSettled);
}

void LauncherScenario::reportSlide()
{
    QList<double> frameMs;
    QList<double> stackPaintMs;
    QList<double> paintMs;
    double framesMs = 0;
    int mostPaints = 0;
    const QList<ProbeApplication::Frame> frames = m_app->takeFrames();
    for (const ProbeApplication::Frame &frame : frames) {
        if (frame.startNs < m_slideStartNs || frame.startNs > m_webShownNs)
            continue;
        frameMs.append(ResultLog::nsToMs(frame.durationNs));
        stackPaintMs.append(ResultLog::nsToMs(frame.watchedPaintNs));
        paintMs.append(ResultLog::nsToMs(frame.paintNs));
        framesMs += ResultLog::nsToMs(frame.durationNs);
        mostPaints = qMax(mostPaints, frame.watchedPaints);
    }
    ResultLog::value(QStringLiteral("slide_width"), m_stack->width());
    ResultLog::value(QStringLiteral("slide_height"), m_stack->height());
    ResultLog::value(QStringLiteral("slide_frames"), frameMs.size());
    ResultLog::value(QStringLiteral("slide_frame_median_ms"), ResultLog::median(frameMs));
    ResultLog::value(QStringLiteral("slide_frame_max_ms"), ResultLog::largest(frameMs));
    ResultLog::value(QStringLiteral("slide_stack_paint_median_ms"),
                     ResultLog::median(stackPaintMs));
    ResultLog::value(QStringLiteral("slide_paint_median_ms"), ResultLog::median(paintMs));
    ResultLog::value(QStringLiteral("slide_frames_total_ms"), framesMs);
    ResultLog::value(QStringLiteral("slide_stack_paints_per_frame_max"), mostPaints);
}

void LauncherScenario::afterConnectSettled()
{
    ResultLog::memory(QStringLiteral("connect"));
    // Since the click: the load, the configuration fetch, the slide.
    ResultLog::value(QStringLiteral("connect_longest_dispatch_ms"),
                     ResultLog::nsToMs(m_app->takeLongestDispatchNs()));
    reportPageRenders();
    m_app->exit(0);
}

void LauncherScenario::reportPageRenders()
{
    // What one picture of each page costs, drawn the way the slide draws it.
    for (const char *name : {"page_search", "page_load", "page_web"}) {
        QWidget *page = m_stack->findChild<QWidget *>(QLatin1String(name));
        if (!page)
            continue;
        QList<double> costs;
        for (int i = 0; i < 15; ++i) {
            const qint64 start = ProcStats::monotonicNs();
            QPixmap picture(m_stack->size());
            page->render(&picture, QPoint(0, 0), QRegion(),
                         QWidget::DrawWindowBackground | QWidget::DrawChildren);
            costs.append(ResultLog::nsToMs(ProcStats::monotonicNs() - start));
        }
        ResultLog::value(QStringLiteral("render_%1_ms").arg(QLatin1String(name)),
                         ResultLog::median(costs));
    }
}
