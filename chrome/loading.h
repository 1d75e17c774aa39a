#pragma once

#include <QWidget>

class QLabel;

// The page shown while a mixer's console loads.
class loading : public QWidget
{
    Q_OBJECT
public:
    explicit loading(QWidget *parent = nullptr);

    void showLoadFailed();

private:
    QLabel *tooltip_text;
};
