#include "console/widget_ui.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "chrome/animatedstackedwidget.h"
#include "chrome/palette.h"

namespace Ui {

namespace {

QFont captionFont(int pointSize)
{
    QFont font(QStringLiteral("Yu Gothic UI Semibold"));
    font.setPointSize(pointSize);
    return font;
}

QPushButton *makeButton(const char *name, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    QFont font = button->font();
    font.setPointSize(16);
    button->setFont(font);
    button->setStyleSheet(QStringLiteral(
        "QPushButton{color:white;background-color:rgb(130, 130, 130);border-radius:6px;}"));
    return button;
}

QWidget *makePage(const char *name, const QString &background)
{
    auto *page = new QWidget();
    page->setObjectName(name);
    page->setStyleSheet(
        QStringLiteral("QWidget#%1{background-color:%2;}").arg(QLatin1String(name), background));
    return page;
}

}  // namespace

void Widget::setupUi(QWidget *form)
{
    if (form->objectName().isEmpty())
        form->setObjectName("Widget");
    form->resize(1024, 600);
    form->setAttribute(Qt::WA_StyledBackground, true);
    form->setStyleSheet(QStringLiteral("QWidget#Widget{background-color:rgb(41, 41, 41);}"));

    gridLayout = new QGridLayout(form);
    gridLayout->setObjectName("gridLayout");
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setSpacing(0);

    stackedWidget = new AnimatedStackedWidget(form);
    stackedWidget->setObjectName("stackedWidget");
    setupSearchPage();
    page_web = makePage("page_web", Palette::panelGrey);
    page_load = makePage("page_load", Palette::panelGrey);
    stackedWidget->addWidget(page_search);
    stackedWidget->addWidget(page_web);
    stackedWidget->addWidget(page_load);
    gridLayout->addWidget(stackedWidget, 0, 0);

    retranslateUi(form);
    QMetaObject::connectSlotsByName(form);
}

void Widget::setupSearchPage()
{
    page_search = makePage("page_search", Palette::windowGrey);
    auto *pageLayout = new QGridLayout(page_search);
    pageLayout->setContentsMargins(0, 0, 0, 0);

    frame = new QFrame(page_search);
    frame->setObjectName("frame");
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(20, 20, 20, 20);
    frameLayout->setSpacing(0);
    pageLayout->addWidget(frame, 0, 0);

    // The header tab and the body join into one rounded shape.
    frame_4 = new QFrame(frame);
    frame_4->setObjectName("frame_4");
    frame_4->setStyleSheet(QStringLiteral("QFrame#frame_4{background:transparent;}"));
    auto *headerLayout = new QHBoxLayout(frame_4);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(0);
    frame_2 = new QFrame(frame_4);
    frame_2->setObjectName("frame_2");
    frame_2->setStyleSheet(
        QStringLiteral("QFrame#frame_2{background-color:rgb(90, 90, 90);border-top-left-radius:6px;"
                       "border-top-right-radius:6px;border-bottom-left-radius:0px;border-bottom-"
                       "right-radius:0px;}"));
    auto *tabLayout = new QHBoxLayout(frame_2);
    label_Top = new QLabel(frame_2);
    label_Top->setObjectName("label_Top");
    label_Top->setFont(captionFont(17));
    label_Top->setStyleSheet(QStringLiteral("color:white;background:transparent;"));
    tabLayout->addWidget(label_Top);
    headerLayout->addWidget(frame_2, 1);
    headerLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    headerLayout->setStretch(1, 5);
    frameLayout->addWidget(frame_4);

    frame_3 = new QFrame(frame);
    frame_3->setObjectName("frame_3");
    frame_3->setStyleSheet(
        QStringLiteral("QFrame#frame_3{background-color:rgb(90, 90, 90);border-top-left-radius:0px;"
                       "border-top-right-radius:6px;border-bottom-left-radius:6px;border-bottom-"
                       "right-radius:6px;}"));
    auto *bodyLayout = new QHBoxLayout(frame_3);
    frameLayout->addWidget(frame_3, 1);

    setupControlColumn();
    line = new QFrame(frame_3);
    line->setObjectName("line");
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    setupListColumn();
    bodyLayout->addWidget(frame_Connect, 2);
    bodyLayout->addWidget(line, 0);
    bodyLayout->addWidget(frame_List, 8);
}

void Widget::setupControlColumn()
{
    frame_Connect = new QFrame(frame_3);
    frame_Connect->setObjectName("frame_Connect");
    auto *layout = new QVBoxLayout(frame_Connect);

    btn_search = makeButton("btn_search", frame_Connect);
    btn_connect = makeButton("btn_connect", frame_Connect);

    label_status = new QLabel(frame_Connect);
    label_status->setObjectName("label_status");
    label_status->setFont(captionFont(14));
    label_status->setStyleSheet(QStringLiteral("color:white;background:transparent;"));
    label_status->setAlignment(Qt::AlignLeading | Qt::AlignLeft | Qt::AlignTop);

    label_status_disp = new QLabel(frame_Connect);
    label_status_disp->setObjectName("label_status_disp");
    label_status_disp->setFont(captionFont(14));
    label_status_disp->setStyleSheet(QStringLiteral("color:white;background:transparent;"));
    label_status_disp->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label_status_disp->setWordWrap(true);

    layout->addWidget(btn_search, 2);
    layout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
    layout->addWidget(btn_connect, 2);
    layout->addWidget(label_status, 4);
    layout->addWidget(label_status_disp, 7);
    layout->setStretch(1, 1);
}

void Widget::setupListColumn()
{
    frame_List = new QFrame(frame_3);
    frame_List->setObjectName("frame_List");
    auto *layout = new QVBoxLayout(frame_List);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(10);

    lineEdit_ip = new QLineEdit(frame_List);
    lineEdit_ip->setObjectName("lineEdit_ip");
    lineEdit_ip->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    lineEdit_ip->setStyleSheet(
        QStringLiteral("QLineEdit{color:white;background-color:%1;border:1px solid gray;}")
            .arg(Palette::windowGrey));

    label = new QLabel(frame_List);
    label->setObjectName("label");
    label->setStyleSheet(QStringLiteral("color:white;background:transparent;"));

    tableView = new QTableView(frame_List);
    tableView->setObjectName("tableView");

    layout->addWidget(lineEdit_ip, 1);
    layout->addWidget(label, 1);
    layout->addWidget(tableView, 8);
}

void Widget::retranslateUi(QWidget *)
{
    label_Top->setText(QCoreApplication::translate("Widget", "Connection"));
    btn_search->setText(QCoreApplication::translate("Widget", "Search"));
    btn_connect->setText(QCoreApplication::translate("Widget", "Connect"));
    label_status->setText(QCoreApplication::translate("Widget", "Status："));
    label->setText(QCoreApplication::translate("Widget", "Select Mixer from List"));
    label_status_disp->setText(QString());
    // Screen readers name the field and the list by what they hold; the eye
    // has the placeholder and the caption.
    lineEdit_ip->setAccessibleName(QCoreApplication::translate("Widget", "Mixer address"));
    tableView->setAccessibleName(QCoreApplication::translate("Widget", "Mixers found"));
}

}  // namespace Ui
