#include "support/childrow.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

const char childMarker[] = "LAUNCHER_TEST_ROW_CHILD";

}  // namespace

bool inRowChild()
{
    return qEnvironmentVariableIsSet(childMarker);
}

bool rowPassesInChild(const QProcessEnvironment &added, QString *output)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(added);
    environment.insert(QLatin1String(childMarker), QStringLiteral("1"));
    const QString row = QLatin1String(QTest::currentTestFunction()) + QLatin1Char('(') +
                        QLatin1String(QTest::currentDataTag()) + QLatin1Char(')');

    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QLatin1String(QTest::currentTestFunction()) + QLatin1Char(':') +
                 QLatin1String(QTest::currentDataTag())});
    const bool finished = child.waitForFinished(120000);
    *output = QString::fromLocal8Bit(child.readAll());
    // Judged by the child's report, not its exit code, which a leak checker
    // in a sanitizer build may change.
    const QRegularExpression passed(
        QStringLiteral("^PASS   : \\w+::") + QRegularExpression::escape(row) + QLatin1Char('$'),
        QRegularExpression::MultilineOption);
    return finished && output->contains(passed) && !output->contains(QLatin1String("FAIL!"));
}
