// The project's readers keep their own copy of the lexical rules (the
// project library cannot use the compiler's). Both copies must cut and
// prepare text the same way, or a project file and a program would read
// differently.
#include "compiler/lexer.h"
#include "project/lexis.h"

#include <QRandomGenerator>
#include <QTest>

class TstLexisAgreement : public QObject {
    Q_OBJECT
private slots:
    void sameResults_data() {
        QTest::addColumn<QString>("text");
        const QStringList fixed = {"", "   ", "links", "var x", "end ;", "2end", "x_end", "$end", "links end",
                                   "setout(out[1],1,0,0) // end", "a//b", "var//x", "\tconst\t", "a<=b", "x10_A1.on",
                                   "@L1:setout", "привет  мир", "\"x y\"", "{a;b}", "a / / b"};
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
    void sameResults() {
        QFETCH(QString, text);
        QCOMPARE(lexis::prepareSourceLine(text), TLexer::PrepareSourceLine(text));
        QCOMPARE(lexis::splitTokens(text), TLexer::SplitTokens(text));
        for (bool removeBlanks : {false, true}) {
            QString ours = text;
            TLexer::NormalizeText(ours, removeBlanks);
            QCOMPARE(lexis::normalizeText(text, removeBlanks), ours);
        }
    }
};

QTEST_GUILESS_MAIN(TstLexisAgreement)
#include "tst_lexisagreement.moc"
