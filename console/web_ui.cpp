#include "console/web_ui.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QWidget>

namespace Ui {

void web::setupUi(QWidget *form)
{
    if (form->objectName().isEmpty())
        form->setObjectName("web");
    form->resize(1024, 600);
    form->setStyleSheet(QStringLiteral("QWidget#web{ background:rgb(90, 90, 90);}\n"));
    retranslateUi(form);
    QMetaObject::connectSlotsByName(form);
}

void web::retranslateUi(QWidget *form)
{
    form->setWindowTitle(QCoreApplication::translate("web", "Form"));
}

}  // namespace Ui
