#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>

#include "chrome/customwidget.h"
#include "chrome/windowplacement.h"

class QFrame;
class QGridLayout;
class QLabel;

// The application's only top-level window. It has no native frame: a drag of
// the title band or of an edge or corner is handed to the window system
// (which alone can place a window on Wayland, and snaps and tiles elsewhere),
// and worked out here from the mouse where the system offers no such move.
// Whether it is maximised is the window system's word: the title bar's button,
// a double click on the band, a keyboard shortcut or the window manager's own
// action all end in the same margins, resize zones and button picture.
class BaseWindow : public QWidget
{
    Q_OBJECT
public:
    explicit BaseWindow(QWidget *parent = nullptr,
                        const customWidget::ContentFactory &makeContent = {});

    // The eight labels along the edges that the pointer resizes the window by.
    bool isResizeZone(const QWidget *widget) const;

public slots:
    void setShowMode();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct ZoneLabel
    {
        QLabel *label;
        int zone;
    };

    // What a left press recorded: every move is computed from it and the
    // cursor's total displacement, never from the previous move.
    struct Drag
    {
        bool pressed = false;
        QPoint globalStart;
        QPoint windowStart;
        int zone = 0;
        QRect geometry;
        QPoint delta;
        // The window system is asked once a press to take a move.
        bool systemMoveTried = false;
    };

    void placeOnScreen();
    void buildFrame(const customWidget::ContentFactory &makeContent);
    void buildZoneLabels();
    void applyShowMode(bool maximized);
    int hitTest(const QPoint &p) const;
    void dragTitleBand();
    static QList<QRect> availableAreas();
    WindowPlacement::TitleBar titleBar() const;

    const int m_margin = 5;
    const int m_edge = 3;
    const QString m_borderText = QStringLiteral("0px solid #000000");
    int m_borderWidth = 0;
    int m_titleHeight = 0;
    // Mirrors the window's state; only its state changes set it.
    bool m_maximized = false;

    QGridLayout *m_outerLayout = nullptr;
    QFrame *m_BaseFrame = nullptr;
    QGridLayout *m_innerLayout = nullptr;
    customWidget *m_content = nullptr;
    std::array<ZoneLabel, 8> m_zones{};
    Drag m_drag;
};
