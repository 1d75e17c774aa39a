#pragma once

class QLabel;
class QWidget;

namespace Ui {

// The loading page's form: a full-page picture with a line of text near the
// bottom, both placed by absolute geometry for a 1024 x 600 page.
class loading
{
public:
    QLabel *m_icon;
    QLabel *tooltip_text;

    void setupUi(QWidget *form);
    void retranslateUi(QWidget *form);
};

}  // namespace Ui
