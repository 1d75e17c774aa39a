#pragma once

#include <QProcess>

// Runs the simulated mixer (tools/mixer-sim) for a test, optionally inside
// a network namespace, and ends it (SIGTERM, then SIGKILL) when the test is
// done with it.
class MixerSim
{
public:
    explicit MixerSim(const QStringList &arguments, const QString &networkNamespace = {});
    ~MixerSim();
    MixerSim(const MixerSim &) = delete;
    MixerSim &operator=(const MixerSim &) = delete;

    // Launches the simulator and waits until it reports that every socket
    // listens. False when it fails to start or exits first; its standard
    // error is then logged.
    bool start();
    bool isRunning() const { return process.state() != QProcess::NotRunning; }

private:
    QStringList command;
    QProcess process;
};

// The bytes the simulator serves as a download (and as huge or endless
// bodies) of the given size: byte i is (i * 31 + 7) & 0xFF.
QByteArray expectedDownloadBytes(qint64 size);
