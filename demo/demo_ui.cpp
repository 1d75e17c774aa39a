#include "demo/demo_ui.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "chrome/palette.h"
#include "demo/democontrols.h"

using namespace DemoControls;

namespace Ui {

namespace {

const char *const pageNames[] = {"Mixer", "Channel", "Input", "Gate"};

// Designer numbering: the first of a family carries no suffix.
QString indexedName(const QString &prefix, int index)
{
    return index == 1 ? prefix : prefix + QLatin1Char('_') + QString::number(index);
}

QByteArray twoDigits(int number)
{
    return QByteArray::number(number).rightJustified(2, '0');
}

}  // namespace

void demo::setupUi(QWidget *form)
{
    if (form->objectName().isEmpty())
        form->setObjectName("demo");
    form->resize(1024, 600);
    form->setMinimumWidth(600);

    gridLayout = new QGridLayout(form);
    gridLayout->setObjectName("gridLayout");
    gridLayout->setContentsMargins(0, 0, 0, 0);

    frame = new QFrame(form);
    frame->setObjectName("frame");
    frame->setStyleSheet(QStringLiteral(
        "QFrame#frame{background-color:qlineargradient(spread:pad, x1:0, y1:0, x2:1, y2:0, "
        "stop:0 rgb(116, 129, 135), stop:1 rgba(0, 0, 0, 15));}"));
    gridLayout->addWidget(frame, 0, 0);
    frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(8, 8, 8, 8);
    frameLayout->setSpacing(8);

    setupTabs();
    setupBank();
    frameLayout->addWidget(tabWidget, 3);
    frameLayout->addWidget(bank, 2);

    retranslateUi(form);
    tabWidget->setCurrentIndex(0);
    QMetaObject::connectSlotsByName(form);
}

void demo::retranslateUi(QWidget *form)
{
    form->setWindowTitle(QCoreApplication::translate("demo", "Form"));
    for (int i = 0; i < tabWidget->count(); ++i)
        tabWidget->setTabText(i, QCoreApplication::translate("demo", pageNames[i]));
    captions.apply();
}

void demo::setupTabs()
{
    tabWidget = new QTabWidget(frame);
    tabWidget->setObjectName("tabWidget");
    tabWidget->setStyleSheet(
        QStringLiteral("QTabWidget::pane{border:1px solid %1;border-radius:4px;}"
                       "QTabBar{font:bold 12pt;}"
                       "QTabBar::tab{width:80px;height:40px;background-color:%1;"
                       "color:rgb(150, 150, 150);border:1px solid %1;}"
                       "QTabBar::tab:selected{border:1px solid white;color:white;}")
            .arg(Palette::demoFace));

    QWidget **pages[] = {&Mixer, &Channel, &Input, &Gate};
    for (int i = 0; i < 4; ++i) {
        *pages[i] = new QWidget();
        (*pages[i])->setObjectName(pageNames[i]);
        tabWidget->addTab(*pages[i], QString());
    }
    setupMixerPage();
    setupChannelPage();
    setupInputPage();
    setupGatePage();
}

void demo::setupMixerPage()
{
    auto *grid = new QGridLayout();
    section(pageRow(Mixer))->addLayout(grid);
    grid->setHorizontalSpacing(12);
    for (int column = 0; column < 8; ++column)
        grid->addWidget(label("ch " + QByteArray::number(column)), 0, column + 1, Qt::AlignHCenter);

    // One column per channel, four sends of each kind in it.
    const struct
    {
        const char *prefix;
        const char *caption;
    } families[] = {{"ch0_axSend_", "Aux Send"}, {"ch0_fxSend_", "Fx Send"}};
    int gridRow = 1;
    for (const auto &family : families) {
        for (int send = 0; send < 4; ++send, ++gridRow) {
            grid->addWidget(label(family.caption + QByteArray::number(send + 1)), gridRow, 0);
            for (int column = 0; column < 8; ++column) {
                const QString name = family.prefix + QString::number(column * 4 + send);
                grid->addWidget(makeSlider(name, Qt::Horizontal, 100, 0), gridRow, column + 1);
            }
            grid->setRowStretch(gridRow, 1);
        }
    }
}

void demo::setupChannelPage()
{
    QHBoxLayout *row = pageRow(Channel);

    QVBoxLayout *input = section(row);
    input->addWidget(label("01", 18));
    input->addWidget(label("Channel Input"));
    addSwitch(input, "btnUsb", "USB", "Retrurn");
    addFaderWithMeters(input, "sld_18", {"level_18", "level_19"});

    QVBoxLayout *config = section(row, 2);
    addSwitch(config, "btnPhantom", "+48V", "Phantom");
    addSwitch(config, "btnPhantom_2", "Ø", "Polarity");
    addSwitch(config, "btnPhantom_3", "L", "StereoLink");
    addButtonRow(config, "btnPhantom", 4, {"Noise Gate"});
    addButtonRow(config, "btnPhantom", 5, {"Equalizer"});
    addButtonRow(config, "btnPhantom", 6, {"Compressor"});
    config->addStretch();

    QVBoxLayout *sends = section(row, 2);
    sends->addWidget(label("Aux Bus Send"));
    for (int i = 32; i < 40; ++i)
        sends->addWidget(makeSlider("ch0_axSend_" + QString::number(i), Qt::Horizontal, 100, 0));
    sends->addStretch();

    QVBoxLayout *effects = section(row);
    effects->addWidget(label("Effect Sends"));
    addFaderWithMeters(effects, "sld_20", {});

    QVBoxLayout *mainOut = section(row);
    mainOut->addWidget(label("Main Out"));
    addButtonRow(mainOut, "btnPhantom", 7, {"LR"});
    mainOut->addWidget(label("Main Stereo"));
    addFaderWithMeters(mainOut, "sld_19", {"level_21", "level_22"});

    QVBoxLayout *groups = section(row, 2);
    groups->addWidget(label("Auto Mix"));
    addButtonRow(groups, "btnPhantom", 8, {"X", "Y"});
    groups->addWidget(label("DCA Groups"));
    addButtonRow(groups, "btnPhantom", 10, {"1", "2", "3", "4"});
    groups->addWidget(label("Mute Groups"));
    addButtonRow(groups, "btnUsb", 2, {"1", "2", "3", "4"});
    groups->addStretch();
}

void demo::setupInputPage()
{
    QHBoxLayout *row = pageRow(Input);

    QVBoxLayout *source = section(row);
    source->addWidget(label("01", 18));
    source->addWidget(label("Channel Source"));
    addButtonRow(source, "btnSolo", 27, {"A/D", "USB"});
    source->addStretch();

    QByteArrayList inputs;
    for (int i = 1; i <= 8; ++i)
        inputs << "INP " + twoDigits(i);
    QVBoxLayout *analog = section(row);
    analog->addWidget(label("Mic/Line"));
    analog->addWidget(label("Analog Input"));
    inputs << "OFF";
    comboBox = combo("comboBox", inputs);
    analog->addWidget(comboBox);
    analog->addWidget(label("Mic Gain"));
    addFaderWithMeters(analog, "sld_30", {"level_31"});

    QVBoxLayout *switches = section(row);
    addSwitch(switches, "btnSolo_29", "48V", "Phantom");
    addSwitch(switches, "btnSolo_30", "Ø", "Polarity");
    addSwitch(switches, "btnSolo_31", "L", "Stereo Link");
    switches->addStretch();

    QByteArrayList returns;
    for (int i = 1; i <= 8; ++i)
        returns << "USB " + twoDigits(i);
    QVBoxLayout *usb = section(row);
    usb->addWidget(label("USB Return"));
    comboBox_2 = combo("comboBox_2", returns);
    usb->addWidget(comboBox_2);
    usb->addWidget(label("USB Trim"));
    addFaderWithMeters(usb, "sld_31", {"level_32"});

    QVBoxLayout *insert = section(row);
    insert->addWidget(label("Channel insert"));
    comboBox_3 = combo("comboBox_3", {"OFF", "FX1", "FX2", "FX3", "FX4"});
    insert->addWidget(comboBox_3);
    addFaderWithMeters(insert, "sld_32", {});
}

void demo::setupGatePage()
{
    QHBoxLayout *row = pageRow(Gate);

    QVBoxLayout *presets = section(row);
    presets->addWidget(label("01", 18));
    addButtonRow(presets, "btnUsb", 6, {"Noise Gate"});
    presets->addWidget(label("Presets"));
    const QByteArrayList kinds{"Kick", "Snare", "Vocal"};
    for (int i = 0; i < kinds.size(); ++i)
        addButtonRow(presets, "btnUsb", 7 + i, {kinds.at(i)});
    presets->addStretch();

    // One column per gate parameter: the slider above its name.
    const char *const parameters[] = {"Threshold", "Range", "Attack",   "Hold",
                                      "Release",   "Type",  "Frequency"};
    auto *grid = new QGridLayout();
    section(row, 4)->addLayout(grid);
    for (int i = 0; i < 7; ++i) {
        QSlider *slider = makeSlider("sld_" + QString::number(33 + i), Qt::Vertical, 100, 50);
        grid->addWidget(slider, 0, i, Qt::AlignHCenter);
        grid->addWidget(label(parameters[i]), 1, i, Qt::AlignHCenter);
    }
    grid->setRowStretch(0, 1);

    auto *meters = new QHBoxLayout();
    section(row)->addLayout(meters);
    for (int i = 33; i <= 35; ++i)
        meters->addWidget(makeMeter("level_" + QString::number(i), 0));
}

void demo::setupBank()
{
    bank = new QWidget(frame);
    bank->setObjectName("bank");
    auto *row = new QHBoxLayout(bank);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    for (int i = 0; i < 9; ++i) {
        QVBoxLayout *strip = section(row);
        channelSelects << button("ch_select_" + QString::number(i),
                                 i < 8 ? twoDigits(i + 1) : "LR");
        soloButtons << button("btnSolo_" + QString::number(18 + i), "Solo");
        faders << makeFader("sld_" + QString::number(21 + i));
        levels << makeMeter("level_" + QString::number(i), i == 8 ? 24 : 0);
        strip->addWidget(channelSelects.last());
        strip->addWidget(soloButtons.last());
        auto *faderRow = new QHBoxLayout();
        strip->addLayout(faderRow, 1);
        faderRow->addWidget(faders.last());
        faderRow->addWidget(levels.last());
    }
}

QHBoxLayout *demo::pageRow(QWidget *page)
{
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(8);
    return row;
}

QVBoxLayout *demo::section(QHBoxLayout *row, int stretch)
{
    QFrame *frameOfSection = makeSection("frame_" + QString::number(2 + sectionCount++));
    row->addWidget(frameOfSection, stretch);
    auto *layout = new QVBoxLayout(frameOfSection);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    return layout;
}

QLabel *demo::label(const QByteArray &text, int pointSize)
{
    QLabel *created = makeLabel(indexedName(QStringLiteral("label"), ++labelCount), pointSize);
    captions.add(created, text);
    return created;
}

QPushButton *demo::button(const QString &name, const QByteArray &text)
{
    QPushButton *created = makeButton(name);
    captions.add(created, text);
    return created;
}

QComboBox *demo::combo(const QString &name, const QByteArrayList &items)
{
    auto *created = new QComboBox();
    created->setObjectName(name);
    created->setStyleSheet(Palette::demoControl(QLatin1String("QComboBox")) +
                           QStringLiteral("QComboBox QAbstractItemView{color:white;"
                                          "background-color:%1;selection-background-color:%2;"
                                          "selection-color:%1;}")
                               .arg(Palette::demoFace, Palette::demoLevel));
    captions.add(created, items);
    return created;
}

void demo::addSwitch(QBoxLayout *layout, const QString &name, const QByteArray &buttonText,
                     const QByteArray &caption)
{
    auto *line = new QHBoxLayout();
    layout->addLayout(line);
    QPushButton *created = button(name, buttonText);
    created->setFixedWidth(56);
    line->addWidget(created);
    line->addWidget(label(caption), 1);
}

void demo::addButtonRow(QBoxLayout *layout, const QString &prefix, int first,
                        const QByteArrayList &texts)
{
    auto *line = new QHBoxLayout();
    layout->addLayout(line);
    for (int i = 0; i < texts.size(); ++i)
        line->addWidget(button(indexedName(prefix, first + i), texts.at(i)));
}

void demo::addFaderWithMeters(QBoxLayout *layout, const QString &slider, const QStringList &meters)
{
    auto *line = new QHBoxLayout();
    layout->addLayout(line, 1);
    line->addWidget(makeSlider(slider, Qt::Vertical, 100, 50));
    for (const QString &meter : meters)
        line->addWidget(makeMeter(meter, 0));
}

}  // namespace Ui
