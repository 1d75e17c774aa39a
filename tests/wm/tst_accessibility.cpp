// The launcher's window as a screen reader meets it: walked through the real
// accessibility bus (AT-SPI) by a client process, on an X server of its own.
#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "support/runaddress.h"
#include "support/searchpage.h"
#include "support/testmain.h"

class TestAccessibility : public QObject
{
    Q_OBJECT
    std::unique_ptr<BaseWindow> window;
    QProcess walker;
    QStringList lines;

    // The walker's lines of one kind.
    QStringList walked(const QString &kind) const
    {
        return lines.filter(QRegularExpression('^' + kind + "\\|"));
    }

private slots:
    void initTestCase()
    {
        window = std::make_unique<BaseWindow>(nullptr, consoleContent());
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        connect(&walker, &QProcess::readyReadStandardOutput, this, [this] {
            while (walker.canReadLine())
                lines << QString::fromUtf8(walker.readLine()).chopped(1);
        });
        walker.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        walker.start("/usr/bin/python3",
                     {ATSPI_WALK_PATH, QString::number(QCoreApplication::applicationPid())});
        QTRY_VERIFY_WITH_TIMEOUT(lines.contains("walked") || walker.state() == QProcess::NotRunning,
                                 60000);
        QVERIFY2(lines.contains("walked"), "the walker ended without reading the tree");
    }
    void cleanupTestCase()
    {
        walker.closeWriteChannel();
        if (!walker.waitForFinished(5000))
            walker.kill();
        window.reset();
    }

    // What a user reaches on the search page, each under its name. The
    // window is one object with one child: the frame, not the resize zones.
    void treeNamesEveryControl_data()
    {
        QTest::addColumn<QString>("node");
        QTest::newRow("window, by its title") << "1|frame|Corvane|0";
        QTest::newRow("title-bar button") << "|push button|Maximize|1";
        QTest::newRow("address field") << "|text|Mixer address|1";
        QTest::newRow("Search") << "|push button|Search|1";
        QTest::newRow("Connect") << "|push button|Connect|1";
        QTest::newRow("list") << "|table|Mixers found|0";
    }
    void treeNamesEveryControl()
    {
        QFETCH(QString, node);
        const QStringList nodes = walked("node");
        QVERIFY2(!nodes.filter(node).isEmpty(), qPrintable(nodes.join('\n')));
    }
    void treeHoldsNothingElse()
    {
        const QStringList nodes = walked("node");
        QCOMPARE(nodes.filter(QRegularExpression("^node\\|2\\|")).size(), 1);
        // Every control the keyboard reaches has a name.
        QCOMPARE(nodes.filter(QRegularExpression("^node\\|\\d+\\|[^|]*\\|\\|1$")), QStringList());
        QCOMPARE(walked("columns"), QStringList{"columns|Name,IP,Modle,Status,Remark"});
    }

    // The keyboard starts in the address field, goes on to Connect, then
    // Search, and reaches the title bar's buttons last.
    void tabGoesFromTheAddress()
    {
        QStringList order{QApplication::focusWidget()->objectName()};
        // With a screen reader about, keys reach the window once the
        // accessibility registry has seen them: each in its turn.
        for (int press = 0; press < 6; ++press) {
            QWidget *before = QApplication::focusWidget();
            QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
            QTRY_VERIFY(QApplication::focusWidget() != before);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, QStringList({"lineEdit_ip", "btn_connect", "btn_search", "toolMinimum",
                                     "toolResize", "toolClose", "lineEdit_ip"}));
    }

    // Texts that change on their own reach the screen reader from an object
    // it can place in the tree: the status line, the loading page's failure.
    void changesAreAnnounced_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("status line") << "Please enter a valid IP address!";
        QTest::newRow("loading failure") << "Loading failed, please check the network environment.";
    }
    void changesAreAnnounced()
    {
        QFETCH(QString, text);
        // Nothing listens at this address: the load fails at once.
        connectTo(window.get(), QTest::currentDataTag() == QLatin1String("status line")
                                    ? QStringLiteral("Demo")
                                    : runAddress(40));
        QTRY_VERIFY2_WITH_TIMEOUT(walked("named").contains("named|" + text + "|1"),
                                  qPrintable(walked("named").join('\n')), 20000);
    }
};

LAUNCHER_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
