#pragma once

#include <QtTest>
#include <QtWidgets>

// What a user does on the search page of the launcher's window (or of its
// content widget) `root`.
inline void pressConnect(QWidget *root)
{
    QTest::mouseClick(root->findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
}

// Puts `text` into the address field, as a pick from the list does, and
// presses Connect.
inline void connectTo(QWidget *root, const QString &text)
{
    root->findChild<QLineEdit *>("lineEdit_ip")->setText(text);
    pressConnect(root);
}

// Types `text` into the address field key by key, and presses Connect.
inline void typeAndConnect(QWidget *root, const QString &text)
{
    QTest::keyClicks(root->findChild<QLineEdit *>("lineEdit_ip"), text);
    pressConnect(root);
}
