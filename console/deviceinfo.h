#pragma once

#include <QString>

// One mixer found by a search.
struct DeviceInfo
{
    QString name;
    QString ip;
    QString model;
    bool linked = false;
};
