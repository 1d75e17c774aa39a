// Search members of Widget: the discovery sockets and the repeated search pass.
#include "console/widget.h"

void Widget::initDiscovery()
{
    demoPanel = nullptr;
    searchCount = 0;
}

void Widget::sendSearch() {}

void Widget::searchTick() {}

void Widget::on_btn_search_clicked() {}
