#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QStringList>

#include "demo/democaptions.h"

class QBoxLayout;
class QComboBox;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace Ui {

// The form of the demo panel: a frame with a horizontal gradient holding the
// four tabs ("Mixer", "Channel", "Input", "Gate") above a bank of nine fader
// strips. Repeated controls are built in loops and kept in lists.
class demo
{
public:
    QGridLayout *gridLayout = nullptr;
    QFrame *frame = nullptr;
    QVBoxLayout *frameLayout = nullptr;
    QTabWidget *tabWidget = nullptr;
    QWidget *Mixer = nullptr;
    QWidget *Channel = nullptr;
    QWidget *Input = nullptr;
    QWidget *Gate = nullptr;
    QComboBox *comboBox = nullptr;
    QComboBox *comboBox_2 = nullptr;
    QComboBox *comboBox_3 = nullptr;
    QWidget *bank = nullptr;
    // Fader bank, strip i at index i: ch_select_i, btnSolo_(18 + i),
    // sld_(21 + i) and level_i.
    QList<QPushButton *> channelSelects;
    QList<QPushButton *> soloButtons;
    QList<QSlider *> faders;
    QList<QProgressBar *> levels;

    void setupUi(QWidget *form);
    void retranslateUi(QWidget *form);

private:
    void setupTabs();
    void setupMixerPage();
    void setupChannelPage();
    void setupInputPage();
    void setupGatePage();
    void setupBank();

    // Building blocks shared by the pages.
    QHBoxLayout *pageRow(QWidget *page);
    QVBoxLayout *section(QHBoxLayout *row, int stretch = 1);
    QLabel *label(const QByteArray &text, int pointSize = 10);
    QPushButton *button(const QString &name, const QByteArray &text);
    QComboBox *combo(const QString &name, const QByteArrayList &items);
    void addSwitch(QBoxLayout *layout, const QString &name, const QByteArray &buttonText,
                   const QByteArray &caption);
    void addButtonRow(QBoxLayout *layout, const QString &prefix, int first,
                      const QByteArrayList &texts);
    void addFaderWithMeters(QBoxLayout *layout, const QString &slider, const QStringList &meters);

    DemoCaptions captions;
    int labelCount = 0;
    int sectionCount = 0;
};

}  // namespace Ui
