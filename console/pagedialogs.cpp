#include "console/pagedialogs.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "app/logcategories.h"

namespace {

QString boundedMessage(const QString &message)
{
    if (message.size() <= PageDialogs::maxMessageLength)
        return message;
    return message.left(PageDialogs::maxMessageLength) + QChar(0x2026);
}

// The captions the web engine gives these boxes itself.
QString caption(PageDialogs::Kind kind, const QUrl &origin)
{
    static const char *const words[] = {"Alert", "Confirm", "Prompt"};
    return QStringLiteral("Javascript %1 - %2")
        .arg(QLatin1String(words[int(kind)]), origin.toDisplayString());
}

// The check box that offers to stop the page's boxes, or none.
QCheckBox *stopBox(bool offered)
{
    return offered ? new QCheckBox(PageDialogs::tr("Don't let this page open more dialogs"))
                   : nullptr;
}

// A prompt: the page's message above a line to type in, and the check box
// where it is offered.
bool runPrompt(QWidget *parent, const QString &title, const QString &message,
               const QString &defaultValue, bool offerStop, bool *stopAsked, QString *result)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(message, &dialog);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    auto *line = new QLineEdit(defaultValue, &dialog);
    label->setBuddy(line);
    layout->addWidget(label);
    layout->addWidget(line);
    QCheckBox *stop = stopBox(offerStop);
    if (stop)
        layout->addWidget(stop);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (accepted && result)
        *result = line->text();
    *stopAsked = stop && stop->isChecked();
    return accepted;
}

bool runBox(QWidget *parent, PageDialogs::Kind kind, const QString &title, const QString &message,
            bool offerStop, bool *stopAsked)
{
    QMessageBox box(
        kind == PageDialogs::Kind::Alert ? QMessageBox::Information : QMessageBox::Question, title,
        message, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    box.addButton(QMessageBox::Ok);
    if (kind == PageDialogs::Kind::Confirm)
        box.addButton(QMessageBox::Cancel);
    QCheckBox *stop = stopBox(offerStop);
    box.setCheckBox(stop);
    const bool accepted = box.exec() == QMessageBox::Ok;
    *stopAsked = stop && stop->isChecked();
    return accepted;
}

}  // namespace

bool PageDialogs::ask(QWidget *parent, Kind kind, const QUrl &origin, const QString &message,
                      const QString &defaultValue, QString *result)
{
    if (stopped) {
        qCDebug(lcConsole) << "PageDialogs: box of a page that may open no more answered unseen";
        return false;
    }
    const bool offerStop = offersToStop();
    const QString title = caption(kind, origin);
    const QString text = boundedMessage(message);
    bool stopAsked = false;
    const bool accepted =
        kind == Kind::Prompt
            ? runPrompt(parent, title, text, defaultValue, offerStop, &stopAsked, result)
            : runBox(parent, kind, title, text, offerStop, &stopAsked);
    stopped = stopAsked;
    sinceLastClosed.start();
    return accepted;
}

void PageDialogs::reset()
{
    stopped = false;
    sinceLastClosed.invalidate();
}

bool PageDialogs::offersToStop() const
{
    return sinceLastClosed.isValid() && sinceLastClosed.elapsed() < floodIntervalMs;
}
