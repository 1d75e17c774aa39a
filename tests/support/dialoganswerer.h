#pragma once

#include <QFileDialog>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// Answers the modal dialogs opened by static helpers such as
// QFileDialog::getExistingDirectory and QMessageBox::information, the way a
// user would, and records what each of them showed. Folder prompts take the
// queued answers in order: a path is chosen and confirmed, an empty string
// cancels. A prompt with no queued answer is cancelled, so a test never hangs.
class DialogAnswerer : public QObject
{
    Q_OBJECT
public:
    struct FolderPrompt
    {
        QString caption;
        QString startFolder;
        QFileDialog::Options options;
        bool answered = false;
    };
    struct MessageBox
    {
        QString title;
        QString text;
    };

    explicit DialogAnswerer(QObject *parent = nullptr);

    void queueFolderAnswer(const QString &folder);

    QList<FolderPrompt> folderPrompts;
    QList<MessageBox> messageBoxes;

private:
    void poll();
    void answerFolderPrompt(QFileDialog *dialog);

    QTimer pollTimer;
    QStringList folderAnswers;
    QPointer<QWidget> lastAnswered;
};
