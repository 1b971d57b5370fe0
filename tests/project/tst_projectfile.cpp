// The project file: exact text, every reader message, warnings and the
// values the reader keeps.
#include "project/project.h"

#include "app/askuser.h"
#include "projectfixture.h"

#include <QTemporaryDir>

namespace {

QStringList oneDevice(const QStringList &block) {
    return QStringList{"project;", "devicecount = 1;"} + block + QStringList{"speed = 0;", "endproject;"};
}

QStringList withLine(QStringList lines, int index, const QString &text) {
    lines[index] = text;
    return lines;
}

} // namespace

class TstProjectFile : public QObject {
    Q_OBJECT
    TDM *dm = openTestCatalogue(this);

private slots:
    void writerWritesTheExactText() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProject p(dm);
        QVERIFY(p.AddDevice("Hall", 0xA1F3, 1, 2, 1, 300, 0x10));
        p.setProjectFile(dir.filePath("flat.lpr"));
        QVERIFY(p.SaveProject());
        QCOMPARE(fileBytes(dir.filePath("flat.lpr")),
                 QByteArray("project;\r\n"
                            "devicecount = 1;\r\n"
                            "device(1);\r\n"
                            "    alias    = Hall;\r\n"
                            "    uid      = 00A1F3;\r\n"
                            "    UniqAddr = 000010;\r\n"
                            "    cat_num  = 300;\r\n"
                            "    release  = 1;\r\n"
                            "    SoftVer  = 2;\r\n"
                            "    HardVer  = 1;\r\n"
                            "end;\r\n"
                            "speed = 0;\r\n"
                            "endproject;\r\n"));
        QVERIFY(p.saved());
        QCOMPARE(p.projectFolder(), dir.path());
        QCOMPARE(p.outputFile(), dir.filePath("flat.lf"));
        QCOMPARE(p.errorFile(), dir.filePath("flat.err"));
        QVERIFY(QFile::exists(dir.filePath("flat.cfg")));
        QVERIFY(QFile::exists(dir.filePath("Hall.pd")));
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(dialogs.questions.isEmpty());
    }

    void readerMessages_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        const QStringList good = oneDevice(deviceLines(1, "Hall", "00A1F3", "000010"));
        // Line numbers of good: 0 project, 1 devicecount, 2 device(1), 3 alias,
        // 4 uid, 5 UniqAddr, 6 cat_num, 7 release, 8 SoftVer, 9 HardVer,
        // 10 end, 11 speed, 12 endproject.
        QTest::newRow("empty file") << QStringList() << "Файл проекта пуст";
        QTest::newRow("project in capitals") << withLine(good, 0, "Project;")
                                             << "Отсутствует признак начала проекта - \"project\"";
        QTest::newRow("empty first line") << withLine(good, 0, "")
                                          << "Отсутствует признак начала проекта - \"project\"";
        QTest::newRow("count without =") << withLine(good, 1, "devicecount 1;")
                                         << "Ошибка чтения количества устройств в проекте";
        QTest::newRow("count not a number") << withLine(good, 1, "devicecount = x;")
                                            << "Ошибка чтения количетсва устройств в проекте";
        QTest::newRow("second block missing") << withLine(good, 1, "devicecount = 2;")
                                              << "Ошибка чтения данных об устройстве";
        QTest::newRow("not a device line") << withLine(good, 2, "module(1);") << "Ошибка чтения данных об устройстве";
        QTest::newRow("wrong device number") << withLine(good, 2, "device(2);") << "Ошибка чтения блока устройства";
        QTest::newRow("alias with a blank") << withLine(good, 3, "    alias    = Living room;")
                                            << "Ошибка чтения названия устройства";
        QTest::newRow("alias with a backslash") << withLine(good, 3, "    alias    = a\\b;")
                                                << "Ошибка чтения названия устройства";
        QTest::newRow("alias naming a device file") << withLine(good, 3, "    alias    = CON;")
                                                    << "Ошибка чтения названия устройства";
        QTest::newRow("uid above FFFFFF") << withLine(good, 4, "    uid      = 1000000;")
                                          << "Ошибка чтения UID устройства";
        QTest::newRow("uid with 0x") << withLine(good, 4, "    uid      = 0xA1;") << "Ошибка чтения UID устройства";
        QTest::newRow("uid not hex") << withLine(good, 4, "    uid      = 12G;") << "Ошибка чтения UID устройства";
        QTest::newRow("address above 3FFF") << withLine(good, 5, "    UniqAddr = 4000;")
                                            << "Ошибка чтения уникального адреса - значение превышает допустимое";
        QTest::newRow("address with 0x") << withLine(good, 5, "    UniqAddr = 0x10;")
                                         << "Ошибка чтения уникального адреса устройства";
        QTest::newRow("catalogue number not decimal") << withLine(good, 6, "    cat_num  = 1A;")
                                                      << "Ошибка чтения каталожного номера устройства";
        QTest::newRow("negative release") << withLine(good, 7, "    release  = -1;") << "Ошибка чтения Release устройства";
        QTest::newRow("softver missing value") << withLine(good, 8, "    SoftVer  = ;")
                                               << "Ошибка чтения SoftVer устройства";
        QTest::newRow("hardver wrong key") << withLine(good, 9, "    HardV  = 1;") << "Ошибка чтения HardVer устройства";
        QTest::newRow("block end missing") << withLine(good, 10, "") << "Отсутствует окончание блока описания устройства";
        QTest::newRow("catalogue number too large") << withLine(good, 6, "    cat_num  = 99999999999;")
                                                    << "Ошибка формата файла проекта";
        QTest::newRow("speed missing") << withLine(good, 11, "endproject;") << "Ошибка чтения скорости сети";
        QTest::newRow("speed not a number") << withLine(good, 11, "speed = fast;") << "Ошибка чтения скорости сети";
        QTest::newRow("endproject missing") << good.mid(0, 12)
                                            << "Ошибка признака окончания файла проекта - \"ENDPROJECT\"";
        QTest::newRow("empty line before endproject")
            << withLine(good, 12, "") << "Ошибка признака окончания файла проекта - \"ENDPROJECT\"";
        QStringList twoHalls = oneDevice(deviceLines(1, "Hall") + deviceLines(2, "HALL"));
        twoHalls[1] = "devicecount = 2;";
        QTest::newRow("same alias twice") << twoHalls << "Обнаружено два устройства с алисом = HALL";
        QTest::newRow("program file missing") << oneDevice(deviceLines(1, "Attic"))
                                              << "Отсутствует файл устройства \"Attic\"";
    }

    void readerMessages() {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        QTemporaryDir dir;
        writeFile(dir.filePath("p.lpr"), lines);
        for (const char *alias : {"Hall", "HALL", "a\\b", "CON"})
            writeFile(dir.filePath(QString::fromUtf8(alias) + ".pd"), {"module x"});
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProject p(dm);
        QVERIFY(!p.OpenProject(dir.filePath("p.lpr")));
        QCOMPARE(p.lastError(), message);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(dialogs.questions[0].text, message);
        QCOMPARE(dialogs.questions[0].title, QStringLiteral("Ошибка открытия проекта"));
        QCOMPARE(dialogs.questions[0].icon, int(UserDialogs::ErrorIcon));
        QCOMPARE(p.deviceCount(), 0);
    }

    void duplicateIdentitiesWarnAndReadingGoesOn_data() {
        QTest::addColumn<QString>("uid");
        QTest::addColumn<QString>("addr");
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("UID 0 twice") << "000000" << "000000" << QStringList();
        QTest::newRow("same UID") << "00A1F3" << "000000" << QStringList{"Обнаружено два устройства с UID =a1f3"};
        QTest::newRow("same address") << "000000" << "000010"
                                      << QStringList{"Обнаружено два устройства с уникальным адресом = 10"};
    }

    void duplicateIdentitiesWarnAndReadingGoesOn() {
        QFETCH(QString, uid);
        QFETCH(QString, addr);
        QFETCH(QStringList, warnings);
        QTemporaryDir dir;
        // The second device writes the same values differently: compared by value.
        const QString uid2 = uid == "000000" ? "0" : "a1f3";
        const QString addr2 = addr == "000000" ? "0000" : "10";
        QStringList lines = oneDevice(deviceLines(1, "Hall", uid, addr) + deviceLines(2, "Bath", uid2, addr2));
        lines[1] = "devicecount = 2;";
        writeFile(dir.filePath("p.lpr"), lines);
        writeFile(dir.filePath("Hall.pd"), {"module Hall"});
        writeFile(dir.filePath("Bath.pd"), {"module Bath"});
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProject p(dm);
        QVERIFY(p.OpenProject(dir.filePath("p.lpr")));
        QCOMPARE(p.deviceCount(), 2);
        QStringList shown;
        for (const auto &q : dialogs.questions) {
            QCOMPARE(q.buttons, QStringLiteral("o"));
            shown << q.text;
        }
        QCOMPARE(shown, warnings);
    }

    void readerKeepsValuesAndIgnoresTrailingLines() {
        QTemporaryDir dir;
        QStringList lines{"project;", "DEVICECOUNT = 1;", "Device ( 1 ) ;", "ALIAS=Hall;", "UID = a1f3;",
                          "uniqaddr = 3FFF;", "CAT_NUM = 2000;", "Release = 7;", "softver = 258;", "hardver = 3;",
                          "END;", "speed = - 1;", "EndProject;", "anything at all"};
        writeFile(dir.filePath("p.lpr"), lines);
        writeFile(dir.filePath("Hall.pd"), {"module Hall"});
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProject p(dm);
        QVERIFY(p.OpenProject(dir.filePath("p.lpr")));
        const TDevice &d = p.devices().at(0);
        QCOMPARE(d.alias, QStringLiteral("Hall"));
        QCOMPARE(d.uid, QStringLiteral("a1f3"));
        QCOMPARE(d.UniqAddr, QStringLiteral("3FFF"));
        QCOMPARE(d.cat_num, 2000);
        QCOMPARE(d.release, 7);
        QCOMPARE(int(d.SoftVer), 2); // kept in 8 bits
        QCOMPARE(int(d.HardVer), 3);
        QVERIFY(d.programFileMade);
        QVERIFY(p.saved());
        QCOMPARE(int(d.timerCount), 3); // the clock's timers from the catalogue
        QCOMPARE(int(p.networkSpeed()), 255);
        QCOMPARE(p.projectFolder(), dir.path());

        // Saving writes the values in the writer's own form.
        QVERIFY(p.SaveProject());
        const QStringList back = readFile(dir.filePath("p.lpr"));
        QCOMPARE(back[4], QStringLiteral("    uid      = 00A1F3;"));
        QCOMPARE(back[5], QStringLiteral("    UniqAddr = 003FFF;"));
        QCOMPARE(back[11], QStringLiteral("speed = 255;"));
    }

    void savedProjectReadsBackUnchanged() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProject p(dm);
        QVERIFY(p.AddDevice("dim1", 0x1A2B3C, 1, 5, 2, 150, 0x21));
        QVERIFY(p.AddDevice("Часы", 0x10, 0, 0, 0, 2000, 0x3FFF));
        QVERIFY(p.AddDevice("unknown", 0, 0, 0, 0, 9999, 0));
        p.setNetworkSpeed(3);
        p.setProjectFile(dir.filePath("a.lpr"));
        QVERIFY(p.SaveProject());
        const QByteArray first = fileBytes(dir.filePath("a.lpr"));
        TProject q(dm);
        QVERIFY(q.OpenProject(dir.filePath("a.lpr")));
        QCOMPARE(q.deviceCount(), 3);
        QCOMPARE(q.devices()[1].alias, QStringLiteral("Часы"));
        QCOMPARE(int(q.networkSpeed()), 3);
        q.setProjectFile(dir.filePath("b.lpr"));
        QVERIFY(q.SaveProject());
        QCOMPARE(fileBytes(dir.filePath("b.lpr")), first);
        QCOMPARE(fileBytes(dir.filePath("b.cfg")), fileBytes(dir.filePath("a.cfg")));
    }
};

QTEST_GUILESS_MAIN(TstProjectFile)
#include "tst_projectfile.moc"
