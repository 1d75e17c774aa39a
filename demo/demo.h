#pragma once

#include <QList>
#include <QWidget>

class QProgressBar;
class QPushButton;

namespace Ui {
class demo;
}

// A static mock-up of a mixer's control surface, shown for the address "demo".
// It talks to no device: its controls change nothing but their own look, and
// the nine meters of the fader bank jump to random levels while it is visible.
class demo : public QWidget
{
    Q_OBJECT
public:
    explicit demo(QWidget *parent = nullptr);
    ~demo() override;

signals:
    // The user closed the panel's window (it is only hidden, not deleted).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private slots:
    void btnClicked();

private:
    void stopMeterTimer();

    Ui::demo *ui;
    // ch_select_0 to ch_select_8, in that order.
    QList<QPushButton *> channelButtons;
    // level_0 to level_8, the meters of the fader bank, in that order.
    QList<QProgressBar *> meters;
    // The running meter timer, -1 while none runs.
    int meterTimerId = -1;
};
