#pragma once

#include <QPointer>
#include <QStringList>
#include <QTimer>

// Answers the modal dialogs opened by static helpers such as
// QFileDialog::getExistingDirectory and QMessageBox::information, the way a
// user would, and records what they showed. Folder prompts take the queued
// answers in order: a folder is chosen and confirmed, an empty string (or no
// answer left) cancels. Message boxes are confirmed.
class DialogAnswerer : public QObject
{
public:
    DialogAnswerer();
    void queueFolderAnswer(const QString &folder) { folderAnswers << folder; }

    QStringList promptStartFolders;  // where each folder prompt opened
    QStringList messages;            // the text of each message box

private:
    void poll();

    QTimer pollTimer;
    QStringList folderAnswers;
    QPointer<QWidget> lastAnswered;
};
