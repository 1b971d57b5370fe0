// Shared services without windows: wait panel arithmetic, time meter and its
// log, layout coordinates, text splitting, single instance, start-up checks.
#include "app/layoututils.h"
#include "app/singleinstance.h"
#include "app/sqltime.h"
#include "app/startupflow.h"
#include "app/text1251.h"
#include "app/waitpanel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstSharedServices : public QObject {
    Q_OBJECT
private slots:
    void waitPanelStepsAddUpWithoutDrift() {
        TWaitPanel p;
        p.ShowWait(QStringLiteral("Ждите"));
        for (int i = 0; i < 7; ++i)
            p.StepWait(90.0 / 7);
        QCOMPARE(p.position(), 90);
        p.SetWait(10);
        QCOMPARE(p.position(), 10);
        p.StepWait(0.5);
        QCOMPARE(p.position(), 11); // 10.5 rounds away from zero
        p.ShowWait(QStringLiteral("again"));
        QCOMPARE(p.position(), 0);
        QCOMPARE(p.accumulator(), 0.0);
    }

    void timeMeterLogsLapsAndTotal() {
        QTemporaryDir dir;
        TSQLTime t(dir.path());
        qint64 now = 1000;
        t.clock = [&] { return now; };
        t.StartTime();
        QString panel;
        t.setStatusPanel([&](const QString &s) { panel = s; });
        now += 250;
        QCOMPARE(t.SaveTime(QStringLiteral("чтение"), true), 250);
        QCOMPARE(panel, QStringLiteral("0.250 мс"));
        now += 1500;
        QCOMPARE(t.SaveTime(QStringLiteral("запись"), false), 1500);
        QString text;
        now += 61234 - 1500;
        QCOMPARE(t.GetTime(false, text), 61234);
        QCOMPARE(text, QStringLiteral("01:01.234"));
        QFile log(dir.filePath(QStringLiteral("log/sqlTime.txt")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(cp1251::decode(log.readAll()),
                 QStringLiteral("чтение -    250 мс (Всего -    250 мс)\r\n"
                                "запись -   1500 мс (Всего -   1750 мс)\r\n"));
    }

    void timeMeterWithoutLogStillMeasures() {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("log")));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // "log" is a file: no folder, no log
        blocker.close();
        TSQLTime t(dir.path());
        QVERIFY(t.logPath().isEmpty());
        qint64 now = 0;
        t.clock = [&] { return now; };
        t.StartTime();
        now = 42;
        QCOMPARE(t.SaveTime(QStringLiteral("x"), false), 42);
    }

    void placeCoordinate_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("extent");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("expected");
        QTest::newRow("keep") << 2000 << 500 << 17 << 17;
        QTest::newRow("percent") << 50 << 301 << 0 << 151;
        QTest::newRow("one percent") << 1 << 640 << 0 << 6;
        QTest::newRow("zero is absolute") << 0 << 500 << 9 << 0;
        QTest::newRow("negative is absolute") << -35 << 500 << 9 << 35;
        QTest::newRow("large percent") << 4999 << 10 << 0 << 500;
    }
    void placeCoordinate() {
        QFETCH(int, value);
        QFETCH(int, extent);
        QFETCH(int, current);
        QFETCH(int, expected);
        QCOMPARE(PlaceCoordinate(value, extent, current), expected);
    }

    void splitText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("empty") << "" << QStringList{""};
        QTest::newRow("trailing") << "a," << QStringList{"a", ""};
        QTest::newRow("three") << "a,,b" << QStringList{"a", "", "b"};
    }
    void splitText() {
        QFETCH(QString, text);
        QFETCH(QStringList, pieces);
        QCOMPARE(SplitText(text, QStringLiteral(",")), pieces);
    }

    void secondInstanceIsRefused() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("vodiz.lock"));
        {
            SingleInstance first(lock);
            QVERIFY(first.isFirst());
            SingleInstance second(lock);
            QVERIFY(!second.isFirst());
        }
        SingleInstance afterExit(lock);
        QVERIFY(afterExit.isFirst());
    }

    // Each row: whether the file exists, the results of successive connection
    // attempts, the settings window results, the answers to the question, and
    // what the user is told; started: whether start-up goes on.
    void catalogueStartup_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QList<bool>>("connects");
        QTest::addColumn<QList<bool>>("settingsOk");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<bool>("started");
        QTest::addColumn<int>("attempts");
        using namespace startupmsg;
        QTest::newRow("connects") << true << QList<bool>{true} << QList<bool>{} << QList<int>{} << QStringList{}
                                  << true << 1;
        QTest::newRow("missing file, cancel") << false << QList<bool>{} << QList<bool>{false} << QList<int>{}
                                              << QStringList{kNoDatabase, kEnded} << false << 0;
        QTest::newRow("missing file, chosen") << false << QList<bool>{true} << QList<bool>{true} << QList<int>{}
                                              << QStringList{kNoDatabase} << true << 1;
        QTest::newRow("fails, no") << true << QList<bool>{false} << QList<bool>{} << QList<int>{1}
                                   << QStringList{kEndedNoDot} << false << 1;
        QTest::newRow("fails, yes, cancel") << true << QList<bool>{false} << QList<bool>{false} << QList<int>{0}
                                            << QStringList{kConnectCancelled} << false << 1;
        QTest::newRow("fails twice, then connects")
            << true << QList<bool>{false, false, true} << QList<bool>{true, true} << QList<int>{0, 0}
            << QStringList{} << true << 3;
        QTest::newRow("dismissed question is no") << true << QList<bool>{false} << QList<bool>{} << QList<int>{}
                                                  << QStringList{kEndedNoDot} << false << 1;
    }
    void catalogueStartup() {
        QFETCH(bool, exists);
        QFETCH(QList<bool>, connects);
        QFETCH(QList<bool>, settingsOk);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, told);
        QFETCH(bool, started);
        QFETCH(int, attempts);
        ScriptedDialogs dialogs;
        dialogs.answers = answers;
        int tried = 0;
        CatalogueStartupHooks hooks;
        hooks.databaseFileExists = [&] { return exists; };
        hooks.connectCatalogue = [&] { return connects.value(tried++, false); };
        hooks.editDatabaseSettings = [&] { return settingsOk.isEmpty() ? false : settingsOk.takeFirst(); };
        QCOMPARE(RunCatalogueStartup(hooks, dialogs), started);
        QCOMPARE(dialogs.messages, told);
        QCOMPARE(tried, attempts);
        for (const auto &q : dialogs.questions) {
            QCOMPARE(q.text, startupmsg::kConnectFailed);
            QCOMPARE(q.buttons, QStringLiteral("дн"));
        }
    }
};

QTEST_GUILESS_MAIN(TstSharedServices)
#include "tst_sharedservices.moc"
