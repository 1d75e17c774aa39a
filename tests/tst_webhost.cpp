#include <unistd.h>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTcpServer>
#include <QTemporaryDir>
#include <memory>

#include "console/web.h"
#include "console/webviewhandler.h"
#include "console/widget.h"
#include "support/mixersim.h"
#include "support/testmain.h"

namespace {

// A loopback address of this run's own, so that test binaries running side
// by side never compete for the simulated mixer's ports.
QString runAddress(int salt)
{
    const int pid = int(getpid());
    return QStringLiteral("127.%1.%2.%3").arg(100 + salt).arg((pid >> 8) & 0xFF).arg(1 + pid % 254);
}

// An address where nothing listens: the load is refused at once.
QUrl refusedUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/dist/index.html").arg(port));
}

// Counts the ends (success or failure) of the loads of a WebView, seen
// through the view's own loadingChanged signal, independent of the document.
const QByteArray loadEndCounter = R"(
import QtQuick
import QtWebView
Connections {
    property int ended: 0
    function onLoadingChanged(loadRequest) {
        if (loadRequest.status === WebView.LoadSucceededStatus
                || loadRequest.status === WebView.LoadFailedStatus)
            ended += 1
    }
}
)";

QList<bool> reportedValues(const QSignalSpy &spy)
{
    QList<bool> values;
    for (const QList<QVariant> &arguments : spy)
        values.append(arguments.at(0).toBool());
    return values;
}

void expectReportLogs(const QList<bool> &reports)
{
    for (bool ok : reports) {
        if (ok)
            QTest::ignoreMessage(QtDebugMsg, "主 URL 加载成功！");
        else
            QTest::ignoreMessage(QtCriticalMsg,
                                 QRegularExpression("^主 URL 加载失败！ Error: \\S"));
        QTest::ignoreMessage(
            QtDebugMsg,
            QRegularExpression(
                QStringLiteral("^webviewhandler\\.h \\d+ WebViewHandler::onLoadingChanged "
                               "\"?网页加载完成\"? %1$")
                    .arg(ok ? "true" : "false")));
    }
}

QList<web *> hosts()
{
    QList<web *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *host = qobject_cast<web *>(w))
            found.append(host);
    return found;
}

}  // namespace

class TestWebHost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        mixerAddress = runAddress(1);
        mixer = std::make_unique<MixerSim>(QStringList{"--address", mixerAddress});
        QVERIFY(mixer->start());
        slowMixer = std::make_unique<MixerSim>(
            QStringList{"--address", runAddress(2), "--delay", "console=3000"});
        QVERIFY(slowMixer->start());
    }

    // The document is taken from the unit compiled into the binary: with the
    // disk cache forced on, a document compiled at run time would leave its
    // cache file behind.
    void documentComesCompiled()
    {
        QTemporaryDir cacheDir;
        qputenv("QML_FORCE_DISK_CACHE", "1");
        qputenv("QML_DISK_CACHE_PATH", cacheDir.path().toLocal8Bit());
        {
            QQmlEngine engine;
            QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/main.qml")));
            QTRY_VERIFY(!component.isLoading());
            QVERIFY2(component.isReady(), qPrintable(component.errorString()));
        }
        qunsetenv("QML_FORCE_DISK_CACHE");
        qunsetenv("QML_DISK_CACHE_PATH");
        QVERIFY(QFile::exists(QStringLiteral(":/main.qml")));
        QDirIterator written(cacheDir.path(), QDir::Files, QDirIterator::Subdirectories);
        QVERIFY2(!written.hasNext(), qPrintable(written.hasNext() ? written.next() : QString()));
    }

    void reportsOncePerRequest_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("rearmWith");
        QTest::addColumn<QString>("followUp");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QList<bool>>("expected");
        QTest::newRow("served, then navigation") << "served"
                                                 << ""
                                                 << "navigate"
                                                 << "served" << QList<bool>{true};
        QTest::newRow("refused, then navigation") << "refused"
                                                  << ""
                                                  << "navigate"
                                                  << "served" << QList<bool>{false};
        QTest::newRow("refused, then loadUrl") << "refused"
                                               << ""
                                               << "loadUrl"
                                               << "served" << QList<bool>{false, true};
        QTest::newRow("served, then loadUrl refused") << "served"
                                                      << ""
                                                      << "loadUrl"
                                                      << "refused" << QList<bool>{true, false};
        QTest::newRow("slow, re-armed while waiting") << "slow"
                                                      << "served"
                                                      << "navigate"
                                                      << "served" << QList<bool>{true};
        QTest::newRow("served, then loadUrl served") << "served"
                                                     << ""
                                                     << "loadUrl"
                                                     << "served" << QList<bool>{true, true};
    }
    void reportsOncePerRequest()
    {
        QFETCH(QString, first);
        QFETCH(QString, rearmWith);
        QFETCH(QString, followUp);
        QFETCH(QString, second);
        QFETCH(QList<bool>, expected);
        expectReportLogs(expected);

        QQuickView view;
        WebViewHandler handler;
        QSignalSpy reports(&handler, &WebViewHandler::webLoadEndSig);
        view.rootContext()->setContextProperty("initialUrl", urlFor(first, 1));
        view.rootContext()->setContextProperty("webTooltip", &handler);
        view.setResizeMode(QQuickView::SizeRootObjectToView);
        view.setSource(QUrl(QStringLiteral("qrc:/main.qml")));
        QCOMPARE(view.status(), QQuickView::Ready);
        QObject *root = view.rootObject();
        QVERIFY(root->property("waitingForPrimaryLoad").toBool());
        QScopedPointer<QObject> loadEnds(watchLoadEnds(view.engine(), root));
        QVERIFY(loadEnds);
        if (!rearmWith.isEmpty()) {
            // A new request while the first is still loading replaces it.
            QTRY_VERIFY(root->property("loading").toBool());
            QVERIFY(
                QMetaObject::invokeMethod(root, "loadUrl", Q_ARG(QVariant, urlFor(rearmWith, 3))));
        }

        QTRY_COMPARE_WITH_TIMEOUT(loadEnds->property("ended").toInt(), 1, 20000);
        QCOMPARE(reports.count(), 1);
        QVERIFY(!root->property("waitingForPrimaryLoad").toBool());

        const QUrl next = urlFor(second, 2);
        if (followUp == QLatin1String("navigate")) {
            root->setProperty("url", next);
        } else {
            QVERIFY(QMetaObject::invokeMethod(root, "loadUrl", Q_ARG(QVariant, next)));
            QVERIFY(root->property("waitingForPrimaryLoad").toBool());
        }
        QTRY_COMPARE_WITH_TIMEOUT(loadEnds->property("ended").toInt(), 2, 20000);
        QCOMPARE(reportedValues(reports), expected);
        QVERIFY(!root->property("waitingForPrimaryLoad").toBool());
    }

    void handlerPassesResultOn_data()
    {
        QTest::addColumn<QList<bool>>("results");
        QTest::newRow("loaded") << QList<bool>{true};
        QTest::newRow("failed") << QList<bool>{false};
        QTest::newRow("failed, loaded, failed") << QList<bool>{false, true, false};
    }
    void handlerPassesResultOn()
    {
        QFETCH(QList<bool>, results);
        WebViewHandler handler;
        QSignalSpy emitted(&handler, &WebViewHandler::webLoadEndSig);
        for (bool ok : results) {
            QTest::ignoreMessage(
                QtDebugMsg,
                QRegularExpression(
                    QStringLiteral("^webviewhandler\\.h \\d+ WebViewHandler::onLoadingChanged "
                                   "\"?网页加载完成\"? %1$")
                        .arg(ok ? "true" : "false")));
            handler.onLoadingChanged(ok);
        }
        QCOMPARE(reportedValues(emitted), results);
    }

    void containerFollowsResize_data()
    {
        QTest::addColumn<bool>("withContainer");
        QTest::addColumn<QSize>("size");
        QTest::newRow("container, larger") << true << QSize(1280, 800);
        QTest::newRow("container, smaller") << true << QSize(320, 200);
        QTest::newRow("no container") << false << QSize(640, 480);
    }
    void containerFollowsResize()
    {
        QFETCH(bool, withContainer);
        QFETCH(QSize, size);
        web host;
        auto *bystander = new QWidget(&host);
        const QRect bystanderPlace(5, 6, 30, 40);
        bystander->setGeometry(bystanderPlace);
        if (withContainer) {
            host.container = new QWidget(&host);
            host.container->setGeometry(10, 10, 50, 50);
        }
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        host.resize(size);
        QTRY_COMPARE(host.size(), size);
        if (withContainer)
            QTRY_COMPARE(host.container->geometry(), QRect(QPoint(0, 0), size));
        QCOMPARE(bystander->geometry(), bystanderPlace);
    }

    void connectCreatesOneHost_data()
    {
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<int>("expectedHosts");
        QTest::newRow("demo") << QStringList{"demo"} << 1;
        QTest::newRow("invalid, then more") << QStringList{"300.1.1.1", "abc", "demo"} << 1;
        QTest::newRow("demo, then again") << QStringList{"demo", "demo"} << 1;
        QTest::newRow("valid, then invalid") << QStringList{mixerAddress, "1.2.3"} << 1;
        QTest::newRow("empty field") << QStringList{""} << 0;
        QTest::newRow("empty, then invalid") << QStringList{"", "1.2.3"} << 1;
    }
    void connectCreatesOneHost()
    {
        QFETCH(QStringList, presses);
        QFETCH(int, expectedHosts);
        QVERIFY(hosts().isEmpty());
        {
            Widget widget;
            auto *field = widget.findChild<QLineEdit *>("lineEdit_ip");
            auto *connectButton = widget.findChild<QPushButton *>("btn_connect");
            QVERIFY(field && connectButton);
            bool anyText = false;
            for (const QString &text : presses) {
                // "demo" hides the widget; bring it back for the next press.
                widget.show();
                field->clear();
                QTest::keyClicks(field, text);
                QTest::mouseClick(connectButton, Qt::LeftButton);
                anyText = anyText || !text.isEmpty();
                QCOMPARE(hosts().count(), anyText ? 1 : 0);
            }
            const QList<web *> created = hosts();
            QCOMPARE(created.count(), expectedHosts);
            for (web *host : created) {
                QVERIFY(!host->isVisible());
                QVERIFY(host->view);
                QVERIFY(host->view->source().isEmpty());
                QVERIFY(!host->view->isVisible());
                QVERIFY(!host->container);
            }
        }
        QVERIFY(hosts().isEmpty());
    }

    void cleanupTestCase()
    {
        mixer.reset();
        slowMixer.reset();
    }

private:
    QUrl urlFor(const QString &kind, int page) const
    {
        if (kind == QLatin1String("refused"))
            return refusedUrl();
        if (kind == QLatin1String("slow"))
            return QUrl(QStringLiteral("http://%1/dist/index.html").arg(runAddress(2)));
        return QUrl(
            QStringLiteral("http://%1/dist/index.html?page=%2").arg(mixerAddress).arg(page));
    }

    static QObject *watchLoadEnds(QQmlEngine *engine, QObject *view)
    {
        QQmlComponent component(engine);
        component.setData(loadEndCounter, QUrl());
        return component.createWithInitialProperties({{"target", QVariant::fromValue(view)}});
    }

    QString mixerAddress;
    std::unique_ptr<MixerSim> mixer;
    // Answers its console page only after a few seconds.
    std::unique_ptr<MixerSim> slowMixer;
};

// The QML web view needs its engine prepared before the application object
// exists, beside the shared OpenGL context the web engine widgets need.
LAUNCHER_TEST_MAIN(TestWebHost)

#include "tst_webhost.moc"
