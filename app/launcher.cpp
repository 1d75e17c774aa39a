#include "app/launcher.h"

#include <QApplication>
#include <QIcon>
#include <QTranslator>

#include "app/startup.h"
#include "chrome/basewindow.h"
#include "chrome/customization.h"
#include "console/selectdownloadfolder.h"
#include "console/widget.h"

customWidget::ContentFactory consoleContent()
{
    return [] { return new Widget(); };
}

int runLauncher(int argc, char *argv[], const std::function<void(BaseWindow &)> &shown)
{
    prepareProcessForWebAndQuick();
    QApplication app(argc, argv);
    QGuiApplication::setWindowIcon(QIcon(Customization::filePath(Customization::IconFile)));
    // Ties the window to the installed menu entry (and its icon) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.modelseries.ModelSeries"));
    registerSelectDownloadFolderType();

    QTranslator translator;
    installInterfaceLanguage(&translator);

    BaseWindow window(nullptr, consoleContent());
    window.show();
    if (shown)
        shown(window);
    return app.exec();
}
