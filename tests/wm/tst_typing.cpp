// Keys typed into the address field as the desktop delivers them, on an X
// server of the test's own under a window manager, while the first of them
// has the web engine set up for the console.
#include "support/consoleundertest.h"

class TestTyping : public QObject
{
    Q_OBJECT

private slots:
    // Every key reaches the field, and the window stays the one the desktop
    // has: re-created for the console view's render widget, it would drop
    // the keys that reach it meanwhile.
    void everyKeyArrives()
    {
        ConsoleUnderTest console;
        QTRY_COMPARE(QApplication::focusWidget(), console.address);
        const WId window = console.widget.winId();
        const QString typed = "192.168.1.10";
        // Typed while the event loop runs, as a user types: the warm-up then
        // happens between the keys, not after all of them.
        QProcess xdotool;
        xdotool.start("xdotool", {"type", "--delay", "30", typed});
        QVERIFY(QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 10000));
        QCOMPARE(xdotool.exitCode(), 0);
        // The engine did give the view its render widget meanwhile.
        QTRY_VERIFY_WITH_TIMEOUT(console.view->focusProxy(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(console.address->text(), typed, 5000);
        QCOMPARE(console.widget.winId(), window);
    }
};

LAUNCHER_TEST_MAIN(TestTyping)
#include "tst_typing.moc"
