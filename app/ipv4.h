#pragma once

#include <QString>

// True when the whole text is a dotted-decimal IPv4 address: four parts of one
// to three digits, leading zeros allowed, none above 255.
bool isValidIPv4(const QString &text);

// The plain decimal form of an address that passed isValidIPv4, with leading
// zeros dropped ("192.168.001.010" -> "192.168.1.10"). URLs must be built from
// this form: QUrl reads zero-led parts as octal, or as a host name.
// Returns an empty string for text that is not a valid address.
QString canonicalIPv4(const QString &text);
