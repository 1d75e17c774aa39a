#pragma once

#include <sys/prctl.h>
#include <QDeadlineTimer>
#include <QDebug>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <vector>

#include "support/filebytes.h"
#include "support/runaddress.h"

// Runs the simulated mixer (tools/mixer-sim) for a test, optionally inside
// a network namespace, and ends it (SIGTERM, then SIGKILL) when the test is
// done with it.
class MixerSim
{
public:
    explicit MixerSim(const QStringList &arguments, const QString &networkNamespace = {})
        : command(QStringList{MIXER_SIM_PATH} + arguments)
    {
        if (!networkNamespace.isEmpty())
            command = QStringList{"ip", "netns", "exec", networkNamespace} + command;
    }
    ~MixerSim()
    {
        // A simulator that ended on its own took its mixer away mid-test:
        // say how, or a test would only see requests fail.
        if (ready && process.state() == QProcess::NotRunning)
            qWarning().noquote() << "MixerSim: ended early:" << process.exitStatus()
                                 << process.exitCode() << "\n"
                                 << process.readAllStandardError();
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill(), process.waitForFinished(5000);
    }
    MixerSim(const MixerSim &) = delete;
    MixerSim &operator=(const MixerSim &) = delete;

    // Launches the simulator and waits until it reports that every socket
    // listens. False when it fails to start or exits first; its standard
    // error is then logged.
    bool start()
    {
        // A test binary killed by a time-out must not leave simulators
        // behind, holding ports and namespaces.
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process.start(command.first(), command.mid(1));
        const QDeadlineTimer deadline(15000);
        QByteArray output;
        while (process.waitForReadyRead(int(deadline.remainingTime()))) {
            output += process.readAllStandardOutput();
            if (output.contains("mixer-sim ready\n"))
                return ready = true;
        }
        qWarning().noquote() << "MixerSim: not ready:" << command.join(' ') << "\n"
                             << process.readAllStandardError();
        return false;
    }
    bool isRunning() const { return process.state() != QProcess::NotRunning; }

private:
    QStringList command;
    QProcess process;
    bool ready = false;
};

// The arguments of a mixer on `address` that serves its console and files but
// answers no search (a mixer the user types the address of), and `extra`.
inline QStringList quietMixer(const QString &address, const QStringList &extra = {})
{
    return QStringList{"--address", address, "--answer", "none"} + extra;
}

// Mixers a test starts one after another, each on a loopback address of its
// own (what one did to its connections cannot reach the next), serving the
// console page the test gives, if any, and answering no search. They run
// until the test object goes.
class ServedMixers
{
public:
    // The new mixer's address; empty when it did not start.
    QString start(const QByteArray &page = {}, QStringList extra = {})
    {
        const QString address = runAddress(++started);
        if (!page.isNull()) {
            const QString file = scratch.filePath(QStringLiteral("page%1.html").arg(started));
            if (!writeFileBytes(file, page))
                return {};
            extra << "--console-file" << file;
        }
        mixers.push_back(std::make_unique<MixerSim>(quietMixer(address, extra)));
        return mixers.back()->start() ? address : QString();
    }

private:
    QTemporaryDir scratch;
    std::vector<std::unique_ptr<MixerSim>> mixers;
    int started = 0;
};

// How many lines of the simulator's request log (--request-log) end with
// `ending`: a path for each request, "PATH gone" for each connection that
// closed under one.
inline qsizetype timesLogged(const QString &log, const QString &ending)
{
    return fileBytes(log).count((ending + '\n').toUtf8());
}

// The bytes the simulator serves as a download (and as huge or endless
// bodies) of the given size: byte i is (i * 31 + 7) & 0xFF.
inline QByteArray expectedDownloadBytes(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + 7) & 0xFF);
    return bytes;
}
