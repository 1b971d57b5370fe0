// The lexical rules the project files are read with.
#include "project/lexis.h"

#include <QTest>

class TstLexis : public QObject {
    Q_OBJECT
private slots:
    void splitTokens_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("tokens");
        QTest::newRow("statement") << "setout(out[1],50)"
                                   << QStringList{"setout", "(", "out", "[", "1", "]", ",", "50", ")"};
        QTest::newRow("two-character comparison") << "a<=b" << QStringList{"a", "<", "=", "b"};
        QTest::newRow("dotted name") << "x10_A1.on" << QStringList{"x10_A1", ".", "on"};
        QTest::newRow("blanks only") << "  \t " << QStringList();
        QTest::newRow("project line") << "    alias    = Прихожая;" << QStringList{"alias", "=", "Прихожая", ";"};
        QTest::newRow("negative number") << "speed = -1;" << QStringList{"speed", "=", "-", "1", ";"};
        QTest::newRow("word characters") << "$1F @x a\\b|c?" << QStringList{"$1F", "@x", "a\\b|c?"};
        QTest::newRow("quoted alias") << "alias = \"Hall\";" << QStringList{"alias", "=", "\"", "Hall", "\"", ";"};
        QTest::newRow("date with comma") << " yrdateon = 40000,5" << QStringList{"yrdateon", "=", "40000", ",", "5"};
    }

    void splitTokens() {
        QFETCH(QString, text);
        QFETCH(QStringList, tokens);
        QCOMPARE(lexis::splitTokens(text), tokens);
    }

    void prepareSourceLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("prepared");
        QTest::newRow("section word alone") << "links" << "links;";
        QTest::newRow("word after a section word") << "var x" << "var; x";
        QTest::newRow("end with its semicolon") << "  end ;" << "end ;";
        QTest::newRow("end at line end") << "\tsetout(1,0,0,0); end" << "setout(1,0,0,0); end;";
        QTest::newRow("digit before the word") << "2end" << "2end;";
        QTest::newRow("longer word") << "endcycle" << "endcycle";
        QTest::newRow("comment") << "setout(out[1],1,0,0) // end" << "setout(out[1],1,0,0)";
        QTest::newRow("comment only") << "// Раздел описания линков" << "";
    }

    void prepareSourceLine() {
        QFETCH(QString, line);
        QFETCH(QString, prepared);
        QCOMPARE(lexis::prepareSourceLine(line), prepared);
    }

    void normalizeText() {
        QCOMPARE(lexis::normalizeText(QStringLiteral("\t a \x01 b \r")), QStringLiteral("a   b"));
        QCOMPARE(lexis::normalizeText(QStringLiteral("  module  lamp1 "), true), QStringLiteral("modulelamp1"));
        QCOMPARE(lexis::normalizeText(QString()), QString());
    }

    void numbers() {
        quint64 v = 0;
        QVERIFY(lexis::readHex("00a1F3", &v));
        QCOMPARE(v, quint64(0xA1F3));
        QVERIFY(!lexis::readHex("0x10", &v));
        QVERIFY(!lexis::readHex("", &v));
        QVERIFY(!lexis::readHex("11112222333344445", &v)); // beyond 64 bits
        QVERIFY(lexis::readDecimal("0042", &v));
        QCOMPARE(v, quint64(42));
        QVERIFY(!lexis::readDecimal("-1", &v));
        QVERIFY(!lexis::readDecimal("1A", &v));
    }
};

QTEST_GUILESS_MAIN(TstLexis)
#include "tst_lexis.moc"
