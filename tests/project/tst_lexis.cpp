// The lexical rules of the device language, which the project files and the
// compiler are read with.
#include "project/lexis.h"

#include <QRandomGenerator>
#include <QTest>

namespace plain {

// The rules as they are stated, written plainly: the fast single-pass forms
// must cut and prepare any text exactly as these do.
bool isLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

QString normalizeText(const QString &text, bool removeBlanks) {
    QString s = text;
    for (QChar &c : s)
        if (c.unicode() < 32)
            c = u' ';
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    s = s.mid(b, e - b);
    if (removeBlanks)
        s.remove(u' ');
    return s;
}

QString prepareSourceLine(const QString &line) {
    static const QStringList sectionWords{"end", "endprogram", "links", "const", "var", "program", "endmacro"};
    QString s = normalizeText(line, false);
    qsizetype i = 0;
    while (i < s.size()) {
        if (!isLetter(s[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < s.size() && (isLetter(s[i]) || isDigit(s[i]) || s[i] == u'_'))
            ++i;
        if (!sectionWords.contains(s.mid(start, i - start), Qt::CaseInsensitive))
            continue;
        const qsizetype wordEnd = i;
        while (i < s.size() && s[i] == u' ')
            ++i;
        if (i >= s.size() || s[i] != u';') {
            s.insert(wordEnd, u';');
            i = wordEnd + 1;
        }
    }
    const qsizetype comment = s.indexOf(QLatin1String("//"));
    if (comment >= 0)
        s.truncate(comment);
    return normalizeText(s, false);
}

QStringList splitTokens(const QString &text) {
    const QString separators = QStringLiteral(" \"(),.:;[]{}*+-/<=>");
    QStringList tokens;
    QString word;
    for (QChar c : normalizeText(text, false)) {
        if (!separators.contains(c)) {
            word += c;
            continue;
        }
        if (!word.isEmpty())
            tokens << word;
        word.clear();
        if (c != u' ')
            tokens << QString(c);
    }
    if (!word.isEmpty())
        tokens << word;
    return tokens;
}

} // namespace plain

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

    void agreesWithThePlainRules_data() {
        QTest::addColumn<QString>("text");
        const QStringList fixed = {"", "   ", "links", "var x", "end ;", "2end", "x_end", "$end", "links end",
                                   "setout(out[1],1,0,0) // end", "a//b", "var//x", "\tconst\t", "a<=b", "x10_A1.on",
                                   "@L1:setout", "привет  мир", "\"x y\"", "{a;b}", "a / / b", "ENDPROGRAM x"};
        for (const QString &t : fixed)
            QTest::addRow("%s", qPrintable(t)) << t;
        const QString alphabet = QStringLiteral("aEn dvr;:/()\t\"@_1д.,=<{") + QChar(0x98) + QChar(5);
        QRandomGenerator rng(7);
        for (int i = 0; i < 300; ++i) {
            QString t;
            for (int k = rng.bounded(0, 30); k > 0; --k)
                t += alphabet[rng.bounded(alphabet.size())];
            QTest::addRow("random %d", i) << t;
        }
    }

    void agreesWithThePlainRules() {
        QFETCH(QString, text);
        QCOMPARE(lexis::prepareSourceLine(text), plain::prepareSourceLine(text));
        QCOMPARE(lexis::splitTokens(text), plain::splitTokens(text));
        for (bool removeBlanks : {false, true})
            QCOMPARE(lexis::normalizeText(text, removeBlanks), plain::normalizeText(text, removeBlanks));
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
