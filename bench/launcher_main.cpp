// The launcher's start-up, through the same functions and in the same order
// as the real entry point, on an application object that observes the event
// dispatch, followed by the measured scenario. Nothing in the product knows
// it is being measured.
#include <QIcon>
#include <QTranslator>

#include "app/launcher.h"
#include "app/startup.h"
#include "benchoptions.h"
#include "burstscenario.h"
#include "chrome/basewindow.h"
#include "chrome/customization.h"
#include "console/selectdownloadfolder.h"
#include "launcherscenario.h"
#include "markerprobe.h"
#include "probeapplication.h"
#include "procstats.h"

namespace {

int runBurst(ProbeApplication &app, const BenchOptions &options)
{
    // The probe binds the discovery port before the launcher does, so the
    // launcher's sockets keep their usual order among themselves.
    MarkerProbe probe(options.burstMixers);
    if (!probe.start())
        return 2;
    BaseWindow window(nullptr, consoleContent());
    BurstScenario scenario(&app, &window, &probe, options);
    scenario.start();
    window.show();
    return app.exec();
}

}  // namespace

int main(int argc, char *argv[])
{
    const qint64 entryNs = ProcStats::monotonicNs();
    prepareProcessForWebAndQuick();
    ProbeApplication app(argc, argv);
    QGuiApplication::setWindowIcon(QIcon(Customization::filePath(Customization::IconFile)));
    registerSelectDownloadFolderType();

    QTranslator translator;
    installInterfaceLanguage(&translator);

    const BenchOptions options = BenchOptions::parse(QCoreApplication::arguments(), entryNs);
    if (options.burstMixers > 0)
        return runBurst(app, options);

    BaseWindow window(nullptr, consoleContent());
    LauncherScenario scenario(&app, &window, options);
    scenario.start();
    window.show();
    return app.exec();
}
