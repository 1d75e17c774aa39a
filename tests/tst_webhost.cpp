#include <unistd.h>
#include <QLineEdit>
#include <QPushButton>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTcpServer>
#include <memory>

#include "console/web.h"
#include "console/webviewhandler.h"
#include "console/widget.h"
#include "support/mixersim.h"
#include "support/runaddress.h"
#include "support/testmain.h"

namespace {

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

QRegularExpression completionLog(bool ok)
{
    return QRegularExpression(
        QStringLiteral("^webviewhandler\\.h \\d+ WebViewHandler::onLoadingChanged "
                       "\"?网页加载完成\"? %1$")
            .arg(ok ? "true" : "false"));
}

void expectReportLogs(const QList<bool> &reports)
{
    for (bool ok : reports) {
        if (ok)
            QTest::ignoreMessage(QtDebugMsg, "主 URL 加载成功！");
        else
            QTest::ignoreMessage(QtCriticalMsg,
                                 QRegularExpression("^主 URL 加载失败！ Error: \\S"));
        QTest::ignoreMessage(QtDebugMsg, completionLog(ok));
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
        mixerAddress = runAddress(101);
        mixer = std::make_unique<MixerSim>(QStringList{"--address", mixerAddress});
        QVERIFY(mixer->start());
        slowMixer = std::make_unique<MixerSim>(
            QStringList{"--address", runAddress(102), "--delay", "console=3000"});
        QVERIFY(slowMixer->start());
    }

    // Each row: the first page, a page that replaces it while it still loads
    // (if any), then how a second page is reached; the second is always served.
    void reportsOncePerRequest_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("rearmWith");
        QTest::addColumn<QString>("followUp");
        QTest::addColumn<QList<bool>>("expected");
        QTest::newRow("served, then navigation") << "served"
                                                 << ""
                                                 << "navigate" << QList{true};
        QTest::newRow("refused, then navigation") << "refused"
                                                  << ""
                                                  << "navigate" << QList{false};
        QTest::newRow("refused, then loadUrl") << "refused"
                                               << ""
                                               << "loadUrl" << QList{false, true};
        QTest::newRow("slow, re-armed while waiting") << "slow"
                                                      << "served"
                                                      << "navigate" << QList{true};
    }
    void reportsOncePerRequest()
    {
        QFETCH(QString, first);
        QFETCH(QString, rearmWith);
        QFETCH(QString, followUp);
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

        const QUrl next = urlFor("served", 2);
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

    // The handler logs the completion words with the result and passes it on.
    void handlerPassesResultOn()
    {
        WebViewHandler handler;
        QSignalSpy emitted(&handler, &WebViewHandler::webLoadEndSig);
        for (bool ok : {false, true}) {
            QTest::ignoreMessage(QtDebugMsg, completionLog(ok));
            handler.onLoadingChanged(ok);
        }
        QCOMPARE(reportedValues(emitted), QList<bool>({false, true}));
    }

    // The first Connect with text in the field creates the one hidden host,
    // whatever the text; later presses create no second one.
    void connectCreatesOneHost()
    {
        Widget widget;
        auto *field = widget.findChild<QLineEdit *>("lineEdit_ip");
        const QStringList presses{"", "300.1.1.1", "demo", "demo", mixerAddress, "1.2.3"};
        for (const QString &text : presses) {
            // "demo" hides the widget; bring it back for the next press.
            widget.show();
            field->clear();
            QTest::keyClicks(field, text);
            QTest::mouseClick(widget.findChild<QPushButton *>("btn_connect"), Qt::LeftButton);
            QCOMPARE(hosts().count(), text.isEmpty() ? 0 : 1);
        }
        QVERIFY(!hosts().first()->isVisible());
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
            return QUrl(QStringLiteral("http://%1/dist/index.html").arg(runAddress(102)));
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
