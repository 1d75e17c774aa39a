#include <QApplication>
#include <QIcon>
#include <QTranslator>

#include "app/startup.h"
#include "chrome/basewindow.h"
#include "console/selectdownloadfolder.h"

int main(int argc, char *argv[])
{
    prepareProcessForWebAndQuick();
    QApplication app(argc, argv);
    QGuiApplication::setWindowIcon(
        QIcon(QCoreApplication::applicationDirPath() + QLatin1String("/customization/Tessan.ico")));
    registerSelectDownloadFolderType();

    QTranslator translator;
    installInterfaceLanguage(&translator);

    BaseWindow window;
    window.show();
    return app.exec();
}
