#pragma once

#include <QtWidgets>
#include <functional>

// Answers the modal dialogs opened by static helpers such as
// QFileDialog::getExistingDirectory and QMessageBox::information, the way a
// user would, and records what they showed. Folder prompts take the queued
// answers in order: a folder is chosen and confirmed, an empty string (or no
// answer left) cancels. Message boxes and other dialogs (a page's text
// prompt) are confirmed; with tickStop, a check box in them is ticked first.
class DialogAnswerer : public QObject
{
public:
    explicit DialogAnswerer(QObject *parent = nullptr) : QObject(parent)
    {
        connect(&pollTimer, &QTimer::timeout, this, &DialogAnswerer::poll);
        pollTimer.start(20);
    }
    void queueFolderAnswer(const QString &folder) { folderAnswers << folder; }

    QStringList promptStartFolders;  // where each folder prompt opened
    QStringList messages;            // the text of each message box
    QStringList titles;              // the caption of each prompt and box, in order
    QList<bool> checkBoxes;          // whether each box and text prompt had a check box
    bool tickStop = false;
    int thinkMs = 0;  // how long a dialog stays up before it is answered
    // What the user does in each dialog before answering it.
    std::function<void(QWidget *)> beforeAnswer;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        // A dialog that was answered may stay up until its event loop returns.
        if (!modal || modal == lastAnswered)
            return;
        if (modal != lastSeen) {
            lastSeen = modal;
            seenFor.start();
        }
        if (seenFor.elapsed() < thinkMs)
            return;
        lastAnswered = modal;
        titles << modal->windowTitle();
        if (beforeAnswer)
            beforeAnswer(modal);
        if (auto *prompt = qobject_cast<QFileDialog *>(modal))
            return answerFolderPrompt(prompt);
        auto *stop = modal->findChild<QCheckBox *>();
        checkBoxes << bool(stop);
        if (stop && tickStop)
            stop->setChecked(true);
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            messages << box->text();
            box->done(QMessageBox::Ok);
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            messages << dialog->findChild<QLabel *>()->text();
            dialog->accept();
        }
    }
    void answerFolderPrompt(QFileDialog *dialog)
    {
        promptStartFolders << dialog->directory().absolutePath();
        const QString answer = folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
        if (answer.isEmpty())
            return dialog->reject();
        dialog->setDirectory(answer);
        // Through QDialog, as the dialog's own button would: QFileDialog hides its override.
        static_cast<QDialog *>(dialog)->accept();
    }

    QTimer pollTimer;
    QStringList folderAnswers;
    QPointer<QWidget> lastAnswered;
    QPointer<QWidget> lastSeen;
    QElapsedTimer seenFor;
};
