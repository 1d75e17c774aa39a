#include "chrome/customwidget.h"

#include <QGridLayout>

#include "console/widget.h"

customWidget::customWidget(QWidget *parent) : QWidget(parent)
{
    m_widget.reset(new Widget());
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_widget.data(), 0, 0);
}

void customWidget::updateResizeIcon(bool) {}
