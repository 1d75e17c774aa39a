// The floor the launcher is compared with: a bare program that shows one web
// view, with the same process-wide settings the launcher makes before its
// application object exists.
#include <QGridLayout>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>
#include <QStackedWidget>
#include <QWebEngineView>

#include "benchoptions.h"
#include "floorscenario.h"
#include "probeapplication.h"
#include "procstats.h"

int main(int argc, char *argv[])
{
    const qint64 entryNs = ProcStats::monotonicNs();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, true);
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);

    ProbeApplication app(argc, argv);
    const BenchOptions options = BenchOptions::parse(QCoreApplication::arguments(), entryNs);

    // The window: the web view itself, or a stack whose shown page is empty
    // and whose hidden page holds the view (the web engine then starts its
    // work at the first load, as in the launcher).
    QStackedWidget stack;
    auto *view = new QWebEngineView();
    QWidget *window = view;
    if (options.hiddenView) {
        auto *viewPage = new QWidget();
        auto *layout = new QGridLayout(viewPage);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
        stack.addWidget(new QWidget());
        stack.addWidget(viewPage);
        window = &stack;
    }
    // Same size and place as the launcher's window.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1024, 630);
    window->setGeometry(size.width() / 2 - 512, size.height() / 2 - 315, 1024, 630);

    FloorScenario scenario(&app, view, options);
    scenario.start();
    window->show();
    const int result = app.exec();
    if (!options.hiddenView)
        delete view;
    return result;
}
