#include "console/web_ui.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QWidget>

#include "chrome/palette.h"

namespace Ui {

void web::setupUi(QWidget *form)
{
    if (form->objectName().isEmpty())
        form->setObjectName("web");
    form->resize(1024, 600);
    form->setStyleSheet(QStringLiteral("QWidget#web{ background:%1;}\n").arg(Palette::panelGrey));
    retranslateUi(form);
    QMetaObject::connectSlotsByName(form);
}

void web::retranslateUi(QWidget *form)
{
    form->setWindowTitle(QCoreApplication::translate("web", "Form"));
}

}  // namespace Ui
