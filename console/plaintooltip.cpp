#include "console/plaintooltip.h"

#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

PlainToolTip::PlainToolTip(QWidget *view) : QObject(view), view(view)
{
    view->installEventFilter(this);
}

QString PlainToolTip::shownText(const QString &text)
{
    const QString bounded = text.size() > maxLength ? text.left(maxLength) + QChar(0x2026) : text;
    // Escaped and marked as rich text, so that nothing in it is read as markup.
    return Qt::convertFromPlainText(bounded, Qt::WhiteSpaceNormal);
}

bool PlainToolTip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != view || event->type() != QEvent::ToolTip)
        return false;
    const QString text = view->toolTip();
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), shownText(text), view);
    }
    return true;
}
