// How many marker datagrams and description documents the discovery parsers
// take per second. Pure functions, no network: runs anywhere.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

#include "console/discoveryprotocol.h"
#include "resultlog.h"

namespace {

constexpr int repeats = 7;
constexpr qint64 repeatNs = 300 * 1000 * 1000;

QList<QByteArray> markers()
{
    QList<QByteArray> list;
    for (int n = 1; n <= 254; ++n)
        list.append(
            QStringLiteral("DIGITAL_MIXER_DLNA|Name=Sim Mixer %1|Ip=10.77.0.%1|Mode=SIM-16|")
                .arg(n)
                .toUtf8());
    return list;
}

// A UPnP-style root description of the usual size, with the two fields the
// launcher reads after a good deal of preamble.
QList<QByteArray> descriptions()
{
    QList<QByteArray> list;
    for (int n = 1; n <= 16; ++n) {
        QByteArray body =
            "<?xml version=\"1.0\"?>\r\n<root xmlns=\"urn:schemas-upnp-org:device-1-0\">"
            "<specVersion><major>1</major><minor>0</minor></specVersion>"
            "<URLBase>http://10.77.0.1:8200/</URLBase><device>"
            "<deviceType>urn:schemas-upnp-org:device:MediaServer:1</deviceType>";
        body += "<friendlyName>Sim Mixer " + QByteArray::number(n) + "</friendlyName>";
        body +=
            "<manufacturer>Sim</manufacturer><manufacturerURL>http://example.invalid/"
            "</manufacturerURL><modelDescription>Digital mixer</modelDescription>"
            "<modelName>SIM-16</modelName><modelNumber>1</modelNumber>"
            "<serialNumber>0000" +
            QByteArray::number(n) + "</serialNumber><UDN>uuid:4d696e69-444c-164e-9d41-00000000000" +
            QByteArray::number(n % 10) + "</UDN><serviceList>";
        for (int s = 0; s < 3; ++s)
            body +=
                "<service><serviceType>urn:schemas-upnp-org:service:ContentDirectory:1"
                "</serviceType><serviceId>urn:upnp-org:serviceId:ContentDirectory</serviceId>"
                "<controlURL>/ctl/ContentDir</controlURL><eventSubURL>/evt/ContentDir"
                "</eventSubURL><SCPDURL>/ContentDir.xml</SCPDURL></service>";
        body += "</serviceList></device></root>\r\n";
        list.append(body);
    }
    return list;
}

// Items handled per second: the median of several timed repeats.
double ratePerSecond(const QList<QByteArray> &inputs,
                     const std::function<bool(QByteArrayView)> &parse)
{
    QList<double> rates;
    qsizetype sink = 0;
    for (int r = 0; r < repeats; ++r) {
        QElapsedTimer clock;
        clock.start();
        qint64 done = 0;
        while (clock.nsecsElapsed() < repeatNs) {
            for (const QByteArray &input : inputs)
                sink += parse(input) ? 1 : 0;
            done += inputs.size();
        }
        rates.append(double(done) * 1e9 / double(clock.nsecsElapsed()));
    }
    // Every input is well formed: a parser that rejects one is measured wrongly.
    if (sink == 0)
        return 0;
    return ResultLog::median(rates);
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QList<QByteArray> markerInputs = markers();
    const QList<QByteArray> descriptionInputs = descriptions();
    for (const QByteArray &marker : markerInputs) {
        if (!Discovery::parseMarker(marker))
            return 1;
    }
    for (const QByteArray &body : descriptionInputs) {
        if (!Discovery::parseDescriptionBody(body))
            return 1;
    }
    ResultLog::value(QStringLiteral("parse_markers_per_s"),
                     ratePerSecond(markerInputs, [](QByteArrayView payload) {
                         return Discovery::parseMarker(payload).has_value();
                     }));
    ResultLog::value(QStringLiteral("parse_descriptions_per_s"),
                     ratePerSecond(descriptionInputs, [](QByteArrayView body) {
                         return Discovery::parseDescriptionBody(body).has_value();
                     }));
    ResultLog::value(QStringLiteral("description_bytes"), descriptionInputs.first().size());
    return 0;
}
