#pragma once

class AnimatedStackedWidget;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace Ui {

// The form of the main content widget: the page stack with the search,
// web and loading pages.
class Widget
{
public:
    QGridLayout *gridLayout;
    AnimatedStackedWidget *stackedWidget;
    QWidget *page_search;
    QFrame *frame;
    QFrame *frame_4;
    QFrame *frame_2;
    QLabel *label_Top;
    QFrame *frame_3;
    QFrame *frame_Connect;
    QPushButton *btn_search;
    QPushButton *btn_connect;
    QLabel *label_status;
    QLabel *label_status_disp;
    QFrame *line;
    QFrame *frame_List;
    QLineEdit *lineEdit_ip;
    QLabel *label;
    QTableView *tableView;
    QWidget *page_web;
    QWidget *page_load;

    void setupUi(QWidget *form);
    void retranslateUi(QWidget *form);

private:
    void setupSearchPage();
    void setupControlColumn();
    void setupListColumn();
};

}  // namespace Ui
