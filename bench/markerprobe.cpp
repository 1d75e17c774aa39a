#include "markerprobe.h"

#include <QMetaObject>
#include <QNetworkDatagram>
#include <QThread>
#include <QUdpSocket>

#include "console/discovery_protocol.h"
#include "procstats.h"

MarkerProbe::MarkerProbe(int expectedMixers)
    : m_expected(expectedMixers), m_thread(new QThread()), m_listener(new QObject())
{
    m_listener->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_listener, &QObject::deleteLater);
    m_thread->start();
}

MarkerProbe::~MarkerProbe()
{
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

bool MarkerProbe::start()
{
    bool ok = false;
    QMetaObject::invokeMethod(
        m_listener,
        [this, &ok] {
            auto *socket = new QUdpSocket(m_listener);
            ok = socket->bind(QHostAddress::AnyIPv4, discovery::port,
                              QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
            connect(socket, &QUdpSocket::readyRead, socket,
                    [this, socket] { readAnswers(socket); });
        },
        Qt::BlockingQueuedConnection);
    return ok;
}

void MarkerProbe::readAnswers(QUdpSocket *socket)
{
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        const qint64 now = ProcStats::monotonicNs();
        const std::optional<DeviceInfo> device = discovery::parseMarker(datagram.data());
        if (!device)
            continue;
        QMutexLocker lock(&m_mutex);
        if (m_firstNs == 0)
            m_firstNs = now;
        if (m_seen.contains(device->ip))
            continue;
        m_seen.insert(device->ip);
        m_lastNewNs = now;
        if (m_seen.size() == m_expected)
            emit allMixersAnswered();
    }
}

qint64 MarkerProbe::firstAnswerNs() const
{
    QMutexLocker lock(&m_mutex);
    return m_firstNs;
}

qint64 MarkerProbe::lastNewAnswerNs() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastNewNs;
}

int MarkerProbe::mixersSeen() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_seen.size());
}
