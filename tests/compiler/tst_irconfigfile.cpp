// The ".ir" file: class names, exact text, round trip, the list operations
// by name, malformed files (message, what stays, no overwrite) and failed
// saves.
#include "compiler/irconfiglist.h"

#include "app/askuser.h"
#include "app/syregistry.h"
#include "app/textfile.h"
#include "project/project.h"
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray crlf(const QStringList &lines) {
    QByteArray out;
    for (const QString &line : lines)
        out += line.toLatin1() + "\r\n";
    return out;
}

// The configuration of the IR device "hall": remote 3 with the button Power
// running tv_on.
void fillHall(TIRConfigList &list) {
    TIRConfig *hall = list.AddConfig(QStringLiteral("hall"));
    hall->AddRemote(3, 0);
    hall->RemoteList.Item(0)->AddButton(QStringLiteral("Power"), 3, 0)->Link = QStringLiteral("tv_on");
}

const QStringList kHallFile = {
    "object IRConfigList ",
    "   object IRConfig ",
    "      IRName = hall",
    "      object RemoteList ",
    "         object Remote ",
    "            SysDBType = 0",
    "            RemoteID = 3",
    "            object ButtonList ",
    "               object RButton ",
    "                  SysDBType = 0",
    "                  RemoteID = 3",
    "                  ButtonName = Power",
    "                  ButtonPrimech = ",
    "                  Link = tv_on",
    "                  GL = 0",
    "               end",
    "            end",
    "         end",
    "      end",
    "   end",
    "end",
};

QStringList names(const TIRConfigList &list) {
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out << list.Item(i)->IRName;
    return out;
}

} // namespace

class TstIRConfigFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString projectPath(const QString &name) const { return dir_.filePath(name + QStringLiteral(".lpr")); }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void classesAreRegisteredUnderTheirFileNames() {
        RegisterIRClasses();
        RegisterIRClasses(); // again: harmless
        const TSySystemRegistry &registry = TSySystemRegistry::instance();
        const QList<std::pair<const TSyClassInfo *, QString>> expected = {
            {&TRButton::staticClassInfo(), "RButton"},       {&TButtonList::staticClassInfo(), "ButtonList"},
            {&TRemote::staticClassInfo(), "Remote"},         {&TRemoteList::staticClassInfo(), "RemoteList"},
            {&TIRConfig::staticClassInfo(), "IRConfig"},     {&TIRConfigList::staticClassInfo(), "IRConfigList"},
        };
        for (const auto &[cls, name] : expected) {
            QCOMPARE(registry.RegisteredName(*cls), name);
            QCOMPARE(registry.FindClass(name.toLower()), cls);
        }
    }

    void savedFileHasTheExactText() {
        TIRConfigList list;
        fillHall(list);
        QVERIFY(list.SaveToFile(projectPath(QStringLiteral("hall"))));
        QCOMPARE(readBytes(dir_.filePath(QStringLiteral("hall.ir"))), crlf(kHallFile));
    }

    void emptyListsLeaveNoNode_data() {
        QTest::addColumn<int>("remotes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no configurations") << -1 << QByteArray("object IRConfigList \r\nend\r\n");
        QTest::newRow("configuration without remotes")
            << 0 << QByteArray("object IRConfigList \r\n   object IRConfig \r\n      IRName = Kitchen\r\n   end\r\nend\r\n");
        QTest::newRow("remote without buttons")
            << 1
            << crlf({"object IRConfigList ", "   object IRConfig ", "      IRName = Kitchen", "      object RemoteList ",
                     "         object Remote ", "            SysDBType = 0", "            RemoteID = 3", "         end",
                     "      end", "   end", "end"});
    }
    void emptyListsLeaveNoNode() {
        QFETCH(int, remotes);
        QFETCH(QByteArray, expected);
        TIRConfigList list;
        if (remotes >= 0)
            list.AddConfig(QStringLiteral("Kitchen"));
        if (remotes > 0)
            list.Item(0)->AddRemote(3, 0);
        QVERIFY(list.SaveToFile(projectPath(QStringLiteral("empty"))));
        QCOMPARE(readBytes(dir_.filePath(QStringLiteral("empty.ir"))), expected);
    }

    void roundTripKeepsEveryValue() {
        TIRConfigList list;
        fillHall(list);
        TIRConfig *second = list.AddConfig(QStringLiteral("Спальня"));
        second->AddRemote(2, 1);
        second->AddRemote(1, 0);
        TRButton *b = second->RemoteList.Item(0)->AddButton(QStringLiteral("Питание"), 2, 1);
        b->ButtonPrimech = QStringLiteral("Кондиционер у окна");
        b->Link = QStringLiteral("Отсутствует");
        b->GL = 2;
        const QString first = projectPath(QStringLiteral("trip"));
        QVERIFY(list.SaveToFile(first));

        TIRConfigList loaded;
        loaded.AddConfig(QStringLiteral("stale")); // replaced by the file
        QVERIFY(loaded.LoadFromFile(first));
        QCOMPARE(names(loaded), QStringList({"hall", "Спальня"}));
        const TRemote *remote = loaded.Item(1)->RemoteList.Item(0);
        QCOMPARE(remote->SysDBType, 1);
        QCOMPARE(remote->RemoteID, 2);
        const TRButton *read = remote->ButtonList.Item(0);
        QCOMPARE(read->ButtonName, QStringLiteral("Питание"));
        QCOMPARE(read->ButtonPrimech, QStringLiteral("Кондиционер у окна"));
        QCOMPARE(read->Link, QStringLiteral("Отсутствует"));
        QCOMPARE(read->GL, 2);
        QCOMPARE(read->SysDBType, 1);

        QVERIFY(loaded.SaveToFile(projectPath(QStringLiteral("trip2"))));
        QCOMPARE(readBytes(dir_.filePath(QStringLiteral("trip2.ir"))), readBytes(dir_.filePath(QStringLiteral("trip.ir"))));
    }

    void newProjectWritesNoFile() {
        QTemporaryDir cwd;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(cwd.path());
        TIRConfigList list;
        fillHall(list);
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        const bool saved = list.SaveToFile(TProject::newProjectFileName());
        const QStringList files = QDir(cwd.path()).entryList(QDir::Files);
        QDir::setCurrent(previous);
        QVERIFY(!saved);
        QVERIFY(files.isEmpty());
        QVERIFY(dialogs.messages.isEmpty());
    }

    void missingFileGivesAnEmptyList() {
        TIRConfigList list;
        fillHall(list);
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        QVERIFY(list.LoadFromFile(projectPath(QStringLiteral("nothing-here"))));
        QCOMPARE(list.Count(), 0);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void namedOperations() {
        TProject project;
        TIRConfigList list(nullptr, &project);
        for (const char *name : {"IR_01", "ir_01", "IR_02"})
            list.AddConfig(QString::fromLatin1(name));
        QVERIFY(!project.saved());

        // The last one whose name matches without regard to case.
        QCOMPARE(list.FindConfig(QStringLiteral("Ir_01")), list.Item(1));
        QCOMPARE(list.CurrentConfig(), list.Item(1));
        QCOMPARE(list.FindConfig(QStringLiteral("IR_03")), nullptr);
        QCOMPARE(list.CurrentConfig(), nullptr);

        // Deleting takes the first of exactly that name; the current one
        // follows its configuration.
        list.FindConfig(QStringLiteral("IR_02"));
        project.setSaved(true);
        list.DeleteConfig(QStringLiteral("iR_01"));
        QCOMPARE(names(list), QStringList({"IR_01", "ir_01", "IR_02"}));
        QVERIFY(project.saved());
        list.DeleteConfig(QStringLiteral("ir_01"));
        QCOMPARE(names(list), QStringList({"IR_01", "IR_02"}));
        QVERIFY(!project.saved());
        QCOMPARE(list.CurrentConfig()->IRName, QStringLiteral("IR_02"));
        list.DeleteConfig(QStringLiteral("IR_02"));
        QCOMPARE(list.CurrentConfig(), nullptr);

        // A renamed device keeps its configuration.
        list.RenameConfig(QStringLiteral("ir_01"), QStringLiteral("hall"));
        QCOMPARE(names(list), QStringList({"hall"}));
    }

    void projectHoldsTheListThroughItsSlot() {
        TProject project;
        project.setIRConfig(std::make_unique<TIRConfigList>(nullptr, &project));
        TIRConfigList *list = IRConfigListOf(project);
        QVERIFY(list);
        fillHall(*list);
        QVERIFY(project.irConfig()->SaveToFile(projectPath(QStringLiteral("slot"))));
        list->AddConfig(QStringLiteral("other"));
        QVERIFY(project.irConfig()->LoadFromFile(projectPath(QStringLiteral("slot"))));
        QCOMPARE(names(*list), QStringList({"hall"}));
    }

    void renamedDeviceKeepsItsRemotes() {
        TProject project;
        project.setIRConfig(std::make_unique<TIRConfigList>(nullptr, &project));
        TIRConfigList *list = IRConfigListOf(project);
        fillHall(*list);
        QVERIFY(project.AddDevice(QStringLiteral("hall"), 0x123, 1, 1, 1, 5000, 1));
        QVERIFY(project.RenameDevice(QStringLiteral("hall"), QStringLiteral("lobby")));
        QCOMPARE(names(*list), QStringList({"lobby"}));
    }

    void malformedFileIsReportedAndNeverOverwritten_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("kept");

        const QByteArray good = crlf(kHallFile);
        QByteArray badNumber = good;
        badNumber.replace("RemoteID = 3\r\n            object", "RemoteID = x3\r\n            object");
        QTest::newRow("letters for a number")
            << badNumber << QStringLiteral("строка 7: значение \"x3\" не подходит для RemoteID")
            << QStringList{""}; // a configuration's name comes after its remotes
        QTest::newRow("unknown class")
            << crlf({"object IRConfigList ", "   object IRConfig ", "      IRName = a", "   end", "   object Gadget ",
                     "   end", "   object IRConfig ", "      IRName = b", "   end", "end"})
            << QStringLiteral("строка 5: Class Gadget not found") << QStringList{"a"};
        QTest::newRow("configuration where a remote belongs")
            << crlf({"object IRConfigList ", "   object IRConfig ", "      IRName = a", "      object RemoteList ",
                     "         object IRConfig ", "         end", "      end", "   end", "end"})
            << QStringLiteral("строка 5: Class IRConfig not found") << QStringList{""};
        QTest::newRow("emptied property that does not exist")
            << crlf({"object IRConfigList ", "   object IRConfig ", "      IRName = a", "      object Colour ",
                     "         #Assigned = False", "      end", "   end", "end"})
            << QStringLiteral("строка 4: Property Colour does not exist") << QStringList{""};
        QTest::newRow("nested too deeply")
            << "object IRConfigList\r\n" + QByteArray("object IRConfig\r\n").repeated(1001)
            << QStringLiteral("вложенность больше 1000") << QStringList{""};
        QTest::newRow("no object at all")
            << QByteArray("IRName = hall\r\nsomething else\r\n") << QStringLiteral("не содержит описания \"object IRConfigList\"")
            << QStringList{};
    }
    void malformedFileIsReportedAndNeverOverwritten() {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        QFETCH(QStringList, kept);
        const QString project = projectPath(QStringLiteral("broken"));
        const QString irFile = dir_.filePath(QStringLiteral("broken.ir"));
        writeBytes(irFile, text);

        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TIRConfigList list;
        QVERIFY(!list.LoadFromFile(project));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages[0].contains(message), qPrintable(dialogs.messages[0]));
        QVERIFY(dialogs.messages[0].contains(QDir::toNativeSeparators(irFile)));
        QCOMPARE(names(list), kept); // what was read before the fault stays

        // Saving must not replace the file with the part that was read...
        list.AddConfig(QStringLiteral("new"));
        QVERIFY(!list.SaveToFile(project));
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(readBytes(irFile), text);
        // ...but the list can still be saved elsewhere.
        QVERIFY(list.SaveToFile(projectPath(QStringLiteral("elsewhere"))));
    }

    void emptyFileIsAnEmptyList() {
        writeBytes(dir_.filePath(QStringLiteral("blank.ir")), "\r\n  \r\n");
        TIRConfigList list;
        fillHall(list);
        QVERIFY(list.LoadFromFile(projectPath(QStringLiteral("blank"))));
        QCOMPARE(list.Count(), 0);
    }

    void failedSaveIsShownAndKeepsTheOldFile_data() {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("disk full") << true;
        QTest::newRow("note Windows-1251 cannot hold") << false;
    }
    void failedSaveIsShownAndKeepsTheOldFile() {
        QFETCH(bool, diskFull);
        const QString project = projectPath(QStringLiteral("keep"));
        TIRConfigList list;
        fillHall(list);
        QVERIFY(list.SaveToFile(project));
        const QByteArray before = readBytes(dir_.filePath(QStringLiteral("keep.ir")));

        list.AddConfig(QStringLiteral("second"));
        if (diskFull)
            textfile::setWriteFailureHook([](const QString &) { return true; });
        else
            list.Item(0)->RemoteList.Item(0)->ButtonList.Item(0)->ButtonPrimech = QStringLiteral("✓ готово");
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        const bool saved = list.SaveToFile(project);
        textfile::setWriteFailureHook({});
        QVERIFY(!saved);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0], list.LastError());
        QCOMPARE(readBytes(dir_.filePath(QStringLiteral("keep.ir"))), before);
    }
};

QTEST_GUILESS_MAIN(TstIRConfigFile)
#include "tst_irconfigfile.moc"
