// The bundled interface catalogues, message by message.
#include <QTranslator>

#include "support/testmain.h"

namespace {

struct Message
{
    const char *context;
    const char *source;
    const char *simplified;
    const char *traditional;
    const char *spanish;
};

// Every translated message of the interface, as the translators delivered it.
const Message messages[] = {
    {"Widget", "Connect", "连接", "連接", "Conectar"},
    {"Widget", "Connection", "连接", "網路設定", "Conexión"},
    {"Widget", "IP", "IP地址", "IP地址", "IP"},
    {"Widget", "Modle", "模式", "模式", "Modo"},
    {"Widget", "Name", "设备名称", "設備名稱", "Nombre"},
    {"Widget", "Please enter a valid IP address!", "请输入一个有效的IP地址！",
     "請輸入有效的IP地址！", "¡¡ introduzca una dirección IP válida!"},
    {"Widget", "Please select an IP address", "请选择一个ip地址", "請選擇一個IP地址",
     "Please Select an IP Direction"},
    {"Widget", "Remark", "备注", "備註", "Notar"},
    {"Widget", "Search", "搜索", "搜尋", "Búscar Canal"},
    {"Widget", "Search ended!", "搜索结束！", "搜尋完畢", "¡Búsqueda finalizada!"},
    {"Widget", "Searching...", "搜索中。。。", "搜尋中。。。", "Buscando"},
    {"Widget", "Select Mixer from List", "从列表中选择混音器", "從列表中選擇混音器",
     "Seleccionar Consola Digital de la lista"},
    {"Widget", "Status", "状态", "狀態", "Estado"},
    {"Widget", "Status：", "状态", "狀態", "Estado:"},
    {"loading", "Loading", "加载中", "加載中", "En carga"},
    {"loading", "Loading...", "加载中", "加載中", "En carga"},
};

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
        for (const Message &m : messages) {
            const QString row =
                QLatin1String(m.context) + QLatin1Char('/') + QString::fromUtf8(m.source);
            const auto add = [&](const char *language, const char *text) {
                QTest::addRow("%s %s", language, qPrintable(row))
                    << QString::fromLatin1(language) << QString::fromLatin1(m.context)
                    << QString::fromUtf8(m.source) << QString::fromUtf8(text);
            };
            add("en", m.source);
            add("zh", m.simplified);
            add("tc", m.traditional);
            add("sp", m.spanish);
        }
        // Texts without an entry stay English in every language.
        const char *const untranslated[][2] = {
            {"loading", "Loading failed, please check the network environment."},
            {"loading", "Connect"},
            {"Widget", "Loading"},
            {"Widget", "Status:"},
            {"Widget", "Modle "},
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

    void missingCatalogueLeavesTranslatorEmpty()
    {
        QTranslator translator;
        QVERIFY(!translator.load(catalogue("fr")));
        QVERIFY(translator.isEmpty());
        QCOMPARE(translator.translate("Widget", "Connect"), QString());
    }
};

LAUNCHER_TEST_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
