#pragma once

#include <QByteArray>
#include <QHostAddress>

struct MixerIdentity;

// "DIGITAL_MIXER_DLNA|Name=<name>|Ip=<address>|Mode=<model>|"
QByteArray markerPayload(const MixerIdentity &mixer);

// An SSDP-style search response whose LOCATION names the description.
QByteArray announcePayload(const MixerIdentity &mixer, quint16 descPort);

// Only searches are answered: answers of other mixers (and our own, which
// come back as broadcasts) must not set off a storm of answers.
bool isSearchDatagram(const QByteArray &payload);

// "<destination> <sender>:<port> <payload as hex>" without a line end.
QByteArray recordLine(const QHostAddress &destination, const QHostAddress &sender,
                      quint16 senderPort, const QByteArray &payload);
