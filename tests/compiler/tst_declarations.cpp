// Declarations: variables of all devices, the two ways of declaring links,
// constants and labels, with every diagnostic and its code.
#include "compilefixture.h"

#include "compiler/compilertext.h"

namespace {

QString dump(const TVarsArray &vars) {
    QStringList out;
    for (const TVars &v : vars)
        out << QStringLiteral("%1.%2:%3%4%5")
                   .arg(v.fullAlias, v.name, v.memory == TVars::Ram ? "r" : "e", v.size == TVars::Word ? "w" : "b",
                        compilertext::hex(v.address, 3)) +
                   (v.initValue == TVars::NoInitialValue ? QString() : QStringLiteral("=%1").arg(v.initValue));
    return out.join(' ');
}

QString dump(const TLocalLinksArray &links) {
    QStringList out;
    for (const TLocalLink &l : links)
        out << l.name + '/' + l.numberText + '/' + l.idText;
    return out.join(' ');
}

QString dump(const TErrorArray &errors) {
    QStringList out;
    for (const TErrorTable &e : errors)
        out << QStringLiteral("%1 %2 %3(%4): %5").arg(e.kind).arg(e.code).arg(e.file).arg(e.line).arg(e.text);
    return out.join('\n');
}

Texts bodies() { return {"Reset;", "end;"}; }

} // namespace

class TstDeclarations : public QObject {
    Q_OBJECT
private slots:
    void init() { TAnalis::SetConfigurationMode(false); }

    void variables_data() {
        QTest::addColumn<Texts>("vars");
        QTest::addColumn<QString>("declared");
        QTest::addColumn<QString>("error");
        QTest::newRow("addresses by kind and size")
            << Texts{"eeprom byte a, b = 5; eeprom word c; ram byte d; ram word e, f;"}
            << "dev1.a:eb000 dev1.b:eb001=5 dev1.c:ew002 dev1.d:rb200 dev1.e:rw201 dev1.f:rw203" << "";
        QTest::newRow("13107 is no initial value") << Texts{"eeprom byte v = 13107, w = 300, h = 0x1F;"}
                                                   << "dev1.v:eb000 dev1.w:eb001=300 dev1.h:eb002=31" << "";
        QTest::newRow("value modulo 65536") << Texts{"eeprom word v = 65537;"} << "dev1.v:ew000=1" << "";
        QTest::newRow("upper case is read") << Texts{"EEPROM BYTE Big;"} << "dev1.big:eb000" << "";
        QTest::newRow("empty statement") << Texts{";"} << "" << "Требуется идентификатор, а найдено ';'";
        QTest::newRow("memory kind") << Texts{"flash byte a;"} << ""
                                     << "Требуется идентификатор типа памяти (EEPROM или RAM), а найдено 'flash'";
        QTest::newRow("size") << Texts{"eeprom long a;"} << ""
                              << "Требуется идентификатор типа переменной (BYTE или WORD), а найдено 'long'";
        QTest::newRow("size missing") << Texts{"eeprom;"} << ""
                                      << "Требуется идентификатор типа переменной (BYTE или WORD), а найдено ''";
        QTest::newRow("no name") << Texts{"ram word;"} << "" << "Требуется идентификатор переменной";
        QTest::newRow("name after name") << Texts{"eeprom byte a b;"} << "dev1.a:eb000"
                                         << "Требуется \",\" или \"=\", а найдено 'b'";
        QTest::newRow("name after hex value") << Texts{"eeprom byte a = 0x1 b;"} << "dev1.a:eb000=1"
                                              << "Требуется \",\", а найдено \"'b'\"";
        QTest::newRow("name after decimal value") << Texts{"eeprom byte a = 1 b;"} << "dev1.a:eb000=1"
                                                  << "Требуется \",\", а найдено 'b'";
        QTest::newRow("number after hex value") << Texts{"eeprom byte a = 0x1 5;"} << "dev1.a:eb000=1"
                                                << "Требуется \",\", а найдено '5'";
        QTest::newRow("trailing comma") << Texts{"eeprom byte a,;"} << "dev1.a:eb000"
                                        << "Требуется идентификатор переменной ";
        QTest::newRow("leading comma") << Texts{"eeprom byte , a;"} << ""
                                       << "Требуется идентификатор переменной, а найдено \",\" ";
        QTest::newRow("bad name") << Texts{"eeprom byte 5x;"} << "" << "Неверный идентификатор переменной '5x'";
        QTest::newRow("reserved") << Texts{"eeprom byte goto;"} << ""
                                  << "Имя 'goto' является зарезервированным словом";
        QTest::newRow("ram with value") << Texts{"ram byte x = 1;"} << "dev1.x:rb200"
                                        << "Нельзя инициализировать переменную x типа ram";
        QTest::newRow("value not constant") << Texts{"eeprom byte a = b;"} << "dev1.a:eb000"
                                            << "Требуется константное выражение, а найдено 'b'";
        QTest::newRow("value missing") << Texts{"eeprom byte a =;"} << "dev1.a:eb000"
                                       << "Требуется константное выражение, а найдено ';'";
        QTest::newRow("value too large") << Texts{"eeprom byte a = 99999999999;"} << "dev1.a:eb000"
                                         << "Неверное числовое значение '99999999999'";
        QTest::newRow("twice in one device") << Texts{"eeprom byte a;", "ram word a;"} << "dev1.a:eb000"
                                             << "Переменная с именем a уже существует";
    }
    void variables() {
        QFETCH(Texts, vars);
        QFETCH(QString, declared);
        QFETCH(QString, error);
        CompileFixture f;
        f.addDevice("dev1", 1, 1, programText({}, {}, vars, bodies()));
        f.addDevice("dev2", 2, 2, programText({}, {}, {"eeprom byte z; ram byte y;"}, bodies()));
        TCompileDriver driver(f.project);
        QCOMPARE(driver.ReadProjectVariables(), error.isEmpty());
        QString expected = declared + (declared.isEmpty() ? "" : " ") + "dev2.z:eb000 dev2.y:rb200";
        QCOMPARE(dump(driver.Tables().variables.items()), expected);
        if (!error.isEmpty()) {
            QCOMPARE(driver.Tables().errors.size(), 1);
            const TErrorTable &e = driver.Tables().errors.first();
            QCOMPARE(e.text, error);
            QCOMPARE(e.kind, QString("Error"));
            QCOMPARE(e.code, 33);
            QCOMPARE(e.file, QString("dev1.pd"));
            QCOMPARE(e.line, 6 + int(vars.size())); // the line of the statement's ";"
        }
    }

    void missingVarSectionIsReported() {
        CompileFixture f;
        f.addDevice("kitchen", 1, 1, {"module kitchen", "Program;", "Reset;", "end;", "Endprogram;"});
        TCompileDriver driver(f.project);
        QVERIFY(!driver.ReadProjectVariables());
        QCOMPARE(dump(driver.Tables().errors), QString("Error 33 kitchen.pd(0): Отсутствует раздел описания переменных"));
    }

    // Devices whose aliases share their first 20 characters keep their own
    // variables apart.
    void variablesBelongToTheFullAlias() {
        CompileFixture f;
        const Texts body{"Reset;", "inc(v);", "end;"};
        f.addDevice("a_very_long_alias_name_1", 1, 1, programText({}, {}, {"eeprom byte a, v;"}, body));
        f.addDevice("a_very_long_alias_name_2", 2, 2, programText({}, {}, {"eeprom byte v;"}, body));
        TCompileDriver driver(f.project);
        QVERIFY(driver.ReadProjectVariables());
        QCOMPARE(driver.Tables().variables.size(), 3);
        QCOMPARE(driver.Tables().variables.items()[2].alias, QString("a_very_long_alias_na"));
        QCOMPARE(driver.Tables().variables.items()[2].alias.size(), 20);
        // Each device's statement finds its own v.
        QCOMPARE(driver.CompileProject(), 0);
        QVERIFY(driver.OutputLines().contains("000001:0000:060A0200000000010500000000000000"));
        QVERIFY(driver.OutputLines().contains("000002:0000:060A0200000000000500000000000000"));
    }

    void linksSection_data() {
        QTest::addColumn<Texts>("links");
        QTest::addColumn<QString>("declared");
        QTest::addColumn<QString>("errors");
        const QString base = "reset/0x0001/0x0802 g1/0x0002/0x0800";
        QTest::newRow("list") << Texts{"up, down;", "global g1;"}
                              << base + " up/0x0003/0x0803 down/0x0004/0x0804" << "";
        QTest::newRow("reserved") << Texts{"reset;"} << base << "3: Имя 'reset' является зарезервированным словом";
        QTest::newRow("repeated stops the section") << Texts{"up, up;", "down;"} << base + " up/0x0003/0x0803"
                                                    << "3: Линк с именем 'up' уже существует";
        QTest::newRow("global without prefix") << Texts{"g1;", "up;"} << base
                                               << "3: Линк с именем 'g1' является глобальным и требует префикса \"global\"";
        QTest::newRow("missing comma") << Texts{"up down;"} << base + " up/0x0003/0x0803"
                                       << "3: Требуется \",\", а найдено \"'down'\"";
        QTest::newRow("trailing comma") << Texts{"up,;"} << base + " up/0x0003/0x0803"
                                        << "3: Требуется идентификатор линка ";
        QTest::newRow("leading comma") << Texts{", up;"} << base << "3: Требуется идентификатор линка  ";
        QTest::newRow("unknown word") << Texts{"5up;"} << base
                                      << "3: Неизвестный идентификатор  5up\n3: Требуется идентификатор линка ";
        QTest::newRow("number after name") << Texts{"up 5;"} << base + " up/0x0003/0x0803"
                                           << "3: Требуется \",\", а найдено '5'";
        QTest::newRow("empty statement") << Texts{";"} << base << "3: Требуется идентификатор, а найдено ';'";
    }
    // Program mode: reset, the global links with a section, then the links
    // section; diagnostics at the program file's own lines.
    void linksSection() {
        QFETCH(Texts, links);
        QFETCH(QString, declared);
        QFETCH(QString, errors);
        CompileFixture f;
        f.addGlobalLink("g1");
        f.addGlobalLink("g2");
        f.addDevice("dev1", 1, 1, programText(links, {}, {}, {"Reset;", "end;", "g1;", "wait(1);", "end;"}));
        AnalisFixture a(f.project);
        QCOMPARE(a.analis.LinkCounter(), 2);
        QCOMPARE(a.analis.PreprocessProgram(f.path("dev1.pd")), TPreprocessor::Ok);
        QCOMPARE(dump(a.analis.DeclareLinks(f.path("dev1.pd"))), declared);
        QStringList got;
        for (const TErrorTable &e : a.tables.errors) {
            QCOMPARE(e.file, QString("dev1.pd"));
            QCOMPARE(e.code, 33);
            got << QString::number(e.line) + ": " + e.text;
        }
        QCOMPARE(got.join('\n'), errors);
        // The device's own list gets the links the section declared.
        QCOMPARE(f.project.device(0).links.size(), 1 + declared.count(' ') - 1); // Reset + own links
        QCOMPARE(dump(f.project.compiledLinks()), declared);
    }

    // A device with configured links: reset, global links with a section,
    // the configured links; the ids go back into the configuration, and the
    // mode stays chosen for later programs.
    void linksFromConfiguration() {
        CompileFixture f;
        f.addGlobalLink("G1");
        f.addGlobalLink("g2");
        TDevice &d = f.addDevice("dev1", 1, 1, programText({"g2;"}, {}, {}, {"Reset;", "end;", "g1;", "wait(1);", "end;"}));
        d.links.append({"Up", "", "", "", ""});
        f.addDevice("dev2", 2, 2, programText({}, {}, {}, bodies()));
        AnalisFixture a(f.project);
        QVERIFY(a.analis.PreprocessProgram(f.path("dev1.pd")) == TPreprocessor::Ok);
        QCOMPARE(dump(a.analis.DeclareLinks(f.path("dev1.pd"))),
                 QString("reset/0x0001/0x0802 g1/0x0002/0x0800 up/0x0003/0x0803"));
        QVERIFY(a.tables.errors.isEmpty());
        QCOMPARE(f.project.device(0).links[1].idText, QString("0x0803"));
        QCOMPARE(f.project.device(0).links[0].numberText, QString("0x0001"));
        QCOMPARE(f.project.globalLinks()[0].idText, QString("0x0800"));
        QCOMPARE(f.project.globalLinks()[0].numberText, QString("0x0002"));
        QVERIFY(TAnalis::ConfigurationMode());
        f.project.setCurrentDevice(1);
        QVERIFY(a.analis.PreprocessProgram(f.path("dev2.pd")) == TPreprocessor::Ok);
        QCOMPARE(dump(a.analis.DeclareLinks(f.path("dev2.pd"))), QString("reset/0x0001/0x0804"));
    }

    // A later device with configured links is enough: the links section of
    // an earlier one is not read.
    void configurationModeLooksAhead() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1, programText({"up;"}, {}, {}, {"Reset;", "end;", "up;", "end;"}));
        TDevice &d2 = f.addDevice("dev2", 2, 2, programText({}, {}, {}, bodies()));
        d2.links.append({"Down", "", "", "", ""});
        AnalisFixture a(f.project);
        QVERIFY(a.analis.PreprocessProgram(f.path("dev1.pd")) == TPreprocessor::Ok);
        QCOMPARE(dump(a.analis.DeclareLinks(f.path("dev1.pd"))), QString("reset/0x0001/0x0800"));
        QVERIFY(TAnalis::ConfigurationMode());
        QCOMPARE(f.project.device(0).links.size(), 1);
    }

    void constants_data() {
        QTest::addColumn<Texts>("consts");
        QTest::addColumn<QString>("declared");
        QTest::addColumn<QString>("errors");
        QTest::newRow("values") << Texts{"x = 5;", "y = x;", "h = 0x1F;"} << "x=5 y=x h=0x1f" << "";
        QTest::newRow("comma instead of semicolon")
            << Texts{"a = 1;", "x = 5, y = 6;", "z = 7;"} << "z=7"
            << "30 Ошибка в объявлении константы (возможно вместо ',' надо поставить ';')";
        QTest::newRow("digit first") << Texts{"5x = 1;"} << ""
                                     << "30 Ошибка в объявлении константы (возможно вместо ',' надо поставить ';')";
        QTest::newRow("twice") << Texts{"x = 1;", "x = 2;"} << "x=1"
                               << "33 Константа (переменная) с именем x уже существует";
        QTest::newRow("a variable's name") << Texts{"v = 1;"} << ""
                                           << "33 Константа (переменная) с именем v уже существует";
        QTest::newRow("reserved stays") << Texts{"goto = 1;"} << "goto=1"
                                        << "33 Имя 'goto' является зарезервированным словом";
    }
    void constants() {
        QFETCH(Texts, consts);
        QFETCH(QString, declared);
        QFETCH(QString, errors);
        CompileFixture f;
        f.addDevice("dev1", 1, 1, programText({}, consts, {}, bodies()));
        AnalisFixture a(f.project);
        a.addVariable("other", "000002", "000002", "v", TVars::Byte, 0);
        QVERIFY(a.analis.PreprocessProgram(f.path("dev1.pd")) == TPreprocessor::Ok);
        TArrayStringsTable table;
        QVERIFY(a.analis.ReadCompileTable(f.path("dev1.pd"), table, nullptr));
        QStringList got;
        for (const TConst &c : a.analis.ReadConstants(table))
            got << c.name + '=' + c.value;
        QCOMPARE(got.join(' '), declared);
        got.clear();
        for (const TErrorTable &e : a.tables.errors)
            got << QString::number(e.code) + ' ' + e.text;
        QCOMPARE(got.join('\n'), errors);
    }

    void missingConstSectionIsNoError() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1, {"module dev", "Program;", "Reset;", "end;", "Endprogram;"});
        AnalisFixture a(f.project);
        QVERIFY(a.analis.PreprocessProgram(f.path("dev1.pd")) == TPreprocessor::Ok);
        TArrayStringsTable table;
        QVERIFY(a.analis.ReadCompileTable(f.path("dev1.pd"), table, nullptr));
        QVERIFY(a.analis.ReadConstants(table).isEmpty());
        QCOMPARE(dump(a.analis.DeclareLinks(f.path("dev1.pd"))), QString("reset/0x0001/0x0800"));
        QVERIFY(a.tables.errors.isEmpty());
    }

    void labels() {
        TArrayStringsTable table;
        const Texts texts{"@l1:setout(1,1,0,0)", "wait(1)", ":x", "1a:x", "a(b:x", "a=b:x", "@L1:y", "@l2:z"};
        for (int i = 0; i < texts.size(); ++i)
            table.append(TStatementRecord("p.pd", i, texts[i]));
        for (int i = 3; i <= 12; ++i)
            table.append(TStatementRecord("p.pd", 20 + i, QStringLiteral("@l%1:wait(1)").arg(i)));
        TAnalis analis;
        const TLabelArray labels = analis.ReadLabels(table);
        QCOMPARE(labels.size(), 12);
        QCOMPARE(labels[0].name, QString("@l1"));
        QCOMPARE(labels[0].placeholder, QString("L000"));
        QCOMPARE(labels[2].placeholder, QString("L002"));
        QCOMPARE(labels[10].placeholder, QString("L00A"));
        QStringList got;
        for (const TErrorTable &e : analis.Tables().errors)
            got << QStringLiteral("%1 %2: %3").arg(e.code).arg(e.line).arg(e.text);
        QCOMPARE(got, QStringList({"40 2: Отсутствует имя метки", "40 3: Ошибка", "40 4: Ошибка ", "40 5: Ошибка ",
                                   "40 6: Дублирование метки"}));
    }
};

QTEST_GUILESS_MAIN(TstDeclarations)
#include "tst_declarations.moc"
