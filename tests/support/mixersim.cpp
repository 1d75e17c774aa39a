#include "support/mixersim.h"

#include <sys/prctl.h>
#include <QDeadlineTimer>
#include <QDebug>
#include <csignal>

namespace {
const QByteArray readyLine = QByteArrayLiteral("mixer-sim ready");

QString simulatorPath()
{
#ifdef MIXER_SIM_PATH
    return QStringLiteral(MIXER_SIM_PATH);
#else
    return {};
#endif
}
}  // namespace

MixerSim::MixerSim(QStringList arguments, QString networkNamespace)
    : arguments(std::move(arguments)), networkNamespace(std::move(networkNamespace))
{
}

MixerSim::~MixerSim()
{
    stop();
}

bool MixerSim::start(int timeoutMs)
{
    const QString path = simulatorPath();
    if (path.isEmpty()) {
        qWarning("MixerSim: the simulated mixer was not built (Qt HttpServer missing?)");
        return false;
    }
    // A test binary killed by a time-out must not leave simulators behind,
    // holding ports and namespaces.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    if (networkNamespace.isEmpty())
        process.start(path, arguments);
    else
        process.start(QStringLiteral("ip"),
                      QStringList{"netns", "exec", networkNamespace, path} + arguments);

    const QDeadlineTimer deadline(timeoutMs);
    QByteArray output;
    while (!deadline.hasExpired()) {
        if (process.state() == QProcess::NotRunning)
            break;
        process.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 200)));
        output += process.readAllStandardOutput();
        if (output.contains(readyLine + '\n'))
            return true;
    }
    qWarning().noquote() << "MixerSim: not ready:" << arguments.join(QLatin1Char(' ')) << "\n"
                         << QString::fromLocal8Bit(process.readAllStandardError());
    stop();
    return false;
}

void MixerSim::stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

QByteArray expectedDownloadBytes(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + 7) & 0xFF);
    return bytes;
}
