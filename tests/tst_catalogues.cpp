// The bundled interface catalogues, message by message.
#include <QTranslator>

#include <QtTest>
#include "support/cataloguemessages.h"

namespace {

QString catalogue(const char *language)
{
    return QStringLiteral(":/Resource/main_widget_%1.qm").arg(QLatin1String(language));
}

}  // namespace

class TestCatalogues : public QObject
{
    Q_OBJECT
private slots:
    void loads_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("empty");
        QTest::newRow("en") << catalogue("en") << true;
        QTest::newRow("zh") << catalogue("zh") << false;
        QTest::newRow("tc") << catalogue("tc") << false;
        QTest::newRow("sp") << catalogue("sp") << false;
    }
    void loads()
    {
        QFETCH(QString, path);
        QFETCH(bool, empty);
        QTranslator translator;
        QVERIFY2(translator.load(path), qPrintable(path));
        QCOMPARE(translator.isEmpty(), empty);
        QCOMPARE(translator.filePath(), path);
    }

    void message_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        for (const CatalogueMessage &m : catalogueMessages()) {
            for (const char *language : {"en", "zh", "tc", "sp"}) {
                QTest::addRow("%s %s/%s", language, m.context, m.source)
                    << QString::fromLatin1(language) << QString::fromLatin1(m.context)
                    << QString::fromUtf8(m.source) << m.text(QLatin1String(language));
            }
        }
        // Texts without an entry stay English in every language.
        const char *const untranslated[][2] = {
            {"loading", "Loading failed, please check the network environment."},
            {"Widget", "Status:"},
        };
        for (const auto &text : untranslated) {
            for (const char *language : {"en", "zh", "tc", "sp"}) {
                QTest::addRow("%s untranslated %s/%s", language, text[0], text[1])
                    << QString::fromLatin1(language) << QString::fromLatin1(text[0])
                    << QString::fromUtf8(text[1]) << QString::fromUtf8(text[1]);
            }
        }
    }
    // Goes through the application translator, the way tr() reaches it.
    void message()
    {
        QFETCH(QString, language);
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, expected);
        QTranslator translator;
        QVERIFY(translator.load(catalogue(qPrintable(language))));
        // An empty catalogue is refused by installTranslator(), which is fine:
        // the source texts then show.
        QCoreApplication::installTranslator(&translator);
        const QString shown =
            QCoreApplication::translate(qPrintable(context), source.toUtf8().constData());
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(shown, expected);
    }
};

QTEST_GUILESS_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
