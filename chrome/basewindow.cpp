#include "chrome/basewindow.h"

#include <QGridLayout>

#include "chrome/customwidget.h"

BaseWindow::BaseWindow(QWidget *parent) : QWidget(parent), m_content(new customWidget())
{
    resize(1024, 630);
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content, 0, 0);
}
