#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QPair>

class QAbstractButton;
class QComboBox;
class QLabel;

// Remembers the untranslated text of every caption that the demo form builds
// in its loops, so that retranslation can set them all again in one place.
class DemoCaptions
{
public:
    void add(QLabel *label, const QByteArray &source);
    void add(QAbstractButton *button, const QByteArray &source);
    void add(QComboBox *comboBox, const QByteArrayList &items);

    // Sets every remembered text through the translation context "demo".
    void apply() const;

private:
    QList<QPair<QLabel *, QByteArray>> labels;
    QList<QPair<QAbstractButton *, QByteArray>> buttons;
    QList<QPair<QComboBox *, QByteArrayList>> comboBoxes;
};
