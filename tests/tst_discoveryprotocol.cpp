// The discovery protocol's pure functions, without any network.
#include <QtTest>
#include "console/discoveryprotocol.h"

using Discovery::InterfaceDescription;

namespace {

using Flags = QNetworkInterface::InterfaceFlags;
const Flags runningUp = QNetworkInterface::IsUp | QNetworkInterface::IsRunning |
                        QNetworkInterface::CanBroadcast | QNetworkInterface::CanMulticast;

// An interface with entries written as "ip/broadcast", blank-separated.
InterfaceDescription ethernet(const QString &name, const QString &entries, Flags flags = runningUp)
{
    InterfaceDescription interface {
        name, flags, {}
    };
    for (const QString &entry : entries.split(' '))
        interface.entries.append(
            {QHostAddress(entry.section('/', 0, 0)), QHostAddress(entry.section('/', 1))});
    return interface;
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
        one("usable ethernet", ethernet("eth0", "10.0.0.2/10.0.0.255"), "0 10.0.0.255");
        one("VMware adapter",
            ethernet("VMware Network Adapter VMnet8", "192.168.8.1/192.168.8.255"), "");
        one("Loopback adapter", ethernet("Npcap Loopback Adapter", "10.1.1.1/10.1.1.255"), "");
        one("not running", ethernet("eth0", "10.0.0.2/10.0.0.255", QNetworkInterface::IsUp), "");
        one("loopback flag",
            ethernet("eth0", "10.0.0.2/10.0.0.255", runningUp | QNetworkInterface::IsLoopBack), "");
        one("entry without broadcast", ethernet("tun0", "10.8.0.2/"), "");
        one("127.0.0.1 never", ethernet("eth0", "127.0.0.1/127.255.255.255"), "");
        one("IPv6 entry", ethernet("eth0", "fe80::1/10.0.0.255"), "");
        QTest::newRow("list positions and entry order kept")
            << QList{ethernet("VMware0", "192.168.8.1/192.168.8.255"),
                     ethernet("eth0", "10.0.0.2/10.0.0.255 fe80::2/ 10.9.0.2/10.9.255.255"),
                     ethernet("eth1", "10.7.0.2/10.7.0.255", QNetworkInterface::IsUp),
                     ethernet("wlan0", "172.16.0.9/172.16.255.255")}
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
        row("name without value", "DIGITAL_MIXER_DLNA|Name=|Ip=10.0.0.5|Mode=B|");
        row("address without value", "DIGITAL_MIXER_DLNA|Name=A|Ip=|Mode=B|");
        row("model without value", "DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=|");
        row("a blank is a name", "DIGITAL_MIXER_DLNA|Name= |Ip=10.0.0.5|Mode=B|", " |10.0.0.5|B");
        row("keys swapped", "DIGITAL_MIXER_DLNA|Ip=10.0.0.5|Name=A|Mode=B|");
        row("marker not first", "hello DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B|",
            "A|10.0.0.5|B");
        row("marker in lower case", "digital_mixer_dlna|Name=A|Ip=10.0.0.5|Mode=B|");
        row("empty", QByteArray());
    }
    void marker()
    {
        QFETCH(QByteArray, payload);
        const std::optional<DeviceInfo> device = Discovery::parseMarker(payload);
        const QString shown =
            device ? QStringList{device->name, device->ip, device->model}.join('|') : QString();
        QTEST(shown, "device");
    }

    void announcement_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<bool>("announces");
        QTest::addColumn<int>("looked");  // bytes of it that the test reads
        const QByteArray tail = "http://a:8200/rootDesc.xml";
        const QByteArray typical = "LOCATION: http://10.0.0.5:8200/rootDesc.xml\r\n";
        QTest::newRow("typical") << typical << true << int(typical.size());
        QTest::newRow("other port")
            << QByteArray("http://10.0.0.5:8201/rootDesc.xml") << false << 33;
        QTest::newRow("after a NUL")
            << QByteArray("x\0http://a:8200/rootDesc.xml", 29) << false << 1;
        QTest::newRow("ends at byte 1024")
            << QByteArray(1024 - tail.size(), 'x') + tail << true << 1024;
        QTest::newRow("ends at byte 1024, more after")
            << QByteArray(1024 - tail.size(), 'x') + tail + QByteArray(3000, 'y') << true << 1024;
        QTest::newRow("ends at byte 1025")
            << QByteArray(1025 - tail.size(), 'x') + tail << false << 1024;
        QTest::newRow("ends at byte 4000")
            << QByteArray(4000 - tail.size(), 'x') + tail << false << 1024;
        QTest::newRow("empty") << QByteArray() << false << 0;
    }
    void announcement()
    {
        QFETCH(QByteArray, datagram);
        QTEST(Discovery::isAnnouncement(datagram), "announces");
        QTEST(int(Discovery::announcementText(datagram).size()), "looked");
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
        QCOMPARE(sent.limits.maxBodyBytes, 64 * 1024);
        QCOMPARE(sent.limits.timeoutMs, 5000);
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
        row("missing model", "<device><friendlyName>A</friendlyName>", "A|");
        row("unclosed name", "<device><friendlyName>A<modelName>M</modelName>", "|M");
        row("closing tag first", "<device></friendlyName><friendlyName>A</friendlyName>", "A|");
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
