// Start-up of the windowed program, off-screen, with scripted answers.
#include "app/singleinstance.h"
#include "app/startupflow.h"
#include "app/text1251.h"
#include "app/textfile.h"
#include "app/ui/mainf.h"
#include "app/ui/optionsf.h"
#include "app/ui/vodizstartup.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
const QString kShippedDatabaseDir = QStringLiteral(VODIZ_BIN_DIR "/Database");

struct Fixture {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAppSettings settings; // fresh for each case, not the program-wide one
    StartupConfig config;

    explicit Fixture(const QString &databaseDir) {
        config.settingsFile = dir.filePath(QStringLiteral("vodiz.ini"));
        config.lockFile = dir.filePath(QStringLiteral("vodiz.lock"));
        config.dialogs = &dialogs;
        config.settings = &settings;
        textfile::writeLines(config.settingsFile,
                             {QStringLiteral("[AppSettings]"), QStringLiteral("DatabaseDir=") + databaseDir});
    }
    QStringList settingsLines() const {
        QStringList lines;
        textfile::readLines(config.settingsFile, lines);
        return lines;
    }
};
} // namespace

class TstStartup : public QObject {
    Q_OBJECT
private slots:
    void secondCopyIsRefused() {
        Fixture f(kShippedDatabaseDir);
        SingleInstance first(f.config.lockFile);
        TVodizStartup s(f.config);
        QVERIFY(!s.start());
        QVERIFY(s.finish());
        QCOMPARE(f.dialogs.messages, QStringList{QStringLiteral("Приложение уже запущено!")});
        QVERIFY(!s.mainWindow());
        // The running copy's settings stay as they are.
        QCOMPARE(f.settingsLines().size(), 2);
    }

    void missingDatabaseCancelledEndsButSavesSettings() {
        Fixture f(QStringLiteral("/nonexistent/db"));
        int opened = 0;
        f.config.editDatabase = [&](TOptionsF &) { return ++opened, false; };
        TVodizStartup s(f.config);
        QVERIFY(!s.start());
        QVERIFY(s.finish());
        QCOMPARE(opened, 1);
        QCOMPARE(f.dialogs.messages, (QStringList{startupmsg::kNoDatabase, startupmsg::kEnded}));
        QVERIFY(f.settingsLines().contains(QStringLiteral("DatabaseDir=/nonexistent/db")));
    }

    void choosingAnotherDatabaseInTheSettingsWindowConnects() {
        Fixture f(QStringLiteral("/nonexistent/db"));
        f.config.editDatabase = [&](TOptionsF &options) {
            options.show(); // filled from the settings as the window shows
            options.databaseEdit()->setText(kShippedDatabaseDir);
            options.apply();
            options.hide();
            return true;
        };
        TVodizStartup s(f.config);
        QVERIFY(s.start());
        QVERIFY(s.dm().isConnected());
        QCOMPARE(f.dialogs.messages, QStringList{startupmsg::kNoDatabase});
        QVERIFY(s.finish());
        QVERIFY(f.settingsLines().contains(QStringLiteral("DatabaseDir=") + kShippedDatabaseDir));
    }

    void garbageDatabaseAsksAndNoEnds() {
        Fixture f{QString()};
        const QString bad = f.dir.filePath(QStringLiteral("bad"));
        QDir().mkpath(bad);
        textfile::writeLines(bad + QStringLiteral("/database_vk.db"), {QStringLiteral("not a database")});
        textfile::writeLines(f.config.settingsFile, {QStringLiteral("[AppSettings]"), QStringLiteral("DatabaseDir=") + bad});
        f.dialogs.answers = {1};
        TVodizStartup s(f.config);
        QVERIFY(!s.start());
        QCOMPARE(f.dialogs.questions.size(), 1);
        QCOMPARE(f.dialogs.questions[0].text, startupmsg::kConnectFailed);
        QCOMPARE(f.dialogs.messages, QStringList{startupmsg::kEndedNoDot});
    }

    void firstRunOpensAtTheCornerAndClosingStoresPlacement() {
        Fixture f(kShippedDatabaseDir);
        TVodizStartup s(f.config);
        QVERIFY(s.start());
        QTimer::singleShot(0, [&] {
            QCOMPARE(s.mainWindow()->geometry().size(), QSize(600, 500));
            QCOMPARE(s.mainWindow()->windowTitle(), QStringLiteral("VO-diz"));
            s.mainWindow()->setGeometry(30, 40, 700, 550);
            s.mainWindow()->close();
        });
        QCOMPARE(s.exec(), 0);
        const QStringList lines = f.settingsLines();
        for (const char *expected : {"WindowStatus=0", "WindowLeft=30", "WindowTop=40", "WindowWidth=700",
                                     "WindowHeight=550"})
            QVERIFY2(lines.contains(QLatin1String(expected)), expected);
    }

    void closingMaximisedKeepsThePreviousPlacement() {
        Fixture f(kShippedDatabaseDir);
        textfile::writeLines(f.config.settingsFile,
                             {QStringLiteral("[AppSettings]"), QStringLiteral("DatabaseDir=") + kShippedDatabaseDir,
                              QString(), QStringLiteral("[InterfaceSettings]"), QStringLiteral("WindowLeft=11"),
                              QStringLiteral("WindowTop=12"), QStringLiteral("WindowWidth=640"),
                              QStringLiteral("WindowHeight=520")});
        TVodizStartup s(f.config);
        QVERIFY(s.start());
        QTimer::singleShot(0, [&] {
            s.mainWindow()->showMaximized();
            s.mainWindow()->close();
        });
        s.exec();
        const QStringList lines = f.settingsLines();
        for (const char *expected : {"WindowStatus=2", "WindowLeft=11", "WindowWidth=640"})
            QVERIFY2(lines.contains(QLatin1String(expected)), expected);
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
