#include "chrome/loading.h"

#include <QLabel>
#include <QVBoxLayout>

loading::loading(QWidget *parent) : QWidget(parent), tooltip_text(new QLabel(this))
{
    setObjectName("loading");
    tooltip_text->setObjectName("tooltip_text");
    tooltip_text->setAlignment(Qt::AlignCenter);
    tooltip_text->setStyleSheet(QStringLiteral("QLabel{color:white}"));
    tooltip_text->setText(tr("Loading..."));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tooltip_text);
}

void loading::showLoadFailed()
{
    tooltip_text->setStyleSheet(QStringLiteral("QLabel{color:red}"));
    tooltip_text->setText(tr("Loading failed, please check the network environment."));
}
