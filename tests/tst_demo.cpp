// The demo panel: meters that move only while it is visible, controls that
// change nothing but themselves, and the way Connect with "demo" opens it.

#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "console/widget.h"
#include "demo/demo.h"
#include "support/testmain.h"

namespace {

const QRegularExpression bankMeter(QStringLiteral("^level_[0-8]$"));

// What a user could see of every widget but one control and the bank meters.
QStringList snapshot(const QWidget &panel, const QWidget *except)
{
    QStringList state;
    for (const QWidget *w : panel.findChildren<QWidget *>()) {
        if (w == except || bankMeter.match(w->objectName()).hasMatch())
            continue;
        for (const char *p : {"text", "value", "checked", "down", "currentIndex", "visible"})
            state << w->property(p).toString();
    }
    return state;
}

// The timers whose events reach a panel, and how many arrived.
struct TimerWatch : QObject
{
    QSet<int> ids;
    int ticks = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer) {
            ids << static_cast<QTimerEvent *>(event)->timerId();
            ++ticks;
        }
        return false;
    }
};

}  // namespace

class TestDemo : public QObject
{
    Q_OBJECT
private slots:
    // Writes the picture to $DEMO_SCREENSHOT when that is set.
    void look()
    {
        demo panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCOMPARE(panel.findChild<QTabWidget *>()->count(), 4);
        const QImage image = panel.grab().toImage();
        if (qEnvironmentVariableIsSet("DEMO_SCREENSHOT"))
            QVERIFY(image.save(qEnvironmentVariable("DEMO_SCREENSHOT")));
        // The frame's gradient starts in steel grey on the left.
        const QColor left = image.pixelColor(1, 300);
        QVERIFY(qAbs(left.red() - 116) + qAbs(left.green() - 129) + qAbs(left.blue() - 135) <= 6);
    }

    // Steps: S show(), E a further show event, H hide(). A timer event that
    // is not the meter timer's arrives too, and must move nothing.
    void meters_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("running");
        QTest::newRow("show event twice") << "SE" << true;
        QTest::newRow("hidden and shown again") << "SHS" << true;
        QTest::newRow("hidden") << "SH" << false;
    }
    void meters()
    {
        QFETCH(QString, steps);
        QFETCH(bool, running);
        demo panel;
        for (QChar step : steps) {
            QShowEvent show;
            if (step == 'S')
                panel.show();
            else if (step == 'H')
                panel.hide();
            else
                QApplication::sendEvent(&panel, &show);
        }
        QMap<QString, int> changes;
        QSet<int> values;
        for (QProgressBar *meter : panel.findChildren<QProgressBar *>()) {
            connect(meter, &QProgressBar::valueChanged, this, [&, meter](int value) {
                ++changes[meter->objectName()];
                values << value;
            });
        }
        QObject other;
        QTimerEvent foreign(other.startTimer(100000));
        QApplication::sendEvent(&panel, &foreign);
        QVERIFY(changes.isEmpty());
        TimerWatch watch;
        panel.installEventFilter(&watch);

        // A 120 ms reference timer is the yardstick, not a sleep.
        int yardstick = 0;
        QTimer reference;
        connect(&reference, &QTimer::timeout, this, [&] { ++yardstick; });
        reference.start(120);
        QTRY_VERIFY_WITH_TIMEOUT(yardstick >= 8, 20000);
        QCOMPARE(watch.ids.size(), running ? 1 : 0);
        QVERIFY(watch.ticks <= yardstick * 3 / 2 + 2);
        // Each tick sets the nine bank meters, each to a level of its own.
        QCOMPARE(changes.size(), running ? 9 : 0);
        for (auto it = changes.cbegin(); it != changes.cend(); ++it)
            QVERIFY2(bankMeter.match(it.key()).hasMatch() && *it >= 3, qPrintable(it.key()));
        QVERIFY(
            std::all_of(values.cbegin(), values.cend(), [](int v) { return v >= 0 && v < 100; }));
        QVERIFY(!running || values.size() > 1);
    }

    // A user's action on any control changes nothing outside it.
    void actionChangesOnlyItself()
    {
        demo panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        auto *tabs = panel.findChild<QTabWidget *>();
        const auto windows = QApplication::topLevelWidgets();
        int acted = 0;
        for (QWidget *control : panel.findChildren<QWidget *>()) {
            auto *button = qobject_cast<QPushButton *>(control);
            const char *property = qobject_cast<QComboBox *>(control) ? "currentIndex"
                                   : qobject_cast<QSlider *>(control) ? "value"
                                                                      : nullptr;
            if (!button && !property)
                continue;
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i)->isAncestorOf(control))
                    tabs->setCurrentIndex(i);
            QTRY_VERIFY(control->isVisible());
            const QStringList before = snapshot(panel, control);
            if (button) {
                QTest::mouseClick(button, Qt::LeftButton);
            } else {
                const QVariant value = control->property(property);
                QTest::keyClick(control, property[0] == 'c' ? Qt::Key_Down : Qt::Key_PageUp);
                QVERIFY2(control->property(property) != value, qPrintable(control->objectName()));
            }
            QCoreApplication::processEvents();
            QVERIFY2(snapshot(panel, control) == before, qPrintable(control->objectName()));
            ++acted;
        }
        QCOMPARE(acted, 45 + 94 + 3);  // buttons, sliders, combo boxes
        QCOMPARE(QApplication::topLevelWidgets(), windows);
    }

    // Connect with "demo" in the launcher's window opens the panel, once, as a
    // window of its own centred over the launcher; the launcher's page area
    // stays dark meanwhile, and closing the panel brings the search page back.
    void connectDemo()
    {
        BaseWindow launcher(nullptr, consoleContent());
        launcher.show();
        QVERIFY(QTest::qWaitForWindowExposed(&launcher));
        launcher.move(130, 90);
        QTRY_COMPARE(launcher.windowHandle()->position(), QPoint(130, 90));
        auto *address = launcher.findChild<QLineEdit *>("lineEdit_ip");
        auto *content = launcher.findChild<Widget *>();
        QTest::keyClicks(address, "demo");
        demo *first = nullptr;
        for (int press = 0; press < 2; ++press) {
            QTest::mouseClick(launcher.findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
            QList<demo *> panels;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *panel = qobject_cast<demo *>(w))
                    panels << panel;
            QCOMPARE(panels.size(), 1);
            demo *panel = panels.first();
            QCOMPARE(panel, first ? first : (first = panel));
            QVERIFY(panel->isVisible() && !(panel->windowFlags() & Qt::FramelessWindowHint));
            QCOMPARE(panel->windowTitle(), QStringLiteral("Model Series"));
            QVERIFY((panel->frameGeometry().center() - launcher.frameGeometry().center())
                        .manhattanLength() <= 4);
            QVERIFY(!content->isVisible());
            const QImage picture = launcher.grab().toImage();
            QWidget *pages = content->parentWidget();
            QCOMPARE(picture.pixelColor(pages->mapTo(&launcher, pages->rect().center())),
                     QColor(50, 50, 50));

            QVERIFY(panel->close());
            QWidget *page = content->findChild<QStackedWidget *>()->currentWidget();
            QCOMPARE(page->objectName(), QStringLiteral("page_search"));
            QVERIFY(page->isVisible());
            QCOMPARE(address->text(), QStringLiteral("demo"));
        }
    }
};

LAUNCHER_TEST_MAIN(TestDemo)
#include "tst_demo.moc"
