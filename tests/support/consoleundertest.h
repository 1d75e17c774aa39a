#pragma once

#include <QUdpSocket>
#include <QWebEngineView>

#include "console/widget.h"
#include "support/searchpage.h"
#include "support/testmain.h"

// The launcher's main content, shown, with the parts a user reaches.
struct ConsoleUnderTest
{
    Widget widget;
    QLineEdit *address = widget.findChild<QLineEdit *>("lineEdit_ip");
    QLabel *status = widget.findChild<QLabel *>("label_status_disp");
    QLabel *loadingText = widget.findChild<QLabel *>("tooltip_text");
    QStackedWidget *stack = widget.findChild<QStackedWidget *>("stackedWidget");
    QWebEngineView *view = widget.findChild<QWebEngineView *>();
    QSignalSpy loads{view, &QWebEngineView::loadFinished};

    ConsoleUnderTest()
    {
        widget.show();
        QVERIFY(QTest::qWaitForWindowActive(&widget));
    }
    QString page() const { return stack->currentWidget()->objectName(); }
    QAbstractItemModel *table() const { return widget.findChild<QTableView *>()->model(); }
    // The first `columns` cells of each row of the device table, joined by "|".
    QStringList rows(int columns) const
    {
        QStringList rows;
        for (int row = 0; row < table()->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < columns; ++column)
                cells << table()->index(row, column).data().toString();
            rows << cells.join('|');
        }
        return rows;
    }
    // Mixers at `ips` that make themselves known unasked, each with a
    // marker datagram to the launcher's discovery port on this host (a
    // unicast that leaves no machine): true once the list shows them all.
    bool hear(const QStringList &ips)
    {
        QUdpSocket mixers;
        for (const QString &ip : ips)
            mixers.writeDatagram(
                "DIGITAL_MIXER_DLNA|Name=mixer " + ip.toUtf8() + "|Ip=" + ip.toUtf8() + "|Mode=M|",
                QHostAddress::LocalHost, 45454);
        return QTest::qWaitFor([&] { return table()->rowCount() == ips.size(); }, 5000);
    }
    void search()
    {
        QTest::mouseClick(widget.findChild<QPushButton *>("btn_search"), Qt::LeftButton);
    }
    void connectTo(const QString &text) { ::connectTo(&widget, text); }
    // Connects to `address`: true once its console is shown.
    bool showConsole(const QString &address)
    {
        connectTo(address);
        return QTest::qWaitFor([&] { return page() == "page_web" && view->isVisible(); }, 20000);
    }
    // A key sequence such as "Esc" or "Alt+Left", or the mouse's "back
    // button", as the system delivers it: to `window` (a box over the
    // launcher), or to the launcher's own window, over the page area.
    void perform(const QString &name, QWindow *window = nullptr)
    {
        const QPoint middle = window ? QPoint(window->width() / 2, window->height() / 2)
                                     : stack->mapTo(&widget, stack->rect().center());
        window = window ? window : widget.windowHandle();
        if (name == QLatin1String("back button"))
            return QTest::mouseClick(window, Qt::BackButton, {}, middle);
        const QKeyCombination key = QKeySequence(name)[0];
        QTest::keyClick(window, key.key(), key.keyboardModifiers());
    }
};
