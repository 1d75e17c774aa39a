// The discovery protocol's pure functions, without any network.
#include "console/discovery_protocol.h"
#include "support/testmain.h"

using discovery::AddressEntryDescription;
using discovery::InterfaceDescription;

namespace {

using Flags = QNetworkInterface::InterfaceFlags;
const Flags runningUp = QNetworkInterface::IsUp | QNetworkInterface::IsRunning |
                        QNetworkInterface::CanBroadcast | QNetworkInterface::CanMulticast;

InterfaceDescription ethernet(const QString &name, const QString &ip, const QString &broadcast,
                              Flags flags = runningUp)
{
    return {name, flags, {{QHostAddress(ip), QHostAddress(broadcast)}}};
}

QStringList describe(const QList<discovery::SendTarget> &targets)
{
    QStringList out;
    for (const discovery::SendTarget &target : targets)
        out << QString::number(target.interfaceIndex) + QLatin1Char(' ') +
                   target.broadcast.toString();
    return out;
}

QByteArray longPadding(qsizetype size)
{
    return QByteArray(size, 'x');
}

}  // namespace

class TestDiscoveryProtocol : public QObject
{
    Q_OBJECT
private slots:
    void searchDatagramLines_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("request line") << 0 << QByteArray("M-SEARCH * HTTP/1.1");
        QTest::newRow("host, port 1900") << 1 << QByteArray("HOST:239.255.255.250:1900");
        QTest::newRow("man, quoted") << 2 << QByteArray("MAN:\"ssdp:discover\"");
        QTest::newRow("search target") << 3 << QByteArray("ST:ssdp:all");
        QTest::newRow("max wait") << 4 << QByteArray("MX:3");
        QTest::newRow("empty line") << 5 << QByteArray();
    }
    void searchDatagramLines()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        const QByteArray datagram = discovery::searchDatagram();
        QCOMPARE(datagram.size(), 90);
        QVERIFY(datagram.endsWith("\r\n\r\n"));
        QVERIFY(!datagram.contains('\0'));
        // Seven parts: six lines, each closed by CR LF, and nothing after.
        const QList<QByteArray> lines = datagram.split('\n');
        QCOMPARE(lines.size(), 7);
        QVERIFY(lines.last().isEmpty());
        QVERIFY(lines.at(line).endsWith('\r'));
        QCOMPARE(lines.at(line).chopped(1), text);
    }

    void sendTargets_data()
    {
        QTest::addColumn<QList<InterfaceDescription>>("interfaces");
        QTest::addColumn<QStringList>("targets");
        const auto one = [](const InterfaceDescription &i) { return QList{i}; };
        QTest::newRow("usable ethernet")
            << one(ethernet("eth0", "10.0.0.2", "10.0.0.255")) << QStringList{"0 10.0.0.255"};
        QTest::newRow("VMware adapter")
            << one(ethernet("VMware Network Adapter VMnet8", "192.168.8.1", "192.168.8.255"))
            << QStringList{};
        QTest::newRow("VMware inside a name")
            << one(ethernet("myVMwareNet", "192.168.8.1", "192.168.8.255")) << QStringList{};
        QTest::newRow("vmware in lower case is used")
            << one(ethernet("vmware0", "192.168.8.1", "192.168.8.255"))
            << QStringList{"0 192.168.8.255"};
        QTest::newRow("Loopback adapter")
            << one(ethernet("Npcap Loopback Adapter", "10.1.1.1", "10.1.1.255")) << QStringList{};
        QTest::newRow("loopback in lower case is used")
            << one(ethernet("loopback-bridge", "10.1.1.1", "10.1.1.255"))
            << QStringList{"0 10.1.1.255"};
        QTest::newRow("not running")
            << one(ethernet("eth0", "10.0.0.2", "10.0.0.255", QNetworkInterface::IsUp))
            << QStringList{};
        QTest::newRow("loopback flag") << one(ethernet("eth0", "10.0.0.2", "10.0.0.255",
                                                       runningUp | QNetworkInterface::IsLoopBack))
                                       << QStringList{};
        QTest::newRow("running alone is enough")
            << one(ethernet("eth0", "10.0.0.2", "10.0.0.255", QNetworkInterface::IsRunning))
            << QStringList{"0 10.0.0.255"};
        QTest::newRow("entry without broadcast")
            << one(ethernet("tun0", "10.8.0.2", QString())) << QStringList{};
        QTest::newRow("127.0.0.1 never")
            << one(ethernet("eth0", "127.0.0.1", "127.255.255.255")) << QStringList{};
        QTest::newRow("IPv6 entry")
            << one(ethernet("eth0", "fe80::1", "10.0.0.255")) << QStringList{};
        QTest::newRow("no entries") << one({"eth0", runningUp, {}}) << QStringList{};
        QTest::newRow("two usable entries, in order")
            << one({"eth0",
                    runningUp,
                    {{QHostAddress("10.0.0.2"), QHostAddress("10.0.0.255")},
                     {QHostAddress("fe80::2"), QHostAddress()},
                     {QHostAddress("10.9.0.2"), QHostAddress("10.9.255.255")}}})
            << QStringList{"0 10.0.0.255", "0 10.9.255.255"};
        QTest::newRow("list positions kept")
            << QList<InterfaceDescription>{{"lo",
                                            runningUp | QNetworkInterface::IsLoopBack,
                                            {{QHostAddress("127.0.0.1"), QHostAddress()}}},
                                           ethernet("VMware0", "192.168.8.1", "192.168.8.255"),
                                           ethernet("eth0", "10.0.0.2", "10.0.0.255"),
                                           ethernet("eth1", "10.7.0.2", "10.7.0.255",
                                                    QNetworkInterface::IsUp),
                                           ethernet("wlan0", "172.16.0.9", "172.16.255.255")}
            << QStringList{"2 10.0.0.255", "4 172.16.255.255"};
        QTest::newRow("nothing at all") << QList<InterfaceDescription>{} << QStringList{};
    }
    void sendTargets()
    {
        QFETCH(QList<InterfaceDescription>, interfaces);
        QFETCH(QStringList, targets);
        QCOMPARE(describe(discovery::chooseSendTargets(interfaces)), targets);
    }

    void marker_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("model");
        QTest::newRow("typical") << QByteArray("DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B|")
                                 << true << "A"
                                 << "10.0.0.5"
                                 << "B";
        QTest::newRow("without the last separator")
            << QByteArray("DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B") << false << ""
            << ""
            << "";
        QTest::newRow("a fifth separator")
            << QByteArray("DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B||") << false << ""
            << ""
            << "";
        QTest::newRow("last field with text")
            << QByteArray("DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B|v2") << true << "A"
            << "10.0.0.5"
            << "B";
        QTest::newRow("empty name")
            << QByteArray("DIGITAL_MIXER_DLNA|Name=|Ip=10.0.0.5|Mode=B|") << false << ""
            << ""
            << "";
        QTest::newRow("empty ip") << QByteArray("DIGITAL_MIXER_DLNA|Name=A|Ip=|Mode=B|") << false
                                  << ""
                                  << ""
                                  << "";
        QTest::newRow("empty model")
            << QByteArray("DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=|") << false << ""
            << ""
            << "";
        QTest::newRow("name of one blank")
            << QByteArray("DIGITAL_MIXER_DLNA|Name= |Ip=10.0.0.5|Mode=B|") << true << " "
            << "10.0.0.5"
            << "B";
        QTest::newRow("values not trimmed")
            << QByteArray("DIGITAL_MIXER_DLNA|Name= Desk 1 |Ip=10.0.0.5 |Mode=X32|") << true
            << " Desk 1 "
            << "10.0.0.5 "
            << "X32";
        QTest::newRow("ip not checked")
            << QByteArray("DIGITAL_MIXER_DLNA|Name=A|Ip=not an address|Mode=B|") << true << "A"
            << "not an address"
            << "B";
        QTest::newRow("marker in lower case")
            << QByteArray("digital_mixer_dlna|Name=A|Ip=10.0.0.5|Mode=B|") << false << ""
            << ""
            << "";
        QTest::newRow("key in lower case")
            << QByteArray("DIGITAL_MIXER_DLNA|name=A|Ip=10.0.0.5|Mode=B|") << false << ""
            << ""
            << "";
        QTest::newRow("keys swapped")
            << QByteArray("DIGITAL_MIXER_DLNA|Ip=10.0.0.5|Name=A|Mode=B|") << false << ""
            << ""
            << "";
        QTest::newRow("key not at the start, cut by position")
            << QByteArray("DIGITAL_MIXER_DLNA|xName=A|Ip=10.0.0.5|Mode=B|") << true << "=A"
            << "10.0.0.5"
            << "B";
        QTest::newRow("marker not first")
            << QByteArray("hello DIGITAL_MIXER_DLNA|Name=A|Ip=10.0.0.5|Mode=B|") << true << "A"
            << "10.0.0.5"
            << "B";
        QTest::newRow("marker inside the last field")
            << QByteArray("X|Name=A|Ip=10.0.0.5|Mode=B|DIGITAL_MIXER_DLNA") << false << ""
            << ""
            << "";
        QTest::newRow("utf-8 name")
            << QByteArray(
                   "DIGITAL_MIXER_DLNA|Name=\xe8\xb0\x83\xe9\x9f\xb3\xe5\x8f\xb0"
                   "|Ip=10.0.0.5|Mode=B|")
            << true << QString::fromUtf8("\u8c03\u97f3\u53f0") << "10.0.0.5"
            << "B";
        QTest::newRow("search datagram") << discovery::searchDatagram() << false << ""
                                         << ""
                                         << "";
        QTest::newRow("empty") << QByteArray() << false << ""
                               << ""
                               << "";
    }
    void marker()
    {
        QFETCH(QByteArray, payload);
        QFETCH(bool, accepted);
        const std::optional<DeviceInfo> device = discovery::parseMarker(payload);
        QCOMPARE(device.has_value(), accepted);
        if (!device)
            return;
        QTEST(device->name, "name");
        QTEST(device->ip, "ip");
        QTEST(device->model, "model");
        QCOMPARE(device->linked, false);
    }

    void announcement_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<bool>("announces");
        const QByteArray typical =
            "NOTIFY * HTTP/1.1\r\nLOCATION: http://10.0.0.5:8200/rootDesc.xml\r\n";
        QTest::newRow("typical") << typical << true;
        QTest::newRow("parts in any order")
            << QByteArray(":8200/rootDesc.xml then http://") << true;
        QTest::newRow("another host") << QByteArray("http://192.0.2.1:8200/rootDesc.xml") << true;
        QTest::newRow("no scheme") << QByteArray("LOCATION: 10.0.0.5:8200/rootDesc.xml") << false;
        QTest::newRow("scheme in upper case")
            << QByteArray("HTTP://10.0.0.5:8200/rootDesc.xml") << false;
        QTest::newRow("other port") << QByteArray("http://10.0.0.5:8201/rootDesc.xml") << false;
        QTest::newRow("other case of the path")
            << QByteArray("http://10.0.0.5:8200/rootdesc.xml") << false;
        QTest::newRow("search datagram") << discovery::searchDatagram() << false;
        QTest::newRow("after a NUL") << QByteArray("x\0http://a:8200/rootDesc.xml", 29) << false;
        QTest::newRow("NUL after both")
            << QByteArray("http://a:8200/rootDesc.xml\0junk", 31) << true;
        const QByteArray tail = "http://a:8200/rootDesc.xml";
        QTest::newRow("ends exactly at 1024 bytes")
            << longPadding(1024 - tail.size()) + tail << true;
        QTest::newRow("one byte past 1024") << longPadding(1025 - tail.size()) + tail << false;
        QTest::newRow("long datagram, first part counts") << tail + longPadding(60000) << true;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void announcement()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(bool, announces);
        QCOMPARE(discovery::isAnnouncement(datagram), announces);
        QVERIFY(discovery::announcementText(datagram).size() <= 1024);
    }

    void descriptionUrl_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("ip");
        QTest::newRow("plain") << "192.168.1.20"
                               << "http://192.168.1.20:8200/rootDesc.xml"
                               << "192.168.1.20";
        QTest::newRow("test lan") << "10.77.0.9"
                                  << "http://10.77.0.9:8200/rootDesc.xml"
                                  << "10.77.0.9";
    }
    void descriptionUrl()
    {
        QFETCH(QString, sender);
        QFETCH(QString, url);
        QFETCH(QString, ip);
        QCOMPARE(discovery::descriptionUrlFor(QHostAddress(sender)), url);
        QCOMPARE(discovery::ipFromDescriptionUrl(QUrl(url, QUrl::TolerantMode)), ip);
    }

    void ipFromUrl_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("ip");
        QTest::newRow("default port dropped")
            << QUrl("http://10.0.0.1/rootDesc.xml") << "10.0.0.1/rootDesc.xml";
        QTest::newRow("no scheme") << QUrl("rootDesc.xml") << "";
        QTest::newRow("empty") << QUrl() << "";
    }
    void ipFromUrl()
    {
        QFETCH(QUrl, url);
        QTEST(discovery::ipFromDescriptionUrl(url), "ip");
    }

    void description_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("model");
        QTest::newRow("typical")
            << QByteArray(
                   "<?xml version=\"1.0\"?><root><device><friendlyName>Mixer A"
                   "</friendlyName><modelName>M-32</modelName></device></root>")
            << true << "Mixer A"
            << "M-32";
        QTest::newRow("no device")
            << QByteArray("<root><friendlyName>A</friendlyName><modelName>B</modelName></root>")
            << false << ""
            << "";
        QTest::newRow("elements before device are skipped")
            << QByteArray(
                   "<friendlyName>Old</friendlyName><device><friendlyName>New"
                   "</friendlyName><modelName>B</modelName>")
            << true << "New"
            << "B";
        QTest::newRow("entities stay as written")
            << QByteArray(
                   "<device><friendlyName>A &amp; B</friendlyName>"
                   "<modelName>M</modelName>")
            << true << "A &amp; B"
            << "M";
        QTest::newRow("blanks stay")
            << QByteArray(
                   "<device><friendlyName> A </friendlyName><modelName>\tM\n"
                   "</modelName>")
            << true << " A "
            << "\tM\n";
        QTest::newRow("first element wins")
            << QByteArray(
                   "<device><friendlyName>A</friendlyName><friendlyName>B</friendlyName>"
                   "<modelName>M</modelName>")
            << true << "A"
            << "M";
        QTest::newRow("missing model")
            << QByteArray("<device><friendlyName>A</friendlyName>") << true << "A"
            << "";
        QTest::newRow("unclosed name")
            << QByteArray("<device><friendlyName>A<modelName>M</modelName>") << true << ""
            << "M";
        QTest::newRow("closing tag before opening")
            << QByteArray("<device></friendlyName><friendlyName>A") << true << ""
            << "";
        QTest::newRow("device tag in another case")
            << QByteArray("<Device><friendlyName>A</friendlyName>") << false << ""
            << "";
        QTest::newRow("namespaced tags not recognised")
            << QByteArray("<device><d:friendlyName>A</d:friendlyName>") << true << ""
            << "";
        QTest::newRow("utf-8") << QByteArray("<device><friendlyName>\xc3\x89tage</friendlyName>")
                               << true << QString::fromUtf8("\u00c9tage") << "";
        QTest::newRow("empty") << QByteArray() << false << ""
                               << "";
    }
    void description()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, accepted);
        const std::optional<discovery::DescriptionFields> fields =
            discovery::parseDescriptionBody(body);
        QCOMPARE(fields.has_value(), accepted);
        if (!fields)
            return;
        QTEST(fields->name, "name");
        QTEST(fields->model, "model");
    }
};

LAUNCHER_TEST_MAIN(TestDiscoveryProtocol)
#include "tst_discovery_protocol.moc"
