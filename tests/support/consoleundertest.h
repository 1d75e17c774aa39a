#pragma once

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
    void search()
    {
        QTest::mouseClick(widget.findChild<QPushButton *>("btn_search"), Qt::LeftButton);
    }
    void connectTo(const QString &text) { ::connectTo(&widget, text); }
};
