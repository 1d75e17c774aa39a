// Each bundled catalogue against the .ts it is made from: every message
// there is translated, and the catalogue gives that translation.
#include <QTranslator>
#include <QXmlStreamReader>

#include <QtTest>

class TestCatalogues : public QObject
{
    Q_OBJECT
private slots:
    void translatesEveryMessage_data()
    {
        QTest::addColumn<QString>("language");
        for (const char *language : {"zh", "tc", "sp"})
            QTest::newRow(language) << language;
    }
    void translatesEveryMessage()
    {
        QFETCH(QString, language);
        QTranslator catalogue;
        QVERIFY(catalogue.load(":/Resource/main_widget_" + language + ".qm"));
        QFile source(QFINDTESTDATA("../resources/Resource/main_widget_" + language + ".ts"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&source);
        QString context, text;
        int messages = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"name")
                context = xml.readElementText();
            else if (xml.name() == u"source")
                text = xml.readElementText();
            else if (xml.name() == u"translation") {
                const QString translation = xml.readElementText();
                QVERIFY2(!translation.isEmpty(), qPrintable(text));
                QCOMPARE(catalogue.translate(qPrintable(context), text.toUtf8()), translation);
                ++messages;
            }
        }
        QVERIFY(!xml.hasError());
        QCOMPARE(messages, 16);
    }
};

QTEST_GUILESS_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
