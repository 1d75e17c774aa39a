#pragma once

#include <QString>

// A loopback address of this test process's own in 127.<block>.0.0/16, so
// that test binaries and test runs side by side never share one.
QString runAddress(int block);
