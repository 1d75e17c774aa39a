#pragma once

#include <QtCore>

// What a child run of this test binary left: whether it ended by itself with
// exit code 0, and what it wrote.
struct ChildRun
{
    bool passed = false;
    QByteArray output;
    QByteArray errors;
};

// Runs this test binary once more with `arguments` and `environment`, for
// what only a fresh process shows (a screen of another size, a locale, a
// start-up and shutdown of its own); `prefix` runs it under another command
// (setpriv, say). A child still running after two minutes is killed.
inline ChildRun runThisBinaryAgain(
    const QStringList &arguments,
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
    const QStringList &prefix = {})
{
    QStringList command = prefix + QStringList{QCoreApplication::applicationFilePath()} + arguments;
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(command.takeFirst(), command);
    const bool ended = child.waitForFinished(120000);
    if (!ended)
        child.kill(), child.waitForFinished(5000);
    ChildRun run;
    run.passed = ended && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    run.output = child.readAllStandardOutput();
    run.errors = child.readAllStandardError();
    return run;
}
