#pragma once

#include <QObject>
#include <QString>

// A folder prompt made callable from QML ("com.mycompany" 1.0).
class SelectDownloadFolder : public QObject
{
    Q_OBJECT
public:
    explicit SelectDownloadFolder(QObject *parent = nullptr);

    // The chosen folder, or an empty string when the user cancels.
    Q_INVOKABLE QString getSelectDownloadFolder();
};
