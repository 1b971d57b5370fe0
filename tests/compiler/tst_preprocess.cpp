// Preprocessing of program files: labels, function expansion, and the
// statement listing and position files it leaves beside the program.
#include "compiler/analis.h"
#include "compiler/listingfiles.h"

#include "app/text1251.h"
#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using Texts = QStringList;

namespace {

Texts textsOf(const TArrayStringsTable &table) {
    Texts texts;
    for (const TStatementRecord &st : table)
        texts << st.text();
    return texts;
}

// A project folder with program and function files written as the editor
// writes them (Windows-1251, CR LF).
class Folder {
public:
    QString path(const QString &name) const { return dir.filePath(name); }
    QString write(const QString &name, const Texts &lines) const {
        const QString p = path(name);
        if (!textfile::writeLines(p, lines))
            qFatal("cannot write %s", qPrintable(p));
        return p;
    }
    TAnalis analis() const {
        TAnalis a;
        a.SetProjectFolder(dir.path());
        return a;
    }
    Texts listing(const QString &program) const {
        Texts lines;
        textfile::readLines(listingfiles::ListingPath(path(program)), lines);
        return lines;
    }
    TArrayStringsTable positions(const QString &program) const {
        TArrayStringsTable table;
        QString error;
        if (!listingfiles::ReadPositionFile(listingfiles::PositionPath(path(program)), table, &error))
            qWarning("%s", qPrintable(error));
        return table;
    }
    bool hasListing(const QString &program) const {
        return QFile::exists(listingfiles::ListingPath(path(program))) ||
               QFile::exists(listingfiles::PositionPath(path(program)));
    }

    QTemporaryDir dir;
};

// The program skeleton around some link statements.
Texts program(const Texts &body) {
    return Texts{"module dev1", "Program;", "links;", "end;", "Reset;"} + body + Texts{"end;", "Endprogram;"};
}
const Texts kHead = {"module dev1 program;", "links;", "end;", "reset;"};
const Texts kTail = {"end;", "endprogram;"};
Texts listed(const Texts &body) { return kHead + body + kTail; }

} // namespace

class TstPreprocess : public QObject {
    Q_OBJECT
private slots:
    void labelsAreRenamedAndStatementsRebuilt() {
        Folder f;
        f.write("dev1.pd", program({"Loop: SetOut( out [1] , 1,0,0 );", "goto ( loop );", "goto(Loop);",
                                    "second:wait(5);"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Ok);
        // Renaming is exact: "loop" is not the label "Loop".
        QCOMPARE(f.listing("dev1.pd"),
                 listed({"@l1:setout(out[1],1,0,0);", "goto(loop);", "goto(@l1);", "@l2:wait(5);"}));
        const TArrayStringsTable pos = f.positions("dev1.pd");
        QCOMPARE(pos.size(), 10);
        QCOMPARE(pos[4].text(), QStringLiteral("@l1:setout(out[1],1,0,0)"));
        QCOMPARE(pos[4].line(), 5);
        QCOMPARE(pos[0].line(), 1);
        QCOMPARE(pos[4].filePath(), f.path("dev1.pd"));
    }

    void functionCallsAreExpanded() {
        Folder f;
        f.write("blink.pf", {"function blink(X);", "setout(x,1,0,0);", "again: goto(again);"});
        // "$Blink" finds blink.pf: function names are not case-sensitive.
        f.write("dev1.pd", program({"top: $blink(1);", "$Blink ( 2 ) ;"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Ok);
        // Each expansion numbers its labels after those of the program.
        QCOMPARE(f.listing("dev1.pd"), listed({"@l1:setout(1,1,0,0);", "@l2:goto(@l2);", "setout(2,1,0,0);",
                                                     "@l3:goto(@l3);"}));
        const TArrayStringsTable pos = f.positions("dev1.pd");
        QCOMPARE(pos[4].filePath(), f.path("blink.pf"));
        QCOMPARE(pos[4].line(), 1);
        QCOMPARE(pos[5].line(), 2);
        QCOMPARE(pos[8].filePath(), f.path("dev1.pd"));
    }

    void nestedCallsExpandDepthFirst() {
        Folder f;
        f.write("f.pf", {"function f(a);", "x: $g(a);", "y: setvar(a,1);"});
        f.write("g.pf", {"function g(b);", "z: inc(b);"});
        f.write("dev1.pd", program({"$f(7);"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Ok);
        QCOMPARE(f.listing("dev1.pd"), listed({"@l1:@l3:inc(7);", "@l2:setvar(7,1);"}));
        QCOMPARE(f.positions("dev1.pd")[4].filePath(), f.path("g.pf"));
    }

    void failedExpansions_data() {
        QTest::addColumn<Texts>("function"); // lines of f.pf; empty: no file
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("result");
        QTest::newRow("missing file") << Texts{} << "$f(1)" << "0";
        QTest::newRow("header only") << Texts{"function f(x);"} << "$f(1)" << "1";
        QTest::newRow("empty file") << Texts{""} << "$f(1)" << "1";
        QTest::newRow("argument not one token") << Texts{"function f(x);", "setout(x,1,0,0);"} << "$f(out[1])" << "2";
        QTest::newRow("too few arguments") << Texts{"function f(a,b);", "a;"} << "$f(1)" << "2";
        QTest::newRow("arguments not comma separated") << Texts{"function f(a,b);", "a;"} << "$f(1.2)" << "2";
        QTest::newRow("other name") << Texts{"function g(x);", "x;"} << "$f(1)" << "2";
        QTest::newRow("not a function") << Texts{"procedure f(x);", "x;"} << "$f(1)" << "2";
        QTest::newRow("no parentheses") << Texts{"function f x;", "x;"} << "$f x" << "2";
        // 6 header tokens make 1.5 parameters, rounded to 2: the second one
        // needs a "," that is not there.
        QTest::newRow("half a parameter rounds to even") << Texts{"function f(a b);", "a;"} << "$f(1,)" << "2";
    }
    void failedExpansions() {
        QFETCH(Texts, function);
        QFETCH(QString, call);
        Folder f;
        if (!function.isEmpty())
            f.write("f.pf", function);
        TAnalis a = f.analis();
        int counter = 0;
        const TArrayStringsTable result = a.ExpandFunctionCall(call, counter);
        QCOMPARE(result.size(), 1);
        QTEST(result[0].text(), "result");
        QCOMPARE(result[0].line(), 0);
        QCOMPARE(QFileInfo(result[0].filePath()).fileName(), QStringLiteral("f.pf"));
    }

    void parametersBind_data() {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no parameters") << "function f( )" << "$f()" << "setout(1,1,0,0)" << "setout(1,1,0,0)";
        QTest::newRow("one") << "function f(x)" << "$f(5)" << "wait(x)" << "wait(5)";
        QTest::newRow("two, any case") << "FUNCTION F(a,b)" << "$f(1,2)" << "setout(a,b,A,0)" << "setout(1,2,1,0)";
        QTest::newRow("three") << "function f(a,b,c)" << "$f(x,y,z)" << "calc(a,b,c)" << "calc(x,y,z)";
        QTest::newRow("first parameter wins") << "function f(a,a)" << "$f(1,2)" << "wait(a)" << "wait(1)";
        QTest::newRow("glued without blanks") << "function f(a)" << "$f(1)" << "eeprom byte a" << "eeprombyte1";
        QTest::newRow("division pair stays apart") << "function f(a)" << "$f(x)" << "calc(a,/ /)" << "calc(x,/ /)";
    }
    void parametersBind() {
        QFETCH(QString, header);
        QFETCH(QString, call);
        QFETCH(QString, body);
        Folder f;
        f.write("f.pf", {header + u';', body + u';'});
        TAnalis a = f.analis();
        int counter = 0;
        const TArrayStringsTable result = a.ExpandFunctionCall(call, counter);
        QCOMPARE(result.size(), 1);
        QTEST(result[0].text(), "expected");
        QCOMPARE(result[0].line(), 1);
    }

    void bodyLabelsUseTheSharedCounter() {
        Folder f;
        f.write("f.pf", {"function f(n);", "a: wait(n);", "b: goto(a);", "a: goto(b);"});
        TAnalis a = f.analis();
        int counter = 5;
        const TArrayStringsTable result = a.ExpandFunctionCall("$f(1)", counter);
        // A repeated label keeps its first number; every definition counts.
        QCOMPARE(textsOf(result), (Texts{"@L6:wait(1)", "@L7:goto(@L6)", "@L6:goto(@L7)"}));
        QCOMPARE(counter, 8);
    }

    // Statements are rebuilt in one pass; the result must be that of the
    // rules applied step by step: tokens, label renaming, joining.
    void rebuildFollowsTheTokenRules() {
        const QString alphabet = QStringLiteral("ab1 :/()@.,=<д_x");
        QRandomGenerator rng(2024);
        Texts lines = program({});
        for (int i = 0; i < 400; ++i) {
            QString line;
            for (int k = rng.bounded(1, 14); k > 0; --k)
                line += alphabet[rng.bounded(alphabet.size())];
            lines.insert(5, line + u';');
        }
        Folder f;
        f.write("dev1.pd", lines);
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Ok);

        TArrayStringsTable source;
        QVERIFY(TLexer::ReadStatementTable(f.path("dev1.pd"), source));
        QHash<QString, QString> labels;
        int counter = 0;
        for (const TStatementRecord &st : source) {
            const TStringArray t = TLexer::SplitTokens(st.text());
            if (t.size() >= 2 && t[1] == QLatin1String(":") && !labels.contains(t[0]))
                labels.insert(t[0], QStringLiteral("@L%1").arg(counter + 1));
            if (t.size() >= 2 && t[1] == QLatin1String(":"))
                ++counter;
        }
        Texts expected;
        for (const TStatementRecord &st : source) {
            TStringArray t = TLexer::SplitTokens(st.text());
            for (QString &token : t)
                token = labels.value(token, token);
            expected << LowerAscii(TLexer::JoinTokens(t)) + u';';
        }
        QVERIFY(counter > 0);
        QCOMPARE(f.listing("dev1.pd"), expected);
    }

    void labelledCallToMissingFunction() {
        Folder f;
        f.write("dev1.pd", program({"again: $f(1);", "goto(again);"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Ok);
        QCOMPARE(f.listing("dev1.pd"), listed({"@l1:0;", "goto(@l1);"}));
    }

    void dollarNumbersAreNoCalls() {
        Folder f;
        f.write("dev1.pd", program({"mov(x,$1F);", "top: mov(y,$20);"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Ok);
        QCOMPARE(f.listing("dev1.pd"), listed({"mov(x,$1f);", "@l1:mov(y,$20);"}));
    }

    void recursionIsStopped_data() {
        QTest::addColumn<QString>("chain");
        QTest::addColumn<int>("line");
        QTest::newRow("direct") << "f -> f" << 1;
        QTest::newRow("through another") << "f -> g -> f" << 2;
    }
    void recursionIsStopped() {
        QFETCH(QString, chain);
        Folder f;
        if (chain == QLatin1String("f -> f")) {
            f.write("f.pf", {"function f(a);", "$F(a);"});
        } else {
            f.write("f.pf", {"function f(a);", "$g(a);"});
            f.write("g.pf", {"function g(a);", "wait(a);", "$f(a);"});
        }
        f.write("dev1.pd", program({"$f(1);"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Failed);
        QCOMPARE(a.PreprocessFailure().message, QStringLiteral("Рекурсивный вызов функции f: ") + chain);
        QTEST(int(a.PreprocessFailure().at.line()), "line");
        QVERIFY(!f.hasListing("dev1.pd"));
    }

    void runawayExpansionIsStopped() {
        // Each function calls the next twice: 2^17 statements in the end.
        Folder f;
        for (int i = 1; i < 17; ++i)
            f.write(QStringLiteral("f%1.pf").arg(i),
                    {QStringLiteral("function f%1( );").arg(i), QStringLiteral("$f%1();").arg(i + 1),
                     QStringLiteral("$f%1();").arg(i + 1)});
        f.write("f17.pf", {"function f17( );", "wait(1);", "wait(2);"});
        f.write("dev1.pd", program({"$f1();"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Failed);
        QCOMPARE(a.PreprocessFailure().message,
                 QStringLiteral("После подстановки функций в программе больше 65536 операторов"));
        QVERIFY(!f.hasListing("dev1.pd"));
    }

    void shortOrMissingProgramLeavesNoListing_data() {
        QTest::addColumn<Texts>("lines"); // empty: no program file
        QTest::addColumn<int>("status");
        QTest::newRow("two statements") << Texts{"links;", "end;"} << int(TPreprocessor::TooShort);
        QTest::newRow("empty file") << Texts{""} << int(TPreprocessor::TooShort);
        QTest::newRow("missing file") << Texts{} << int(TPreprocessor::Failed);
    }
    void shortOrMissingProgramLeavesNoListing() {
        QFETCH(Texts, lines);
        Folder f;
        if (!lines.isEmpty())
            f.write("dev1.pd", lines);
        // A listing left by an earlier run must not be compiled instead.
        f.write("dev1.pdc", {"stale;"});
        f.write("dev1.pdl", {"stale"});
        TAnalis a = f.analis();
        QTEST(int(a.PreprocessProgram(f.path("dev1.pd"))), "status");
        QVERIFY(!a.PreprocessFailure().message.isEmpty());
        QVERIFY(!f.hasListing("dev1.pd"));
    }

    void unreadableFunctionFails() {
        Folder f;
        QVERIFY(QDir(f.dir.path()).mkdir("f.pf")); // exists, cannot be read as a file
        f.write("dev1.pd", program({"$f(1);"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Failed);
        QVERIFY2(a.PreprocessFailure().message.contains("f.pf"), qPrintable(a.PreprocessFailure().message));
        QCOMPARE(a.PreprocessFailure().at.filePath(), f.path("dev1.pd"));
        QVERIFY(!f.hasListing("dev1.pd"));
    }

    void failedWriteLeavesNoListing() {
        Folder f;
        f.write("dev1.pd", program({"wait(1);"}));
        QVERIFY(QDir(f.dir.path()).mkdir("dev1.pdl")); // the position file cannot be written
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Failed);
        QVERIFY2(a.PreprocessFailure().message.contains("dev1.pdl"), qPrintable(a.PreprocessFailure().message));
        QVERIFY(!QFile::exists(f.path("dev1.pdc")));
    }

    // The compiler reads the listing back and lays the position records over
    // it, so both must hold the same statements, whatever the joins made.
    void listingAndPositionsAgree_data() {
        QTest::addColumn<Texts>("body");
        QTest::addColumn<Texts>("function");
        QTest::newRow("division pair") << Texts{"calc(x, / / );", "a / / / b;"} << Texts{};
        QTest::newRow("glue makes a section word") << Texts{"$f(1);"} << Texts{"function f(a);", "en d(a);", "v ar x;"};
        QTest::newRow("argument glued to a section word") << Texts{"$f(en);"} << Texts{"function f(a);", "a d(1);"};
        QTest::newRow("empty statements") << Texts{";", ";;"} << Texts{};
        QTest::newRow("long statement") << Texts{"wait(" + QString(400, u'9') + ");"} << Texts{};
        QRandomGenerator rng(1251);
        auto garbage = [&] {
            QByteArray bytes(20'000, '\0');
            for (char &c : bytes)
                c = char(rng.bounded(256));
            return cp1251::decode(bytes).split(u'\n');
        };
        QTest::newRow("garbage calling garbage")
            << garbage() + Texts{";", "$f(1);", "x: $f(2,3);"} << Texts{"function f(a);"} + garbage() + Texts{"wait(a);"};
    }
    void listingAndPositionsAgree() {
        QFETCH(Texts, body);
        QFETCH(Texts, function);
        Folder f;
        if (!function.isEmpty())
            f.write("f.pf", function);
        f.write("dev1.pd", program(body));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Ok);
        TArrayStringsTable listed;
        QVERIFY(TLexer::ReadStatementTable(listingfiles::ListingPath(f.path("dev1.pd")), listed));
        QCOMPARE(textsOf(listed), textsOf(f.positions("dev1.pd")));
        QCOMPARE(listed.size(), f.listing("dev1.pd").size());
        for (const QString &line : f.listing("dev1.pd"))
            QVERIFY2(!line.contains(QLatin1String("//")), qPrintable(line));
    }

    void glueCutAtSectionWordKeepsPosition() {
        Folder f;
        f.write("f.pf", {"function f(a);", "en d(a);"});
        f.write("dev1.pd", program({"$f(1);"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Ok);
        const TArrayStringsTable pos = f.positions("dev1.pd");
        QCOMPARE(textsOf(pos.mid(4, 2)), (Texts{"end", "(1)"}));
        QCOMPARE(pos[4].line(), 1);
        QCOMPARE(pos[5].line(), 1);
        QCOMPARE(pos[5].filePath(), f.path("f.pf"));
    }

    void positionRecordBytes() {
        const TStatementRecord st(QStringLiteral("C:\\proj\\kitchen.pd"), 12, QStringLiteral("setout(1,100,0,0)"));
        QByteArray expected(544, '\0');
        auto put = [&](int at, const QByteArray &bytes) { expected.replace(at, bytes.size(), bytes); };
        put(0, QByteArray("\x12") + "C:\\proj\\kitchen.pd");
        put(256, QByteArray("\x0C\x00\x00\x00", 4));
        put(260, QByteArray("\x11") + "setout(1,100,0,0)");
        put(516, QByteArray("\x0A") + "kitchen.pd");
        put(540, QByteArray("\x0C\x00\x00\x00", 4));
        QCOMPARE(listingfiles::PositionRecord(st), expected);
        QCOMPARE(listingfiles::StatementFromRecord(expected), st);
    }

    void positionRecordFields_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("shortName");
        QTest::newRow("cyrillic") << QStringLiteral("/p/кухня.pd") << 0 << QStringLiteral("вкл") << QByteArray("\xEA\xF3\xF5\xED\xFF.pd");
        QTest::newRow("negative line") << "a.pf" << -2 << "" << QByteArray("a.pf");
        QTest::newRow("long names cut") << "/x/" + QString(300, u'd') << 70000 << QString(255, u't')
                                        << QByteArray(20, 'd');
        QTest::newRow("no folder") << "dev.pd" << 1 << "x" << QByteArray("dev.pd");
    }
    void positionRecordFields() {
        QFETCH(QString, path);
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QByteArray, shortName);
        const QByteArray r = listingfiles::PositionRecord(TStatementRecord(path, line, text));
        QCOMPARE(r.size(), 544);
        QCOMPARE(int(uchar(r[0])), qMin(int(path.size()), 255));
        QCOMPARE(qFromLittleEndian<qint32>(r.constData() + 256), line);
        QCOMPARE(qFromLittleEndian<qint32>(r.constData() + 540), line);
        QCOMPARE(int(uchar(r[260])), text.size());
        QCOMPARE(r.mid(516, 1 + shortName.size()), char(shortName.size()) + shortName);
        QCOMPARE(r.mid(537, 3), QByteArray(3, '\0'));
        const TStatementRecord back = listingfiles::StatementFromRecord(r);
        QCOMPARE(back.filePath(), path.left(255));
        QCOMPARE(back.text(), text);
        QCOMPARE(back.line(), line);
    }

    void positionFileIsLowerCasedRecords() {
        Folder f;
        f.write("Dev1.pd", program({"SetOut(ВЫХОД,1,0,0);"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("Dev1.pd")), TPreprocessor::Ok);
        QFile pdl(f.path("Dev1.pdl"));
        QVERIFY(pdl.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdl.readAll();
        QCOMPARE(bytes.size(), 7 * 544);
        const QByteArray record = bytes.mid(4 * 544, 544);
        QCOMPARE(record.mid(260, 1 + 19), QByteArray("\x13setout(\xC2\xDB\xD5\xCE\xC4,1,0,0)"));
        QCOMPARE(record.mid(516, 8), QByteArray("\x07" "Dev1.pd"));
        QCOMPARE(qFromLittleEndian<qint32>(record.constData() + 540), 5);
        QFile pdc(f.path("Dev1.pdc"));
        QVERIFY(pdc.open(QIODevice::ReadOnly));
        QVERIFY(pdc.readAll().contains("\r\nsetout(\xC2\xDB\xD5\xCE\xC4,1,0,0);\r\n"));
    }

    void preprocessedProgramReadsBack() {
        Folder f;
        f.write("f.pf", {"function f(a);", "wait(a);"});
        f.write("dev1.pd", program({"$F(3);", "SetOut(1,2,3,4);"}));
        TAnalis a = f.analis();
        QCOMPARE(a.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Ok);
        TArrayStringsTable table;
        QString error;
        QVERIFY2(listingfiles::ReadPreprocessedProgram(f.path("dev1.pd"), table, &error), qPrintable(error));
        QCOMPARE(textsOf(table), listed({"wait(3);", "setout(1,2,3,4);"}).replaceInStrings(";", ""));
        QCOMPARE(table[4].filePath(), f.path("f.pf"));
        QCOMPARE(table[4].line(), 1);
        QCOMPARE(table[5].filePath(), f.path("dev1.pd"));
        QCOMPARE(table[5].line(), 6);

        // A listing that no longer matches its position file is refused.
        f.write("dev1.pdc", {"a;", "b;"});
        QVERIFY(!listingfiles::ReadPreprocessedProgram(f.path("dev1.pd"), table, &error));
        QVERIFY2(error.contains("dev1.pdc") && error.contains("dev1.pdl"), qPrintable(error));
        QCOMPARE(table.size(), 8);
    }

    // The compile table is taken from memory after preprocessing; it must be
    // exactly what the position file gives back, also for a folder whose
    // path is longer than a record keeps and has characters the code page
    // lacks.
    void compileTableIsThePositionRecords() {
        Folder f;
        const QString deep = f.path(QString(120, u'п') + "/日本" + QString(120, u'x'));
        QVERIFY(QDir().mkpath(deep));
        const QString programPath = deep + "/dev1.pd";
        QVERIFY(textfile::writeLines(deep + "/f.pf", {"function f(a);", "wait(a);"}));
        QVERIFY(textfile::writeLines(programPath, program({"$F(3);", "SetOut(1,2,3,4);", "Лампа: wait(1);"})));
        TAnalis a;
        a.SetProjectFolder(deep);
        QCOMPARE(a.PreprocessProgram(programPath), TPreprocessor::Ok);
        TArrayStringsTable fromMemory, fromFile;
        QString error;
        QVERIFY(a.ReadCompileTable(programPath, fromMemory, &error));
        QVERIFY2(listingfiles::ReadPositionFile(listingfiles::PositionPath(programPath), fromFile, &error),
                 qPrintable(error));
        QCOMPARE(fromMemory, fromFile);
        QCOMPARE(fromMemory[4].filePath().size(), TStatementRecord::MaxPathLength);
        QVERIFY(fromMemory[4].filePath().contains("??"));
    }

    void damagedPositionFileIsRefused() {
        Folder f;
        QVERIFY(textfile::writeBytes(f.path("x.pdl"), QByteArray(544 + 3, 'x')));
        TArrayStringsTable table;
        QString error;
        QVERIFY(!listingfiles::ReadPositionFile(f.path("x.pdl"), table, &error));
        QVERIFY2(error.contains("x.pdl"), qPrintable(error));
        QVERIFY(textfile::writeBytes(f.path("y.pdl"), QByteArray(2 * 544, '\xFF')));
        QVERIFY(listingfiles::ReadPositionFile(f.path("y.pdl"), table, &error));
        QCOMPARE(table.size(), 2);
        QCOMPARE(table[0].line(), -1);
    }
};

QTEST_GUILESS_MAIN(TstPreprocess)
#include "tst_preprocess.moc"
