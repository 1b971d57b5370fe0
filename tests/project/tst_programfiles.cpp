// Program skeletons, function files and the runlink search.
#include "project/programtemplate.h"
#include "project/project.h"

#include "app/askuser.h"
#include "projectfixture.h"

#include <QTemporaryDir>

namespace {
const char skeletonBytes[] =
    "//*******************************************************************\r\n"
    "module lamp1\r\n"
    "//*******************************************************************\r\n"
    "Program;\r\n"
    "\r\n"
    "// \xD0\xE0\xE7\xE4\xE5\xEB \xEE\xEF\xE8\xF1\xE0\xED\xE8\xFF \xEB\xE8\xED\xEA\xEE\xE2\r\n" // Раздел описания линков
    "links;\r\n"
    "\r\n\r\n"
    "end;\r\n"
    "\r\n"
    "// \xD0\xE0\xE7\xE4\xE5\xEB \xEE\xEF\xE8\xF1\xE0\xED\xE8\xFF \xEA\xEE\xED\xF1\xF2\xE0\xED\xF2\r\n" // констант
    "const;\r\n"
    "\r\n\r\n"
    "end;\r\n"
    "\r\n"
    "// \xD0\xE0\xE7\xE4\xE5\xEB \xEE\xEF\xE8\xF1\xE0\xED\xE8\xFF \xEF\xE5\xF0\xE5\xEC\xE5\xED\xED\xFB\xF5\r\n" // переменных
    "var;\r\n"
    "\r\n\r\n"
    "end;\r\n"
    "\r\n"
    "//----------------------------------------------------\r\n"
    "//        \xD0\xC0\xC7\xC4\xC5\xCB \xCE\xCF\xC8\xD1\xC0\xCD\xC8\xDF \xCB\xC8\xCD\xCA\xCE\xC2 "
    "\xCF\xD0\xCE\xC3\xD0\xC0\xCC\xCC\xDB\r\n" // РАЗДЕЛ ОПИСАНИЯ ЛИНКОВ ПРОГРАММЫ
    "//----------------------------------------------------\r\n"
    "\r\n"
    "// \xCB\xE8\xED\xEA Reset (\xE2\xFB\xEF\xEE\xEB\xED\xFF\xE5\xF2\xF1\xFF \xEF\xF0\xE8 "
    "\xEF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xEA\xE5 \xF3\xF1\xF2\xF0\xEE\xE9\xF1\xF2\xE2\xE0)\r\n"
    "Reset;\r\n"
    "\r\n\r\n"
    "end;\r\n"
    "\r\n\r\n\r\n"
    "Endprogram;\r\n";
} // namespace

class TstProgramFiles : public QObject {
    Q_OBJECT
    TDM *dm = openTestCatalogue(this);

private slots:
    void skeletonIsWrittenOnceAtTheNextSave() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProject p(dm);
        p.setProjectFile(dir.filePath("p.lpr"));
        QVERIFY(p.SaveProject());
        QVERIFY(p.AddDevice("lamp1", 1, 0, 0, 1, 300, 1));
        QVERIFY(!QFile::exists(dir.filePath("lamp1.pd")));
        QVERIFY(p.SaveProject());
        QCOMPARE(fileBytes(dir.filePath("lamp1.pd")), QByteArray(skeletonBytes));
        QCOMPARE(readFile(dir.filePath("lamp1.pd")).size(), 36);
        QCOMPARE(programtemplate::programSkeleton("lamp1").size(), 36);
        // A second save leaves the program alone.
        writeFile(dir.filePath("lamp1.pd"), {"module lamp1", "edited"});
        p.markModified();
        QVERIFY(p.SaveProject());
        QCOMPARE(readFile(dir.filePath("lamp1.pd")), (QStringList{"module lamp1", "edited"}));
        QVERIFY(dialogs.questions.isEmpty());
    }

    void existingProgramIsAskedAboutAtEverySaveUntilYes() {
        QTemporaryDir dir;
        writeFile(dir.filePath("lamp1.pd"), {"from elsewhere"});
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProject p(dm);
        p.setProjectFile(dir.filePath("p.lpr"));
        QVERIFY(p.AddDevice("lamp1", 1, 0, 0, 1, 300, 1));
        dialogs.answers = {1, 1, 0};
        for (int save = 0; save < 3; ++save)
            QVERIFY(p.SaveProject());
        QCOMPARE(dialogs.questions.size(), 3);
        const auto &q = dialogs.questions[0];
        QCOMPARE(q.buttons, QStringLiteral("дн"));
        QCOMPARE(q.text, "Внимание! Файл " + QDir::toNativeSeparators(dir.filePath("lamp1.pd")) +
                             " существует! \n\rВы хотите перезаписать его?");
        QCOMPARE(q.icon, 3);
        QCOMPARE(fileBytes(dir.filePath("lamp1.pd")), QByteArray(skeletonBytes));
        QVERIFY(p.SaveProject()); // answered: no more questions
        QCOMPARE(dialogs.questions.size(), 3);
    }

    void newFunctionFile_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain name") << "blink" << "blink.pf" << "blink";
        QTest::newRow("extension typed") << "blink.pf" << "blink.pf" << "blink";
        QTest::newRow("bad name") << "a b" << "" << "";
    }

    void newFunctionFile() {
        QFETCH(QString, chosen);
        QFETCH(QString, file);
        QFETCH(QString, name);
        QTemporaryDir dir;
        writeFile(dir.filePath("blink.pf"), {"old", "body"});
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        QString made;
        QCOMPARE(TProject::NewFunctionFile(dir.filePath(chosen), &made), !file.isEmpty());
        if (file.isEmpty()) {
            QCOMPARE(dialogs.messages.size(), 1);
            QCOMPARE(readFile(dir.filePath("blink.pf")), (QStringList{"old", "body"}));
            return;
        }
        QCOMPARE(made, name);
        QCOMPARE(fileBytes(dir.filePath(file)), QByteArray("function blink( );\r\n"));
        QVERIFY(dialogs.questions.isEmpty());
    }

    void editorTextGoesToTheEditedFile() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProject p(dm);
        p.AddDevice("lamp1", 1, 0, 0, 1, 300, 1);
        p.setProjectFile(dir.filePath("p.lpr"));
        QVERIFY(p.SaveProject());
        const QByteArray skeleton = fileBytes(dir.filePath("lamp1.pd"));
        QVERIFY(p.SaveEditorText({"no device chosen"}));
        QCOMPARE(fileBytes(dir.filePath("lamp1.pd")), skeleton);
        p.setCurrentDevice(0);
        QVERIFY(p.SaveEditorText({}));
        QCOMPARE(fileBytes(dir.filePath("lamp1.pd")), skeleton);
        QVERIFY(p.SaveEditorText({"module lamp1", "Program;"}));
        QCOMPARE(fileBytes(dir.filePath("lamp1.pd")), QByteArray("module lamp1\r\nProgram;\r\n"));
        p.setEditedFile(dir.filePath("blink.pf"));
        QVERIFY(p.SaveEditorText({"function blink( );"}));
        QCOMPARE(fileBytes(dir.filePath("blink.pf")), QByteArray("function blink( );\r\n"));
        QVERIFY(!p.SaveEditorText({"日本"}));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(fileBytes(dir.filePath("blink.pf")), QByteArray("function blink( );\r\n"));
    }

    void runlinkCallers_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QStringList>("program");
        QTest::addColumn<QStringList>("callers");
        const QStringList head{"module dev", "Program;", "links;", "toggle;", "end;", "Links", "MyLink;"};
        QTest::newRow("global link body")
            << "lamp_on" << head + QStringList{"Toggle;", "  setout(out[1],1,0,0);", "  runlink(lamp_on);", "end;"}
            << QStringList{"dev=toggle"}; // named as the link list names it
        QTest::newRow("own link body") << "lamp_on"
                                       << head + QStringList{"mylink ;", "RunLink(Lamp_On); // call", "end;"}
                                       << QStringList{"dev=MyLink"};
        QTest::newRow("substring of the name") << "lamp" << head + QStringList{"mylink;", "runlink(lamp_on);", "end"}
                                               << QStringList{"dev=MyLink"};
        QTest::newRow("after the last end") << "lamp_on"
                                            << head + QStringList{"mylink;", "end", "runlink(lamp_on);"}
                                            << QStringList();
        QTest::newRow("two calls") << "lamp_on"
                                   << head + QStringList{"mylink;", "runlink(lamp_on);", "end;", "toggle;",
                                                         "if (x) runlink(lamp_on);", "end;"}
                                   << QStringList{"dev=MyLink", "dev=toggle"};
        QTest::newRow("commented out") << "lamp_on" << head + QStringList{"mylink;", "// runlink(lamp_on);", "end;"}
                                       << QStringList();
    }

    void runlinkCallers() {
        QFETCH(QString, link);
        QFETCH(QStringList, program);
        QFETCH(QStringList, callers);
        TGlobalLinksArray globals{TGlobalLink{"toggle", {}, {}, {}, {}, {}}};
        TLocalLinksArray own{resetLink(), TLocalLink{"MyLink", {}, {}, {}, {}}};
        QCOMPARE(programtemplate::runlinkCallers("dev", program, link, globals, own), callers);
    }

    void runlinkCallersWalkTheDevicesInOrder() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProject p(dm);
        p.AddDevice("b", 1, 0, 0, 1, 300, 1);
        p.AddDevice("a", 2, 0, 0, 1, 300, 2);
        p.AddDevice("none", 3, 0, 0, 1, 300, 3);
        p.globalLinks() << TGlobalLink{"go", {}, {}, {}, {}, {}};
        p.setProjectFile(dir.filePath("p.lpr"));
        QVERIFY(p.SaveProject());
        writeFile(dir.filePath("b.pd"), {"go;", "runlink(x1);", "end;"});
        writeFile(dir.filePath("a.pd"), {"go;", "runlink(x1);", "end;"});
        QFile::remove(dir.filePath("none.pd"));
        QCOMPARE(p.RunlinkCallers("X1"), (QStringList{"b=go", "a=go"}));
    }
};

QTEST_GUILESS_MAIN(TstProgramFiles)
#include "tst_programfiles.moc"
