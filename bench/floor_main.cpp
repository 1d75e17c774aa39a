// The floor the launcher is compared with: a bare program that shows one web
// view, with the same process-wide settings the launcher makes before its
// application object exists.
#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>
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

    // Same size and place as the launcher's window.
    QWebEngineView view;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1024, 630);
    view.setGeometry(size.width() / 2 - 512, size.height() / 2 - 315, 1024, 630);

    FloorScenario scenario(&app, &view, options);
    scenario.start();
    view.show();
    return app.exec();
}
