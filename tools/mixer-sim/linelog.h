#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Appends lines to a file, each flushed at once, so that a test can read the
// file while the simulator runs.
class LineLog
{
public:
    // An empty path logs nothing; `option` names the file in the error.
    bool open(const QString &path, const QString &option, QString *error);
    void append(const QByteArray &line);

private:
    QFile file;
};
