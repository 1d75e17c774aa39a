#include "app/startup.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QTranslator>
#include <QtWebView/QtWebView>

#include "app/language.h"

void prepareProcessForWebAndQuick()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, true);
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
    QtWebView::initialize();
}

void installInterfaceLanguage(QTranslator *translator)
{
    QCoreApplication::setApplicationName(QStringLiteral("Model Series"));
    detectSystemLanguage();
    setAppLanguage(translator);
    QCoreApplication::installTranslator(translator);
}
