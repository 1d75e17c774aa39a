#include "markerprobe.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cstring>
#include <ctime>

#include "console/discoveryprotocol.h"
#include "procstats.h"

namespace {

qint64 realtimeNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

}  // namespace

MarkerProbe::MarkerProbe(int expectedMixers) : m_expected(expectedMixers) {}

MarkerProbe::~MarkerProbe()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_socket >= 0)
        close(m_socket);
}

bool MarkerProbe::start()
{
    m_socket = socket(AF_INET, SOCK_DGRAM, 0);
    if (m_socket < 0)
        return false;
    const int on = 1;
    setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    setsockopt(m_socket, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(Discovery::port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        return false;
    m_thread = std::thread([this] { listen(); });
    return true;
}

void MarkerProbe::listen()
{
    // The kernel stamps with the wall clock; the benchmarks compare against
    // the monotonic one. Both advance alike over a run of seconds.
    const qint64 wallToMonotonic = ProcStats::monotonicNs() - realtimeNs();
    char buffer[2048];
    char control[256];
    while (!m_stop) {
        pollfd waiting{m_socket, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0)
            continue;
        iovec part{buffer, sizeof buffer};
        msghdr message{};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t size = recvmsg(m_socket, &message, 0);
        if (size < 0)
            continue;
        qint64 arrivalNs = ProcStats::monotonicNs();
        for (cmsghdr *c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
                timespec stamp{};
                memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
                arrivalNs = qint64(stamp.tv_sec) * 1000000000LL + stamp.tv_nsec + wallToMonotonic;
            }
        }
        take(QByteArray(buffer, int(size)), arrivalNs);
    }
}

void MarkerProbe::take(const QByteArray &payload, qint64 arrivalNs)
{
    const std::optional<DeviceInfo> device = Discovery::parseMarker(payload);
    if (!device)
        return;
    QMutexLocker lock(&m_mutex);
    if (m_firstNs == 0 || arrivalNs < m_firstNs)
        m_firstNs = arrivalNs;
    if (m_seen.contains(device->ip))
        return;
    m_seen.insert(device->ip);
    m_lastNewNs = qMax(m_lastNewNs, arrivalNs);
    if (m_seen.size() == m_expected)
        emit allMixersAnswered();
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
