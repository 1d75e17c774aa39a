#include "demo/demo.h"

demo::demo(QWidget *parent) : QWidget(parent)
{
    setObjectName("demo");
    resize(1024, 600);
}
