#pragma once

#include <QStackedWidget>
#include <QVariant>

class QPropertyAnimation;

// A stacked widget that changes pages with a 500 ms horizontal slide: the old
// page leaves to the left while the new one comes in from the right. During
// the slide the stack paints pictures of both pages itself.
class AnimatedStackedWidget : public QStackedWidget
{
    Q_OBJECT
public:
    explicit AnimatedStackedWidget(QWidget *parent = nullptr);

public slots:
    void valueChanged_slot(QVariant value);
    void animationFinished();
    void setCurrentWidgetAnimated(QWidget *w);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap renderPage(QWidget *page) const;

    QPropertyAnimation *animation;
    int duration = 500;
    bool animating = false;
    QVariant currentValue;
    int targetIndex = -1;
    QWidget *target = nullptr;
};
