// The QML web view document: it reports, once per request, whether the page
// it was told to load came up; later navigations inside the page are not
// reported.
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickView>

#include "console/webviewhandler.h"
#include "support/mixersim.h"
#include "support/runaddress.h"
#include "support/testmain.h"

namespace {

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

// A page that is served at once ("served"), after three seconds ("slow"),
// or refused because nothing listens ("refused").
QUrl urlFor(const QString &kind, int page)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const QString host = kind == "refused" ? "127.0.0.1:" + QString::number(probe.serverPort())
                         : kind == "slow"  ? runAddress(2)
                                           : runAddress(1);
    return QUrl(QStringLiteral("http://%1/dist/index.html?page=%2").arg(host).arg(page));
}

}  // namespace

class TestWebHost : public QObject
{
    Q_OBJECT
    std::unique_ptr<MixerSim> mixer, slowMixer;

private slots:
    void initTestCase()
    {
        mixer = std::make_unique<MixerSim>(QStringList{"--address", runAddress(1)});
        slowMixer = std::make_unique<MixerSim>(
            QStringList{"--address", runAddress(2), "--delay", "console=3000"});
        QVERIFY(mixer->start() && slowMixer->start());
    }
    void cleanupTestCase() { mixer.reset(), slowMixer.reset(); }

    // The first page, a page that replaces it while it still loads (if any),
    // then a second page reached by navigation or by loadUrl.
    void reportsOncePerRequest_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("rearmWith");
        QTest::addColumn<bool>("loadUrl");
        QTest::addColumn<QList<bool>>("reports");
        QTest::newRow("refused, then navigation") << "refused"
                                                  << "" << false << QList{false};
        QTest::newRow("refused, then loadUrl") << "refused"
                                               << "" << true << QList{false, true};
        QTest::newRow("slow, re-armed while waiting") << "slow"
                                                      << "served" << false << QList{true};
    }
    void reportsOncePerRequest()
    {
        QFETCH(QString, first);
        QFETCH(QString, rearmWith);
        QFETCH(bool, loadUrl);
        QQuickView view;
        WebViewHandler handler;
        QSignalSpy reports(&handler, &WebViewHandler::webLoadEndSig);
        view.rootContext()->setContextProperty("initialUrl", urlFor(first, 1));
        view.rootContext()->setContextProperty("webTooltip", &handler);
        view.setSource(QUrl(QStringLiteral("qrc:/main.qml")));
        QCOMPARE(view.status(), QQuickView::Ready);
        QObject *root = view.rootObject();
        QQmlComponent counter(view.engine());
        counter.setData(loadEndCounter, QUrl());
        std::unique_ptr<QObject> loadEnds(
            counter.createWithInitialProperties({{"target", QVariant::fromValue(root)}}));
        QVERIFY(loadEnds);
        if (!rearmWith.isEmpty()) {
            QTRY_VERIFY(root->property("loading").toBool());
            QMetaObject::invokeMethod(root, "loadUrl", Q_ARG(QVariant, urlFor(rearmWith, 3)));
        }
        QTRY_COMPARE_WITH_TIMEOUT(loadEnds->property("ended").toInt(), 1, 20000);
        QCOMPARE(reports.count(), 1);

        if (loadUrl)
            QMetaObject::invokeMethod(root, "loadUrl", Q_ARG(QVariant, urlFor("served", 2)));
        else
            root->setProperty("url", urlFor("served", 2));
        QTRY_COMPARE_WITH_TIMEOUT(loadEnds->property("ended").toInt(), 2, 20000);
        QList<bool> reported;
        for (const QList<QVariant> &arguments : reports)
            reported << arguments.at(0).toBool();
        QTEST(reported, "reports");
    }
};

LAUNCHER_TEST_MAIN(TestWebHost)
#include "tst_webhost.moc"
