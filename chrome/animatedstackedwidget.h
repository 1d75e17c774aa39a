#pragma once

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QStackedWidget>
#include <QTimer>
#include <QVariant>

class QPropertyAnimation;

// A stacked widget that changes pages with a 500 ms horizontal slide: the old
// page leaves to the left while the new one comes in from the right. During
// the slide neither page is shown; the stack paints pictures of both itself.
// A request made during a slide only changes the page it ends on.
class AnimatedStackedWidget : public QStackedWidget
{
    Q_OBJECT
public:
    explicit AnimatedStackedWidget(QWidget *parent = nullptr);
    ~AnimatedStackedWidget() override;

    // A page that cannot change while hidden (a web view draws nothing new
    // then) and is costly to draw is pictured once per slide; every other
    // page is drawn afresh for each frame. The page's owner knows which.
    static void setPicturedOncePerSlide(QWidget *page, bool once = true);

public slots:
    void valueChanged_slot(QVariant value);
    void animationFinished();
    void setCurrentWidgetAnimated(QWidget *w);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // A picture of a page taken during the running slide.
    struct SlidePicture
    {
        QPointer<QWidget> page;
        QSize size;
        QPixmap picture;
    };

    static QPixmap renderPage(QWidget *page, qreal ratio);
    QPixmap slidePicture(QWidget *page);
    void endSlidePictures();

    QPropertyAnimation *animation;
    // Ends the slide by the wall clock: the animation's own clock starts only
    // once its first, costliest frame is drawn, and would end it that late.
    QTimer slideEnd;
    int duration = 500;
    bool animating = false;
    QVariant currentValue;
    int targetIndex = -1;
    // Guarded: a page deleted during a slide must not be touched at its end.
    QPointer<QWidget> target;
    QList<SlidePicture> pictures;
};
