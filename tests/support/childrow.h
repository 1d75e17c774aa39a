#pragma once

#include <QProcessEnvironment>
#include <QString>

// Some rows need a process of their own: a screen of another size or pixel
// density exists only from the start of a process. Such a row runs again in a
// child process of the same test binary, which does the real checks.

// True in the child process that runs one row.
bool inRowChild();

// Runs the current test function's current row in a child process, with the
// given variables added to this process's environment. True when the child
// reports that row passed; its output is left in `output`.
bool rowPassesInChild(const QProcessEnvironment &added, QString *output);
