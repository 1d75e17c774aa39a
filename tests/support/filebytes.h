#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a file; none where it cannot be read.
QByteArray fileBytes(const QString &path);
