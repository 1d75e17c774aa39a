// The demo panel: meters that move only while it is visible, and the way
// Connect with "demo" opens it over the launcher.
#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "console/widget.h"
#include "demo/demo.h"
#include "support/pixelprobe.h"
#include "support/testmain.h"

class TestDemo : public QObject
{
    Q_OBJECT
private slots:
    // As it first opens, before the meters' first tick: the Mixer tab, the
    // faders at the middle of their range, the bank's meters at 0 but the
    // last at 24, each meter's text the bare number.
    void firstOpen_data()
    {
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<QString>("shown");
        QStringList bank, faders;
        for (int i = 0; i < 9; ++i)
            bank << QStringLiteral("level_%1").arg(i),
                faders << QStringLiteral("sld_%1").arg(21 + i);
        QTest::newRow("tab") << QStringList{"tabWidget"} << "Mixer";
        QTest::newRow("bank meters") << bank << "0 0 0 0 0 0 0 0 24";
        QTest::newRow("tab meters") << QString(
                                           "level_18 level_19 level_21 level_22 level_31 "
                                           "level_32 level_33 level_34 level_35")
                                           .split(' ')
                                    << "0 0 0 0 0 0 0 0 0";
        QTest::newRow("faders") << faders << QStringList(9, "500 in 0-1000").join(' ');
    }
    void firstOpen()
    {
        QFETCH(QStringList, controls);
        QFETCH(QString, shown);
        demo panel;
        panel.show();
        QStringList seen;
        for (const QString &name : controls) {
            QWidget *control = panel.findChild<QWidget *>(name);
            QVERIFY2(control, qPrintable(name));
            if (auto *tabs = qobject_cast<QTabWidget *>(control))
                seen << tabs->currentWidget()->objectName();
            else if (auto *meter = qobject_cast<QProgressBar *>(control))
                seen << meter->text();
            else if (auto *slider = qobject_cast<QSlider *>(control))
                seen << QStringLiteral("%1 in %2-%3")
                            .arg(slider->value())
                            .arg(slider->minimum())
                            .arg(slider->maximum());
        }
        QCOMPARE(seen.join(' '), shown);
    }

    // Shown, the nine bank meters each take levels of their own at the pace
    // of a 120 ms timer, however often the panel is shown; the other meters
    // stay. Hidden, they stand still. A meter fills from the bottom in cyan
    // over grey; the strips are captioned 01 to 08, then LR.
    void meters()
    {
        demo panel;
        panel.show();
        QShowEvent show;  // a further one, as a window system may send
        QApplication::sendEvent(&panel, &show);
        QMap<QString, QList<int>> levels;
        for (QProgressBar *meter : panel.findChildren<QProgressBar *>())
            connect(meter, &QProgressBar::valueChanged, this,
                    [&, meter](int value) { levels[meter->objectName()] << value; });
        // A 120 ms reference timer is the yardstick, not a sleep.
        int yardstick = 0;
        QTimer reference;
        connect(&reference, &QTimer::timeout, this, [&] { ++yardstick; });
        reference.start(120);
        QTRY_VERIFY_WITH_TIMEOUT(yardstick >= 12, 20000);
        QStringList bank, captions;
        for (int i = 0; i < 9; ++i) {
            bank << QStringLiteral("level_%1").arg(i);
            captions
                << panel.findChild<QPushButton *>(QStringLiteral("ch_select_%1").arg(i))->text();
        }
        QCOMPARE(levels.keys(), bank);
        QSet<QString> runs;  // no two meters move together
        for (const QList<int> &run : std::as_const(levels)) {
            const qsizetype count = run.size();
            QVERIFY2(count >= yardstick * 2 / 3 && count <= yardstick * 3 / 2 + 2,
                     qPrintable(QStringLiteral("%1 in %2").arg(count).arg(yardstick)));
            QVERIFY(QSet<int>(run.cbegin(), run.cend()).size() > 1);
            QVERIFY(*std::max_element(run.cbegin(), run.cend()) < 100);
            runs << QDebug::toString(run);
        }
        QCOMPARE(runs.size(), bank.size());
        QCOMPARE(captions, QStringList({"01", "02", "03", "04", "05", "06", "07", "08", "LR"}));
        panel.hide();
        levels.clear();
        yardstick = 0;
        QTRY_VERIFY_WITH_TIMEOUT(yardstick >= 4, 20000);
        QVERIFY(levels.isEmpty());
        auto *meter = panel.findChild<QProgressBar *>("level_0");
        meter->setValue(50);
        QCOMPARE(colourAt(meter, {2, 2}), QColor(116, 116, 116));  // grey above the level,
        QCOMPARE(colourAt(meter, {2, meter->height() - 3}), QColor(69, 255, 247));  // cyan below
    }

    // Connect with "demo" in the launcher's window opens the panel (four tabs
    // above the fader bank), once, as a window of its own over the launcher,
    // kept inside the screen; the launcher's page area stays dark meanwhile, and closing
    // the panel brings the search page back. The panel's picture goes to
    // $DEMO_SCREENSHOT when that is set.
    void connectDemo()
    {
        BaseWindow launcher(nullptr, consoleContent());
        launcher.show();
        QVERIFY(QTest::qWaitForWindowExposed(&launcher));
        launcher.move(130, 90);
        QTRY_COMPARE(launcher.windowHandle()->position(), QPoint(130, 90));
        auto *content = launcher.findChild<Widget *>();
        QTest::keyClicks(launcher.findChild<QLineEdit *>("lineEdit_ip"), "demo");
        QVERIFY(findTopLevels<demo>().isEmpty());
        demo *first = nullptr;
        for (int press = 0; press < 2; ++press) {
            QTest::mouseClick(launcher.findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
            const QList<demo *> panels = findTopLevels<demo>();
            QCOMPARE(panels.size(), 1);
            demo *panel = panels.first();
            if (press == 0)
                first = panel;
            else  // the same panel again, not a new one
                QCOMPARE(panel, first);
            QVERIFY(panel->isVisible() && !(panel->windowFlags() & Qt::FramelessWindowHint));
            QCOMPARE(panel->windowTitle(), QStringLiteral("Model Series"));
            QCOMPARE(panel->findChild<QTabWidget *>()->count(), 4);
            if (qEnvironmentVariableIsSet("DEMO_SCREENSHOT"))
                QVERIFY(panel->grab().save(qEnvironmentVariable("DEMO_SCREENSHOT")));
            // The offscreen screen is narrower than the panel and the
            // launcher hangs over its edges: the panel's top and left edges
            // (its title bar) stay on the screen.
            QVERIFY(
                launcher.screen()->availableGeometry().contains(panel->frameGeometry().topLeft()));
            QVERIFY(!content->isVisible());
            QWidget *pages = content->parentWidget();
            QCOMPARE(colourAt(&launcher, pages->mapTo(&launcher, pages->rect().center())),
                     QColor(50, 50, 50));
            QVERIFY(panel->close());
            QWidget *page = content->findChild<QStackedWidget *>()->currentWidget();
            QVERIFY(page->objectName() == "page_search" && page->isVisible());
            QCOMPARE(launcher.findChild<QLineEdit *>("lineEdit_ip")->text(),
                     QStringLiteral("demo"));
        }
    }
};

LAUNCHER_TEST_MAIN(TestDemo)
#include "tst_demo.moc"
