#include "httpbodies.h"

#include <QCryptographicHash>
#include <QString>

#include "mixeridentity.h"

namespace {

QString faderStrips()
{
    static const char *const labels[] = {"CH 1", "CH 2", "CH 3", "CH 4", "MAIN"};
    QString strips;
    int level = 35;
    for (const char *label : labels) {
        strips += QStringLiteral(
                      "<div class=\"strip\"><div class=\"track\"><div class=\"cap\" "
                      "style=\"bottom:%1%\"></div></div><span>%2</span></div>\n")
                      .arg(level)
                      .arg(QLatin1String(label));
        level = (level + 23) % 80;
    }
    return strips;
}

// Stable per address, so a mixer keeps its identity across runs.
QString deviceUuid(const MixerIdentity &mixer)
{
    const QByteArray hash =
        QCryptographicHash::hash(mixer.address.toString().toUtf8(), QCryptographicHash::Sha1)
            .toHex();
    return QStringLiteral("%1-%2-%3-%4-%5")
        .arg(QLatin1String(hash.mid(0, 8)), QLatin1String(hash.mid(8, 4)),
             QLatin1String(hash.mid(12, 4)), QLatin1String(hash.mid(16, 4)),
             QLatin1String(hash.mid(20, 12)));
}

}  // namespace

QByteArray consolePage(const MixerIdentity &mixer, int pollMs)
{
    const QString page = QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
        "<title>%1</title>\n<style>\n"
        "body{background:#292929;color:#fff;font-family:sans-serif;margin:24px}\n"
        ".desk{display:flex;gap:18px;margin:20px 0}\n"
        ".strip{display:flex;flex-direction:column;align-items:center;gap:6px}\n"
        ".track{position:relative;width:8px;height:180px;background:#111;border-radius:4px}\n"
        ".cap{position:absolute;left:-10px;width:28px;height:14px;background:#45fff7;"
        "border-radius:3px}\n"
        "a#download{color:#2fd6de}\n"
        "</style></head>\n<body>\n"
        "<h1 id=\"mixer\">%1 <small id=\"model\">%2</small></h1>\n"
        "<div class=\"desk\">\n%3</div>\n"
        "<p><a id=\"download\" href=\"/dist/download/mixer-scene.bin\">Download scene</a></p>\n"
        "%4</body></html>\n");
    const QString poll = pollMs > 0
                             ? QStringLiteral(
                                   "<script>setInterval(function () {"
                                   " fetch('/dist/poll', {cache: 'no-store'}); }, %1);</script>\n")
                                   .arg(pollMs)
                             : QString();
    return page.arg(mixer.name.toHtmlEscaped(), mixer.model.toHtmlEscaped(), faderStrips(), poll)
        .toUtf8();
}

QByteArray descriptionDocument(const MixerIdentity &mixer)
{
    const QString doc = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<root xmlns=\"urn:schemas-upnp-org:device-1-0\">\n"
        "<specVersion><major>1</major><minor>0</minor></specVersion>\n"
        "<device>\n"
        "<deviceType>urn:schemas-upnp-org:device:MediaServer:1</deviceType>\n"
        "<friendlyName>%1</friendlyName>\n"
        "<manufacturer>mixer-sim</manufacturer>\n"
        "<modelName>%2</modelName>\n"
        "<UDN>uuid:%3</UDN>\n"
        "</device>\n"
        "</root>\n");
    return doc.arg(mixer.name.toHtmlEscaped(), mixer.model.toHtmlEscaped(), deviceUuid(mixer))
        .toUtf8();
}
