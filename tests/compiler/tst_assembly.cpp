// Program assembly and the compile run: header, code and end lines, label
// addresses, configuration commands, the output and error files, and the
// example project.
#include "compilefixture.h"

#include "app/catalogue.h"
#include "compiler/irconfiglist.h"

#include <QDir>
#include <QFile>

namespace {

QString a2Lines(const QString &u) {
    QStringList l;
    for (int n = 0; n < 32; ++n)
        l << u + QStringLiteral(":CMND:A2%1FFFFFFFF").arg(n, 2, 16, QLatin1Char('0')).toUpper();
    return l.join('\n');
}

const QString kEnd = "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF";
QString zeros(int n) { return QString(n, '0'); }

Texts withoutHeader(const Texts &lines) {
    Texts out;
    for (const QString &l : lines)
        if (!l.contains(":CMND:7") && !l.contains(":CMND:FAFF00") && !(l.contains(":CMND:A2") && l.endsWith("FFFFFFFF")))
            out << l;
    return out;
}

// The IR configuration of the device "ir" over the shipped catalogue, with
// its remote 1 ("Телевизор").
TIRConfig *irConfigOverTheCatalogue(CompileFixture &f, TDM &dm) {
    if (!dm.ConnectCatalogue(VODIZ_BIN_DIR "/Database/database_vk.db"))
        qFatal("no catalogue");
    f.project.setIRConfig(std::make_unique<TIRConfigList>(&dm, &f.project));
    TIRConfig *c = IRConfigListOf(f.project)->AddConfig("ir");
    c->AddRemote(1, 0);
    return c;
}

} // namespace

class TstAssembly : public QObject {
    Q_OBJECT
private slots:
    void init() { TAnalis::SetConfigurationMode(false); }

    // One device: the whole command list, byte for byte.
    void wholeDeviceList() {
        CompileFixture f;
        TDevice &d = f.addDevice("dev1", 0xA101, 0x11,
                                 programText({"up;"}, {"c = 2;"}, {"eeprom byte v = 7; eeprom word n = 0x1234, m;"},
                                             {"Reset;", "setout(1,c,0,0);", "loop: wait(1);", "end;", "up;",
                                              "goto(loop);", "end;"}));
        d.inputCount = 1;
        d.inputs = {TInConfig()};
        d.inputs[0].link = "up";
        d.timerCount = 1;
        d.timers = {TTimerConfig()};
        d.timers[0].link = "reset";
        QCOMPARE(CompileProject(f.project), 0);
        const QString u = "00A101";
        const Texts expected = Texts{u + ":CMND:71", u + ":CMND:72", u + ":CMND:FAFF00"} + a2Lines(u).split('\n') +
                               Texts{u + ":0000:06081111000001000002000000000000",
                                     u + ":0001:0A000000000001" + zeros(18),
                                     u + ":0002:" + kEnd,
                                     u + ":0003:06050001" + zeros(24),
                                     u + ":0004:" + kEnd,
                                     u + ":CMND:2A020000000007",
                                     u + ":CMND:2A030001001234",
                                     u + ":CMND:A2000011FFFF",
                                     u + ":CMND:21004D",
                                     u + ":CMND:2500461E0F",
                                     u + ":CMND:23000801",
                                     u + ":CMND:A2020801" "0003",
                                     u + ":CMND:95004500",
                                     u + ":CMND:96000000000000FF",
                                     u + ":CMND:98000800",
                                     u + ":CMND:A2010800" "0000",
                                     u + ":CMND:7000"};
        QCOMPARE(f.outputFile(), expected);
        QCOMPARE(f.errorFile(), Texts());
        QVERIFY(!QFile::exists(f.path("dev1.pdc")));
        QVERIFY(!QFile::exists(f.path("dev1.pdl")));
        QCOMPARE(f.project.compiledLinks()[1].codeAddressText, QString("0003"));
    }

    void twoDevicesHaveNoSingleDeviceLine() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1, programText({}, {}, {}, {"Reset;", "end;"}));
        f.addDevice("dev2", 2, 2, programText({}, {}, {}, {"Reset;", "end;"}));
        QCOMPARE(CompileProject(f.project), 0);
        const Texts out = f.outputFile();
        QVERIFY(!out.join('\n').contains("FAFF00"));
        QCOMPARE(out[2], QString("000001:CMND:A200FFFFFFFF"));
        QCOMPARE(out.size(), 2 * (2 + 32 + 1 + 1 + 1));
    }

    // reset with two statements: 0000, 0001, its end 0002; up from 0003;
    // a jump to a label at 0005 writes 0005.
    void codeAddressesAndLabels() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1,
                    programText({"up;"}, {}, {},
                                {"Reset;", "wait(1);", "wait(2);", "end;", "up;", "wait(3);", "wait(4);",
                                 "loop: wait(5);", "goto(loop);", "end;"}));
        QCOMPARE(CompileProject(f.project), 0);
        const Texts code = withoutHeader(f.outputFile());
        QCOMPARE(code.mid(0, 9), Texts({"000001:0000:0A000000000001" + zeros(18), "000001:0001:0A000000000002" + zeros(18),
                                        "000001:0002:" + kEnd, "000001:0003:0A000000000003" + zeros(18),
                                        "000001:0004:0A000000000004" + zeros(18),
                                        "000001:0005:0A000000000005" + zeros(18), "000001:0006:06050005" + zeros(24),
                                        "000001:0007:" + kEnd, "000001:CMND:A2000001FFFF"}));
        QCOMPARE(f.project.compiledLinks()[1].codeAddressText, QString("0003"));
    }

    // The links section names one link a line; its body is still found.
    void linkNamedAloneInTheLinksSection() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1,
                    {"module dev1", "Program;", "links;", "up;", "end;", "var;", "end;", "Reset;", "end;", "up;", "wait(1);", "end;",
                     "Endprogram;"});
        QCOMPARE(CompileProject(f.project), 0);
        QVERIFY(f.outputFile().contains("000001:0001:0A000000000001" + zeros(18)));
    }

    // Links without a section: their end lines alone, and a warning each for
    // reset and the device's own links.
    void missingSectionsWarn() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1, {"module dev1", "Program;", "links;", "up;", "end;", "var;", "end;", "Endprogram;"});
        QCOMPARE(CompileProject(f.project), 2);
        QCOMPARE(f.errorFile(), Texts({"[Warning] dev1.pd(0): Отсутствует раздел описания скрипта линка \"reset\"",
                                       "[Warning] dev1.pd(0): Отсутствует раздел описания скрипта линка \"up\""}));
        QCOMPARE(withoutHeader(f.outputFile()).mid(0, 2), Texts({"000001:0000:" + kEnd, "000001:0001:" + kEnd}));
    }

    // An error stops its device: its diagnostics, no lines; the run goes on.
    void statementErrorStopsTheDevice() {
        CompileFixture f;
        f.addDevice("kitchen", 1, 1, programText({}, {}, {}, {"Reset;", "wait(1);", "blink(2);", "wait(3);", "end;"}));
        f.addDevice("hall", 2, 2, programText({}, {}, {}, {"Reset;", "end;"}));
        QCOMPARE(CompileProject(f.project), 1);
        QCOMPARE(f.errorFile(), Texts({"[Error] kitchen.pd(10): Неизвестная команда"}));
        const Texts out = f.outputFile();
        QVERIFY(!out.isEmpty());
        for (const QString &line : out)
            QVERIFY2(line.startsWith("000002:"), qPrintable(line));
    }

    void variableErrorsStopTheRun() {
        CompileFixture f;
        Texts program = programText({}, {}, {"eeprom byte a,;"}, {"Reset;", "end;"});
        program.insert(7, "");
        program.insert(7, "");
        program.insert(7, "");
        program.insert(7, "");
        program.insert(7, "");
        f.addDevice("kitchen", 1, 1, program);
        f.addDevice("hall", 2, 2, programText({}, {}, {"ram byte x = 1;"}, {"Reset;", "end;"}));
        QCOMPARE(CompileProject(f.project), 2);
        QCOMPARE(f.errorFile(), Texts({"[Error] kitchen.pd(12): Требуется идентификатор переменной ",
                                       "[Error] hall.pd(7): Нельзя инициализировать переменную x типа ram"}));
        QCOMPARE(f.outputFile(), Texts());
    }

    // Malformed statements that do not stop the device.
    void nonStoppingDiagnostics() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1,
                    programText({}, {}, {}, {"Reset;", "wait(1);", "error here;", "goto(nowhere);", "end;"}));
        QCOMPARE(CompileProject(f.project), 2);
        QCOMPARE(f.errorFile(), Texts({"[Error] dev1.pd(10): Нет раздела для линка",
                                       "[Error] dev1.pd(11): Ошибка размера hex-команды"}));
        const Texts code = withoutHeader(f.outputFile());
        QCOMPARE(code[0], "000001:0000:0A000000000001" + zeros(18));
        QCOMPARE(code[1], "000001:0001:0605" + zeros(36)); // kept, though malformed
        QCOMPARE(code[2], "000001:0002:" + kEnd);
    }

    void labelOutsideEveryLink() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1, programText({}, {}, {}, {"Reset;", "goto(away);", "end;", "away: wait(1);"}));
        QCOMPARE(CompileProject(f.project), 1);
        QCOMPARE(f.errorFile(), Texts({"[Error] dev1.pd(9): Метка перехода находится вне разделов линков"}));
        QCOMPARE(f.outputFile(), Texts());
    }

    void declarationErrorsStopTheDevice() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1, programText({"reset;"}, {"x = 1, y = 2;"}, {}, {"Reset;", "end;"}));
        QCOMPARE(CompileProject(f.project), 1);
        QCOMPARE(f.errorFile(), Texts({"[Error] dev1.pd(3): Имя 'reset' является зарезервированным словом"}));
        QCOMPARE(f.outputFile(), Texts());
    }

    void inputFlags_data() {
        QTest::addColumn<int>("catNum");
        QTest::addColumn<int>("tip");
        QTest::addColumn<int>("reset");
        QTest::addColumn<int>("invert");
        QTest::addColumn<int>("gl");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("flags");
        QTest::newRow("tip 4") << 700 << 4 << 1 << 1 << 0 << "" << "45";
        QTest::newRow("tip 4 inverted") << 700 << 4 << 1 << 0 << 0 << "" << "4D";
        QTest::newRow("catalogue 300") << 300 << 4 << 1 << 1 << 0 << "" << "4D";
        QTest::newRow("catalogue 300 inverted") << 300 << 4 << 1 << 0 << 0 << "" << "45";
        QTest::newRow("tip 1") << 700 << 1 << 0 << 1 << 0 << "" << "03";
        QTest::newRow("tip 2") << 700 << 2 << 0 << 1 << 0 << "" << "21";
        QTest::newRow("tip 3 global flag") << 700 << 3 << 0 << 1 << 1 << "" << "11";
        QTest::newRow("global link") << 700 << 3 << 0 << 1 << 0 << "g1" << "11";
    }
    void inputFlags() {
        QFETCH(int, catNum);
        QFETCH(int, tip);
        QFETCH(int, reset);
        QFETCH(int, invert);
        QFETCH(int, gl);
        QFETCH(QString, link);
        QFETCH(QString, flags);
        CompileFixture f;
        f.addGlobalLink("g1");
        TDevice &d = f.addDevice("dev1", 1, 1, programText({}, {}, {}, {"Reset;", "end;"}), catNum);
        d.inputCount = 1;
        d.inputs = {TInConfig()};
        d.inputs[0].tip = tip;
        d.inputs[0].reset = quint8(reset);
        d.inputs[0].invert = quint8(invert);
        d.inputs[0].gl = quint8(gl);
        d.inputs[0].link = link;
        QCOMPARE(CompileProject(f.project), 0);
        QVERIFY2(f.outputFile().contains("000001:CMND:2100" + flags), qPrintable(f.outputFile().join('\n')));
        QCOMPARE(f.outputFile().contains("000001:CMND:23000800"), !link.isEmpty());
    }

    // X10 inputs: "Добавить" gives no lines even with a link; names give
    // their house and unit.
    void x10Inputs() {
        CompileFixture f;
        f.addGlobalLink("g1");
        TDevice &d = f.addDevice("x10", 1, 1, programText({}, {}, {}, {"Reset;", "end;"}), 1010);
        d.inputCount = 4;
        d.inputs = {TInConfig(), TInConfig(), TInConfig(), TInConfig()};
        const QStringList names{"Добавить", "X10", "house", "B3"};
        for (int i = 0; i < 4; ++i) {
            d.inputs[i].name = names[i];
            d.inputs[i].link = "g1";
        }
        QCOMPARE(CompileProject(f.project), 0);
        const Texts x10 = withoutHeader(f.outputFile()).filter(QRegularExpression(":CMND:2[CE]"));
        QCOMPARE(x10, Texts({"000001:CMND:2C010155", "000001:CMND:2C010055", "000001:CMND:2C001255",
                             "000001:CMND:2E01010800", "000001:CMND:2E01000800", "000001:CMND:2E00120800"}));
    }

    void timers() {
        CompileFixture f;
        f.addGlobalLink("g1");
        TDevice &d = f.addDevice("rtc", 1, 1, programText({}, {}, {}, {"Reset;", "end;"}));
        TDevice &other = f.addDevice("inp", 2, 2, programText({}, {}, {}, {"Reset;", "end;"}));
        other.inputCount = 1;
        other.inputs = {TInConfig()};
        other.inputs[0].link = "g1";
        TDevice &rtc = f.project.device(0);
        Q_UNUSED(d);
        rtc.timerCount = 2;
        rtc.timers = {TTimerConfig(), TTimerConfig()};
        TTimerConfig &t = rtc.timers[0];
        t.timertip = 1;
        t.yrdateon = QDate(1899, 12, 30).daysTo(QDate(2024, 3, 5));
        t.yrdateoff = QDate(1899, 12, 30).daysTo(QDate(2024, 10, 20));
        t.uptime = 0x123;
        t.downtime = 0x456;
        t.uptip = 1;
        t.downtip = 2;
        t.week = 31;
        t.holiday = 9;
        t.link = "g1";
        TTimerConfig &r = rtc.timers[1];
        r.timertip = 2;
        r.singlerun = 1;
        r.rand1 = 7;
        r.rand2 = 8;
        r.invert = 0;
        QCOMPARE(CompileProject(f.project), 0);
        const Texts lines = f.outputFile().filter(QRegularExpression("^000001:CMND:(95|96|A3|98)"));
        QCOMPARE(lines, Texts({"000001:CMND:95005509", "000001:CMND:960012012304561F", "000001:CMND:A30005032010",
                               "000001:CMND:95014D30", "000001:CMND:96010000070008FF", "000001:CMND:98000800"})
                            .replaceInStrings(" ", ""));
    }

    void globalLinksGoLast() {
        CompileFixture f;
        f.addGlobalLink("g0");
        f.addGlobalLink("g1");
        f.addDevice("dev1", 1, 1, programText({}, {}, {}, {"Reset;", "end;", "G1;", "wait(1);", "end;"}));
        QCOMPARE(CompileProject(f.project), 0);
        const Texts out = f.outputFile();
        QCOMPARE(out.mid(out.size() - 2), Texts({"000001:CMND:A20208010001", "000001:CMND:7000"}));
        QCOMPARE(f.project.globalLinks()[1].devices, QStringList({"dev1"}));
    }

    void irDeviceWithoutConfigurationWarns() {
        CompileFixture f;
        f.project.setIRConfig(std::make_unique<TIRConfigList>(nullptr, &f.project));
        f.addDevice("ir", 1, 1, programText({}, {}, {}, {"Reset;", "end;"}), 5000);
        QCOMPARE(CompileProject(f.project), 1);
        QCOMPARE(f.errorFile(), Texts({"[Warning] ir.pd(0): Отсутствует ИК-конфигурация устройства ir"}));
        QVERIFY(!f.outputFile().isEmpty());
    }

    // Too short to hold sections: reported at the program, not at no file.
    // With a configuration (here without remotes) there is nothing to warn
    // about; a button the configuration cannot find is a statement error.
    void irDeviceWithConfiguration() {
        CompileFixture f;
        f.project.setIRConfig(std::make_unique<TIRConfigList>(nullptr, &f.project));
        IRConfigListOf(f.project)->AddConfig("ir");
        f.addDevice("ir", 1, 1, programText({}, {}, {}, {"Reset;", "wait(1);", "end;"}), 5000);
        QCOMPARE(CompileProject(f.project), 0);
        QVERIFY(f.outputFile().contains("000001:0000:0A000000000001" + zeros(18)));
        f.write("ir.pd", programText({}, {}, {}, {"Reset;", "iremit(tv.power,3);", "end;"}));
        QCOMPARE(CompileProject(f.project), 1);
        QCOMPARE(f.errorFile(), Texts({"[Error] ir.pd(9): Кнопка не найдена - \"tv.power\""}));
    }

    // With the catalogue: "iremit" writes the repetition count and the
    // button's slot; a button the statement names but the configuration
    // lacks is taken on from the catalogue and written with the others.
    void iremitWithCatalogue() {
        TDM dm; // outlives the project's IR list
        CompileFixture f;
        TIRConfig *c = irConfigOverTheCatalogue(f, dm);
        c->AddRemote(2, 0); // Кондиционер
        c->RemoteList.Item(0)->AddButton("Питание", 1, 0);
        f.addDevice("ir", 1, 1,
                    programText({}, {}, {},
                                {"Reset;", "iremit(Телевизор.Питание,3);", "iremit(кондиционер.режим,50), endmacro;",
                                 "end;"}),
                    5000);
        QCOMPARE(CompileProject(f.project), 0);
        const Texts out = f.outputFile();
        QVERIFY(out.contains("000001:0000:0612" "00" "0000000003" "01" "0000000100" "0000"));
        QVERIFY(out.contains("000001:0001:0712" "00" "0000000032" "01" "0000000101" "0000"));
        QCOMPARE(out.filter(":CMND:44"), Texts({"000001:CMND:440000200408", "000001:CMND:440101A0000C"}));
    }

    void irButtonGoneFromTheCatalogue() {
        TDM dm; // outlives the project's IR list
        CompileFixture f;
        TIRConfig *c = irConfigOverTheCatalogue(f, dm);
        c->RemoteList.Item(0)->AddButton("Пауза", 1, 0);
        f.addDevice("ir", 1, 1, programText({}, {}, {}, {"Reset;", "end;"}), 5000);
        QCOMPARE(CompileProject(f.project), 1);
        QCOMPARE(f.errorFile(), Texts({"[Error] (0): Ошибка формирования списка кнопок"}));
        QCOMPARE(f.outputFile(), Texts());
    }

    void shortProgramIsReported() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1, {"module dev1", "Program;"});
        QCOMPARE(CompileProject(f.project), 1);
        QCOMPARE(f.errorFile(), Texts({"[Error] dev1.pd(0): Отсутствует раздел описания переменных"}));
    }

    // A failed write leaves the old files as they were.
    void unwritableOutputKeepsOldFiles() {
        CompileFixture f;
        f.addDevice("dev1", 1, 1, programText({}, {}, {}, {"Reset;", "end;"}));
        f.write("test.lf", {"old"});
        textfile::setWriteFailureHook([](const QString &path) { return path.endsWith(".lf"); });
        const int count = CompileProject(f.project);
        textfile::setWriteFailureHook(nullptr);
        QCOMPARE(count, -1);
        QCOMPARE(f.outputFile(), Texts({"old"}));
        QCOMPARE(f.dialogs.messages.size(), 1);
    }

    void exampleProjectCompiles() {
        TAnalis::SetConfigurationMode(false);
        QTemporaryDir dir;
        const QDir example(VODIZ_SOURCE_DIR "/data/example");
        for (const QString &name : example.entryList(QDir::Files))
            QVERIFY(QFile::copy(example.filePath(name), dir.filePath(name)));
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TDM dm;
        QVERIFY(dm.ConnectCatalogue(VODIZ_BIN_DIR "/Database/database_vk.db"));
        TProject project(&dm);
        QVERIFY(project.OpenProject(dir.filePath("flat.lpr")));
        TCompileDriver driver(project);
        QCOMPARE(driver.CompileProject(), 0);
        QCOMPARE(driver.ErrorLines(), QStringList());
        const Texts out = CompileFixture::lines(dir.filePath("flat.lf"));
        QCOMPARE(out, driver.OutputLines());
        for (const QString &line : out)
            QVERIFY2(line.size() == 44 || line.contains(":CMND:"), qPrintable(line));
        // Compiled again (now with the links the first run declared) it
        // gives the same lines.
        QCOMPARE(driver.CompileProject(), 0);
        QCOMPARE(CompileFixture::lines(dir.filePath("flat.lf")), out);
    }
};

QTEST_GUILESS_MAIN(TstAssembly)
#include "tst_assembly.moc"
