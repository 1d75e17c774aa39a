#include "support/dialoganswerer.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

DialogAnswerer::DialogAnswerer()
{
    connect(&pollTimer, &QTimer::timeout, this, &DialogAnswerer::poll);
    pollTimer.start(20);
}

void DialogAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    // A dialog that was answered may stay up until its event loop returns.
    if (!modal || modal == lastAnswered)
        return;
    lastAnswered = modal;
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        messages << box->text();
        box->done(QMessageBox::Ok);
    } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        promptStartFolders << dialog->directory().absolutePath();
        const QString answer = folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
        if (answer.isEmpty())
            return dialog->reject();
        dialog->setDirectory(answer);
        // Through QDialog, as the dialog's own button would: QFileDialog hides its override.
        static_cast<QDialog *>(dialog)->accept();
    }
}
