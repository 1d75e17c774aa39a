#include "console/web.h"

#include <QQuickView>
#include <QResizeEvent>

#include "console/web_ui.h"

web::web(QWidget *parent) : QWidget(parent), ui(new Ui::web)
{
    ui->setupUi(this);
    view = new QQuickView();
}

web::~web()
{
    delete view;
    delete ui;
}

void web::resizeEvent(QResizeEvent *)
{
    if (container)
        container->setGeometry(0, 0, width(), height());
}
