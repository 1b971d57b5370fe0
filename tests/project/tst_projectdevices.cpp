// Adding, deleting and renaming devices with their files; saves that fail
// part-way; saving under another name.
#include "project/project.h"

#include "app/askuser.h"
#include "app/textfile.h"
#include "projectfixture.h"

#include <QTemporaryDir>

namespace {

// A saved project with the devices Hall and Bath, whose programs carry
// compiler files beside them.
std::unique_ptr<TProject> savedProject(TDM *dm, const QTemporaryDir &dir) {
    auto p = std::make_unique<TProject>(dm);
    p->AddDevice("Hall", 0xA1F3, 1, 2, 1, 300, 0x10);
    p->AddDevice("Bath", 0xB2, 1, 2, 1, 150, 0x11);
    p->setProjectFile(dir.filePath("flat.lpr"));
    if (!p->SaveProject())
        return nullptr;
    for (const char *name : {"Hall.pdc", "Hall.pdl", "Bath.pdc", "Bath.pdl"})
        writeFile(dir.filePath(name), {"compiled"});
    writeFile(dir.filePath("Hall.pd"), {"// my hall", "  MODULE Hall", "Program;", "Endprogram;"});
    return p;
}

QStringList aliasesOnDisk(TDM *dm, const QString &path, QStringList *messages = nullptr) {
    ScriptedDialogs quiet;
    ScopedUserDialogs scope(quiet);
    TProject p(dm);
    if (!p.OpenProject(path))
        return {"unreadable: " + p.lastError()};
    QStringList aliases;
    for (const TDevice &d : p.devices())
        aliases << d.alias;
    if (messages)
        *messages = quiet.messages;
    return aliases;
}

} // namespace

class TstProjectDevices : public QObject {
    Q_OBJECT
    TDM *dm = openTestCatalogue(this);

private slots:
    void cleanup() { textfile::setWriteFailureHook({}); }

    void badAliasesAreRefused_data() {
        QTest::addColumn<QString>("alias");
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << "Living room";
        QTest::newRow("slash") << "a/b";
        QTest::newRow("backslash") << "..\\x";
        QTest::newRow("dots") << "..";
        QTest::newRow("colon") << "c:x";
        QTest::newRow("question mark") << "a?";
        QTest::newRow("control character") << "a\tb";
        QTest::newRow("reserved name") << "Lpt1";
        QTest::newRow("not in Windows-1251") << "日本";
        QTest::newRow("taken") << "HALL";
    }

    void badAliasesAreRefused() {
        QFETCH(QString, alias);
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        QVERIFY(!p->AddDevice(alias, 5, 0, 0, 1, 300, 5));
        QCOMPARE(p->deviceCount(), 2);
        QVERIFY(!p->RenameDevice("Bath", alias));
        QCOMPARE(p->devices()[1].alias, QStringLiteral("Bath"));
        QCOMPARE(dialogs.messages.size(), 2);
        QVERIFY(QFile::exists(dir.filePath("Bath.pd")));
    }

    void addDeviceStoresIdentityAsText() {
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProject p(dm);
        QVERIFY(p.AddDevice("x", 0xa1f3, 4, 5, 6, 400, 0x2F));
        const TDevice &d = p.devices()[0];
        QCOMPARE(d.uid, QStringLiteral("00A1F3"));
        QCOMPARE(d.UniqAddr, QStringLiteral("00002F"));
        QCOMPARE(int(d.inputCount), 4);
        QVERIFY(!d.programFileMade);
        QVERIFY(!p.saved());
    }

    void renameMovesTheProgram() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        QVERIFY(p->RenameDevice("hall", "Lobby"));
        QVERIFY(!p->saved());
        QCOMPARE(readFile(dir.filePath("Lobby.pd")),
                 (QStringList{"// my hall", "module Lobby", "Program;", "Endprogram;"}));
        for (const char *gone : {"Hall.pd", "Hall.pdc", "Hall.pdl"})
            QVERIFY2(!QFile::exists(dir.filePath(gone)), gone);
        QVERIFY(QFile::exists(dir.filePath("Bath.pdc")));
        QCOMPARE(aliasesOnDisk(dm, dir.filePath("flat.lpr")), (QStringList{"Lobby", "Bath"}));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void renameOntoAFileOfTheNewNameAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("renamed");
        QTest::newRow("Да") << 0 << true;
        QTest::newRow("Нет") << 1 << false;
    }

    void renameOntoAFileOfTheNewNameAsksFirst() {
        QFETCH(int, answer);
        QFETCH(bool, renamed);
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        writeFile(dir.filePath("Lobby.pd"), {"someone else's"});
        dialogs.answers = {answer};
        QCOMPARE(p->RenameDevice("Hall", "Lobby"), renamed);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(p->devices()[0].alias, renamed ? QStringLiteral("Lobby") : QStringLiteral("Hall"));
        QCOMPARE(readFile(dir.filePath("Lobby.pd"))[0],
                 renamed ? QStringLiteral("// my hall") : QStringLiteral("someone else's"));
        QCOMPARE(aliasesOnDisk(dm, dir.filePath("flat.lpr")),
                 (QStringList{renamed ? "Lobby" : "Hall", "Bath"}));
    }

    void renameOfTheLetterCase() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        QVERIFY(p->RenameDevice("Hall", "HALL"));
        QCOMPARE(readFile(dir.filePath("HALL.pd"))[1], QStringLiteral("module HALL"));
        QCOMPARE(aliasesOnDisk(dm, dir.filePath("flat.lpr")), (QStringList{"HALL", "Bath"}));
    }

    void renameOfAProgramNeverWritten() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        QVERIFY(p->AddDevice("lamp1", 7, 0, 0, 1, 300, 7));
        QVERIFY(p->RenameDevice("lamp1", "lamp2"));
        QVERIFY(!QFile::exists(dir.filePath("lamp2.pd")));
        QVERIFY(p->SaveProject());
        QCOMPARE(readFile(dir.filePath("lamp2.pd"))[1], QStringLiteral("module lamp2"));
        QVERIFY(!QFile::exists(dir.filePath("lamp1.pd")));
        QVERIFY(!p->RenameDevice("nobody", "x"));
    }

    void deleteRemovesTheFilesAndSaves() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        p->setCurrentDevice(1);
        QVERIFY(p->DeleteDevice("HALL"));
        QCOMPARE(p->currentDevice(), 0); // still Bath
        QVERIFY(!p->saved());
        for (const char *gone : {"Hall.pd", "Hall.pdc", "Hall.pdl"})
            QVERIFY2(!QFile::exists(dir.filePath(gone)), gone);
        QCOMPARE(aliasesOnDisk(dm, dir.filePath("flat.lpr")), QStringList{"Bath"});
        QVERIFY(p->DeleteDevice("nobody"));
        QCOMPARE(p->deviceCount(), 1);
    }

    // Whatever file fails to be written, the old files stay whole and the
    // project on disk opens with its old devices.
    void failedSavesLeaveAReadableProject_data() {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("operation");
        for (const char *file : {"flat.lpr", "flat.cfg", "Bath.pd", "Lobby.pd", "Kitchen.pd"}) {
            QTest::addRow("add, %s", file) << file << 0;
            QTest::addRow("rename, %s", file) << file << 1;
            QTest::addRow("delete, %s", file) << file << 2;
        }
    }

    void failedSavesLeaveAReadableProject() {
        QFETCH(QString, failing);
        QFETCH(int, operation);
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        QMap<QString, QByteArray> before;
        for (const QString &f : QDir(dir.path()).entryList(QDir::Files))
            before[f] = fileBytes(dir.filePath(f));
        textfile::setWriteFailureHook([&](const QString &path) { return path.endsWith("/" + failing); });
        bool ok = false;
        switch (operation) {
        case 0: ok = p->AddDevice("Kitchen", 9, 0, 0, 1, 300, 9) && p->SaveProject(); break;
        case 1: ok = p->RenameDevice("Hall", "Lobby"); break;
        default: ok = p->DeleteDevice("Hall"); break;
        }
        textfile::setWriteFailureHook({});
        QStringList reopenMessages;
        const QStringList after = aliasesOnDisk(dm, dir.filePath("flat.lpr"), &reopenMessages);
        if (ok) {
            // The failing file was never needed by this operation.
            QVERIFY(dialogs.messages.isEmpty());
            QVERIFY(!after.first().startsWith("unreadable"));
            return;
        }
        QVERIFY(!p->saved());
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages[0].contains(failing), qPrintable(dialogs.messages[0]));
        QCOMPARE(fileBytes(dir.filePath(failing)), before.value(failing));
        QVERIFY2(!after.first().startsWith("unreadable"), qPrintable(after.first()));
        if (failing == "flat.lpr")
            QCOMPARE(after, (QStringList{"Hall", "Bath"}));
        // A device added and not saved leaves the configuration readable.
        if (operation == 0)
            QCOMPARE(reopenMessages, QStringList());
    }

    void unstorableTextIsRefusedBeforeAnythingIsWritten() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        const QByteArray lpr = fileBytes(dir.filePath("flat.lpr"));
        const QByteArray cfg = fileBytes(dir.filePath("flat.cfg"));
        p->AddDevice("Kitchen", 9, 0, 0, 1, 300, 9);
        p->globalLinks() << TGlobalLink{"lamp_on", "свет ☀", {}, {}, {}, {}};
        QVERIFY(!p->SaveProject());
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(fileBytes(dir.filePath("flat.lpr")), lpr);
        QCOMPARE(fileBytes(dir.filePath("flat.cfg")), cfg);
        QVERIFY(!QFile::exists(dir.filePath("Kitchen.pd")));
    }

    void saveAsCopiesTheProjectFiles() {
        QTemporaryDir dir, to;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        writeFile(dir.filePath("flat.ir"), {"object IRConfigList "});
        writeFile(dir.filePath("blink.pf"), {"function blink( );"});
        writeFile(to.filePath("Bath.pd"), {"older bath"});
        dialogs.answers = {0}; // overwrite Bath.pd
        QVERIFY(p->SaveProjectAs(to.filePath("home.lpr")));
        QCOMPARE(dialogs.questions.size(), 1);
        QVERIFY(dialogs.questions[0].text.contains(QDir::toNativeSeparators(to.filePath("Bath.pd"))));
        QCOMPARE(p->projectFile(), to.filePath("home.lpr"));
        QCOMPARE(p->projectFolder(), to.path());
        for (const char *name : {"Hall.pd", "Bath.pd", "blink.pf"})
            QCOMPARE(fileBytes(to.filePath(name)), fileBytes(dir.filePath(name)));
        QCOMPARE(fileBytes(to.filePath("home.ir")), fileBytes(dir.filePath("flat.ir")));
        QCOMPARE(fileBytes(to.filePath("home.cfg")), fileBytes(dir.filePath("flat.cfg")));
        QCOMPARE(aliasesOnDisk(dm, to.filePath("home.lpr")), (QStringList{"Hall", "Bath"}));
    }

    void saveAsStopsWhenAnOverwriteIsRefused() {
        QTemporaryDir dir, to;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        writeFile(to.filePath("home.ir"), {"keep"});
        dialogs.answers = {1};
        QVERIFY(!p->SaveProjectAs(to.filePath("home.lpr")));
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(p->projectFile(), dir.filePath("flat.lpr"));
        QCOMPARE(QDir(to.path()).entryList(QDir::Files), QStringList{"home.ir"});
    }

    void saveAsIntoTheSameFolderKeepsThePrograms() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        auto p = savedProject(dm, dir);
        QVERIFY(p);
        const QByteArray hall = fileBytes(dir.filePath("Hall.pd"));
        QVERIFY(p->SaveProjectAs(dir.filePath("copy.lpr")));
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(fileBytes(dir.filePath("Hall.pd")), hall);
        QCOMPARE(aliasesOnDisk(dm, dir.filePath("copy.lpr")), (QStringList{"Hall", "Bath"}));
    }
};

QTEST_GUILESS_MAIN(TstProjectDevices)
#include "tst_projectdevices.moc"
