#pragma once

#include <QWidget>
#include <memory>

class ProportionalScaler;
class QTimer;

namespace Ui {
class loading;
}

// The page shown while a mixer's console loads: the customization folder's
// picture and an animated "Loading" line that turns into a red failure
// message when the load fails.
class loading : public QWidget
{
    Q_OBJECT
public:
    explicit loading(QWidget *parent = nullptr);
    ~loading() override;

    void showLoadFailed();
    // Back to the page of a load that has just begun: the white "Loading..."
    // line whose dots run while the page is shown, whatever an earlier load
    // left on it.
    void restart();

public slots:
    void timerOut();
    void timerOutResize();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void loadPicture();
    void setUpScaler();

    Ui::loading *ui;
    QTimer *resizeTimer;
    QTimer *dotTimer;
    std::unique_ptr<ProportionalScaler> scaler;
    bool loadFailed = false;

    // One dot count for the whole process: every loading page, every showing.
    static quint16 dotCounter;
};
