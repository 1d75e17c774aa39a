// mixer-sim: plays networked mixers on given addresses for tests and for
// trying the launcher without hardware. See README.md for the command line.
#include <sys/resource.h>
#include <QCoreApplication>
#include <cstdio>

#include "discoveryside.h"
#include "mixerhttp.h"
#include "mixeridentity.h"
#include "simoptions.h"
#include "terminationsignals.h"

namespace {

int failWith(const QString &message)
{
    std::fprintf(stderr, "mixer-sim: %s\n", qPrintable(message));
    return 2;
}

// Each mixer takes three sockets, plus one per open connection; a range of
// a few hundred mixers would exceed the usual soft limit of 1024.
void raiseFileLimit()
{
    rlimit limit = {};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mixer-sim"));
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &app,
                     &QCoreApplication::quit);

    const ParsedOptions parsed = parseSimOptions(QCoreApplication::arguments());
    if (parsed.helpRequested) {
        std::fputs(qPrintable(parsed.helpText), stdout);
        return 0;
    }
    if (!parsed.error.isEmpty())
        return failWith(parsed.error);
    const SimOptions &options = parsed.options;

    raiseFileLimit();
    const QList<MixerIdentity> identities = mixersFrom(options);
    QString error;
    LineLog requests;
    if (!requests.open(options.requestLogFile, QStringLiteral("--request-log"), &error))
        return failWith(error);
    QObject mixers;
    for (const MixerIdentity &mixer : identities) {
        auto *http = new MixerHttp(mixer, options, &requests, &mixers);
        if (!http->listen(&error))
            return failWith(error);
    }
    // Loopback-only runs answer nothing and must not occupy the discovery
    // port; a record of what arrives still needs the receiving socket.
    if (options.answerWays != 0 || !options.recordFile.isEmpty()) {
        auto *discovery = new DiscoverySide(identities, options, &mixers);
        if (!discovery->open(&error))
            return failWith(error);
    }

    std::fputs("mixer-sim ready\n", stdout);
    std::fflush(stdout);
    return app.exec();
}
