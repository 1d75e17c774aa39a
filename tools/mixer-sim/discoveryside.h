#pragma once

#include <QList>
#include <QObject>
#include <QUdpSocket>
#include <memory>
#include <vector>

#include "linelog.h"
#include "mixeranswerer.h"
#include "mixeridentity.h"
#include "simoptions.h"

// The UDP side of all mixers: one shared socket receives the launcher's
// searches (sent to the group and to the subnet broadcast), records them,
// and each mixer answers from its own address.
class DiscoverySide : public QObject
{
    Q_OBJECT
public:
    DiscoverySide(const QList<MixerIdentity> &mixers, const SimOptions &options,
                  QObject *parent = nullptr);

    bool open(QString *error);

private:
    bool bindReceiver(QString *error);
    void joinGroup();
    void readPending();
    void answerAll(const QHostAddress &searcher);
    bool isOwnAnswer(const QHostAddress &from, quint16 port) const;
    bool isOnOurSubnets(const QHostAddress &searcher) const;

    const SimOptions &options;
    QList<MixerIdentity> mixers;
    QUdpSocket receiver;
    LineLog record;
    std::vector<std::unique_ptr<MixerAnswerer>> answerers;
    QList<QPair<QHostAddress, int>> subnets;  // those holding a mixer address
};
