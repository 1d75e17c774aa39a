#pragma once

class AnimatedStackedWidget;
class QFrame;
class QGridLayout;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpacerItem;
class QWidget;

namespace Ui {

// The window content's form: the 30-pixel title bar (logo, name, minimise,
// maximise/restore, close) above the page area that hosts the main content.
class customWidget
{
public:
    QGridLayout *gridLayout_23;
    QFrame *ContentFrame;
    QGridLayout *gridLayout;
    QFrame *TitleFrame;
    QGridLayout *gridLayout_4;
    QLabel *label;
    QLabel *label_logo;
    QLabel *label_title;
    QSpacerItem *horizontalSpacer;
    QPushButton *toolMinimum;
    QPushButton *toolResize;
    QPushButton *toolClose;
    QFrame *CentralFrame;
    QGridLayout *gridLayout_2;
    AnimatedStackedWidget *stackedWidget;
    QWidget *PageWeb;
    QGridLayout *gridLayout_7;
    QScrollArea *scrollAreaWeb;
    QWidget *scrollAreaWidgetContents_3;

    void setupUi(QWidget *form);
    void retranslateUi(QWidget *form);

private:
    void setupTitleBar();
    void setupPageArea();
};

}  // namespace Ui
