#pragma once

#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>

class QThread;
class QUdpSocket;

// Listens beside the launcher for the mixers' marker broadcasts, on a thread
// of its own so that its time stamps do not wait for a busy GUI thread: the
// first answer and the answer that completes the expected set of mixers.
class MarkerProbe : public QObject
{
    Q_OBJECT
public:
    explicit MarkerProbe(int expectedMixers);
    ~MarkerProbe() override;

    // Binds the discovery port (shared) on the probe's thread.
    bool start();
    qint64 firstAnswerNs() const;
    qint64 lastNewAnswerNs() const;
    int mixersSeen() const;

signals:
    void allMixersAnswered();

private:
    void readAnswers(QUdpSocket *socket);

    const int m_expected;
    QThread *m_thread;
    // Lives on the probe's thread, with the socket as its child.
    QObject *m_listener;
    mutable QMutex m_mutex;
    QSet<QString> m_seen;
    qint64 m_firstNs = 0;
    qint64 m_lastNewNs = 0;
};
