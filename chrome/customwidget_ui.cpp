#include "chrome/customwidget_ui.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpacerItem>
#include <QWidget>

#include "chrome/animatedstackedwidget.h"

namespace Ui {

namespace {

QGridLayout *bareGrid(QWidget *parent, const char *name)
{
    auto *layout = new QGridLayout(parent);
    layout->setObjectName(name);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QFrame *plainFrame(QWidget *parent, const char *name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setLineWidth(0);
    frame->setStyleSheet(QString());
    return frame;
}

void fixSize(QWidget *widget, int width, int height)
{
    QSizePolicy policy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    policy.setHeightForWidth(widget->sizePolicy().hasHeightForWidth());
    widget->setSizePolicy(policy);
    widget->setMinimumSize(width, height);
    widget->setMaximumSize(width, height);
}

// Title-bar buttons: a white glyph on a transparent face, black under the mouse.
QPushButton *titleButton(QWidget *parent, const char *name, const QString &image)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    fixSize(button, 20, 20);
    const QString glyph =
        image.isEmpty() ? QString() : QStringLiteral("border-image:url(%1);").arg(image);
    button->setStyleSheet(QStringLiteral("QPushButton{%1background:transparent;border-radius:2px;}"
                                         "QPushButton:hover{background:black;}")
                              .arg(glyph));
    return button;
}

}  // namespace

void customWidget::setupUi(QWidget *form)
{
    if (form->objectName().isEmpty())
        form->setObjectName("customWidget");
    form->resize(1024, 630);
    form->setStyleSheet(QString());

    gridLayout_23 = bareGrid(form, "gridLayout_23");
    ContentFrame = plainFrame(form, "ContentFrame");
    gridLayout = bareGrid(ContentFrame, "gridLayout");

    setupTitleBar();
    setupPageArea();
    gridLayout->addWidget(TitleFrame, 0, 0);
    gridLayout->addWidget(CentralFrame, 1, 0);
    gridLayout_23->addWidget(ContentFrame, 0, 0);

    retranslateUi(form);
    QMetaObject::connectSlotsByName(form);
}

void customWidget::setupTitleBar()
{
    TitleFrame = plainFrame(ContentFrame, "TitleFrame");
    TitleFrame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    TitleFrame->setMinimumSize(0, 30);
    TitleFrame->setMaximumSize(16777215, 30);
    TitleFrame->setStyleSheet(
        QStringLiteral("QFrame#TitleFrame{background:rgb(70, 70,70);border:0px solid black;}"));

    gridLayout_4 = new QGridLayout(TitleFrame);
    gridLayout_4->setObjectName("gridLayout_4");
    gridLayout_4->setHorizontalSpacing(10);
    gridLayout_4->setVerticalSpacing(0);
    gridLayout_4->setContentsMargins(0, 0, 5, 0);

    label = new QLabel(TitleFrame);
    label->setObjectName("label");
    label->setStyleSheet(QStringLiteral("padding-left:4px;background:transparent;"));

    label_logo = new QLabel(TitleFrame);
    label_logo->setObjectName("label_logo");
    fixSize(label_logo, 25, 25);

    label_title = new QLabel(TitleFrame);
    label_title->setObjectName("label_title");
    label_title->setStyleSheet(
        QStringLiteral("padding-left:4px;color:white;background:transparent;"));

    horizontalSpacer = new QSpacerItem(20, 40, QSizePolicy::Expanding, QSizePolicy::Minimum);
    toolMinimum =
        titleButton(TitleFrame, "toolMinimum", QStringLiteral(":/images/minimum_white.png"));
    toolResize = titleButton(TitleFrame, "toolResize", QString());
    toolClose = titleButton(TitleFrame, "toolClose", QStringLiteral(":/images/close_white.png"));

    gridLayout_4->addWidget(label, 0, 0);
    gridLayout_4->addWidget(label_logo, 0, 1);
    gridLayout_4->addWidget(label_title, 0, 2);
    gridLayout_4->addItem(horizontalSpacer, 0, 3);
    gridLayout_4->addWidget(toolMinimum, 0, 4);
    gridLayout_4->addWidget(toolResize, 0, 5);
    gridLayout_4->addWidget(toolClose, 0, 6);
}

void customWidget::setupPageArea()
{
    CentralFrame = plainFrame(ContentFrame, "CentralFrame");
    CentralFrame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    CentralFrame->setMaximumSize(16777215, 16777215);
    gridLayout_2 = bareGrid(CentralFrame, "gridLayout_2");

    stackedWidget = new AnimatedStackedWidget(CentralFrame);
    stackedWidget->setObjectName("stackedWidget");
    stackedWidget->setStyleSheet(QString());

    PageWeb = new QWidget();
    PageWeb->setObjectName("PageWeb");
    gridLayout_7 = bareGrid(PageWeb, "gridLayout_7");

    scrollAreaWeb = new QScrollArea(PageWeb);
    scrollAreaWeb->setObjectName("scrollAreaWeb");
    scrollAreaWeb->setStyleSheet(QStringLiteral("QScrollArea{border:0px;}"));
    scrollAreaWeb->setWidgetResizable(true);
    scrollAreaWidgetContents_3 = new QWidget();
    scrollAreaWidgetContents_3->setObjectName("scrollAreaWidgetContents_3");
    scrollAreaWidgetContents_3->setGeometry(0, 0, 1024, 600);
    scrollAreaWeb->setWidget(scrollAreaWidgetContents_3);
    // The main content lies over the scroll area and hides itself while the
    // demo panel is open: what shows through then is the window's own dark
    // grey, not the light default of a scroll area.
    scrollAreaWeb->viewport()->setAutoFillBackground(false);
    scrollAreaWidgetContents_3->setAutoFillBackground(false);

    gridLayout_7->addWidget(scrollAreaWeb, 0, 0);
    stackedWidget->addWidget(PageWeb);
    gridLayout_2->addWidget(stackedWidget, 0, 0);
}

void customWidget::retranslateUi(QWidget *)
{
    label->setText(QString());
    label_logo->setText(QString());
    label_title->setText(QString());
    toolMinimum->setText(QString());
    toolResize->setText(QString());
    toolClose->setText(QString());
    // The buttons show only glyphs: their names are for tool tips and screen
    // readers. The resize button's follows the window state.
    const QString minimize = QCoreApplication::translate("customWidget", "Minimize");
    toolMinimum->setToolTip(minimize);
    toolMinimum->setAccessibleName(minimize);
    const QString close = QCoreApplication::translate("customWidget", "Close");
    toolClose->setToolTip(close);
    toolClose->setAccessibleName(close);
}

}  // namespace Ui
