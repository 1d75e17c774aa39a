#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The four resources a mixer serves over HTTP; faults are set per resource.
enum class Resource { Console, Download, Config, Description };
constexpr int resourceCount = 4;

// What goes wrong when one resource is requested. Several faults may be
// combined: the delay comes first, then a hang, an error status, an endless
// or a huge body, in that order of precedence.
struct ResourceFaults
{
    int delayMs = 0;
    int status = 0;  // 0: answer normally
    bool hang = false;
    bool endless = false;
    qint64 hugeBytes = -1;  // < 0: the resource's own body
};

// Ways of answering a search; combined as bit flags.
enum AnswerWay { MarkerBroadcast = 1, MarkerUnicast = 2, Announce = 4 };

struct SimOptions
{
    QList<QHostAddress> addresses;
    QString nameTemplate = QStringLiteral("Sim Mixer %n");
    QString model = QStringLiteral("SIM-16");

    quint16 httpPort = 80;
    quint16 descPort = 8200;
    quint16 discoveryPort = 45454;

    int answerWays = MarkerBroadcast;
    int answerDelayMs = 0;
    std::optional<QString> markerText;
    std::optional<QString> announceText;
    QString recordFile;
    QString requestLogFile;

    QByteArray configBody = QByteArrayLiteral("Language_enum=1\r\nLanguage_mode=0\r\n");
    std::optional<QByteArray> descriptionBody;
    std::optional<QByteArray> consoleBody;  // a page of the caller's instead of ours
    qint64 downloadSize = 4194304;
    qint64 downloadRate = 6 * 1024 * 1024;  // bytes per second; 0 = as fast as the client reads
    bool breakDownload = false;
    int consolePollMs = 0;  // 0: the console page asks for nothing once loaded

    std::array<ResourceFaults, resourceCount> faults;

    const ResourceFaults &faultsFor(Resource r) const { return faults[int(r)]; }
};

struct ParsedOptions
{
    SimOptions options;
    QString error;  // empty when the command line was understood
    bool helpRequested = false;
    QString helpText;
};

// Reads the command line (including the program name in arguments[0]).
// Files named by options are read here, so a missing file is a parse error.
ParsedOptions parseSimOptions(const QStringList &arguments);

// "A-B" to every address from A to B inclusive; empty on a malformed range.
QList<QHostAddress> addressRange(const QString &text, QString *error);
