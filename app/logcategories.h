#pragma once

#include <QLoggingCategory>

// One category per part of the program, so that a user can silence or enable
// each with QT_LOGGING_RULES, e.g. "modelseries.discovery.debug=false".
Q_DECLARE_LOGGING_CATEGORY(lcStartup)
Q_DECLARE_LOGGING_CATEGORY(lcDiscovery)
Q_DECLARE_LOGGING_CATEGORY(lcConsole)
Q_DECLARE_LOGGING_CATEGORY(lcChrome)
