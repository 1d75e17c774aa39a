// The discovery protocol's pure functions, without any network.
#include <QtTest>
#include "console/discoveryprotocol.h"

using Discovery::InterfaceDescription;

namespace {

using Flags = QNetworkInterface::InterfaceFlags;
const Flags runningUp = QNetworkInterface::IsUp | QNetworkInterface::IsRunning |
                        QNetworkInterface::CanBroadcast | QNetworkInterface::CanMulticast;

InterfaceDescription ethernet(const QString &name, const QString &ip, const QString &broadcast,
                              Flags flags = runningUp)
{
    return {name, flags, {{QHostAddress(ip), QHostAddress(broadcast)}}};
}

// A table row whose expected result is the fields joined by "|", or a null
// text where the input is refused.
void row(const char *tag, const QByteArray &input, const QString &expected = QString())
{
    QTest::newRow(tag) << input << expected;
}

}  // namespace

class TestDiscoveryProtocol : public QObject
{
    Q_OBJECT
private slots:
    // Each target as "<index in the list> <broadcast address>".
    void sendTargets_data()
    {
        QTest::addColumn<QList<InterfaceDescription>>("interfaces");
        QTest::addColumn<QStringList>("targets");
        const auto one = [](const char *tag, const InterfaceDescription &i, const QString &target) {
            QTest::newRow(tag) << QList{i}
                               << (target.isEmpty() ? QStringList{} : QStringList{target});
        };
        one("usable ethernet", ethernet("eth0", "10.0.0.2", "10.0.0.255"), "0 10.0.0.255");
        one("VMware adapter",
            ethernet("VMware Network Adapter VMnet8", "192.168.8.1", "192.168.8.255"), "");
        one("vmware in lower case is used", ethernet("vmware0", "192.168.8.1", "192.168.8.255"),
            "0 192.168.8.255");
        one("Loopback adapter", ethernet("Npcap Loopback Adapter", "10.1.1.1", "10.1.1.255"), "");
        one("loopback in lower case is used", ethernet("loopback-br", "10.1.1.1", "10.1.1.255"),
            "0 10.1.1.255");
        one("not running", ethernet("eth0", "10.0.0.2", "10.0.0.255", QNetworkInterface::IsUp), "");
        one("loopback flag",
            ethernet("eth0", "10.0.0.2", "10.0.0.255", runningUp | QNetworkInterface::IsLoopBack),
            "");
        one("entry without broadcast", ethernet("tun0", "10.8.0.2", QString()), "");
        one("127.0.0.1 never", ethernet("eth0", "127.0.0.1", "127.255.255.255"), "");
        one("IPv6 entry", ethernet("eth0", "fe80::1", "10.0.0.255"), "");
        QTest::newRow("list positions and entry order kept")
            << QList<InterfaceDescription>{ethernet("VMware0", "192.168.8.1", "192.168.8.255"),
                                           {"eth0",
                                            runningUp,
                                            {{QHostAddress("10.0.0.2"), QHostAddress("10.0.0.255")},
                                             {QHostAddress("fe80::2"), QHostAddress()},
                                             {QHostAddress("10.9.0.2"),
                                              QHostAddress("10.9.255.255")}}},
                                           ethernet("eth1", "10.7.0.2", "10.7.0.255",
                                                    QNetworkInterface::IsUp),
                                           ethernet("wlan0", "172.16.0.9", "172.16.255.255")}
            << QStringList{"1 10.0.0.255", "1 10.9.255.255", "3 172.16.255.255"};
    }
    void sendTargets()
    {
        QFETCH(QList<InterfaceDescription>, interfaces);
        QStringList shown;
        for (const Discovery::SendTarget &t : Discovery::chooseSendTargets(interfaces))
            shown << QString::number(t.interfaceIndex) + ' ' + t.broadcast.toString();
        QTEST(shown, "targets");
    }

    // Accepted markers as "name|ip|model".
    void marker_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("device");
        row("typical", "DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B|", "A|10.0.0.5|B");
        row("four fields", "DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B");
        row("six fields", "DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B||");
        row("last field with text", "DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B|v2",
            "A|10.0.0.5|B");
        row("key without value", "DIGITAL_MIXER_DLNA|Name=|Ip=10.0.0.5|Mode=B|");
        row("values not trimmed", "DIGITAL_MIXER_DLNA|Name= Desk 1 |Ip=10.0.0.5 |Mode=X32|",
            " Desk 1 |10.0.0.5 |X32");
        row("keys swapped", "DIGITAL_MIXER_DLNA|Ip=10.0.0.5|Name=A|Mode=B|");
        row("key not at the start, cut by position",
            "DIGITAL_MIXER_DLNA|xName=A|Ip=10.0.0.5|Mode=B|", "=A|10.0.0.5|B");
        row("marker not first", "hello DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B|",
            "A|10.0.0.5|B");
        row("marker in lower case", "digital_mixer_dlna|Name=A|Ip=10.0.0.5|Mode=B|");
        row("utf-8 name", "DIGITAL_MIXER_DLNA|Name=\xe8\xb0\x83\xe9\x9f\xb3|Ip=1.2.3.4|Mode=B|",
            QString::fromUtf8("\u8c03\u97f3|1.2.3.4|B"));
        row("empty", QByteArray());
    }
    void marker()
    {
        QFETCH(QByteArray, payload);
        const std::optional<DeviceInfo> device = Discovery::parseMarker(payload);
        const QString shown =
            device ? QStringList{device->name, device->ip, device->model}.join('|') : QString();
        QTEST(shown, "device");
        QVERIFY(!device || !device->linked);
    }

    void announcement_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<bool>("announces");
        const QByteArray tail = "http://a:8200/rootDesc.xml";
        QTest::newRow("typical") << QByteArray("LOCATION: http://10.0.0.5:8200/rootDesc.xml\r\n")
                                 << true;
        QTest::newRow("no scheme") << QByteArray("LOCATION: 10.0.0.5:8200/rootDesc.xml") << false;
        QTest::newRow("other port") << QByteArray("http://10.0.0.5:8201/rootDesc.xml") << false;
        QTest::newRow("after a NUL") << QByteArray("x\0http://a:8200/rootDesc.xml", 29) << false;
        QTest::newRow("ends at byte 1024") << QByteArray(1024 - tail.size(), 'x') + tail << true;
        QTest::newRow("ends at byte 1025") << QByteArray(1025 - tail.size(), 'x') + tail << false;
        QTest::newRow("long datagram") << tail + QByteArray(60000, 'x') << true;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void announcement()
    {
        QFETCH(QByteArray, datagram);
        QTEST(Discovery::isAnnouncement(datagram), "announces");
        QVERIFY(Discovery::announcementText(datagram).size() <= 1024);
    }

    // What the mixers expect, and what a reply may cost: a LAN answers a
    // description of a few kilobytes within milliseconds.
    void descriptionRequest()
    {
        const BoundedRequest sent =
            Discovery::descriptionRequest(Discovery::descriptionUrlFor(QHostAddress("10.0.0.5")));
        QCOMPARE(sent.request.url(), QUrl("http://10.0.0.5:8200/rootDesc.xml"));
        QCOMPARE(sent.request.header(QNetworkRequest::ContentTypeHeader).toString(),
                 QStringLiteral("application/json"));
        QCOMPARE(sent.request.rawHeader("self-header"), QByteArray("plovendrak"));
        QCOMPARE(sent.limits.maxBodyBytes, 1024 * 1024);
        QVERIFY(sent.limits.timeoutMs >= 1000 && sent.limits.timeoutMs <= 10000);
    }

    // Accepted descriptions as "name|model".
    void description_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("device");
        row("typical",
            "<?xml version=\"1.0\"?><root><device><friendlyName>Mixer A</friendlyName>"
            "<modelName>M-32</modelName></device></root>",
            "Mixer A|M-32");
        row("no device", "<root><friendlyName>A</friendlyName><modelName>B</modelName></root>");
        row("elements before device are skipped",
            "<friendlyName>Old</friendlyName><device><friendlyName>New</friendlyName>"
            "<modelName>B</modelName>",
            "New|B");
        row("entities stay as written",
            "<device><friendlyName>A &amp; B</friendlyName><modelName>M</modelName>",
            "A &amp; B|M");
        row("missing model", "<device><friendlyName>A</friendlyName>", "A|");
        row("unclosed name", "<device><friendlyName>A<modelName>M</modelName>", "|M");
        row("utf-8", "<device><friendlyName>\xc3\x89tage</friendlyName>",
            QString::fromUtf8("\u00c9tage|"));
    }
    void description()
    {
        QFETCH(QByteArray, payload);
        const auto fields = Discovery::parseDescriptionBody(payload);
        QTEST(fields ? fields->name + '|' + fields->model : QString(), "device");
    }
};

QTEST_GUILESS_MAIN(TestDiscoveryProtocol)
#include "tst_discoveryprotocol.moc"
