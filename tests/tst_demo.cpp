#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <memory>

#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "console/widget.h"
#include "demo/demo.h"
#include "support/testmain.h"

namespace {

QStringList names(const QString &prefix, int first, int last)
{
    QStringList list;
    for (int i = first; i <= last; ++i)
        list << prefix + QString::number(i);
    return list;
}

const QStringList bankMeters = names("level_", 0, 8);
const QStringList allMeters =
    bankMeters + names("level_", 18, 19) + names("level_", 21, 22) + names("level_", 31, 35);
const QStringList allButtons = names("ch_select_", 0, 8) + names("btnSolo_", 18, 31) +
                               QStringList{"btnUsb", "btnPhantom"} + names("btnUsb_", 2, 9) +
                               names("btnPhantom_", 2, 13);
const QStringList faders = names("sld_", 21, 29);
const QStringList sends = names("ch0_axSend_", 0, 39) + names("ch0_fxSend_", 0, 31);
const QStringList otherSliders = names("sld_", 18, 20) + names("sld_", 30, 39);

QList<demo *> topLevelPanels()
{
    QList<demo *> panels;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *panel = qobject_cast<demo *>(w))
            panels << panel;
    return panels;
}

// What a user could see of every widget but one control and the bank meters.
QStringList snapshot(QWidget *root, const QString &except)
{
    QStringList state;
    for (QWidget *w : root->findChildren<QWidget *>())
        if (w->objectName() != except && !bankMeters.contains(w->objectName()))
            for (const char *p : {"text", "value", "checked", "down", "currentIndex", "visible"})
                state << w->property(p).toString();
    return state;
}

// A property of a control. On the panel itself a class name counts the
// children of that class; "items" and "tabs" list a combo box's entries and a
// tab widget's tab texts with page names.
QVariant read(QWidget *w, const QByteArray &property)
{
    if (property.startsWith('Q')) {
        const auto all = w->findChildren<QWidget *>();
        return int(std::count_if(all.begin(), all.end(),
                                 [&](QWidget *c) { return c->inherits(property); }));
    }
    QStringList list;
    if (auto *c = qobject_cast<QComboBox *>(w); c && property == "items")
        for (int i = 0; i < c->count(); ++i)
            list << c->itemText(i);
    else if (auto *t = qobject_cast<QTabWidget *>(w); t && property == "tabs")
        for (int i = 0; i < t->count(); ++i)
            list << t->tabText(i) + '/' + t->widget(i)->objectName();
    else
        return w->property(property);
    return list.join(',');
}

// Logs, in arrival order, the timer events that reach a panel (tick, timer
// id) and the value changes of its meters (index in allMeters, value).
struct MeterWatch : QObject
{
    struct Entry
    {
        bool tick;
        int id;
        int value;
    };
    explicit MeterWatch(demo *panel)
    {
        panel->installEventFilter(this);
        for (int i = 0; i < allMeters.size(); ++i)
            connect(panel->findChild<QProgressBar *>(allMeters[i]), &QProgressBar::valueChanged,
                    this, [this, i](int value) {
                        log << Entry{false, i, value};
                    });
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            log << Entry{true, static_cast<QTimerEvent *>(event)->timerId(), 0};
        return false;
    }
    QList<int> ids(bool ticks) const
    {
        QList<int> list;
        for (const Entry &e : log)
            if (e.tick == ticks)
                list << e.id;
        return list;
    }
    QList<Entry> log;
};

}  // namespace

class TestDemo : public QObject
{
    Q_OBJECT
    // One panel for all rows of a table: the inventory reads an untouched
    // one, the action rows each compare only their own before and after.
    std::unique_ptr<demo> untouched, touched;

    static demo *panel(std::unique_ptr<demo> &p)
    {
        if (!p)
            p = std::make_unique<demo>();
        return p.get();
    }

private slots:
    // Every listed control by name, with its range, value, ticks, format or
    // items; "demo" rows count the controls of a class.
    void inventory_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("expected");
        const auto rows = [](const QStringList &controls, const QVariantMap &properties) {
            for (const QString &c : controls)
                for (auto p = properties.begin(); p != properties.end(); ++p)
                    QTest::addRow("%s %s", qPrintable(c), qPrintable(p.key()))
                        << c << p.key().toLatin1() << *p;
        };
        rows({"demo"}, {{"QSlider", 94},
                        {"QProgressBar", 18},
                        {"QPushButton", 45},
                        {"QLabel", 49},
                        {"QComboBox", 3}});
        rows({"tabWidget"},
             {{"tabs", "Mixer/Mixer,Channel/Channel,Input/Input,Gate/Gate"}, {"currentIndex", 0}});
        rows(faders, {{"minimum", 0},
                      {"maximum", 1000},
                      {"value", 500},
                      {"tickPosition", QVariant::fromValue(QSlider::TicksRight)},
                      {"tickInterval", 50}});
        rows(sends, {{"minimum", 0}, {"maximum", 100}, {"value", 0}});
        rows(otherSliders, {{"minimum", 0}, {"maximum", 100}, {"value", 50}});
        rows(allMeters, {{"minimum", 0}, {"maximum", 100}, {"format", "%p"}});
        rows(QStringList(allMeters.mid(0, 8)) + allMeters.mid(9), {{"value", 0}});
        rows({"level_8"}, {{"value", 24}, {"text", "24"}});
        for (int i = 0; i < 9; ++i)
            rows({"ch_select_" + QString::number(i)},
                 {{"text", i < 8 ? "0" + QString::number(i + 1) : "LR"}});
        rows({"comboBox"},
             {{"items", (names("INP 0", 1, 8) << "OFF").join(',')}, {"currentIndex", 0}});
        rows({"comboBox_2"}, {{"items", names("USB 0", 1, 8).join(',')}, {"currentIndex", 0}});
        rows({"comboBox_3"},
             {{"items", "OFF," + names("FX", 1, 4).join(',')}, {"currentIndex", 0}});
    }
    void inventory()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, property);
        demo *untouchedPanel = panel(untouched);
        QWidget *control =
            name == "demo" ? untouchedPanel : untouchedPanel->findChild<QWidget *>(name);
        QVERIFY(control);
        QTEST(read(control, property), "expected");
    }

    // Writes the picture to $DEMO_SCREENSHOT when that is set.
    void look()
    {
        demo panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
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
        QTest::newRow("shown") << "S" << true;
        QTest::newRow("show event twice") << "SE" << true;
        QTest::newRow("hidden and shown again") << "SHS" << true;
        QTest::newRow("hidden") << "SH" << false;
        QTest::newRow("never shown") << "" << false;
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
        MeterWatch watch(&panel);
        QObject other;
        for (int foreignId : {-1, other.startTimer(100000)}) {
            QTimerEvent foreign(foreignId);
            QApplication::sendEvent(&panel, &foreign);
        }
        QVERIFY(watch.ids(false).isEmpty());
        watch.log.clear();

        // A 120 ms reference timer is the yardstick, not a sleep.
        int yardstick = 0;
        QTimer reference;
        connect(&reference, &QTimer::timeout, [&] { ++yardstick; });
        reference.start(120);
        QTRY_VERIFY_WITH_TIMEOUT(yardstick >= 8, 20000);
        QSet<int> meterTimers;
        for (const MeterWatch::Entry &e : watch.log)
            if (e.tick)
                meterTimers << e.id;
        QCOMPARE(meterTimers.size(), running ? 1 : 0);
        QVERIFY(watch.ids(true).size() <= yardstick * 3 / 2 + 2);
        // Each tick sets the nine bank meters, in order; the tab meters stay.
        int last = 9;
        QList<int> perMeter(9);
        for (const MeterWatch::Entry &e : watch.log) {
            QVERIFY2(e.tick || (e.id < 9 && e.id > last), "out of order or off the bank");
            QVERIFY(e.value >= 0 && e.value <= 99);
            last = e.tick ? -1 : e.id;
            if (!e.tick)
                ++perMeter[e.id];
        }
        QCOMPARE(*std::min_element(perMeter.begin(), perMeter.end()) >= 3, running);
        QSet<QString> texts;
        for (const QString &n : bankMeters)
            texts << panel.findChild<QProgressBar *>(n)->text();
        QVERIFY2(!running || texts.size() > 1, "nine meters show one value");
    }

    // A user's action on one control changes nothing outside it.
    void actionChangesOnlyItself_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &n : allButtons + sends + otherSliders + faders +
                                    names("comboBox_", 2, 3) + QStringList("comboBox"))
            QTest::newRow(qPrintable(n)) << n;
    }
    void actionChangesOnlyItself()
    {
        QFETCH(QString, name);
        demo *const panel = TestDemo::panel(touched);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel));
        auto *tabs = panel->findChild<QTabWidget *>("tabWidget");
        QWidget *control = panel->findChild<QWidget *>(name);
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(control))
                QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                                  tabs->tabBar()->tabRect(i).center());
        QTRY_VERIFY(control->isVisible());
        const QStringList before = snapshot(panel, name);
        const auto windows = QApplication::topLevelWidgets();
        if (auto *button = qobject_cast<QPushButton *>(control)) {
            QSignalSpy clicked(button, &QPushButton::clicked);
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(clicked.size(), 1);
        } else {
            const char *property = qobject_cast<QComboBox *>(control) ? "currentIndex" : "value";
            const QVariant value = control->property(property);
            QTest::keyClick(control, property[0] == 'c' ? Qt::Key_Down : Qt::Key_PageUp);
            QVERIFY(control->property(property) != value);
        }
        QCoreApplication::processEvents();
        QCOMPARE(snapshot(panel, name), before);
        QCOMPARE(QApplication::topLevelWidgets(), windows);
    }

    // Connect with "demo" in the launcher's window opens the panel, once, as a
    // window of its own centred over the launcher; the launcher's page area
    // stays dark meanwhile, and closing the panel brings the search page back.
    void connectDemo()
    {
        untouched.reset(), touched.reset();
        BaseWindow launcher(nullptr, consoleContent());
        launcher.show();
        QVERIFY(QTest::qWaitForWindowExposed(&launcher));
        launcher.move(130, 90);
        QTRY_COMPARE(launcher.windowHandle()->position(), QPoint(130, 90));
        auto *address = launcher.findChild<QLineEdit *>("lineEdit_ip");
        auto *content = launcher.findChild<Widget *>();
        QTest::keyClicks(address, "demo");
        QList<demo *> first;
        for (int press = 0; press < 2; ++press) {
            QTest::mouseClick(launcher.findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
            const QList<demo *> panels = topLevelPanels();
            QCOMPARE(panels.size(), 1);
            QCOMPARE(panels, first.isEmpty() ? (first = panels) : first);
            demo *panel = panels.first();
            QVERIFY(panel->isVisible() && !panel->parentWidget());
            QVERIFY(!(panel->windowFlags() & Qt::FramelessWindowHint));
            QCOMPARE(panel->windowTitle(), QStringLiteral("Model Series"));
            QVERIFY((panel->frameGeometry().center() - launcher.frameGeometry().center())
                        .manhattanLength() <= 4);
            QVERIFY(!content->isVisible());
            const QImage picture = launcher.grab().toImage();
            const QPoint pageArea =
                content->parentWidget()->mapTo(&launcher, content->parentWidget()->rect().center());
            QCOMPARE(picture.pixelColor(pageArea), QColor(50, 50, 50));

            QVERIFY(panel->close());
            QVERIFY(content->isVisible());
            QWidget *page = content->findChild<QStackedWidget *>("stackedWidget")->currentWidget();
            QCOMPARE(page->objectName(), QStringLiteral("page_search"));
            QVERIFY(page->isVisible());
            QCOMPARE(address->text(), QStringLiteral("demo"));
        }
    }
};

LAUNCHER_TEST_MAIN(TestDemo)
#include "tst_demo.moc"
