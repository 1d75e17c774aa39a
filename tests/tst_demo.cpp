#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include <memory>

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

// Rows (vertical) or columns (horizontal) of an image that hold the colour.
QList<int> linesWith(const QImage &image, const QColor &colour, Qt::Orientation along)
{
    const bool rows = along == Qt::Vertical;
    QList<int> lines;
    for (int i = 0; i < (rows ? image.height() : image.width()); ++i)
        for (int j = 0; j < (rows ? image.width() : image.height()); ++j)
            if (image.pixelColor(rows ? j : i, rows ? i : j) == colour) {
                lines << i;
                break;
            }
    return lines;
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

// A property of a control; "items" and "tabs" list a combo box's entries and
// a tab widget's tab texts with page names.
QVariant read(QWidget *w, const QByteArray &property)
{
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
    // Timer ids of the ticks, or meter indexes of the changes.
    QList<int> ids(bool ticks) const
    {
        QList<int> list;
        for (const Entry &e : log)
            if (e.tick == ticks)
                list << e.id;
        return list;
    }
    int ticks() const { return int(ids(true).size()); }
    QSet<int> timerIds() const
    {
        const QList<int> list = ids(true);
        return QSet<int>(list.begin(), list.end());
    }
    QList<Entry> log;
};

// Counts the ticks of a 120 ms reference timer: a yardstick instead of a sleep.
struct Yardstick
{
    Yardstick()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { ++ticks; }), timer.start(120);
    }
    QTimer timer;
    int ticks = 0;
};

}  // namespace

class TestDemo : public QObject
{
    Q_OBJECT
private slots:
    void classCounts_data()
    {
        QTest::addColumn<QByteArray>("className");
        QTest::addColumn<int>("count");
        QTest::newRow("sliders") << QByteArray("QSlider") << 94;
        QTest::newRow("meters") << QByteArray("QProgressBar") << 18;
        QTest::newRow("push buttons") << QByteArray("QPushButton") << 45;
        QTest::newRow("labels") << QByteArray("QLabel") << 49;
        QTest::newRow("combo boxes") << QByteArray("QComboBox") << 3;
    }
    void classCounts()
    {
        QFETCH(QByteArray, className);
        demo panel;
        const auto all = panel.findChildren<QWidget *>();
        QTEST(int(std::count_if(all.begin(), all.end(),
                                [&](QWidget *w) { return w->inherits(className); })),
              "count");
    }

    // Every listed control by name, with its range, value, ticks, format or items.
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
        const QVariant vertical = QVariant::fromValue(Qt::Vertical);
        rows({"demo"},
             {{"windowTitle", "Form"}, {"size", QSize(1024, 600)}, {"minimumWidth", 600}});
        rows({"tabWidget"},
             {{"tabs", "Mixer/Mixer,Channel/Channel,Input/Input,Gate/Gate"}, {"currentIndex", 0}});
        rows(faders, {{"orientation", vertical},
                      {"minimum", 0},
                      {"maximum", 1000},
                      {"value", 500},
                      {"tickPosition", QVariant::fromValue(QSlider::TicksRight)},
                      {"tickInterval", 50}});
        rows(
            sends,
            {{"orientation", QVariant::fromValue(Qt::Horizontal)}, {"maximum", 100}, {"value", 0}});
        rows(otherSliders, {{"orientation", vertical}, {"maximum", 100}, {"value", 50}});
        rows(allMeters,
             {{"orientation", vertical}, {"minimum", 0}, {"maximum", 100}, {"format", "%p"}});
        QStringList quiet = allMeters;
        quiet.removeOne("level_8");
        rows(quiet, {{"value", 0}, {"text", "0"}});
        rows({"level_8"}, {{"value", 24}, {"text", "24"}});
        rows(allButtons, {{"checkable", false}});
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
        // Read only: one untouched panel serves every row.
        if (!untouched)
            untouched = std::make_unique<demo>();
        QWidget *control = name == "demo" ? untouched.get() : untouched->findChild<QWidget *>(name);
        QVERIFY(control);
        QTEST(read(control, property), "expected");
    }

    // Each area shows exactly the captions of its list, on labels and buttons.
    void areaTexts_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("texts");
        QTest::addColumn<int>("buttons");
        QTest::newRow("Mixer")
            << "Mixer"
            << (names("ch ", 0, 7) + names("Aux Send", 1, 4) + names("Fx Send", 1, 4)).join(',')
            << 0;
        QTest::newRow("Channel")
            << "Channel"
            << "01,Channel Input,Retrurn,USB,+48V,Phantom,Ø,Polarity,L,StereoLink,"
               "Noise Gate,Equalizer,Compressor,Aux Bus Send,Effect Sends,Main Out,LR,"
               "Main Stereo,Auto Mix,X,Y,DCA Groups,Mute Groups,1,2,3,4,1,2,3,4"
            << 18;
        QTest::newRow("Input")
            << "Input"
            << "01,48V,Phantom,Ø,Polarity,L,Stereo Link,Channel Source,Mic/Line,A/D,"
               "Analog Input,Mic Gain,USB,USB Return,USB Trim,Channel insert"
            << 5;
        QTest::newRow("Gate")
            << "Gate"
            << "01,Noise Gate,Presets,Kick,Snare,Vocal,Threshold,Range,Attack,Hold,"
               "Release,Type,Frequency"
            << 4;
        QTest::newRow("bank") << "bank"
                              << (names("0", 1, 8).join(',') + ",LR" + QString(",Solo").repeated(9))
                              << 18;
    }
    void areaTexts()
    {
        QFETCH(QString, area);
        QFETCH(QString, texts);
        demo panel;
        QWidget *tab = panel.findChild<QWidget *>(area);
        QVERIFY(tab);
        QStringList shown, expected = texts.split(',');
        for (QLabel *l : tab->findChildren<QLabel *>())
            shown << l->text();
        const auto buttons = tab->findChildren<QPushButton *>();
        for (QPushButton *b : buttons)
            shown << b->text();
        QTEST(int(buttons.size()), "buttons");
        shown.sort(), expected.sort();
        QCOMPARE(shown, expected);
        for (int i = 0; area == "bank" && i < 9; ++i)
            QCOMPARE(panel.findChild<QPushButton *>("ch_select_" + QString::number(i))->text(),
                     i < 8 ? QString("0%1").arg(i + 1) : QString("LR"));
    }

    // The cyan fills the part of a control that stands for its value.
    void colours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("empty");
        QTest::addColumn<double>("filled");
        QTest::newRow("fader at half") << "sld_25" << QColor(97, 97, 97) << 0.5;
        QTest::newRow("send at a quarter") << "ch0_fxSend_9" << QColor(97, 97, 97) << 0.25;
        QTest::newRow("meter at 24") << "level_8" << QColor(116, 116, 116) << 0.24;
    }
    void colours()
    {
        QFETCH(QString, name);
        QFETCH(double, filled);
        demo panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QWidget *control = panel.findChild<QWidget *>(name);
        if (auto *send = qobject_cast<QSlider *>(control);
            send && send->orientation() == Qt::Horizontal)
            send->setValue(25);
        const bool vertical = control->height() > control->width();
        const QImage image = control->grab().toImage();
        const QList<int> full =
            linesWith(image, QColor(69, 255, 247), vertical ? Qt::Vertical : Qt::Horizontal);
        QFETCH(QColor, empty);
        const QList<int> rest = linesWith(image, empty, vertical ? Qt::Vertical : Qt::Horizontal);
        QVERIFY(!full.isEmpty() && !rest.isEmpty());
        // Vertical controls fill from the bottom, horizontal ones from the left.
        QVERIFY(vertical ? rest.last() < full.first() : full.last() < rest.first());
        QVERIFY(qAbs(double(full.size()) / (full.size() + rest.size()) - filled) < 0.15);
    }

    // Also writes the picture to $DEMO_SCREENSHOT when that is set.
    void look()
    {
        demo panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const QImage image = panel.grab().toImage();
        if (qEnvironmentVariableIsSet("DEMO_SCREENSHOT"))
            QVERIFY(image.save(qEnvironmentVariable("DEMO_SCREENSHOT")));
        // Steel grey on the left, the window colour under a faint black on the right.
        const QColor left = image.pixelColor(1, 300),
                     right = image.pixelColor(image.width() - 2, 300);
        QVERIFY(qAbs(left.red() - 116) + qAbs(left.green() - 129) + qAbs(left.blue() - 135) <= 6);
        QVERIFY(qAbs(right.green() - panel.palette().color(QPalette::Window).green() * 240 / 255) <=
                4);
        // The selected tab is framed and written in white, the others in grey.
        QTabBar *bar = panel.findChild<QTabWidget *>("tabWidget")->tabBar();
        const QImage tabs = bar->grab().toImage();
        const auto lines = [&](int tab, QColor c) {
            return linesWith(tabs.copy(bar->tabRect(tab)), c, Qt::Vertical);
        };
        QVERIFY(lines(0, Qt::white).size() >= bar->tabRect(0).height() - 2);
        QVERIFY(lines(1, Qt::white).isEmpty() && !lines(1, QColor(150, 150, 150)).isEmpty());
    }

    void metersMoveWhileShown()
    {
        demo panel;
        MeterWatch watch(&panel);
        panel.show();
        Yardstick yardstick;
        QTRY_VERIFY_WITH_TIMEOUT(watch.ticks() >= 6, 20000);
        QVERIFY(watch.ticks() <= yardstick.ticks * 3 / 2 + 2);
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
        QVERIFY(*std::min_element(perMeter.begin(), perMeter.end()) >= 3);
        QSet<QString> texts;
        for (const QString &n : bankMeters)
            texts << panel.findChild<QProgressBar *>(n)->text();
        QVERIFY2(texts.size() > 1, "nine meters show one value");
    }

    // Steps: S show(), E a further show event, H hide(), C close().
    void oneTimerAtMost_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("running");
        QTest::newRow("shown") << "S" << true;
        QTest::newRow("show event twice") << "SE" << true;
        QTest::newRow("show event three times") << "SEE" << true;
        QTest::newRow("hidden and shown again") << "SHS" << true;
        QTest::newRow("shown twice after a hide") << "SHSE" << true;
        QTest::newRow("hidden") << "SH" << false;
        QTest::newRow("closed") << "SC" << false;
    }
    void oneTimerAtMost()
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
            else if (step == 'C')
                panel.close();
            else
                QApplication::sendEvent(&panel, &show);
        }
        QCOMPARE(panel.isVisible(), running);
        MeterWatch watch(&panel);
        Yardstick yardstick;
        QTRY_VERIFY_WITH_TIMEOUT(yardstick.ticks >= 6, 20000);
        QCOMPARE(watch.timerIds().size(), running ? 1 : 0);
        QVERIFY(watch.ticks() <= yardstick.ticks * 3 / 2 + 2);
        QCOMPARE(watch.ids(false).isEmpty(), !running);
    }

    // A timer event that is not the meter timer's moves nothing.
    void foreignTimerIgnored_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("noTimer");
        QTest::newRow("hidden, id -1") << false << true;
        QTest::newRow("hidden, another object's timer") << false << false;
        QTest::newRow("shown, another object's timer") << true << false;
    }
    void foreignTimerIgnored()
    {
        QFETCH(bool, shown);
        QFETCH(bool, noTimer);
        demo panel;
        panel.setVisible(shown);
        QObject other;
        QTimerEvent event(noTimer ? -1 : other.startTimer(100000));
        MeterWatch watch(&panel);
        QApplication::sendEvent(&panel, &event);
        QVERIFY(watch.ids(false).isEmpty());
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
        // One panel for all rows: each row compares only its own before and after.
        if (!sharedPanel)
            sharedPanel = std::make_unique<demo>();
        sharedPanel->show();
        QVERIFY(QTest::qWaitForWindowExposed(sharedPanel.get()));
        auto *tabs = sharedPanel->findChild<QTabWidget *>("tabWidget");
        QWidget *control = sharedPanel->findChild<QWidget *>(name);
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(control))
                QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                                  tabs->tabBar()->tabRect(i).center());
        QTRY_VERIFY(control->isVisible());
        const QStringList before = snapshot(sharedPanel.get(), name);
        const auto windows = QApplication::topLevelWidgets();
        if (auto *button = qobject_cast<QPushButton *>(control)) {
            QSignalSpy clicked(button, &QPushButton::clicked);
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(clicked.size(), 1);
        } else {
            const bool combo = qobject_cast<QComboBox *>(control);
            const char *property = combo ? "currentIndex" : "value";
            const QVariant value = control->property(property);
            QTest::keyClick(control, combo ? Qt::Key_Down : Qt::Key_PageUp);
            QVERIFY(control->property(property) != value);
        }
        QCoreApplication::processEvents();
        QCOMPARE(snapshot(sharedPanel.get(), name), before);
        QCOMPARE(QApplication::topLevelWidgets(), windows);
    }

    // Connect with exactly "demo" opens the panel as a window of its own, once.
    void connectDemo_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("opens");
        QTest::newRow("demo") << "demo" << true;
        QTest::newRow("Demo") << "Demo" << false;
        QTest::newRow("DEMO") << "DEMO" << false;
        QTest::newRow("leading blank") << " demo" << false;
        QTest::newRow("trailing blank") << "demo " << false;
    }
    void connectDemo()
    {
        QFETCH(QString, text);
        QFETCH(bool, opens);
        sharedPanel.reset(), untouched.reset();
        QCOMPARE(topLevelPanels().size(), 0);
        Widget launcher;
        launcher.show();
        QTest::keyClicks(launcher.findChild<QLineEdit *>("lineEdit_ip"), text);
        QTest::mouseClick(launcher.findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
        const QList<demo *> panels = topLevelPanels();
        QCOMPARE(panels.size(), opens ? 1 : 0);
        QCOMPARE(launcher.isVisible(), !opens);
        if (!opens) {
            QCOMPARE(launcher.findChild<QLabel *>("label_status_disp")->text(),
                     "Please enter a valid IP address!");
            return;
        }
        demo *panel = panels.first();
        QVERIFY(panel->isVisible() && panel->isWindow() && !panel->parentWidget());
        QVERIFY(!(panel->windowFlags() & Qt::FramelessWindowHint));
        MeterWatch watch(panel);
        QTRY_VERIFY_WITH_TIMEOUT(watch.ids(false).size() >= 9, 10000);
        // Nothing in the launcher shows itself again; force a second Connect.
        panel->close();
        launcher.show();
        QTest::mouseClick(launcher.findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
        QCOMPARE(topLevelPanels(), panels);
        QVERIFY(panel->isVisible() && !launcher.isVisible());
    }

private:
    std::unique_ptr<demo> untouched;
    std::unique_ptr<demo> sharedPanel;
};

LAUNCHER_TEST_MAIN(TestDemo)
#include "tst_demo.moc"
