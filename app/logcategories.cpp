#include "app/logcategories.h"

Q_LOGGING_CATEGORY(lcStartup, "modelseries.startup")
Q_LOGGING_CATEGORY(lcDiscovery, "modelseries.discovery")
Q_LOGGING_CATEGORY(lcConsole, "modelseries.console")
Q_LOGGING_CATEGORY(lcChrome, "modelseries.chrome")
