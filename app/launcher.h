#pragma once

#include <functional>

#include "chrome/customwidget.h"

class BaseWindow;

// The main content of the launcher's window: search, table and console.
customWidget::ContentFactory consoleContent();

// The launcher's whole run, in its fixed order: the process attributes that
// must precede the application object, the application object, icon, QML
// type, application name, language and translator, then the main window and
// the event loop. Returns the event loop's exit code.
//
// `shown`, when given, runs once the main window is shown and before the
// event loop starts; the launcher itself passes nothing. It lets a test drive
// the real start-up and shutdown instead of a copy of them.
int runLauncher(int argc, char *argv[], const std::function<void(BaseWindow &)> &shown = {});
