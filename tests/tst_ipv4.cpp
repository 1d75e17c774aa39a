#include <QtTest>
#include "app/ipv4.h"

class TestIPv4 : public QObject
{
    Q_OBJECT
private slots:
    void check_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("canonical");
        QTest::newRow("plain") << "192.168.1.10" << true << "192.168.1.10";
        QTest::newRow("leading zeros") << "192.168.001.010" << true << "192.168.1.10";
        QTest::newRow("zero-led eight") << "192.168.1.08" << true << "192.168.1.8";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("part above 255") << "256.1.1.1" << false << "";
        QTest::newRow("249") << "1.1.1.249" << true << "1.1.1.249";
        QTest::newRow("last part 255") << "1.2.3.255" << true << "1.2.3.255";
        for (int last = 256; last <= 259; ++last)
            QTest::addRow("last part %d", last) << "1.2.3." + QString::number(last) << false << "";
        QTest::newRow("three parts") << "1.2.3" << false << "";
        QTest::newRow("five parts") << "1.2.3.4.5" << false << "";
        QTest::newRow("leading blank") << " 1.2.3.4" << false << "";
        QTest::newRow("trailing line feed") << "1.2.3.4\n" << false << "";
        QTest::newRow("trailing dot") << "1.2.3.4." << false << "";
        QTest::newRow("demo") << "demo" << false << "";
        QTest::newRow("arabic-indic digits")
            << QString::fromUtf8("\u0661.\u0662.\u0663.\u0664") << false << "";
    }
    void check()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QString, canonical);
        QCOMPARE(isValidIPv4(text), valid);
        QCOMPARE(canonicalIPv4(text), canonical);
    }
};

QTEST_GUILESS_MAIN(TestIPv4)
#include "tst_ipv4.moc"
