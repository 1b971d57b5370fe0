// Word lists, predicates, normalisation, line preparation, statements,
// tokens, joining and sections of the device language.
#include "compiler/analis.h"

#include "app/textfile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using Texts = QStringList;

namespace {

Texts textsOf(const TArrayStringsTable &table) {
    Texts texts;
    for (const TStatementRecord &st : table)
        texts << st.text();
    return texts;
}

QList<int> linesOf(const TArrayStringsTable &table) {
    QList<int> lines;
    for (const TStatementRecord &st : table)
        lines << st.line();
    return lines;
}

TArrayStringsTable tableOf(const Texts &texts) {
    TArrayStringsTable table;
    for (qsizetype i = 0; i < texts.size(); ++i)
        table.append(TStatementRecord(QStringLiteral("p.pd"), qint32(i * 10), texts[i]));
    return table;
}

} // namespace

class TstLexer : public QObject {
    Q_OBJECT
private slots:
    void wordLists() {
        QCOMPARE(ReservedWords().size(), 36);
        QCOMPARE(ReservedWords().first(), QStringLiteral("setout"));
        QCOMPARE(ReservedWords().last(), QStringLiteral("IREmit"));
        QCOMPARE(SectionWords(), (Texts{"end", "endprogram", "links", "const", "var", "program", "endmacro"}));
        for (const QString &w : SectionWords())
            QVERIFY2(IsReservedWord(w), qPrintable(w));
    }

    void predicates_data() {
        QTest::addColumn<QString>("predicate");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        const QList<std::tuple<const char *, QString, bool>> cases = {
            {"reserved", "setout", true},     {"reserved", "SETOUT", true},  {"reserved", "iremit", true},
            {"reserved", "IREmit", true},     {"reserved", "Links", true},   {"reserved", "setouts", false},
            {"reserved", "", false},          {"reserved", "сетаут", false}, {"reserved", "x10_a1", false},
            {"section", "EndProgram", true},  {"section", "endmacro", true}, {"section", "goto", false},
            {"section", "module", false},     {"section", "end;", false},
            {"identifier", "a", true},        {"identifier", "Z9_x", true},  {"identifier", "", false},
            {"identifier", "1a", false},      {"identifier", "_a", false},   {"identifier", "a-b", false},
            {"identifier", "aб", false},      {"identifier", "$a", false},
            {"digits", "", true},             {"digits", "0123", true},      {"digits", "12a", false},
            {"digits", "-1", false},          {"digits", QStringLiteral("\u0661"), false},
            {"hex", "0x", true},              {"hex", "0X1F", true},         {"hex", "0xabcDEF09", true},
            {"hex", "0x1g", false},           {"hex", "x1", false},          {"hex", "0", false},
            {"hex", "00x1", false},           {"hex", "$1F", false},         {"hex", "1x", false},
        };
        for (const auto &[predicate, text, expected] : cases)
            QTest::addRow("%s %s", predicate, qPrintable(text)) << QString::fromLatin1(predicate) << text << expected;
    }
    void predicates() {
        QFETCH(QString, predicate);
        QFETCH(QString, text);
        QFETCH(bool, expected);
        const QHash<QString, std::function<bool(const QString &)>> fn = {
            {"reserved", IsReservedWord},
            {"section", [](const QString &w) { return IsSectionWord(w); }},
            {"identifier", IsIdentifier},
            {"digits", IsDigitString},
            {"hex", IsHexLiteral}};
        QCOMPARE(fn.value(predicate)(text), expected);
    }

    void lowerAsciiLeavesCyrillic() {
        QCOMPARE(LowerAscii(QStringLiteral("SetOut(ВЫХОД)")), QStringLiteral("setout(ВЫХОД)"));
    }

    void normalizeText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("removeBlanks");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("blanks only") << "   " << false << "";
        QTest::newRow("inner blanks kept") << "  a  b  " << false << "a  b";
        QTest::newRow("controls become blanks") << "\ta\tb\r\n" << false << "a b";
        QTest::newRow("controls only") << "\x01\x02\x1f" << false << "";
        QTest::newRow("remove blanks") << " a b\tc " << true << "abc";
        QTest::newRow("char 127 stays") << "a\x7f" << false << "a\x7f";
    }
    void normalizeText() {
        QFETCH(QString, text);
        QFETCH(bool, removeBlanks);
        TLexer::NormalizeText(text, removeBlanks);
        QTEST(text, "expected");
    }

    void prepareSourceLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("links") << "links" << "links;";
        QTest::newRow("semicolon right after the word") << "var x" << "var; x";
        QTest::newRow("end") << "end" << "end;";
        QTest::newRow("end;") << "end;" << "end;";
        QTest::newRow("blanks before semicolon") << "end ;" << "end ;";
        QTest::newRow("any case") << "Program" << "Program;";
        QTest::newRow("digit before word") << "2end" << "2end;";
        QTest::newRow("longer word") << "endx" << "endx";
        QTest::newRow("underscore joins") << "x_end" << "x_end";
        QTest::newRow("dollar is passed") << "$end" << "$end;";
        QTest::newRow("two section words") << "links end" << "links; end;";
        QTest::newRow("normalised") << "\t  var   a  " << "var;   a";
        QTest::newRow("comment after statement") << "setout(out[1],1,0,0) // end" << "setout(out[1],1,0,0)";
        QTest::newRow("comment only") << "// Раздел описания линков" << "";
        QTest::newRow("comment without blank") << "a//b" << "a";
        QTest::newRow("word before comment") << "var//x" << "var;";
        QTest::newRow("cyrillic passed") << "привет var" << "привет var;";
        QTest::newRow("endmacro tail") << "x10_p16.dim(20), endmacro;" << "x10_p16.dim(20), endmacro;";
        QTest::newRow("empty") << "" << "";
    }
    void prepareSourceLine() {
        QFETCH(QString, line);
        QTEST(TLexer::PrepareSourceLine(line), "expected");
    }

    void splitStatements_data() {
        QTest::addColumn<Texts>("lines");
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<QList<int>>("lineNumbers");
        QTest::newRow("var a") << Texts{"var a;"} << Texts{"var", "a"} << QList<int>{0, 0};
        QTest::newRow("end without semicolon") << Texts{"links", "end"} << Texts{"links", "end"} << QList<int>{0, 1};
        QTest::newRow("comment ends no statement")
            << Texts{"setout(out[1],1,0,0) // end", "// note", "x;"} << Texts{"setout(out[1],1,0,0) x"}
            << QList<int>{2};
        QTest::newRow("three lines") << Texts{"setout(1,", "  2,", "3) ;"} << Texts{"setout(1, 2, 3)"}
                                     << QList<int>{2};
        QTest::newRow("empty statement") << Texts{"a;;b;"} << Texts{"a", "", "b"} << QList<int>{0, 0, 0};
        QTest::newRow("tail is lost") << Texts{"a;", "tail"} << Texts{"a"} << QList<int>{0};
        QTest::newRow("empty lines counted") << Texts{"", "  ", "x;"} << Texts{"x"} << QList<int>{2};
        QTest::newRow("no lines") << Texts{} << Texts{} << QList<int>{};
        QTest::newRow("skeleton head") << Texts{"//***", "module lamp1", "//***", "Program;"}
                                       << Texts{"module lamp1 Program"} << QList<int>{3};
    }
    void splitStatements() {
        QFETCH(Texts, lines);
        const TArrayStringsTable table = TLexer::SplitStatements(lines, QStringLiteral("dev.pd"));
        QTEST(textsOf(table), "texts");
        QTEST(linesOf(table), "lineNumbers");
        for (const TStatementRecord &st : table)
            QCOMPARE(st.filePath(), QStringLiteral("dev.pd"));
    }

    void longStatementIsCut() {
        const QString text = QString(300, u'a');
        const TArrayStringsTable table = TLexer::SplitStatements({text + u';'}, QStringLiteral("p.pd"));
        QCOMPARE(table.size(), 1);
        QCOMPARE(table[0].text(), text.left(255));
        QCOMPARE(TStatementRecord(QString(300, u'p'), 0, {}).filePath().size(), 255);
    }

    void readStatementTableFromFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("crlf") << QByteArray("links\r\n\xCF\xF0\xE8;\r\nend\r\n");
        QTest::newRow("lf") << QByteArray("links\n\xCF\xF0\xE8;\nend");
        QTest::newRow("cr") << QByteArray("links\r\xCF\xF0\xE8;\rend\r");
    }
    void readStatementTableFromFile() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dev.pd"));
        QVERIFY(textfile::writeBytes(path, bytes));
        TArrayStringsTable table;
        QString error;
        QVERIFY2(TLexer::ReadStatementTable(path, table, &error), qPrintable(error));
        QCOMPARE(textsOf(table), (Texts{"links", QStringLiteral("При"), "end"}));
        QCOMPARE(linesOf(table), (QList<int>{0, 1, 2}));
        QCOMPARE(table[0].filePath(), path);
    }

    void unreadableFileIsReported() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing.pd"));
        TArrayStringsTable table = tableOf({"old"});
        QString error;
        QVERIFY(!TLexer::ReadStatementTable(path, table, &error));
        QVERIFY2(error.contains(QStringLiteral("missing.pd")), qPrintable(error));
        QCOMPARE(textsOf(table), Texts{"old"});
    }

    void splitTokens_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Texts>("tokens");
        QTest::newRow("setout") << "setout(out[1],50)" << Texts{"setout", "(", "out", "[", "1", "]", ",", "50", ")"};
        QTest::newRow("less or equal") << "a<=b" << Texts{"a", "<", "=", "b"};
        QTest::newRow("not equal") << "a<>b" << Texts{"a", "<", ">", "b"};
        QTest::newRow("device prefix") << "lamp.on" << Texts{"lamp", ".", "on"};
        QTest::newRow("x10") << "x10_A1.on" << Texts{"x10_A1", ".", "on"};
        QTest::newRow("blanks only") << "   " << Texts{};
        QTest::newRow("empty") << "" << Texts{};
        QTest::newRow("number forms") << "$1F 0x1F" << Texts{"$1F", "0x1F"};
        QTest::newRow("fixed point") << "1.5" << Texts{"1", ".", "5"};
        QTest::newRow("label") << "@L1:setout" << Texts{"@L1", ":", "setout"};
        QTest::newRow("cyrillic words") << "привет  мир" << Texts{QStringLiteral("привет"), QStringLiteral("мир")};
        QTest::newRow("control chars separate") << "a\tb" << Texts{"a", "b"};
        QTest::newRow("quotes") << "\"x y\"" << Texts{"\"", "x", "y", "\""};
        QTest::newRow("braces and semicolon") << "{a;b}" << Texts{"{", "a", ";", "b", "}"};
        QTest::newRow("negative") << "a=-5" << Texts{"a", "=", "-", "5"};
    }
    void splitTokens() {
        QFETCH(QString, text);
        QTEST(TLexer::SplitTokens(text), "tokens");
    }

    void joinTokens_data() {
        QTest::addColumn<Texts>("tokens");
        QTest::addColumn<QString>("joined");
        QTest::addColumn<QString>("glued");
        QTest::newRow("goto") << Texts{"goto", "(", "x", ")"} << "goto(x)" << "goto(x)";
        QTest::newRow("words") << Texts{"module", "x", "program"} << "module x program" << "modulexprogram";
        QTest::newRow("label") << Texts{"@L1", ":", "setout"} << "@L1:setout" << "@L1:setout";
        QTest::newRow("digits are words") << Texts{"x", "10"} << "x 10" << "x10";
        QTest::newRow("operators") << Texts{"a", "=", "-", "5"} << "a=-5" << "a=-5";
        QTest::newRow("never a comment") << Texts{"a", "/", "/", "b"} << "a/ /b" << "a/ /b";
        QTest::newRow("empty") << Texts{} << "" << "";
    }
    void joinTokens() {
        QFETCH(Texts, tokens);
        QTEST(TLexer::JoinTokens(tokens), "joined");
        QTEST(TLexer::GlueTokens(tokens), "glued");
    }

    // A rebuilt statement read back as a listing line is the same statement.
    void joinedStatementReadsBack_data() {
        QTest::addColumn<QString>("statement");
        QTest::newRow("division pair") << "calc(x, /  / )";
        QTest::newRow("labelled") << "loop :  setout ( out [ 1 ] , 1 , 0 , 0 )";
        QTest::newRow("triple slash") << "a / / / b";
    }
    void joinedStatementReadsBack() {
        QFETCH(QString, statement);
        const TStringArray tokens = TLexer::SplitTokens(statement);
        for (const QString &text : {TLexer::JoinTokens(tokens), TLexer::GlueTokens(tokens)}) {
            const TArrayStringsTable back = TLexer::SplitStatements({text + u';'}, {});
            QCOMPARE(back.size(), 1);
            QCOMPARE(TLexer::SplitTokens(back[0].text()), tokens);
        }
    }

    void extractSection() {
        TArrayStringsTable table =
            tableOf({"module x program", "links", "a", "end", "CONST", "x=1", "y=2", "End", "endprogram"});
        QCOMPARE(textsOf(TLexer::ExtractSection(table, "const", "end")), (Texts{"x=1", "y=2"}));
        QCOMPARE(textsOf(table), (Texts{"module x program", "links", "a", "end", "", "", "", "", "endprogram"}));

        // Taken once: the second search finds no start word.
        const TArrayStringsTable again = TLexer::ExtractSection(table, "const", "end");
        QCOMPARE(again.size(), 1);
        QCOMPARE(again[0].text(), QStringLiteral("Error[3]"));
        QCOMPARE(again[0].line(), 0);
        QCOMPARE(again[0].filePath(), QStringLiteral("p.pd"));

        // "end" statements outside the search are left alone.
        QCOMPARE(textsOf(TLexer::ExtractSection(table, "links", "end")), Texts{"a"});
        QCOMPARE(textsOf(table), (Texts{"module x program", "", "", "", "", "", "", "", "endprogram"}));
    }

    void extractSectionMarkers_data() {
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<Texts>("tableAfter");
        QTest::addColumn<QString>("marker");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("path");
        QTest::newRow("table too short") << Texts{"var", "end"} << Texts{"var", "end"} << "Error[4]" << 0 << "";
        QTest::newRow("no start word") << Texts{"links", "end", "x"} << Texts{"links", "end", "x"} << "Error[3]"
                                       << 0 << "p.pd";
        QTest::newRow("no end") << Texts{"x", "var", "a", "b"} << Texts{"x", "", "", ""} << "Error[1]" << 30
                                << "p.pd";
        QTest::newRow("no end, nothing taken") << Texts{"x", "y", "var"} << Texts{"x", "y", ""} << "Error[1]"
                                               << 20 << "";
    }
    void extractSectionMarkers() {
        QFETCH(Texts, texts);
        TArrayStringsTable table = tableOf(texts);
        const TArrayStringsTable result = TLexer::ExtractSection(table, "var", "end");
        QTEST(textsOf(table), "tableAfter");
        QCOMPARE(result.size(), 1);
        QTEST(result[0].text(), "marker");
        QTEST(int(result[0].line()), "line");
        QTEST(result[0].filePath(), "path");
    }

    void emptySectionGivesNothing() {
        TArrayStringsTable table = tableOf({"var", "end", "x"});
        QVERIFY(TLexer::ExtractSection(table, "var", "end").isEmpty());
        QCOMPARE(textsOf(table), (Texts{"", "", "x"}));
    }

    // Whatever a file holds, reading, tokenising and rebuilding finish and
    // keep the record limits.
    void anyInputIsHandled_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("unterminated string") << QByteArray("setout(\"abc;\r\n\"def");
        QTest::newRow("unterminated comment") << QByteArray("a; /* b; c");
        QTest::newRow("only separators") << QByteArray(";;;;\r\n;\r\n\r\n");
        QTest::newRow("huge line") << QByteArray(2'000'000, 'x') + ";" + QByteArray(500'000, ';');
        QByteArray garbage(200'000, '\0');
        QRandomGenerator rng(1251);
        for (char &c : garbage)
            c = char(rng.bounded(256));
        QTest::newRow("binary garbage") << garbage;
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QTest::newRow("every byte") << all + ";" + all;
    }
    void anyInputIsHandled() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("junk.pd"));
        QVERIFY(textfile::writeBytes(path, bytes));
        TArrayStringsTable table;
        QVERIFY(TLexer::ReadStatementTable(path, table));
        for (const TStatementRecord &st : table) {
            QVERIFY(st.text().size() <= 255);
            QVERIFY(!st.text().contains(u';'));
            const TStringArray tokens = TLexer::SplitTokens(st.text());
            for (const QString &t : tokens)
                QVERIFY(!t.isEmpty() && !t.contains(u' '));
            TLexer::JoinTokens(tokens);
        }
        for (const char *word : {"var", "links", "const"})
            TLexer::ExtractSection(table, word, "end");
    }
};

QTEST_GUILESS_MAIN(TstLexer)
#include "tst_lexer.moc"
