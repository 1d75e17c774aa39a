#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Shows the tool tip that a web page gives an element (its `title`) as the
// plain text it is. The web view hands that text to the widget's tool tip as
// it stands, and Qt shows a text that looks like markup as rich text: a
// title such as "<img src=/some/file>" would have the launcher read that
// file, however large, a device that never ends, or a share on another host.
class PlainToolTip : public QObject
{
public:
    // The most of a title shown; the rest is cut off.
    static constexpr int maxLength = 500;

    // Takes over the tool tips of `view`; a child of it.
    explicit PlainToolTip(QWidget *view);

    // The rich text that shows `text` as it stands, cut to maxLength.
    static QString shownText(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *view;
};
