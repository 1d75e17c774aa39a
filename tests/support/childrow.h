#pragma once

#include <QtTest>

// Some rows need a process of their own: a screen of another size or pixel
// density exists only from the start of a process. Such a row runs again in a
// child process of the same test binary, which does the real checks.

// True in the child process that runs one row.
inline bool inRowChild()
{
    return qEnvironmentVariableIsSet("LAUNCHER_TEST_ROW_CHILD");
}

// Runs the current test function's current row in a child process, with the
// given variables added to this process's environment. True when the child
// reports that row passed; its output is left in `output`.
inline bool rowPassesInChild(const QProcessEnvironment &added, QString *output)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(added);
    environment.insert("LAUNCHER_TEST_ROW_CHILD", "1");
    const QString function = QTest::currentTestFunction(), tag = QTest::currentDataTag();
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {function + ':' + tag});
    const bool finished = child.waitForFinished(120000);
    *output = QString::fromLocal8Bit(child.readAll());
    // Judged by the child's report, not its exit code, which a leak checker
    // in a sanitizer build may change.
    const QRegularExpression passed(
        "^PASS   : \\w+::" + QRegularExpression::escape(function + '(' + tag + ')') + '$',
        QRegularExpression::MultilineOption);
    return finished && output->contains(passed) && !output->contains("FAIL!");
}
