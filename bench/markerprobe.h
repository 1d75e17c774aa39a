#pragma once

#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>
#include <atomic>
#include <thread>

// Listens beside the launcher for the mixers' marker broadcasts and notes
// when each arrived, from the kernel's receive time stamps: neither a busy
// GUI thread nor a late listener thread moves them. It tells the first
// answer and the answer that completed the expected set of mixers.
class MarkerProbe : public QObject
{
    Q_OBJECT
public:
    explicit MarkerProbe(int expectedMixers);
    ~MarkerProbe() override;

    // Binds the discovery port (shared, as the launcher binds it) and starts
    // listening on a thread of its own.
    bool start();
    qint64 firstAnswerNs() const;
    qint64 lastNewAnswerNs() const;
    int mixersSeen() const;

signals:
    void allMixersAnswered();

private:
    void listen();
    void take(const QByteArray &payload, qint64 arrivalNs);

    const int m_expected;
    int m_socket = -1;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    mutable QMutex m_mutex;
    QSet<QString> m_seen;
    qint64 m_firstNs = 0;
    qint64 m_lastNewNs = 0;
};
