// The settings object: keys and their order in the file, the rules applied
// on assignment and on reading, recent files, the database folder, and
// loading and saving (also read-only, and with values that do not convert).
#include "app/appsettings.h"
#include "app/textfile.h"
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray defaultsFile = "[AppSettings]\r\n"
                                "GridColor1=0\r\n"
                                "GridColor2=0\r\n"
                                "GridColor3=0\r\n"
                                "GridColor4=0\r\n"
                                "DatabaseDir=/opt/vodiz/Database\r\n"
                                "LastProject=\r\n"
                                "SystemLoadLastProject=0\r\n"
                                "UartSpeed=0\r\n"
                                "AutoDetectTime=0\r\n"
                                "SystemCompilerShowWarning=0\r\n"
                                "CurrentMode=0\r\n"
                                "\r\n"
                                "[AdminSettings]\r\n"
                                "SystemMode=0\r\n"
                                "SystemPRMode=0\r\n"
                                "\r\n"
                                "[InterfaceSettings]\r\n"
                                "WindowStatus=0\r\n"
                                "WindowLeft=0\r\n"
                                "WindowTop=0\r\n"
                                "WindowWidth=0\r\n"
                                "WindowHeight=0\r\n"
                                "SystemResizeForm=0\r\n"
                                "\r\n";

// Loads one file text into fresh settings (program folder /opt/vodiz).
struct Loaded {
    QTemporaryDir dir;
    QString path;
    TAppSettings settings;
    QStringList messages;
    bool ok = false;
    explicit Loaded(const QByteArray &text, bool writeBack = true) {
        path = dir.filePath(QStringLiteral("vodiz.ini"));
        writeBytes(path, text);
        settings.SetProgramDir(QStringLiteral("/opt/vodiz"));
        ok = settings.LoadSettings(path, writeBack, &messages);
    }
};

} // namespace

class TstAppSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void newSettingsSaveEveryKeyInOrder() {
        QTemporaryDir dir;
        TAppSettings settings;
        settings.SetProgramDir(QStringLiteral("/opt/vodiz"));
        QCOMPARE(settings.UartSpeed(), 0); // nothing assigned yet: no rule applied
        QCOMPARE(settings.CurrentMode(), 0);
        QVERIFY(settings.LoadSettings(dir.filePath(QStringLiteral("a.ini")), true));
        QCOMPARE(readBytes(settings.FileName()), QByteArray()); // missing file: created empty
        QVERIFY(settings.SaveSettings());
        QCOMPARE(readBytes(settings.FileName()), defaultsFile);
    }

    void fullExampleRoundTrips() {
        const QByteArray file = "[AppSettings]\r\n"
                                "GridColor1=255\r\n"
                                "GridColor2=65280\r\n"
                                "GridColor3=16711680\r\n"
                                "GridColor4=12632256\r\n"
                                "DatabaseDir=/data/База\r\n"
                                "LastProject=/home/u/Дом/house.lpr\r\n"
                                "SystemLoadLastProject=1\r\n"
                                "UartSpeed=4\r\n"
                                "AutoDetectTime=5\r\n"
                                "SystemCompilerShowWarning=1\r\n"
                                "CurrentMode=2\r\n"
                                "\r\n"
                                "[uids]\r\n"
                                "item=000123\r\n"
                                "item=000456\r\n"
                                "\r\n"
                                "[LastPrs]\r\n"
                                "item=/home/u/Дом/house.lpr\r\n"
                                "item=/fw/boot.hex\r\n"
                                "\r\n"
                                "[AdminSettings]\r\n"
                                "SystemMode=1\r\n"
                                "SystemPRMode=1\r\n"
                                "\r\n"
                                "[InterfaceSettings]\r\n"
                                "WindowStatus=2\r\n"
                                "WindowLeft=10\r\n"
                                "WindowTop=20\r\n"
                                "WindowWidth=800\r\n"
                                "WindowHeight=600\r\n"
                                "SystemResizeForm=1\r\n"
                                "\r\n";
        const QByteArray cp1251 = QByteArray(file)
                                      .replace("База", "\xC1\xE0\xE7\xE0")
                                      .replace("Дом", "\xC4\xEE\xEC");
        Loaded l(cp1251);
        QVERIFY2(l.ok, qPrintable(l.messages.join('\n')));
        TAppSettings &s = l.settings;
        QCOMPARE(s.uids.Strings, (QStringList{"000123", "000456"}));
        QCOMPARE(s.LastPrs.Strings.first(), QStringLiteral("/home/u/Дом/house.lpr"));
        QCOMPARE(s.GridColor3, 16711680);
        QCOMPARE(s.DatabaseDir(), QStringLiteral("/data/База"));
        QVERIFY(s.loadLastProject());
        QVERIFY(s.compilerShowWarning());
        QVERIFY(s.AdminSettings.demoMode());
        QCOMPARE(s.InterfaceSettings.WindowStatus, 2);
        QCOMPARE(s.CurrentMode(), 2);
        // Written in the order the file already had, the file is unchanged.
        QCOMPARE(readBytes(l.path), cp1251);
        QVERIFY(s.SaveSettings());
        // uids is declared first: its section follows the root's keys.
        QCOMPARE(readBytes(l.path), cp1251);
    }

    void rulesOnLoading_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("speed 7") << "UartSpeed" << "7" << 3;
        QTest::newRow("speed -1") << "UartSpeed" << "-1" << 3;
        QTest::newRow("speed 0") << "UartSpeed" << "0" << 0;
        QTest::newRow("speed 5") << "UartSpeed" << "5" << 5;
        QTest::newRow("speed 6") << "UartSpeed" << "6" << 3;
        QTest::newRow("detect 0") << "AutoDetectTime" << "0" << 2;
        QTest::newRow("detect 1") << "AutoDetectTime" << "1" << 1;
        QTest::newRow("detect -4") << "AutoDetectTime" << "-4" << -4;
        QTest::newRow("mode 0") << "CurrentMode" << "0" << 1;
        QTest::newRow("mode 5") << "CurrentMode" << "5" << 1;
        QTest::newRow("mode 2") << "CurrentMode" << "2" << 2;
        QTest::newRow("mode -2") << "CurrentMode" << "-2" << 1;
        QTest::newRow("program mode 2") << "SystemPRMode" << "2" << 0;
        QTest::newRow("program mode -1") << "SystemPRMode" << "-1" << 0;
        QTest::newRow("program mode 1") << "SystemPRMode" << "1" << 1;
        QTest::newRow("flag 5 kept") << "SystemLoadLastProject" << "5" << 5;
    }
    void rulesOnLoading() {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(int, loaded);
        const QByteArray section = key == QLatin1String("SystemPRMode") ? "[AdminSettings]" : "[AppSettings]";
        Loaded l(section + "\r\n" + key.toLatin1() + "=" + stored.toLatin1() + "\r\n");
        QVERIFY(l.ok);
        const TAppSettings &s = l.settings;
        const int value = key == QLatin1String("UartSpeed")        ? s.UartSpeed()
                          : key == QLatin1String("AutoDetectTime") ? s.AutoDetectTime()
                          : key == QLatin1String("CurrentMode")    ? s.CurrentMode()
                          : key == QLatin1String("SystemPRMode")   ? s.AdminSettings.SystemPRMode()
                                                                   : s.SystemLoadLastProject;
        QCOMPARE(value, loaded);
    }

    void rulesOnAssignment() {
        TAppSettings s;
        s.SetUartSpeed(-1);
        QCOMPARE(s.UartSpeed(), 3);
        s.SetUartSpeed(2);
        QCOMPARE(s.UartSpeed(), 2);
        s.SetAutoDetectTime(0);
        QCOMPARE(s.AutoDetectTime(), 2);
        s.SetCurrentMode(3);
        QCOMPARE(s.CurrentMode(), 1);
        // SystemPRMode is kept as given and set right when read.
        s.AdminSettings.SetSystemPRMode(7);
        QCOMPARE(s.AdminSettings.SystemPRMode(), 0);
        s.setLoadLastProject(true);
        QCOMPARE(s.SystemLoadLastProject, 1);
        s.setCompilerShowWarning(false);
        QCOMPARE(s.SystemCompilerShowWarning, 0);
        s.AdminSettings.setDemoMode(true);
        QCOMPARE(s.AdminSettings.SystemMode, 1);
        s.AdminSettings.SystemMode = 2; // only 1 is demo
        QVERIFY(!s.AdminSettings.demoMode());
        s.InterfaceSettings.setResizeForm(true);
        QCOMPARE(s.InterfaceSettings.SystemResizeForm, 1);
    }

    void placementIsKeptFromTheNormalStateOnly() {
        TInterfaceSettings ui;
        ui.StorePlacement(0, 10, 20, 800, 600);
        ui.StorePlacement(2, 0, 0, 1920, 1080); // closed maximised
        QCOMPARE(ui.WindowStatus, 2);
        QCOMPARE(QList<int>({ui.WindowLeft, ui.WindowTop, ui.WindowWidth, ui.WindowHeight}),
                 QList<int>({10, 20, 800, 600}));
        ui.StorePlacement(1, 5, 5, 5, 5); // minimised
        QCOMPARE(ui.WindowStatus, 1);
        QCOMPARE(ui.WindowWidth, 800);
    }

    void rootNameInOtherCaseIsNotTheRoot() {
        Loaded l("[appsettings]\r\nUartSpeed=5\r\n[AppSettings]\r\nGridColor1=1\r\n");
        QVERIFY(l.ok);
        QCOMPARE(l.settings.UartSpeed(), 0);
        QCOMPARE(l.settings.GridColor1, 1);
        QVERIFY(l.messages.isEmpty());
    }

    void recentFiles_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("after");
        const QStringList four{"d", "c", "b", "a"};
        QTest::newRow("add empty path") << four << "add" << "" << four;
        QTest::newRow("add to empty list") << QStringList{} << "add" << "x" << QStringList{"x"};
        QTest::newRow("add fifth drops oldest") << four << "add" << "e" << QStringList{"e", "d", "c", "b"};
        QTest::newRow("add third") << QStringList{"b", "a"} << "add" << "c" << QStringList{"c", "b", "a"};
        QTest::newRow("add listed moves to front") << four << "add" << "B" << QStringList{"b", "d", "c", "a"};
        QTest::newRow("remove listed, any case") << four << "remove" << "C" << QStringList{"d", "b", "a"};
        QTest::newRow("remove unlisted from full list") << four << "remove" << "z" << QStringList{"d", "c", "b"};
        QTest::newRow("remove unlisted from short list")
            << QStringList{"b", "a"} << "remove" << "z" << QStringList{"b", "a"};
        QTest::newRow("remove empty path") << four << "remove" << "" << four;
        QTest::newRow("remove from empty list") << QStringList{} << "remove" << "a" << QStringList{};
    }
    void recentFiles() {
        QFETCH(QStringList, before);
        QFETCH(QString, operation);
        QFETCH(QString, path);
        QFETCH(QStringList, after);
        TLastProjects list;
        list.Strings = before;
        if (operation == QLatin1String("add"))
            list.AddRecent(path);
        else
            list.RemoveRecent(path);
        QCOMPARE(list.Strings, after);
    }

    void databaseFolder_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("resolved");
        QTest::newRow("empty") << "" << "/opt/P/Database";
        QTest::newRow("parent, no normalisation") << "../Db" << "/opt/P/../Db";
        QTest::newRow("parent, old separators") << "..\\Db" << "/opt/P/../Db";
        QTest::newRow("old rooted value") << "\\Db\\Sub" << "/opt/P/Db/Sub";
        QTest::newRow("absolute unchanged") << "/srv/db" << "/srv/db";
        QTest::newRow("relative unchanged") << "db" << "db";
    }
    void databaseFolder() {
        QFETCH(QString, stored);
        QFETCH(QString, resolved);
        TAppSettings s;
        s.SetProgramDir(QStringLiteral("/opt/P"));
        s.SetDatabaseDir(stored);
        QCOMPARE(s.DatabaseDir(), resolved);
        QCOMPARE(s.DatabaseFile(), resolved + QStringLiteral("/database_vk.db"));
        // The resolved form replaces the stored one, so it is what is saved.
        s.SetProgramDir(QStringLiteral("/elsewhere"));
        QCOMPARE(s.DatabaseDir(), resolved);
    }

    void readOnlyLoadNeverTouchesTheFile() {
        const QByteArray text = "; comment\r\n[AppSettings]\r\nUartSpeed=9\r\n[Unused]\r\nk=v\r\n";
        Loaded l(text, false);
        QVERIFY(l.ok);
        QCOMPARE(l.settings.UartSpeed(), 3);
        QCOMPARE(readBytes(l.path), text);

        QTemporaryDir dir;
        TAppSettings s;
        const QString missing = dir.filePath(QStringLiteral("none.ini"));
        QVERIFY(s.LoadSettings(missing, false));
        QVERIFY(!QFile::exists(missing));
    }

    void loadNormalisesTheFileSaveRebuildsIt() {
        Loaded l("; comment\r\n[AppSettings]\r\nUartSpeed=9\r\n\r\n[Unused]\r\nk=v ; why\r\n");
        QVERIFY(l.ok);
        // At load the tree as read is written back: comments go, unused
        // sections stay, values are as they were in the file.
        QCOMPARE(readBytes(l.path), QByteArray("[AppSettings]\r\nUartSpeed=9\r\n\r\n[Unused]\r\nk=v\r\n\r\n"));
        QVERIFY(l.settings.SaveSettings());
        const QByteArray saved = readBytes(l.path);
        QVERIFY(!saved.contains("Unused"));
        QVERIFY(saved.contains("\r\nUartSpeed=3\r\n"));
    }

    void valueThatDoesNotConvertKeepsTheKeyAndIsReported() {
        Loaded l("[AppSettings]\r\nGridColor1=7\r\nUartSpeed=\xE1\xFB\xF1\xF2\xF0\xEE\r\nCurrentMode=2\r\n"
                 "[InterfaceSettings]\r\nWindowLeft=x1\r\nWindowTop=5\r\n");
        QVERIFY(l.ok);
        QCOMPARE(l.settings.GridColor1, 7);
        QCOMPARE(l.settings.UartSpeed(), 0);
        QCOMPARE(l.settings.CurrentMode(), 2);
        QCOMPARE(l.settings.InterfaceSettings.WindowLeft, 0);
        QCOMPARE(l.settings.InterfaceSettings.WindowTop, 5);
        // Reported in file order, though the sections are applied first.
        const QString where = QStringLiteral("Файл настроек %1, ").arg(QDir::toNativeSeparators(l.path));
        QCOMPARE(l.messages,
                 (QStringList{where + QStringLiteral("строка 3: значение \"быстро\" не подходит для ключа UartSpeed, "
                                                     "ключ оставлен без изменений."),
                              where + QStringLiteral("строка 6: значение \"x1\" не подходит для ключа WindowLeft, "
                                                     "ключ оставлен без изменений.")}));
    }

    void absenceMarksCannotRemoveSections() {
        Loaded l("[AppSettings]\r\nGridColor2=9\r\n[AdminSettings]\r\n#Assigned=False\r\n"
                 "[Ghost]\r\n#Assigned=False\r\n[LastPrs]\r\nitem=/p.lpr\r\n");
        QVERIFY(l.ok);
        QCOMPARE(l.settings.GridColor2, 9);
        QCOMPARE(l.settings.LastPrs.Strings, QStringList{"/p.lpr"});
        QCOMPARE(l.messages.size(), 1);
        QVERIFY2(l.messages[0].endsWith(QStringLiteral("строка 5: Property Ghost does not exist")),
                 qPrintable(l.messages[0]));
        QVERIFY(l.settings.SaveSettings());
        QVERIFY(readBytes(l.path).contains("[AdminSettings]\r\nSystemMode=0\r\n"));
    }

    void unreadableFileIsReportedAndLeftAlone() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("vodiz.ini"));
        QVERIFY(QDir().mkpath(path));
        TAppSettings s;
        QStringList messages;
        QVERIFY(!s.LoadSettings(path, true, &messages));
        QCOMPARE(messages.size(), 1);
        QVERIFY(QFileInfo(path).isDir());
        QString error;
        QVERIFY(!s.SaveSettings(&error));
        QVERIFY(!error.isEmpty());
    }

    void fileThatCouldNotBeReadIsNotReplacedByDefaults() {
        const QByteArray deep = "[AppSettings]\r\nGridColor1=5\r\n[" + QByteArray("A\\").repeated(1200) + "]\r\nk=1\r\n";
        Loaded l(deep);
        QVERIFY(!l.ok);
        QCOMPARE(l.messages.size(), 1);
        QCOMPARE(l.settings.GridColor1, 5); // what was read is applied
        QString error;
        QVERIFY(!l.settings.SaveSettings(&error));
        QCOMPARE(error, l.messages[0]);
        QCOMPARE(readBytes(l.path), deep);
    }

    void failedWriteBackIsReported() {
        Loaded l("[AppSettings]\r\nUartSpeed=1\r\n", false);
        textfile::setWriteFailureHook([](const QString &) { return true; });
        QStringList messages;
        const bool loaded = l.settings.LoadSettings(l.path, true, &messages);
        QString error;
        const bool saved = l.settings.SaveSettings(&error);
        textfile::setWriteFailureHook({});
        QVERIFY(!loaded);
        QCOMPARE(messages.size(), 1);
        QVERIFY(!saved);
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(l.path), QByteArray("[AppSettings]\r\nUartSpeed=1\r\n"));
        QCOMPARE(l.settings.UartSpeed(), 1);
    }

    void settingsFilePlace() {
        QTemporaryDir dir;
        const TSettingsLocation beside = settingsFileLocation(dir.path());
        QVERIFY(beside.besideProgram);
        QCOMPARE(beside.path, dir.filePath(QStringLiteral("vodiz.ini")));

        // A folder that cannot be written (here: one that does not exist)
        // sends the file to the user's configuration folder, created on save.
        const TSettingsLocation config = settingsFileLocation(dir.filePath(QStringLiteral("missing")));
        QVERIFY(!config.besideProgram);
        QVERIFY(config.path.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
        QVERIFY(config.path.endsWith(QStringLiteral("/vodiz.ini")));

        TAppSettings s;
        s.SetProgramDir(dir.path());
        QVERIFY(s.LoadSettings(QString(), true));
        QCOMPARE(s.FileName(), beside.path);
        QVERIFY(QFile::exists(beside.path));
    }
};

QTEST_GUILESS_MAIN(TstAppSettings)
#include "tst_appsettings.moc"
