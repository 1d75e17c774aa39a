#include "simoptions.h"

#include <QCommandLineParser>
#include <QFile>

namespace {

constexpr quint32 maxRangeSize = 65536;

std::optional<Resource> resourceNamed(const QString &name)
{
    static const QStringList names = {QStringLiteral("console"), QStringLiteral("download"),
                                      QStringLiteral("config"), QStringLiteral("description")};
    const int i = names.indexOf(name);
    if (i < 0)
        return std::nullopt;
    return Resource(i);
}

std::optional<qint64> numberIn(const QString &text, qint64 min, qint64 max)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<QHostAddress> ipv4(const QString &text)
{
    QHostAddress address;
    if (!address.setAddress(text) || address.protocol() != QAbstractSocket::IPv4Protocol)
        return std::nullopt;
    return address;
}

struct ResourceValue
{
    Resource resource;
    qint64 value;
};

// "RES=NUMBER" as used by --delay, --status and --huge.
std::optional<ResourceValue> resourceValue(const QString &text, qint64 min, qint64 max)
{
    const int eq = text.indexOf(QLatin1Char('='));
    if (eq < 0)
        return std::nullopt;
    const auto resource = resourceNamed(text.left(eq));
    const auto value = numberIn(text.mid(eq + 1), min, max);
    if (!resource || !value)
        return std::nullopt;
    return ResourceValue{*resource, *value};
}

std::optional<int> answerWays(const QString &text)
{
    int ways = 0;
    for (const QString &way : text.split(QLatin1Char(','))) {
        if (way == QLatin1String("marker-broadcast"))
            ways |= MarkerBroadcast;
        else if (way == QLatin1String("marker-unicast"))
            ways |= MarkerUnicast;
        else if (way == QLatin1String("announce"))
            ways |= Announce;
        else if (way == QLatin1String("none") && text == way)
            ways = 0;
        else
            return std::nullopt;
    }
    return ways;
}

std::optional<QByteArray> fileBody(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

class OptionReader
{
public:
    explicit OptionReader(ParsedOptions &result) : result(result), o(result.options) {}

    void declare(QCommandLineParser &parser);
    void read(const QCommandLineParser &parser);

private:
    bool fail(const QString &message)
    {
        if (result.error.isEmpty())
            result.error = message;
        return false;
    }
    void readMixers(const QCommandLineParser &parser);
    void readPorts(const QCommandLineParser &parser);
    void readDiscovery(const QCommandLineParser &parser);
    void readContent(const QCommandLineParser &parser);
    void readFaults(const QCommandLineParser &parser);
    // The named file's bytes into `body`, when the option is given.
    template <class Body>
    void readBody(const QCommandLineParser &parser, const QString &name, Body &body)
    {
        if (!parser.isSet(name))
            return;
        const auto bytes = fileBody(parser.value(name));
        if (!bytes)
            fail(QStringLiteral("cannot read --%1 %2").arg(name, parser.value(name)));
        else
            body = *bytes;
    }
    quint16 port(const QCommandLineParser &parser, const QString &name, quint16 fallback);
    qint64 number(const QCommandLineParser &parser, const QString &name, qint64 min, qint64 max,
                  const QString &needs, qint64 fallback);

    ParsedOptions &result;
    SimOptions &o;
};

void OptionReader::declare(QCommandLineParser &parser)
{
    const auto valued = [&](const QString &name, const QString &help, const QString &value) {
        parser.addOption(QCommandLineOption(name, help, value));
    };
    valued("address", "Play a mixer on A (repeatable).", "A");
    valued("range", "Play one mixer on every address from A to B inclusive.", "A-B");
    valued("name", "Device name; %n = 1-based index, %a = address.", "TEXT");
    valued("model", "Model name.", "TEXT");
    valued("http-port", "Console, download and configuration port.", "N");
    valued("desc-port", "Description document port.", "N");
    valued("discovery-port", "Where searches arrive and answers go.", "N");
    valued("answer", "marker-broadcast, marker-unicast, announce (comma-separated) or none.",
           "WAYS");
    valued("answer-delay", "Wait before answering a search.", "MS");
    valued("marker-text", "Send TEXT instead of the marker payload (%n, %a expanded).", "TEXT");
    valued("announce-text", "Send TEXT instead of the announcement (%n, %a expanded).", "TEXT");
    valued("record", "Append one line per received datagram to FILE.", "FILE");
    valued("request-log", "Append one line per HTTP request to FILE.", "FILE");
    valued("config-file", "Body of config.ini.", "FILE");
    valued("console-file", "Body of the console page.", "FILE");
    valued("description-file", "Body of rootDesc.xml.", "FILE");
    valued("download-size", "Bytes of the downloadable file.", "N");
    valued("download-rate", "Bytes per second of the download (0: unpaced).", "N");
    valued("console-poll", "The console page asks the mixer for /dist/poll every MS.", "MS");
    valued("delay", "Answer RES that much later.", "RES=MS");
    valued("status", "Answer RES with that HTTP status.", "RES=CODE");
    valued("hang", "Take requests for RES and never answer.", "RES");
    valued("huge", "Answer RES with a streamed body of that many bytes.", "RES=BYTES");
    valued("endless", "Answer RES with a body that never ends.", "RES");
    parser.addOption(QCommandLineOption("break-download", "Cut the download off halfway."));
}

void OptionReader::read(const QCommandLineParser &parser)
{
    readMixers(parser);
    readPorts(parser);
    readDiscovery(parser);
    readContent(parser);
    readFaults(parser);
}

void OptionReader::readMixers(const QCommandLineParser &parser)
{
    for (const QString &text : parser.values("address")) {
        const auto address = ipv4(text);
        if (!address) {
            fail(QStringLiteral("--address %1 is not an IPv4 address").arg(text));
            return;
        }
        o.addresses.append(*address);
    }
    for (const QString &text : parser.values("range")) {
        QString error;
        const QList<QHostAddress> range = addressRange(text, &error);
        if (range.isEmpty()) {
            fail(error);
            return;
        }
        o.addresses.append(range);
    }
    if (o.addresses.isEmpty())
        fail(QStringLiteral("no mixer address given (use --address or --range)"));
    if (parser.isSet("name"))
        o.nameTemplate = parser.value("name");
    if (parser.isSet("model"))
        o.model = parser.value("model");
}

quint16 OptionReader::port(const QCommandLineParser &parser, const QString &name, quint16 fallback)
{
    if (!parser.isSet(name))
        return fallback;
    const auto value = numberIn(parser.value(name), 1, 65535);
    if (!value) {
        fail(QStringLiteral("--%1 %2 is not a port number").arg(name, parser.value(name)));
        return fallback;
    }
    return quint16(*value);
}

// The option's number within [min, max], or `fallback` where it is not given
// or is not such a number ("--name needs <needs>").
qint64 OptionReader::number(const QCommandLineParser &parser, const QString &name, qint64 min,
                            qint64 max, const QString &needs, qint64 fallback)
{
    if (!parser.isSet(name))
        return fallback;
    const auto value = numberIn(parser.value(name), min, max);
    if (!value)
        fail(QStringLiteral("--%1 needs %2").arg(name, needs));
    return value.value_or(fallback);
}

void OptionReader::readPorts(const QCommandLineParser &parser)
{
    o.httpPort = port(parser, "http-port", o.httpPort);
    o.descPort = port(parser, "desc-port", o.descPort);
    o.discoveryPort = port(parser, "discovery-port", o.discoveryPort);
    if (o.httpPort == o.descPort)
        fail(QStringLiteral("--http-port and --desc-port must differ"));
}

void OptionReader::readDiscovery(const QCommandLineParser &parser)
{
    if (parser.isSet("answer")) {
        const auto ways = answerWays(parser.value("answer"));
        if (!ways)
            fail(QStringLiteral("--answer %1 is not understood").arg(parser.value("answer")));
        else
            o.answerWays = *ways;
    }
    o.answerDelayMs =
        int(number(parser, "answer-delay", 0, 3600000, "milliseconds", o.answerDelayMs));
    if (parser.isSet("marker-text"))
        o.markerText = parser.value("marker-text");
    if (parser.isSet("announce-text"))
        o.announceText = parser.value("announce-text");
    o.recordFile = parser.value("record");
    o.requestLogFile = parser.value("request-log");
}

void OptionReader::readContent(const QCommandLineParser &parser)
{
    readBody(parser, "config-file", o.configBody);
    readBody(parser, "console-file", o.consoleBody);
    readBody(parser, "description-file", o.descriptionBody);
    o.downloadSize =
        number(parser, "download-size", 0, Q_INT64_C(1) << 50, "a byte count", o.downloadSize);
    o.downloadRate =
        number(parser, "download-rate", 0, Q_INT64_C(1) << 40, "bytes per second", o.downloadRate);
    o.breakDownload = parser.isSet("break-download");
    o.consolePollMs =
        int(number(parser, "console-poll", 1, 3600000, "milliseconds", o.consolePollMs));
}

void OptionReader::readFaults(const QCommandLineParser &parser)
{
    for (const QString &text : parser.values("delay")) {
        const auto rv = resourceValue(text, 0, 3600000);
        if (!rv)
            return void(fail(QStringLiteral("--delay %1 is not RES=MS").arg(text)));
        o.faults[int(rv->resource)].delayMs = int(rv->value);
    }
    for (const QString &text : parser.values("status")) {
        const auto rv = resourceValue(text, 200, 599);
        if (!rv)
            return void(fail(QStringLiteral("--status %1 is not RES=CODE (200-599)").arg(text)));
        o.faults[int(rv->resource)].status = int(rv->value);
    }
    for (const QString &text : parser.values("huge")) {
        const auto rv = resourceValue(text, 0, Q_INT64_C(1) << 50);
        if (!rv)
            return void(fail(QStringLiteral("--huge %1 is not RES=BYTES").arg(text)));
        o.faults[int(rv->resource)].hugeBytes = rv->value;
    }
    for (const QString &text : parser.values("hang")) {
        const auto resource = resourceNamed(text);
        if (!resource)
            return void(fail(QStringLiteral("--hang %1: unknown resource").arg(text)));
        o.faults[int(*resource)].hang = true;
    }
    for (const QString &text : parser.values("endless")) {
        const auto resource = resourceNamed(text);
        if (!resource)
            return void(fail(QStringLiteral("--endless %1: unknown resource").arg(text)));
        o.faults[int(*resource)].endless = true;
    }
}

}  // namespace

QList<QHostAddress> addressRange(const QString &text, QString *error)
{
    const QStringList ends = text.split(QLatin1Char('-'));
    const auto first = ends.size() == 2 ? ipv4(ends[0]) : std::nullopt;
    const auto last = ends.size() == 2 ? ipv4(ends[1]) : std::nullopt;
    if (!first || !last || first->toIPv4Address() > last->toIPv4Address()) {
        *error = QStringLiteral("--range %1 is not A-B with A <= B").arg(text);
        return {};
    }
    const quint32 from = first->toIPv4Address();
    const quint32 to = last->toIPv4Address();
    if (to - from >= maxRangeSize) {
        *error =
            QStringLiteral("--range %1 holds more than %2 addresses").arg(text).arg(maxRangeSize);
        return {};
    }
    QList<QHostAddress> addresses;
    for (quint32 a = from;; ++a) {
        addresses.append(QHostAddress(a));
        if (a == to)
            break;
    }
    return addresses;
}

ParsedOptions parseSimOptions(const QStringList &arguments)
{
    ParsedOptions result;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plays networked mixers for tests."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    OptionReader reader(result);
    reader.declare(parser);
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.helpRequested = true;
        result.helpText = parser.helpText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error =
            QStringLiteral("unexpected argument %1").arg(parser.positionalArguments()[0]);
        return result;
    }
    reader.read(parser);
    return result;
}
