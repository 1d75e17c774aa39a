#pragma once

#include <QWidget>

// A static mock-up of a mixer's control surface, shown for the address "demo".
class demo : public QWidget
{
    Q_OBJECT
public:
    explicit demo(QWidget *parent = nullptr);
};
