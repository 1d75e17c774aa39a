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

// Makes the prompt creatable from QML as SelectDownloadFolder in "com.mycompany" 1.0.
void registerSelectDownloadFolderType();
