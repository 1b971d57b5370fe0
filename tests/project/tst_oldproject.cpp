// Older project files: detection, type codes, the conversion and its
// messages, and the emptying of the target folder.
#include "project/oldproject.h"
#include "project/project.h"

#include "app/askuser.h"
#include "projectfixture.h"

#include <QTemporaryDir>

namespace {

QStringList oldDevice(int i, const QString &alias, const QString &type, const QString &uid, const QString &addr) {
    return {QStringLiteral("device(%1);").arg(i), "  alias = \"" + alias + "\";", "  type = 0x" + type + ";",
            "  uid = 0x" + uid + ";", "  UniqAddr = 0x" + addr + ";", "  group = 0;", "  x = 1;", "  y = 2;",
            "  hardver = 3;", "  softver = 12;", "  a;", "  b;", "  c;"};
}

QStringList oldProject() {
    return QStringList{"project;", "devicecount = 2;", "groupcount = 0;", "", "x", "y", "z"} +
           oldDevice(1, "Hall", "000302", "00A1F3", "0010") + oldDevice(2, "Attic", "000103", "b2", "11");
}

QStringList withLine(QStringList lines, int index, const QString &text) {
    lines[index] = text;
    return lines;
}

} // namespace

class TstOldProject : public QObject {
    Q_OBJECT
    TDM *dm = openTestCatalogue(this);

private slots:
    void typeCodes_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("catNum");
        QTest::newRow("relay, variant 2") << "000302" << 400;
        QTest::newRow("relay, variant 1") << "000301" << 300;
        QTest::newRow("unknown variant") << "000103" << 0;
        QTest::newRow("type 1, variant 2") << "000102" << 1001;
        QTest::newRow("X10") << "000801" << 1010;
        QTest::newRow("X10 has no variant 2") << "000802" << 0;
        QTest::newRow("type 100") << "006401" << 9200;
        QTest::newRow("unknown type") << "000501" << 0;
        QTest::newRow("variant 0A") << "00640A" << 0;
    }

    void typeCodes() {
        QFETCH(QString, code);
        QFETCH(int, catNum);
        QCOMPARE(OldTypeCatalogueNumber(code), catNum);
    }

    void detection() {
        QTemporaryDir dir;
        writeFile(dir.filePath("old.lpr"), oldProject());
        writeFile(dir.filePath("new.lpr"), {"project;", "devicecount = 0;", "", "speed = 0;", "endproject;"});
        writeFile(dir.filePath("quoted.lpr"), {"project;", "  GROUPCOUNT=1;"});
        QVERIFY(IsOldProjectFormat(dir.filePath("old.lpr")));
        QVERIFY(IsOldProjectFormat(dir.filePath("quoted.lpr")));
        QVERIFY(!IsOldProjectFormat(dir.filePath("new.lpr")));
        QVERIFY(!IsOldProjectFormat(dir.filePath("missing.lpr")));
    }

    void conversionWritesAProjectThatOpens() {
        QTemporaryDir from, to;
        writeFile(from.filePath("old.lpr"), oldProject());
        writeFile(from.filePath("00A1F3.pd"), {"Program;", "Endprogram;"});
        writeFile(from.filePath("0xb2.pd"), {"attic"});
        writeFile(from.filePath("blink.pf"), {"function blink( );"});
        writeFile(from.filePath("dim.pf"), {"old dim"});
        writeFile(to.filePath("dim.pf"), {"kept dim"});
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        QVERIFY(ConvertOldProject(from.filePath("old.lpr"), to.filePath("new.lpr")));
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(readFile(to.filePath("new.lpr")),
                 (QStringList{"project;", "devicecount = 2;", "device(1);", "    alias    = Hall;",
                              "    uid      = 00A1F3;", "    UniqAddr = 0010;", "    cat_num  = 400;",
                              "    release  = 1;", "    SoftVer  = 12;", "    HardVer  = 3;", "end;", "device(2);",
                              "    alias    = Attic;", "    uid      = b2;", "    UniqAddr = 11;", "    cat_num  = 0;",
                              "    release  = 1;", "    SoftVer  = 12;", "    HardVer  = 3;", "end;", "speed = 0;",
                              "endproject;"}));
        const QString banner = "//" + QString(67, '*');
        QCOMPARE(readFile(to.filePath("Hall.pd")),
                 (QStringList{banner, "module Hall", banner, "Program;", "Endprogram;"}));
        QCOMPARE(readFile(to.filePath("Attic.pd"))[3], QStringLiteral("attic"));
        QCOMPARE(readFile(to.filePath("blink.pf")), QStringList{"function blink( );"});
        QCOMPARE(readFile(to.filePath("dim.pf")), QStringList{"kept dim"});

        TProject p(dm);
        QVERIFY(p.OpenProject(to.filePath("new.lpr")));
        QCOMPARE(p.deviceCount(), 2);
        QCOMPARE(p.devices()[0].cat_num, 400);
    }

    void conversionMessages_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        const QStringList good = oldProject();
        // Device 1 starts at line 7: +1 alias, +2 type, +3 uid, +4 address,
        // +8 hardver, +9 softver.
        QTest::newRow("empty") << QStringList() << "Файл проекта пуст";
        QTest::newRow("first line") << withLine(good, 0, "PROJECT;")
                                    << "Отсутствует признак начала проекта - \"project\"";
        QTest::newRow("count") << withLine(good, 1, "devicecount = two;")
                               << "Ошибка чтения количества устройств в проекте";
        QTest::newRow("file ends early") << good.mid(0, 20) << "Ошибка чтения данных об устройстве";
        QTest::newRow("device number") << withLine(good, 7, "device(3);") << "Ошибка чтения блока устройства";
        QTest::newRow("alias unquoted") << withLine(good, 8, "alias = Hall;") << "Ошибка чтения названия устройства";
        QTest::newRow("alias with a blank") << withLine(good, 8, "alias = \"Living room\";")
                                            << "Ошибка чтения названия устройства";
        QTest::newRow("alias twice") << withLine(good, 21, "alias = \"hall\";")
                                     << "Обнаружено два устройства с алисом = hall";
        QTest::newRow("type without 0x") << withLine(good, 9, "type = 000302;") << "Ошибка чтения TYPE устройства";
        QTest::newRow("type of 5 digits") << withLine(good, 9, "type = 0x00302;") << "Ошибка чтения TYPE устройства";
        QTest::newRow("uid without 0x") << withLine(good, 10, "uid = A1F3;") << "Ошибка чтения UID устройства";
        QTest::newRow("uid too large") << withLine(good, 10, "uid = 0x1000000;") << "Ошибка чтения UID устройства";
        QTest::newRow("address") << withLine(good, 11, "UniqAddr = 0xZZ;")
                                 << "Ошибка чтения уникального адреса устройства";
        QTest::newRow("address too large") << withLine(good, 11, "UniqAddr = 0x4000;")
                                           << "Ошибка чтения уникального адреса - значение превышает допустимое";
        QTest::newRow("hardver") << withLine(good, 15, "hardver = x;") << "Ошибка чтения HardVer устройства";
        QTest::newRow("softver") << withLine(good, 16, "soft = 1;") << "Ошибка чтения SoftVer устройства";
        QTest::newRow("program missing") << good << "Ошибка! Отсутствует файл устроства с alias = Attic";
    }

    void conversionMessages() {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        QTemporaryDir from, to;
        writeFile(from.filePath("old.lpr"), lines);
        writeFile(from.filePath("00A1F3.pd"), {"Program;"});
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        QVERIFY(!ConvertOldProject(from.filePath("old.lpr"), to.filePath("new.lpr")));
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(dialogs.questions[0].text, message);
        QCOMPARE(dialogs.questions[0].title, QStringLiteral("Ошибка открытия проекта"));
    }

    void targetFolderIsEmptiedWhenTheUserAgrees_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("emptied");
        QTest::newRow("Да") << 0 << true;
        QTest::newRow("Отмена") << 1 << false;
    }

    void targetFolderIsEmptiedWhenTheUserAgrees() {
        QFETCH(int, answer);
        QFETCH(bool, emptied);
        QTemporaryDir from, to;
        writeFile(from.filePath("old.lpr"), oldProject());
        writeFile(to.filePath("stale.pd"), {"x"});
        QVERIFY(QDir(to.path()).mkdir("keep"));
        writeFile(to.filePath("keep/inner.txt"), {"x"});
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        dialogs.answers = {answer};
        QCOMPARE(PrepareConversionFolder(from.filePath("old.lpr"), to.filePath("new.lpr")), emptied);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(dialogs.questions[0].buttons, QStringLiteral("до"));
        QCOMPARE(dialogs.questions[0].text, QStringLiteral("Внимание! Директория не пуста!\n\rПри создании проекта все "
                                                           "файлы директории будут УДАЛЕНЫ! Продолжить?"));
        QCOMPARE(QFile::exists(to.filePath("stale.pd")), !emptied);
        QVERIFY(QFile::exists(to.filePath("keep/inner.txt")));
    }

    void emptyFolderAndTheOldFolderItself() {
        QTemporaryDir from, to;
        writeFile(from.filePath("old.lpr"), oldProject());
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        QVERIFY(PrepareConversionFolder(from.filePath("old.lpr"), to.filePath("new.lpr")));
        QVERIFY(dialogs.questions.isEmpty());
        dialogs.answers = {0};
        QVERIFY(!PrepareConversionFolder(from.filePath("old.lpr"), from.filePath("new.lpr")));
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(QFile::exists(from.filePath("old.lpr")));
    }
};

QTEST_GUILESS_MAIN(TstOldProject)
#include "tst_oldproject.moc"
