#include "support/mixersim.h"

#include <sys/prctl.h>
#include <QDeadlineTimer>
#include <QDebug>
#include <csignal>

MixerSim::MixerSim(const QStringList &arguments, const QString &networkNamespace)
    : command(QStringList{MIXER_SIM_PATH} + arguments)
{
    if (!networkNamespace.isEmpty())
        command = QStringList{"ip", "netns", "exec", networkNamespace} + command;
}

MixerSim::~MixerSim()
{
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill(), process.waitForFinished(5000);
}

bool MixerSim::start()
{
    // A test binary killed by a time-out must not leave simulators behind,
    // holding ports and namespaces.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process.start(command.first(), command.mid(1));
    const QDeadlineTimer deadline(15000);
    QByteArray output;
    while (process.waitForReadyRead(int(deadline.remainingTime()))) {
        output += process.readAllStandardOutput();
        if (output.contains("mixer-sim ready\n"))
            return true;
    }
    qWarning().noquote() << "MixerSim: not ready:" << command.join(' ') << "\n"
                         << process.readAllStandardError();
    return false;
}

QByteArray expectedDownloadBytes(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + 7) & 0xFF);
    return bytes;
}
