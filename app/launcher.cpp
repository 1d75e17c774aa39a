#include "app/launcher.h"

#include <QApplication>
#include <QIcon>
#include <QQuickWindow>
#include <QTranslator>
#include <QtWebView/QtWebView>

#include "app/language.h"
#include "chrome/basewindow.h"
#include "console/selectdownloadfolder.h"

int runLauncher(int argc, char *argv[], const std::function<void(BaseWindow &)> &shown)
{
    // Widgets, the web engine and Qt Quick share one process: these three must
    // be settled before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, true);
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
    QtWebView::initialize();

    QApplication app(argc, argv);
    QGuiApplication::setWindowIcon(
        QIcon(QCoreApplication::applicationDirPath() + QLatin1String("/customization/Tessan.ico")));
    registerSelectDownloadFolderType();

    // The settings file is named after the application, so the name comes first.
    QCoreApplication::setApplicationName(QStringLiteral("Model Series"));
    detectSystemLanguage();

    QTranslator translator;
    setAppLanguage(&translator);
    QCoreApplication::installTranslator(&translator);

    BaseWindow window;
    window.show();
    if (shown)
        shown(window);
    return app.exec();
}
