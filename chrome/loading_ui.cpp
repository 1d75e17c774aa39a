#include "chrome/loading_ui.h"

#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

namespace Ui {

void loading::setupUi(QWidget *form)
{
    if (form->objectName().isEmpty())
        form->setObjectName("loading");
    form->resize(1024, 600);
    // A QWidget subclass paints a style sheet background only when asked to.
    form->setAttribute(Qt::WA_StyledBackground, true);
    form->setStyleSheet(QStringLiteral("QWidget#loading{background-color: rgb(90,90, 90);}"));

    m_icon = new QLabel(form);
    m_icon->setObjectName("m_icon");
    m_icon->setGeometry(0, 0, 1024, 600);
    m_icon->setStyleSheet(QStringLiteral("background-color: rgb(90,90, 90);"));

    tooltip_text = new QLabel(form);
    tooltip_text->setObjectName("tooltip_text");
    tooltip_text->setGeometry(0, 500, 1024, 100);
    QFont font;
    font.setPointSize(16);
    tooltip_text->setFont(font);
    tooltip_text->setStyleSheet(QStringLiteral("QLabel{color:white}"));
    tooltip_text->setAlignment(Qt::AlignCenter);

    retranslateUi(form);
    QMetaObject::connectSlotsByName(form);
}

void loading::retranslateUi(QWidget *)
{
    m_icon->setText(QString());
    tooltip_text->setText(QCoreApplication::translate("loading", "Loading..."));
}

}  // namespace Ui
