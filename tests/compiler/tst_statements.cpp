// Statement compilation: each source statement and the exact command line
// or error text it answers.
#include "statementfixture.h"

#include <QRandomGenerator>

namespace {
QString zeros(int n) { return QString(n, '0'); }
} // namespace

class TstStatements : public QObject {
    Q_OBJECT
private slots:
    void compile_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("answer");
        const QString x10Input = "errorНеверный вход устройства X10 - \"%1\". Требуется x10_<A..P><1..16>";
        // X10
        QTest::newRow("x10 on") << "x10_c3.on" << "ADDR:06110000220500000000000000000000";
        QTest::newRow("x10 dim macro end") << "x10_p16.dim(20), endmacro" << "ADDR:07110000FF0914000000000000000000";
        QTest::newRow("x10 all units") << "x10_p.all_units_off" << "ADDR:06070000F00100000000000000000000";
        QTest::newRow("x10 all lights off") << "x10_a.all_lights_off" << "ADDR:06070000000D00000000000000000000";
        QTest::newRow("x10 all lights on") << "x10_b.all_lights_on" << "ADDR:06070000100300000000000000000000";
        QTest::newRow("x10 off") << "x10_a2.off" << "ADDR:06110000010700000000000000000000";
        QTest::newRow("x10 unit 0") << "x10_a0.on" << "ADDR:061100000f0500000000000000000000";
        QTest::newRow("x10 to a device") << "lamp.x10_a1.bright" << "ADDR:06110012000B00000000000000000000";
        QTest::newRow("x10 no unit") << "x10_p.on" << x10Input.arg("x10_p");
        QTest::newRow("x10 house q") << "x10_q1.on" << x10Input.arg("x10_q1");
        QTest::newRow("x10 unit 17") << "x10_a17.on" << x10Input.arg("x10_a17");
        QTest::newRow("x10 count 255") << "x10_a1.bright(255)" << "ADDR:06110000000BFF000000000000000000";
        QTest::newRow("x10 count 256") << "x10_a1.dim(256)" << "errorКоличество повторений превышает 256";
        QTest::newRow("x10 count 300") << "x10_a1.dim(300)" << "errorКоличество повторений превышает 256";
        QTest::newRow("x10 count word") << "x10_a1.dim(x)" << "errorТребуется число, а найдено - \"x\"";
        QTest::newRow("x10 count close") << "x10_a1.dim(5]" << "errorТребуется \")\", а найдено - \"]\"";
        QTest::newRow("x10 dot") << "x10_a1 on" << "errorТребуется \".\", а найдено - \"on\". Требуется x10_<A..P><1..16>";
        QTest::newRow("x10 function") << "x10_a1.blink" << "errorНеверная команда устройства X10 - \"blink\"";
        QTest::newRow("x10 tail") << "x10_a1.on x" << "errorТребуется \",\" или \";\", а найдено - \"x\"";
        QTest::newRow("x10 comma at end") << "x10_a1.on," << "errorТребуется \"endmacro\", а найдено \";\"";
        QTest::newRow("x10 not endmacro") << "x10_a1.on, x" << "errorТребуется \"endmacro\", а найдено - \"x\"";
        QTest::newRow("x10 after endmacro") << "x10_a1.on, endmacro x" << "errorТребуется \";\", а найдено - \"x\"";
        // setout and changeout
        QTest::newRow("setout numbers") << "setout(1,100,0,0)" << "ADDR:06081111000001000064000000000000";
        QTest::newRow("setout variable") << "setout(x,2,0,0)" << "ADDR:06083111000003000002000000000000";
        QTest::newRow("setout fixed point") << "setout(1,2,0,2.5)" << "ADDR:0608111100000100000200000000000A";
        QTest::newRow("setout port") << "setout(1,in[2],0,0)" << "ADDR:06081511000001000002000000000000";
        QTest::newRow("setout remote variable") << "setout(1,2,lamp.lw,0)" << "ADDR:06081171000001000002004A01000000";
        QTest::newRow("setout macro end") << "setout(1,2,0,0), endmacro" << "ADDR:07081111000001000002000000000000";
        QTest::newRow("setout goto") << "setout(1,2,0,0), goto(@l1)" << "ADDR:0608111100000100000200000000L000";
        QTest::newRow("setout bad goto") << "setout(1,2,0,0), goto[@l1]" << "errorНеверный аргументы команды goto";
        QTest::newRow("setout short tail ignored") << "setout(1,2,0,0) x" << "ADDR:06081111000001000002000000000000";
        QTest::newRow("setout extra parameter") << "setout(1,2,0,0,x)" << "errorТребуется ')', а найдено ','";
        QTest::newRow("remote setout") << "lamp.setout(2,1,0,0)" << "ADDR:0608D111004802000001000000000000";
        QTest::newRow("remote setout 17") << "lamp.setout(17,1,0,0)"
                                          << "errorЗначение параметра №1 (Nchannel) для удаленной команды Alias.setout превышает значение 16";
        QTest::newRow("remote setout port")
            << "lamp.setout(in[1],1,0,0)" << "errorНеверный параметр №1 (Nchannel) для удаленной команды Alias.setout";
        QTest::newRow("remote setout variable")
            << "lamp.setout(x,1,0,0)" << "errorНеверный параметр №1 (Nchannel) для удаленной команды Alias.setout";
        QTest::newRow("delay out") << "setout(1,2,out[1],0)" << "errorOut[] не допустим для операнда Delay";
        QTest::newRow("delay remote out") << "setout(1,2,lamp.out[1],0)" << "errorOut[] не допустим для операнда Delay";
        QTest::newRow("ton level out") << "setout(1,2,0,out[1])" << "errorOut[] не допустим для операнда Tonlevel";
        QTest::newRow("ton level remote out") << "setout(1,2,0,lamp.out[1])" << "errorOut[] не допустим для операнда TonLevel";
        QTest::newRow("three parameters") << "setout(1,2,3)" << "errorНеверный параметр №3 - Delay";
        QTest::newRow("channel missing") << "setout(,1,0,0)" << "errorТребуется параметр Nchannel, а найдено','";
        QTest::newRow("level missing") << "setout(1,,0,0)" << "errorТребуется параметр Level, а найдено','";
        QTest::newRow("delay missing") << "setout(1,2,,0)" << "errorТребуется параметр Delay, а найдено','";
        QTest::newRow("ton level missing") << "setout(1,2,0,,0)" << "errorТребуется параметр Tonlevel, а найдено','";
        QTest::newRow("channel form") << "setout(in 1,2,0,0)" << "errorНеверный параметр №1 - NChannel";
        QTest::newRow("level form") << "setout(1,in 2,0,0)" << "errorНеверный параметр №2 - Level";
        QTest::newRow("ton level form") << "setout(1,2,0,in 2)" << "errorНеверный параметр №4 - Tonlevel";
        QTest::newRow("setout no paren") << "setout 1" << "errorТребуется '(', а найдено '1'";
        QTest::newRow("changeout negative") << "changeout(1,-10,0,0)" << "ADDR:060411110000010000F6000000000000";
        QTest::newRow("setout negative") << "setout(1,-10,0,0)" << "error Найден неизвестный идентификатор - -";
        QTest::newRow("setout unknown") << "setout(1,nothing,0,0)" << "error Найден неизвестный идентификатор - nothing";
        QTest::newRow("setout event parameter") << "setout(1,param,0,0)" << "errorПараметр №2 не допустим для команды setout";
        // setvar and goto
        QTest::newRow("setvar number") << "setvar(5,10)" << "ADDR:06020605000A" + zeros(20);
        QTest::newRow("setvar param macro end") << "setvar(5,param), endmacro" << "ADDR:070205050000" + zeros(20);
        QTest::newRow("setvar constant") << "setvar(three,y)" << "ADDR:060206030005" + zeros(20);
        QTest::newRow("setvar shape") << "setvar(5 10)" << "";
        QTest::newRow("setvar source") << "setvar(5,foo)" << "errorНеверный источник значения команды setvar - 'foo'";
        QTest::newRow("goto") << "goto(@l1)" << "ADDR:0605L000" + zeros(24);
        QTest::newRow("goto macro end") << "goto(@l1), endmacro" << "ADDR:0705L000" + zeros(24);
        QTest::newRow("goto shape") << "goto @l1" << "";
        QTest::newRow("goto constant cycle") << "goto(cyc1)" << "errorЦиклическое определение константы cyc1";
        QTest::newRow("goto letters") << "goto(1f)" << "errorНеизвестная команда";
        // mov
        QTest::newRow("mov") << "mov(x,5)" << "ADDR:06090200000000030000000000050000";
        QTest::newRow("mov remote") << "mov(lamp.lv,in[2]), endmacro" << "ADDR:07090600120000050500000000020000";
        QTest::newRow("mov into a number") << "mov(5,x)" << "errorНедопустимый параметр -5";
        QTest::newRow("mov first missing") << "mov(,x)" << "errorТребуется первый параметр, а найдено','";
        QTest::newRow("mov second missing") << "mov(x,,5)" << "errorТребуется второй параметр, а найдено','";
        QTest::newRow("mov second form") << "mov(x,5]" << "errorНеверный параметр №2";
        QTest::newRow("mov first form") << "mov(in 1,5)" << "errorНеверный параметр №1";
        QTest::newRow("mov close") << "mov(x,5,6)" << "errorТребуется ')', а найдено \",\"";
        QTest::newRow("mov no paren") << "mov x" << "errorТребуется '(', а найдено 'x'";
        // runlink
        QTest::newRow("runlink local") << "runlink(up,0)" << "ADDR:060B0803000000000000000000000000";
        QTest::newRow("runlink global macro end") << "runlink(g1,x), endmacro" << "ADDR:070B0800000200000000030000000000";
        QTest::newRow("runlink device") << "runlink(lamp.g1,0)" << "ADDR:060B0800000000000000000000000000";
        QTest::newRow("runlink unknown link") << "runlink(nolink,0)" << "errorВ команде RunLink требуется линк, а найдено \"nolink\"";
        QTest::newRow("runlink unknown device") << "runlink(nodev.up,0)" << "errorТребуется alias устройства, а найдено \"nodev\"";
        QTest::newRow("runlink device dot") << "runlink(lamp up,0)" << "errorТребуется \".\", а найдено \"up\"";
        QTest::newRow("runlink paren") << "runlink up" << "errorТребуется \"(\", а найдено \"up\"";
        QTest::newRow("runlink comma") << "runlink(lamp.up 0)" << "errorТребуется \",\", а найдено \"0\"";
        QTest::newRow("runlink operand") << "runlink(up,0" << "errorНеверный второй операнд команды";
        QTest::newRow("runlink ends") << "runlink(up,in[1]" << "errorТребуется \")\"";
        QTest::newRow("runlink close") << "runlink(up,in[1]]" << "errorТребуется \")\", а найдено \"]\"";
        QTest::newRow("runlink one more") << "runlink(up,0) x" << "errorТребуется \";\", а найдено \"x\"";
        QTest::newRow("runlink two more") << "runlink(up,0) x y" << "errorТребуется \",endmacro\" или \";\", а найдено \"x\"";
        // if
        QTest::newRow("if") << "if(x>5,goto(@l1))" << "ADDR:0202000000000302000000000005L000";
        QTest::newRow("if pair macro end") << "if(x>=5,goto(@l1)), endmacro" << "ADDR:0302000000000305000000000005L000";
        QTest::newRow("if port") << "if(in[1]<>0,goto(@l1))" << "ADDR:0205000000000104000000000000L000";
        QTest::newRow("if remote") << "if(lamp.lv<=y,goto(@l1))" << "ADDR:0206001200000506000000000005L000";
        QTest::newRow("if less") << "if(x<5,goto(@l1))" << "ADDR:0202000000000301000000000005L000";
        QTest::newRow("if equal") << "if(w=y,goto(@l1))" << "ADDR:0203000000000403000000000005L000";
        QTest::newRow("if first") << "if(in 5,goto(@l1))" << "errorНеверный первый параметр команды if";
        QTest::newRow("if operator") << "if(in[1] 5,goto(@l1))" << "errorОтсутствует оператор условия";
        QTest::newRow("if second") << "if(x>in 5,goto(@l1))" << "errorНеверный второй параметр команды if";
        QTest::newRow("if goto") << "if(x>5,goto @l1)" << "errorНеверный аргументы команды goto";
        QTest::newRow("if unknown") << "if(x>y2,goto(@l1))" << "error Найден неизвестный идентификатор - y2";
        // calc, inc, dec
        QTest::newRow("calc") << "calc(x,5,*)" << "ADDR:060A0200000000030300000000000500";
        QTest::newRow("calc remote") << "calc(lamp.lv,1,-), endmacro" << "ADDR:070A0600120000050200000000000100";
        QTest::newRow("calc plus") << "calc(w,x,+)" << "ADDR:060A0300000000040102000000000300";
        QTest::newRow("calc divide") << "calc(x,w,/)" << "ADDR:060A0200000000030403000000000400";
        QTest::newRow("calc first") << "calc(5,5,*)" << "errorПервый операнд команды Calc - локальная или глобальная переменная";
        QTest::newRow("calc first form") << "calc(in 1,5,*)" << "errorНеверный первый операнд команды calc";
        QTest::newRow("calc second") << "calc(x,in 5,*)" << "errorНеверный второй операнд команды calc";
        QTest::newRow("calc operator") << "calc(x,5,%)" << "errorОтсутствует или неверный оператор команды Calc";
        QTest::newRow("calc ends") << "calc(x,5,+" << "errorТребуется \")\"";
        QTest::newRow("calc close") << "calc(x,5,+]" << "errorТребуется \")\", а найдено \"]\"";
        QTest::newRow("inc") << "inc(x)" << "ADDR:060A0200000000030500000000000000";
        QTest::newRow("dec macro end") << "dec(w), endmacro" << "ADDR:070A0300000000040600000000000000";
        QTest::newRow("inc remote") << "inc(lamp.lw)" << "ADDR:060A0700120002010500000000000000";
        QTest::newRow("inc number") << "inc(5)" << "errorОперанд команды локальная или глобальная переменная";
        QTest::newRow("inc form") << "inc(x y)" << "errorНеверный операнд команды";
        QTest::newRow("inc tail") << "inc(x) y" << "errorТребуется \";\", а найдено \"y\"";
        QTest::newRow("inc remote close") << "inc(lamp.lv+)" << "errorТребуется \")\", а найдено \"+\"";
        // argument statements
        QTest::newRow("wait") << "wait(5)" << "ADDR:0A000000000005" + zeros(18);
        QTest::newRow("wait variable macro end") << "wait(x), endmacro" << "ADDR:0B020000000003" + zeros(18);
        QTest::newRow("wait remote") << "wait(lamp.lw)" << "ADDR:0A070012000201" + zeros(18);
        QTest::newRow("wait unknown") << "wait(nothing)" << "errorНеверный операнд команды wait";
        QTest::newRow("wait empty") << "wait()" << "errorНеверный операнд команды wait";
        QTest::newRow("wait paren") << "wait 5" << "errorТребуется \"(\", а найдено \"5\"";
        QTest::newRow("wait constant cycle") << "wait(cyc1)" << "errorЦиклическое определение константы cyc1";
        QTest::newRow("alarm") << "setinputalarm(3,[0..3,7])" << "ADDR:0C8F0003" + zeros(24);
        QTest::newRow("alarm all inputs") << "SetInputAlarm(three,[0..15]), endmacro" << "ADDR:0DFFFF03" + zeros(24);
        QTest::newRow("alarm range then element") << "setinputalarm(1,[0..2 5])" << "ADDR:0C270001" + zeros(24);
        QTest::newRow("alarm bad range") << "setinputalarm(3,[3..3])" << "errorНеверно задано множество: \"3..3\"";
        QTest::newRow("alarm input 16") << "setinputalarm(3,[16])" << "errorНеверное значение аргумента - \"16\"";
        QTest::newRow("alarm number 51") << "setinputalarm(51,[1])" << "errorНеверное значение аргумента - \"51\"";
        QTest::newRow("alarm set") << "setinputalarm(3,1)" << "errorТребуется \"[\", а найдено \"1\"";
        QTest::newRow("alarm separator") << "setinputalarm(3,[1 2])" << "errorТребуется \",\" или \"]\", а найдено \"2\"";
        QTest::newRow("alarm element") << "setinputalarm(3,[a])" << "errorТребуется номер входа, а найдено \"a\"";
        QTest::newRow("alarm sixteen separators")
            << "setinputalarm(3,[0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,0])" << "errorСлишком большой список номеров входов";
        QTest::newRow("alarm argument") << "setinputalarm()" << "errorНеверный аргумент - \")\"";
        QTest::newRow("alarm no argument") << "setinputalarm(" << "errorТребуется аргумент, а найдено \";\"";
        QTest::newRow("alarm close") << "setinputalarm(3,[1]" << "errorТребуется \")\", а найдено \";\"";
        QTest::newRow("reset alarm") << "ResetInputAlarm, endmacro" << "ADDR:0F" + zeros(30);
        QTest::newRow("reset alarm parens") << "ResetInputAlarm()" << "errorТребуется \",\" или \";\", а найдено \"(\"";
        QTest::newRow("reset alarm comma") << "resetinputalarm," << "errorТребуется \"EndMacro\", а найдено \";\"";
        QTest::newRow("reset alarm word") << "resetinputalarm, x" << "errorТребуется \"EndMacro\", а найдено \"x\"";
        QTest::newRow("reset alarm after") << "resetinputalarm, endmacro, x" << "errorТребуется \";\", а найдено \",\"";
        QTest::newRow("iremit without IR configuration") << "iremit(tv.power,3)" << "errorНеизвестная команда";
        QTest::newRow("iremit argument") << "iremit(5,3)" << "errorНеверный аргумент - \"5\"";
        // the prologue
        QTest::newRow("label prefix") << "@l1:wait(1)" << "L000:0A000000000001" + zeros(18);
        QTest::newRow("unknown label prefix") << "@l9:wait(1)" << "errorНеизвестная команда";
        QTest::newRow("unknown word") << "blink(1)" << "errorНеизвестная команда";
        QTest::newRow("failed function call") << "2" << "errorНеизвестная команда";
        QTest::newRow("empty statement") << "" << "errorНеизвестная команда";
        QTest::newRow("unknown prefix") << "foo.bar(1)" << "errorНеизвестный идентификатор \"foo\"";
        QTest::newRow("device prefix on mov") << "lamp.mov(x,1)" << "errorНеизвестная команда";
        QTest::newRow("if without paren") << "if x" << "errorНеизвестная команда";
    }
    void compile() {
        QFETCH(QString, statement);
        QFETCH(QString, answer);
        StatementFixture f;
        QCOMPARE(f.analis().CompileStatement(statement), answer);
    }

    // Statements glued from the language's own pieces in random order:
    // every one answers a command line, an empty or malformed text, or an
    // error text, and nothing else happens.
    void randomStatementsAnswer() {
        StatementFixture f;
        const QStringList pieces{"setout", "changeout", "setvar", "wait", "setinputalarm", "resetinputalarm",
                                 "iremit", "runlink", "mov", "goto", "if", "calc", "inc", "dec", "x10_a1", "x10_",
                                 "lamp", "fardev", "(", ")", "[", "]", ",", ".", ":", "-", "+", "*", "/", "<", ">",
                                 "=", "endmacro", "0", "5", "16", "300", "65536", "0x", "0x1F", "$a", "x", "w", "y",
                                 "cyc1", "big", "@l1", "up", "g1", "in", "out", "timer", "statusend", "param", "on",
                                 "dim", "all_units_off", "2", "99999999999", "error"};
        QRandomGenerator random(12345);
        for (int n = 0; n < 20000; ++n) {
            QStringList tokens;
            const int count = random.bounded(1, 14);
            for (int k = 0; k < count; ++k)
                tokens << pieces[random.bounded(int(pieces.size()))];
            const QString answer = f.analis().CompileStatement(tokens.join(' '));
            QVERIFY2(answer.isEmpty() || answer.startsWith("error") || answer.startsWith("ADDR:") ||
                         answer.startsWith("L000:"),
                     qPrintable(tokens.join(' ') + " -> " + answer));
        }
    }

    void statementEnd_data() {
        QTest::addColumn<QString>("tokens");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("error");
        QTest::newRow("end") << "a" << 1 << "";
        QTest::newRow("endmacro") << "a , EndMacro" << 1 << "";
        QTest::newRow("not a comma") << "a b" << 1 << "errorТребуется \",\" или \";\", а найдено \"b\"";
        QTest::newRow("comma last") << "a ," << 1 << "errorТребуется \"EndMacro\", а найдено \";\"";
        QTest::newRow("more") << "a , endmacro c" << 1 << "errorТребуется \";\", а найдено \"c\"";
    }
    void statementEnd() {
        QFETCH(QString, tokens);
        QFETCH(int, cursor);
        QFETCH(QString, error);
        QString got;
        QCOMPARE(TAnalis::CheckStatementEnd(TLexer::SplitTokens(tokens), cursor, got), error.isEmpty());
        QCOMPARE(got, error);
    }
};

QTEST_GUILESS_MAIN(TstStatements)
#include "tst_statements.moc"
