// The hidden QML web view host as the launcher's own start-up leaves it: its
// document, compiled into the bundle, reports the end of a load once each
// time it is told to load, and QML code can create the folder prompt.
#include <private/qqmlmetatype_p.h>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickView>

#include "app/launcher.h"
#include "chrome/basewindow.h"
#include "console/webviewhandler.h"
#include "support/dialoganswerer.h"
#include "support/testmain.h"

class TestWebHost : public QObject
{
    Q_OBJECT
private slots:
    // A first page that fails reports false; a navigation inside the page
    // reports nothing; loadUrl arms the wait again: one more report. The
    // folder prompt answers nothing when it is cancelled.
    void qmlHost()
    {
        QQmlMetaType::CachedUnitLookupError error;
        QVERIFY(QQmlMetaType::findCachedCompilationUnit(QUrl("qrc:/main.qml"), &error));
        QQuickView view;
        WebViewHandler handler;
        QSignalSpy reports(&handler, &WebViewHandler::webLoadEndSig);
        view.rootContext()->setContextProperty("initialUrl", QUrl("http://127.0.0.1:1/"));
        view.rootContext()->setContextProperty("webTooltip", &handler);
        view.setSource(QUrl("qrc:/main.qml"));
        QObject *root = view.rootObject();
        QVERIFY(root);
        QTRY_COMPARE_WITH_TIMEOUT(reports.size(), 1, 20000);
        root->setProperty("url", "data:text/html,<title>navigated</title>");
        QTRY_VERIFY_WITH_TIMEOUT(
            root->property("title") == "navigated" && !root->property("loading").toBool(), 20000);
        QCOMPARE(reports.size(), 1);
        QMetaObject::invokeMethod(root, "loadUrl", Q_ARG(QVariant, "data:text/html,asked"));
        QTRY_COMPARE_WITH_TIMEOUT(reports.size(), 2, 20000);
        QCOMPARE(reports.at(0).at(0).toBool(), false);
        QCOMPARE(reports.at(1).at(0).toBool(), true);

        QQmlComponent component(view.engine());
        component.setData("import com.mycompany 1.0\nSelectDownloadFolder {}", QUrl());
        std::unique_ptr<QObject> prompt(component.create());
        QVERIFY2(prompt, qPrintable(component.errorString()));
        DialogAnswerer answerer;  // with no folder to give, it cancels
        QString chosen = "none yet";
        QMetaObject::invokeMethod(prompt.get(), "getSelectDownloadFolder",
                                  Q_RETURN_ARG(QString, chosen));
        QCOMPARE(chosen, QString());
        QCOMPARE(answerer.titles, QStringList{" 选择文件夹 "});
    }
};

// Run inside the launcher's own start-up, which registers the prompt for QML.
int main(int argc, char *argv[])
{
    prepareTestEnvironment();
    int status = 1, launcherArgc = 1;
    runLauncher(launcherArgc, argv, [&](BaseWindow &window) {
        TestWebHost tests;
        status = QTest::qExec(&tests, argc, argv);
        QTimer::singleShot(0, &window, &QWidget::close);
    });
    return status;
}

#include "tst_webhost.moc"
