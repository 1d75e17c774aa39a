// The launcher's start-up, step for step as the real entry point takes it, on
// an application object that observes the event dispatch, followed by the
// measured scenario. Nothing in the product knows it is being measured.
#include <QtQml/qqml.h>
#include <QIcon>
#include <QQuickWindow>
#include <QTranslator>
#include <QtWebView/QtWebView>

#include "app/language.h"
#include "benchoptions.h"
#include "chrome/basewindow.h"
#include "console/selectdownloadfolder.h"
#include "launcherscenario.h"
#include "probeapplication.h"
#include "procstats.h"

int main(int argc, char *argv[])
{
    const qint64 entryNs = ProcStats::monotonicNs();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, true);
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
    QtWebView::initialize();

    ProbeApplication app(argc, argv);
    const BenchOptions options = BenchOptions::parse(QCoreApplication::arguments(), entryNs);
    QGuiApplication::setWindowIcon(
        QIcon(QCoreApplication::applicationDirPath() + QLatin1String("/customization/Tessan.ico")));
    qmlRegisterType<SelectDownloadFolder>("com.mycompany", 1, 0, "SelectDownloadFolder");

    QCoreApplication::setApplicationName(QStringLiteral("Model Series"));
    detectSystemLanguage();

    QTranslator translator;
    setAppLanguage(&translator);
    QCoreApplication::installTranslator(&translator);

    BaseWindow window;
    LauncherScenario scenario(&app, &window, options);
    scenario.start();
    window.show();
    return app.exec();
}
