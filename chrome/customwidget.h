#pragma once

#include <QSharedPointer>
#include <QWidget>

class Widget;

// The window's content: a title bar above the main content widget.
class customWidget : public QWidget
{
    Q_OBJECT
public:
    explicit customWidget(QWidget *parent = nullptr);

    int titleHeight() const { return m_titleHeight; }
    void updateResizeIcon(bool maximized);

signals:
    void closeClicked();
    void resizeClick();
    void minimumClicked();

private:
    int m_titleHeight = 32;
    QSharedPointer<Widget> m_widget;
};
