#include "chrome/basewindow.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QWindow>
#include <algorithm>

#include "app/logcategories.h"
#include "chrome/customization.h"
#include "chrome/customwidget.h"
#include "chrome/palette.h"
#include "chrome/windowdrag.h"

namespace {

struct ZoneSpec
{
    int zone;
    const char *name;
    int row;
    int column;
    Qt::CursorShape cursor;
};

// In the order in which a point is tested against them.
constexpr ZoneSpec zoneSpecs[] = {
    {WindowDrag::TopLeft, "zoneTopLeft", 0, 0, Qt::SizeFDiagCursor},
    {WindowDrag::Top, "zoneTop", 0, 1, Qt::SizeVerCursor},
    {WindowDrag::TopRight, "zoneTopRight", 0, 2, Qt::SizeBDiagCursor},
    {WindowDrag::Left, "zoneLeft", 1, 0, Qt::SizeHorCursor},
    {WindowDrag::Right, "zoneRight", 1, 2, Qt::SizeHorCursor},
    {WindowDrag::BottomLeft, "zoneBottomLeft", 2, 0, Qt::SizeBDiagCursor},
    {WindowDrag::Bottom, "zoneBottom", 2, 1, Qt::SizeVerCursor},
    {WindowDrag::BottomRight, "zoneBottomRight", 2, 2, Qt::SizeFDiagCursor},
};

// The soft shadow drawn into the transparent margin around the frame.
const QColor shadowColour(0x55, 0x55, 0x55, 40);

// What a screen reader finds of the window: a window named by its title, and
// the frame with everything in it. The resize zones are handles for the
// pointer, not controls: they are left out.
class WindowAccessible : public QAccessibleWidget
{
public:
    explicit WindowAccessible(BaseWindow *window) : QAccessibleWidget(window, QAccessible::Window)
    {
    }
    int childCount() const override { return int(shownChildren().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList children = shownChildren();
        return index >= 0 && index < children.size()
                   ? QAccessible::queryAccessibleInterface(children.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(shownChildren().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }

private:
    QWidgetList shownChildren() const
    {
        const auto *window = static_cast<const BaseWindow *>(widget());
        QWidgetList children;
        for (QObject *object : window->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && !window->isResizeZone(child))
                children << child;
        }
        return children;
    }
};

QAccessibleInterface *windowAccessible(const QString &className, QObject *object)
{
    auto *window = qobject_cast<BaseWindow *>(object);
    return window && className == QLatin1String("BaseWindow") ? new WindowAccessible(window)
                                                              : nullptr;
}

}  // namespace

BaseWindow::BaseWindow(QWidget *parent, const customWidget::ContentFactory &makeContent)
    : QWidget(parent)
{
    static const bool accessibleInstalled = (QAccessible::installFactory(windowAccessible), true);
    Q_UNUSED(accessibleInstalled);
    // The maximise hint lets the desktop's own ways (Win+Up, the system menu)
    // maximise a window without a frame.
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_TranslucentBackground);

    m_outerLayout = new QGridLayout();
    m_outerLayout->setContentsMargins(m_margin, m_margin, m_margin, m_margin);
    m_outerLayout->setSpacing(0);
    setLayout(m_outerLayout);

    buildFrame(makeContent);
    buildZoneLabels();
    // Called what its title bar shows, in the task bar, window lists and
    // screen readers alike.
    const QString title = Customization::displayName();
    setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
    // And shown by the customization's icon, as its title bar shows it.
    setWindowIcon(QIcon(Customization::filePath(Customization::IconFile)));

    m_titleHeight = m_content->titleHeight();
    m_content->updateResizeIcon(false);
    // Placed once the layouts tell the smallest size the content can take.
    placeOnScreen();

    connect(m_content, &customWidget::closeClicked, this, &QWidget::close);
    connect(m_content, &customWidget::minimumClicked, this, &QWidget::showMinimized);
    connect(m_content, &customWidget::resizeClick, this, &BaseWindow::setShowMode);
}

void BaseWindow::placeOnScreen()
{
    // Centred on the free part of the primary screen, wherever that screen
    // lies among the others.
    const QSize size(1024, 630);
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        setGeometry(QRect(QPoint(), size));
        return;
    }
    setGeometry(
        WindowPlacement::initialGeometry(screen->availableGeometry(), size, minimumSizeHint()));
}

WindowPlacement::TitleBar BaseWindow::titleBar() const
{
    return WindowPlacement::TitleBar{m_margin + m_borderWidth, m_titleHeight};
}

void BaseWindow::buildFrame(const customWidget::ContentFactory &makeContent)
{
    m_BaseFrame = new QFrame();
    m_BaseFrame->setObjectName("m_BaseFrame");
    m_BaseFrame->setStyleSheet(QStringLiteral("QFrame#m_BaseFrame{ border:") + m_borderText +
                               QStringLiteral("}"));
    m_borderWidth = m_borderText.left(m_borderText.indexOf(QLatin1String("px"))).toInt();
    m_outerLayout->addWidget(m_BaseFrame, 0, 0, 3, 3);

    m_innerLayout = new QGridLayout(m_BaseFrame);
    m_innerLayout->setContentsMargins(0, 0, 0, 0);
    m_innerLayout->setSpacing(0);

    m_content = new customWidget(nullptr, makeContent);
    m_content->setObjectName("MainWidget");
    m_content->setStyleSheet(
        QStringLiteral("QWidget#MainWidget{background:%1;}").arg(Palette::windowGrey));
    // Without this a QWidget subclass ignores its own style sheet background.
    m_content->setAttribute(Qt::WA_StyledBackground);
    m_innerLayout->addWidget(m_content, 0, 0);
    m_content->setAttribute(Qt::WA_DeleteOnClose);
}

void BaseWindow::buildZoneLabels()
{
    // Added after the frame, so they lie above its outermost pixels.
    for (std::size_t i = 0; i < std::size(zoneSpecs); ++i) {
        const ZoneSpec &spec = zoneSpecs[i];
        auto *label = new QLabel();
        label->setObjectName(spec.name);
        const bool corner = spec.row != 1 && spec.column != 1;
        if (corner)
            label->setFixedSize(m_edge, m_edge);
        else if (spec.row == 1)
            label->setFixedWidth(m_edge);
        else
            label->setFixedHeight(m_edge);
        label->setCursor(spec.cursor);
        m_outerLayout->addWidget(label, spec.row, spec.column);
        m_zones[i] = ZoneLabel{label, spec.zone};
    }
}

bool BaseWindow::isResizeZone(const QWidget *widget) const
{
    return std::any_of(m_zones.begin(), m_zones.end(),
                       [widget](const ZoneLabel &zone) { return zone.label == widget; });
}

int BaseWindow::hitTest(const QPoint &p) const
{
    // Hidden zone labels (while maximised) keep their last geometry, which
    // then lies over the title bar and the page: only shown ones count.
    for (const ZoneLabel &zone : m_zones) {
        if (!zone.label->isHidden() && zone.label->geometry().contains(p))
            return zone.zone;
    }
    // Maximised, there is no margin: the band starts at the screen's edge,
    // where a pointer thrown at it lands.
    if (m_maximized)
        return p.y() < m_titleHeight ? WindowDrag::TitleBand : WindowDrag::NoZone;
    if (p.y() <= m_margin + m_borderWidth)
        return WindowDrag::NoZone;
    if (p.y() <= m_titleHeight + m_margin + m_borderWidth)
        return WindowDrag::TitleBand;
    return WindowDrag::NoZone;
}

QList<QRect> BaseWindow::availableAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

void BaseWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_drag = Drag{};
    m_drag.pressed = true;
    m_drag.globalStart = event->globalPosition().toPoint();
    m_drag.windowStart = pos();
    m_drag.zone = hitTest(event->position().toPoint());
    m_drag.geometry = geometry();
    // A resize zone means nothing but a resize: the window system takes it
    // at once, while the button is still held, as it does for its own frames.
    const Qt::Edges edges = WindowDrag::edges(m_drag.zone);
    if (edges && windowHandle() && windowHandle()->startSystemResize(edges))
        m_drag.pressed = false;
}

void BaseWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_drag.pressed)
        return;
    m_drag.delta = event->globalPosition().toPoint() - m_drag.globalStart;
    if (m_drag.zone == WindowDrag::TitleBand) {
        dragTitleBand();
        return;
    }
    if (m_maximized)
        return;
    QRect r = WindowDrag::resizedGeometry(m_drag.geometry, m_drag.zone, m_drag.delta, minimumSize(),
                                          maximumSize());
    // The top edge gives way where the title bar would leave every screen's
    // free area.
    if (WindowDrag::edges(m_drag.zone) & Qt::TopEdge)
        r.setTop(
            WindowPlacement::reachablePosition(r.topLeft(), r.size(), availableAreas(), titleBar())
                .y());
    setGeometry(r);
}

void BaseWindow::dragTitleBand()
{
    // A click or a double click on the band moves nothing; past the drag
    // distance, the move is the window system's, with whatever it adds
    // (snapping, tiling, restoring a maximised window under the pointer).
    if (!m_drag.systemMoveTried) {
        if (m_drag.delta.manhattanLength() < QGuiApplication::styleHints()->startDragDistance())
            return;
        m_drag.systemMoveTried = true;
        if (windowHandle() && windowHandle()->startSystemMove()) {
            m_drag.pressed = false;
            return;
        }
    }
    // Without one, maximised stays put; in the normal state the window
    // follows the pointer, its title bar kept in reach.
    if (m_maximized)
        return;
    move(WindowPlacement::reachablePosition(m_drag.windowStart + m_drag.delta, size(),
                                            availableAreas(), titleBar()));
}

void BaseWindow::mouseReleaseEvent(QMouseEvent *)
{
    m_drag.pressed = false;
}

void BaseWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_drag.zone = hitTest(event->position().toPoint());
    if (m_drag.zone == WindowDrag::TitleBand)
        setShowMode();
}

void BaseWindow::setShowMode()
{
    // Only asks: the state change that follows sets the margins and zones.
    if (m_maximized)
        showNormal();
    else
        showMaximized();
}

void BaseWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A minimised window keeps its maximised flag for its return; full screen
    // has no room for a margin either.
    if (event->type() == QEvent::WindowStateChange)
        applyShowMode(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
}

void BaseWindow::applyShowMode(bool maximized)
{
    m_maximized = maximized;
    const int margin = maximized ? 0 : m_margin;
    m_outerLayout->setContentsMargins(margin, margin, margin, margin);
    m_content->updateResizeIcon(m_maximized);
    // The resize zones exist only in the normal state.
    for (const ZoneLabel &zone : m_zones)
        zone.label->setVisible(!m_maximized);
    update();
}

void BaseWindow::showEvent(QShowEvent *)
{
    qCCritical(lcChrome) << "basewindow" << __LINE__ << "BaseWindow::showEvent";
}

void BaseWindow::paintEvent(QPaintEvent *)
{
    // The margin is transparent; a soft shadow in it lets the frameless window
    // stand out from what lies behind it. A maximised window has no margin.
    if (m_maximized)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = m_BaseFrame->geometry();
    painter.setClipRegion(QRegion(rect()) - QRegion(m_BaseFrame->geometry()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadowColour);
    // Nested layers: the nearer a pixel is to the frame, the more layers cover it.
    for (int i = m_margin; i >= 1; --i)
        painter.drawRoundedRect(frame.adjusted(-i, -i, i, i), i, i);
}
