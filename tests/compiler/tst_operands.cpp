// Operands: plain values, typed values, fixed-point values, ports and
// variables of this and of other devices.
#include "statementfixture.h"

class TstOperands : public QObject {
    Q_OBJECT
private slots:
    void valueToHex_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("decimal") << "12" << 2 << "0C";
        QTest::newRow("hexadecimal") << "0x1F" << 4 << "001F";
        QTest::newRow("wider than asked") << "300" << 2 << "12C";
        QTest::newRow("constant") << "y" << 2 << "05";
        QTest::newRow("constant of a constant") << "x2" << 4 << "0005";
        QTest::newRow("constant, letter case ignored") << "Y" << 2 << "05";
        QTest::newRow("label at four digits") << "@l1" << 4 << "L000";
        QTest::newRow("no label at two digits") << "@l1" << 2 << "000000000000";
        QTest::newRow("unknown name") << "nothing" << 4 << "000000000000";
        QTest::newRow("bad hexadecimal") << "0x1G" << 2 << "Error";
        QTest::newRow("bad decimal") << "1G" << 2 << "Error";
    }
    void valueToHex() {
        QFETCH(QString, text);
        QFETCH(int, digits);
        QFETCH(QString, expected);
        StatementFixture f;
        QCOMPARE(f.analis().ValueToHex(text, digits), expected);
    }

    void parseValue_data() {
        QTest::addColumn<QString>("token");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        const QString tooBig = "error параметр %1 превышает допустимое значение";
        QTest::newRow("255") << "255" << 1 << 0 << "FF";
        QTest::newRow("256") << "256" << 1 << 1 << "100";
        QTest::newRow("300 wider than its width") << "300" << 1 << 1 << "12C";
        QTest::newRow("65535") << "65535" << 2 << 1 << "FFFF";
        QTest::newRow("65536") << "65536" << 1 << -1 << tooBig.arg("65536");
        QTest::newRow("hexadecimal") << "0x1F" << 1 << 0 << "1F";
        QTest::newRow("hexadecimal too big") << "0x10000" << 1 << -1 << tooBig.arg("0x10000");
        QTest::newRow("negative level") << "-5" << 3 << 0 << "0000FB";
        QTest::newRow("negative too far") << "-101" << 3 << -1 << tooBig.arg("-101");
        QTest::newRow("constant") << "y" << 1 << 0 << "05";
        QTest::newRow("constant chain") << "x2" << 2 << 0 << "0005";
        QTest::newRow("constant too big") << "big" << 1 << -1 << tooBig.arg("70000");
        QTest::newRow("byte variable") << "x" << 5 << 2 << "0000000003";
        QTest::newRow("word variable") << "w" << 3 << 3 << "000004";
        QTest::newRow("another device's variable") << "lv" << 1 << -1 << "error Найден неизвестный идентификатор - lv";
        QTest::newRow("param") << "param" << 1 << 16 << "0000000000";
        QTest::newRow("an_code") << "an_code" << 3 << 17 << "0000000000";
        QTest::newRow("an_level") << "an_level" << 3 << 18 << "0000000000";
        QTest::newRow("x10_device") << "x10_device" << 3 << 17 << "0000000000";
        QTest::newRow("x10_code") << "x10_code" << 3 << 18 << "0000000000";
        QTest::newRow("endcycle") << "endcycle" << 3 << 13 << "0000000000";
        QTest::newRow("error") << "error" << 3 << 10 << "0000000000";
        QTest::newRow("x10_house") << "x10_house" << 3 << 12 << "0000000000";
        QTest::newRow("X10 function") << "X10_On" << 1 << 0 << "0000000005";
        QTest::newRow("X10 function, lower case") << "x10_status_request" << 1 << 0 << "000000001F";
        QTest::newRow("unknown") << "nothing" << 1 << -1 << "error Найден неизвестный идентификатор - nothing";
    }
    void parseValue() {
        QFETCH(QString, token);
        QFETCH(int, width);
        QFETCH(int, type);
        QFETCH(QString, text);
        StatementFixture f;
        const TOperand op = f.analis().ParseValue(token, width);
        QCOMPARE(op.text, text);
        if (type >= 0)
            QCOMPARE(op.type, type);
        else
            QVERIFY(op.isError());
    }

    // Multi-token operands, read from the start of "operand," with the
    // parser and its width or mode.
    void multiToken_data() {
        QTest::addColumn<QString>("parser");
        QTest::addColumn<QString>("operand");
        QTest::addColumn<int>("param");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("advance");
        QTest::newRow("fixed 2.5") << "fixed" << "2.5" << 1 << 0 << "0A" << 4;
        QTest::newRow("fixed halves to even down") << "fixed" << "0.125" << 1 << 0 << "00" << 4;
        QTest::newRow("fixed halves to even up") << "fixed" << "0.375" << 1 << 0 << "02" << 4;
        QTest::newRow("fixed word") << "fixed" << "100.0" << 3 << 1 << "000190" << 4;
        QTest::newRow("fixed too big") << "fixed" << "20000.0" << 3 << -1
                                       << "error параметр 80000 превышает допустимое значение" << 0;
        QTest::newRow("fixed needs digits") << "fixed" << "in[1]" << 3 << 0 << "no" << 0;
        QTest::newRow("in[15]") << "port" << "in[15]" << 1 << 5 << "0F" << 5;
        QTest::newRow("input") << "port" << "input[3]" << 5 << 5 << "0000000003" << 5;
        QTest::newRow("out") << "port" << "out[2]" << 3 << 4 << "000002" << 5;
        QTest::newRow("statusend") << "port" << "statusend[1]" << 1 << 11 << "01" << 5;
        QTest::newRow("timer") << "port" << "timer[2]" << 1 << 20 << "02" << 5;
        QTest::newRow("in[$a]") << "port" << "in[$a]" << 1 << 5 << "0A" << 5;
        QTest::newRow("in[16]") << "port" << "in[16]" << 1 << -1
                                << "error Значение номера Входа/Выхода превышает допустимое значение - 16" << 0;
        QTest::newRow("out[x]") << "port" << "out[x]" << 1 << -1 << "error Неверный номер Входа/Выхода - x" << 0;
        QTest::newRow("not a port") << "port" << "x" << 1 << 0 << "no" << 0;
        QTest::newRow("lamp.out[2] mode 3") << "remoteport" << "lamp.out[2]" << 3 << 8 << "004802" << 7;
        QTest::newRow("lamp.out[2] mode 5") << "remoteport" << "lamp.out[2]" << 5 << 8 << "0012000002" << 7;
        QTest::newRow("remote input") << "remoteport" << "LAMP.input[1]" << 3 << 9 << "004801" << 7;
        QTest::newRow("remote timer") << "remoteport" << "lamp.timer[1]" << 3 << 19 << "004801" << 7;
        QTest::newRow("remote statusend") << "remoteport" << "lamp.statusend[1]" << 3 << -1
                                          << "error Порт statusend другого устройства недоступен" << 0;
        QTest::newRow("unknown alias") << "remoteport" << "nodev.out[1]" << 3 << -1
                                       << "error Найден неизвестный alias устройства - nodev" << 0;
        QTest::newRow("fardev $") << "remoteport" << "fardev($123456).in[1]" << 3 << 9 << "004801" << 10;
        QTest::newRow("fardev 0x") << "remoteport" << "fardev(0x123456).out[3]" << 5 << 8 << "0012000003" << 10;
        QTest::newRow("fardev decimal") << "remoteport" << "fardev(1193046).in[1]" << 3 << 9 << "004801" << 10;
        QTest::newRow("fardev timer") << "remoteport" << "fardev($123456).timer[1]" << 3 << 19 << "004801" << 10;
        QTest::newRow("fardev unknown") << "remoteport" << "fardev($123457).in[1]" << 3 << -1
                                        << "error Найден неизвестный UID устройства - $123457" << 0;
        QTest::newRow("fardev too large") << "remoteport" << "fardev($1000000).in[1]" << 3 << -1
                                          << "error Найден неизвестный UID устройства - $1000000" << 0;
        QTest::newRow("remote byte mode 3") << "remotevar" << "lamp.lv" << 3 << 6 << "004805" << 4;
        QTest::newRow("remote word mode 5") << "remotevar" << "lamp.lw" << 5 << 7 << "0012000201" << 4;
        QTest::newRow("remote by UID") << "remotevar" << "fardev($123456).LV" << 5 << 6 << "0012000005" << 7;
        QTest::newRow("remote unknown name") << "remotevar" << "lamp.nov" << 3 << -1
                                             << "error Найден неизвестный идентификатор - lamp.nov" << 0;
        QTest::newRow("remote unknown UID") << "remotevar" << "fardev(5).lv" << 3 << -1
                                            << "error Найден неизвестный идентификатор или UID устройства - fardev(5).lv"
                                            << 0;
        QTest::newRow("remote bad UID") << "remotevar" << "fardev(zz).lv" << 3 << -1
                                        << "error Найден неизвестный идентификатор или UID устройства - fardev(zz).lv"
                                        << 0;
        QTest::newRow("a port is no variable") << "remotevar" << "lamp.out[1]" << 3 << 0 << "no" << 0;
    }
    void multiToken() {
        QFETCH(QString, parser);
        QFETCH(QString, operand);
        QFETCH(int, param);
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(int, advance);
        StatementFixture f;
        const TStringArray tokens = TLexer::SplitTokens(operand + ",");
        int index = 0;
        TOperand op;
        if (parser == "fixed")
            op = f.analis().ParseFixedPoint(tokens, index, param);
        else if (parser == "port")
            op = f.analis().ParsePort(tokens, index, param);
        else if (parser == "remoteport")
            op = f.analis().ParseRemotePort(tokens, index, param);
        else
            op = f.analis().ParseRemoteVariable(tokens, index, param);
        QCOMPARE(op.text, text);
        if (type >= 0)
            QCOMPARE(op.type, type);
        QCOMPARE(index, advance);
    }

    void valueSource_data() {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("value");
        QTest::newRow("EndCycle") << "endcycle" << "07" << "0000";
        QTest::newRow("Param") << "PARAM" << "05" << "0000";
        QTest::newRow("number") << "10" << "06" << "000A";
        QTest::newRow("constant") << "Y" << "06" << "0005";
        QTest::newRow("other") << "x" << "" << "";
    }
    void valueSource() {
        QFETCH(QString, token);
        QFETCH(QString, code);
        QFETCH(QString, value);
        StatementFixture f;
        const QPair<QString, QString> source = f.analis().ParseValueSource(token);
        QCOMPARE(source.first, code);
        QCOMPARE(source.second, value);
    }
};

QTEST_GUILESS_MAIN(TstOperands)
#include "tst_operands.moc"
