#pragma once

class QWidget;

namespace Ui {

class web
{
public:
    void setupUi(QWidget *form);
    void retranslateUi(QWidget *form);
};

}  // namespace Ui
