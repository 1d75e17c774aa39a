#pragma once

#include <QWidget>

class customWidget;

// The application's only top-level window.
class BaseWindow : public QWidget
{
    Q_OBJECT
public:
    explicit BaseWindow(QWidget *parent = nullptr);

private:
    customWidget *m_content;
};
