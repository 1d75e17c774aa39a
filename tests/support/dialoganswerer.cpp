#include "support/dialoganswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>

DialogAnswerer::DialogAnswerer(QObject *parent) : QObject(parent)
{
    pollTimer.setInterval(20);
    connect(&pollTimer, &QTimer::timeout, this, &DialogAnswerer::poll);
    pollTimer.start();
}

void DialogAnswerer::queueFolderAnswer(const QString &folder)
{
    folderAnswers.append(folder);
}

void DialogAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    // A dialog that was answered may stay up until its event loop returns.
    if (!modal || modal == lastAnswered)
        return;
    if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        lastAnswered = modal;
        answerFolderPrompt(dialog);
    } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        lastAnswered = modal;
        messageBoxes.append({box->windowTitle(), box->text()});
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }
}

void DialogAnswerer::answerFolderPrompt(QFileDialog *dialog)
{
    FolderPrompt prompt;
    prompt.caption = dialog->windowTitle();
    prompt.startFolder = dialog->directory().absolutePath();
    prompt.options = dialog->options();
    const QString answer = folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
    prompt.answered = !answer.isEmpty();
    folderPrompts.append(prompt);
    if (answer.isEmpty()) {
        dialog->reject();
        return;
    }
    dialog->setDirectory(answer);
    // Through QDialog, as the dialog's own button would: QFileDialog hides its override.
    static_cast<QDialog *>(dialog)->accept();
}
