#pragma once

#include <QString>

// A search broadcasts on every usable interface. The burst benchmark presses
// Search only when every IPv4 address of this network namespace other than
// loopback lies in the test LAN's subnet, and there is at least one: inside
// the namespaces the benchmark script built, never on a real network.
bool onlyTestLanAddresses(const QString &subnet, QString *offending);
