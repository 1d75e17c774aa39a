#include "chrome/animatedstackedwidget.h"

#include <QPainter>
#include <QPixmap>
#include <QPropertyAnimation>

namespace {

constexpr char picturedOnceProperty[] = "picturedOncePerSlide";

}  // namespace

AnimatedStackedWidget::AnimatedStackedWidget(QWidget *parent)
    : QStackedWidget(parent), animation(new QPropertyAnimation(this, QByteArray(), nullptr))
{
    // No property: the animation only delivers the shrinking width of the
    // strip that still shows the old page.
    animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(animation, SIGNAL(valueChanged(QVariant)), this, SLOT(valueChanged_slot(QVariant)));
    connect(animation, SIGNAL(finished()), this, SLOT(animationFinished()));
    slideEnd.setSingleShot(true);
    slideEnd.setTimerType(Qt::PreciseTimer);
    connect(&slideEnd, &QTimer::timeout, this, [this] {
        // At its end value the animation stops and reports that it finished.
        if (animation->state() == QAbstractAnimation::Running)
            animation->setCurrentTime(animation->duration());
    });
}

AnimatedStackedWidget::~AnimatedStackedWidget()
{
    // Not a child (it must not show up among the stack's children): released here.
    delete animation;
}

void AnimatedStackedWidget::valueChanged_slot(QVariant value)
{
    currentValue = value;
    update();
}

void AnimatedStackedWidget::animationFinished()
{
    animating = false;
    slideEnd.stop();
    endSlidePictures();
    if (!target || indexOf(target) == -1)
        return;
    setCurrentWidget(target);
    if (!target->isVisible())
        target->setVisible(true);
}

void AnimatedStackedWidget::setCurrentWidgetAnimated(QWidget *w)
{
    target = w;
    targetIndex = indexOf(w);
    if (targetIndex == currentIndex() || animating)
        return;

    animating = true;
    endSlidePictures();
    if (QWidget *current = currentWidget())
        current->hide();
    animation->setStartValue(QVariant(geometry().width()));
    animation->setEndValue(QVariant(0));
    animation->setDuration(duration);
    animation->start(QAbstractAnimation::KeepWhenStopped);
    slideEnd.start(duration);
}

QPixmap AnimatedStackedWidget::renderPage(QWidget *page, qreal ratio)
{
    // One pixel of the picture per device pixel, so that a scaled screen gets
    // the page as sharp as the page itself is drawn.
    QPixmap pixmap(page->size() * ratio);
    if (pixmap.isNull())
        return pixmap;
    pixmap.setDevicePixelRatio(ratio);
    page->render(&pixmap, QPoint(0, 0), QRegion(),
                 QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return pixmap;
}

void AnimatedStackedWidget::setPicturedOncePerSlide(QWidget *page, bool once)
{
    page->setProperty(picturedOnceProperty, once);
}

QPixmap AnimatedStackedWidget::slidePicture(QWidget *page)
{
    // Both pages are hidden while the slide runs. Most can still change then
    // (a table that fills, a failure message) and are cheap to draw, so they
    // are drawn for every frame; a page marked as still is pictured once.
    const qreal ratio = devicePixelRatioF();
    if (!page->property(picturedOnceProperty).toBool())
        return renderPage(page, ratio);
    for (const SlidePicture &taken : std::as_const(pictures)) {
        if (taken.page == page && taken.size == page->size() &&
            taken.picture.devicePixelRatio() == ratio)
            return taken.picture;
    }
    const QPixmap picture = renderPage(page, ratio);
    pictures.append(SlidePicture{page, page->size(), picture});
    return picture;
}

void AnimatedStackedWidget::endSlidePictures()
{
    pictures.clear();
}

void AnimatedStackedWidget::paintEvent(QPaintEvent *event)
{
    if (!animating) {
        QFrame::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const double v = currentValue.toDouble();
    // Source rectangles count the pictures' own (device) pixels.
    const double ratio = devicePixelRatioF();

    // The right-hand v pixels of the old page at the left edge ...
    if (QWidget *oldPage = currentWidget()) {
        const QPixmap oldPicture = slidePicture(oldPage);
        const double w = oldPage->geometry().width();
        const double h = oldPage->geometry().height();
        painter.drawPixmap(QRectF(0, 0, v, h), oldPicture,
                           QRectF((w - v) * ratio, 0, v * ratio, h * ratio));
    }
    // ... and the left-hand part of the new page beside them.
    if (QWidget *newPage = widget(targetIndex)) {
        const double W = geometry().width();
        const double H = geometry().height();
        newPage->resize(geometry().size());
        const QPixmap newPicture = slidePicture(newPage);
        painter.drawPixmap(QRectF(v, 0, W - v, H), newPicture,
                           QRectF(0, 0, (W - v) * ratio, H * ratio));
    }
    painter.end();
}
