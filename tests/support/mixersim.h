#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the simulated mixer (tools/mixer-sim) for a test, optionally inside
// a network namespace, and stops it again when the test is done with it.
class MixerSim
{
public:
    explicit MixerSim(QStringList arguments, QString networkNamespace = {});
    ~MixerSim();
    MixerSim(const MixerSim &) = delete;
    MixerSim &operator=(const MixerSim &) = delete;

    // Launches the simulator and waits until it reports that every socket
    // listens. False when it fails to start or exits first; its standard
    // error is then logged.
    bool start(int timeoutMs = 15000);

    // Terminates the simulator (SIGTERM, then SIGKILL after a grace period).
    void stop();

    bool isRunning() const { return process.state() != QProcess::NotRunning; }

private:
    QStringList arguments;
    QString networkNamespace;
    QProcess process;
};

// The bytes the simulator serves as a download (and as huge or endless
// bodies) of the given size: byte i is (i * 31 + 7) & 0xFF.
QByteArray expectedDownloadBytes(qint64 size);
