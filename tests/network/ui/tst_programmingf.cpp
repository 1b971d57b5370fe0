// The programming window against the simulated bus: lists shown from the
// output and the project, ticks kept in the selection file, a run that
// leaves each ticked device holding exactly its packets, a stop while a
// silent device is awaited, a broken output file and nothing ticked.
#include "../programmedpackets.h"
#include "filebytes.h"
#include "simlink.h"

#include "app/askuser.h"
#include "app/catalogue.h"
#include "network/ui/programmingf.h"
#include "project/project.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

struct Fixture {
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    TDM dm;
    TProject project{&dm};
    std::unique_ptr<SimLink> link;
    ScriptedDialogs dialogs;
    ScopedUserDialogs scope{dialogs};

    explicit Fixture(const QString &extraNetwork = QString()) {
        const QDir example(QStringLiteral(VODIZ_SOURCE_DIR "/data/example"));
        for (const QString &f : example.entryList(QDir::Files))
            QFile::copy(example.filePath(f), dir.filePath(f));
        QFile::copy(QStringLiteral(VODIZ_SOURCE_DIR "/tests/network/data/flat.lf"), dir.filePath("flat.lf"));
        if (!dm.ConnectCatalogue(QStringLiteral(VODIZ_BIN_DIR "/Database/database_vk.db")))
            qFatal("catalogue: %s", qPrintable(dm.lastError()));
        if (!project.OpenProject(dir.filePath("flat.lpr")))
            qFatal("example project: %s", qPrintable(project.lastError()));
        SimNetworkSpec spec;
        QString error;
        if (!readSimNetwork(example.filePath("sim-network.txt"), spec, &error))
            qFatal("%s", qPrintable(error));
        if (!extraNetwork.isEmpty()) {
            SimNetworkSpec extra;
            parseSimNetwork(extraNetwork, extra, &error);
            for (SimDeviceSpec &d : spec.devices)
                for (const SimDeviceSpec &e : extra.devices)
                    if (d.uid == e.uid)
                        d = e;
        }
        link = std::make_unique<SimLink>(spec);
        if (!link->connect())
            qFatal("simulated modem does not answer");
        QDir::setCurrent(dir.path()); // the programming log goes there
    }
    ~Fixture() { QDir::setCurrent(previousDir); }

    QPushButton *button(QWidget &w, const char *name) { return w.findChild<QPushButton *>(QString::fromLatin1(name)); }
    QStringList received(const QString &uid) const {
        QStringList out;
        for (const TPacket &p : link->modem->received(uid.toUInt(nullptr, 16)))
            out << QString::fromLatin1(p.dataBytes().toHex().toUpper());
        return out;
    }
    QStringList logFiles() const {
        return QDir(dir.path()).entryList({QStringLiteral("Лог программирования *.log")}, QDir::Files);
    }
    QByteArray selectionBytes() const { return readBytes(dir.filePath("dev.ini")); }
};

} // namespace

class TstProgrammingF : public QObject {
    Q_OBJECT
private slots:
    void showsBothLists() {
        Fixture fx;
        TProgrammingF w(fx.project, *fx.link->can);
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Программирование устройств проекта"));
        QTableWidget *commands = w.commandGrid();
        QCOMPARE(commands->horizontalHeaderItem(0)->text(), QStringLiteral("UID"));
        QCOMPARE(commands->horizontalHeaderItem(1)->text(), QStringLiteral("Команда"));
        QCOMPARE(commands->rowCount(), int(w.commands().size()));
        QCOMPARE(commands->item(0, 1)->text(), QStringLiteral("71"));
        QCOMPARE(commands->item(6, 1)->text(), QStringLiteral("8129F88512004AF0")); // first code line cut in three
        QCOMPARE(commands->item(8, 1)->text(), QStringLiteral("8000003062"));
        QTableWidget *devices = w.deviceGrid();
        QCOMPARE(devices->rowCount(), 4);
        QCOMPARE(devices->horizontalHeaderItem(1)->text(), QStringLiteral("№"));
        QCOMPARE(devices->item(1, 1)->text(), QStringLiteral("2"));
        QCOMPARE(devices->item(1, 2)->text(), QStringLiteral("rel_kitchen"));
        QCOMPARE(devices->item(1, 3)->text(), QStringLiteral("00B202"));
        QCOMPARE(w.ticks(), QList<bool>(4, true)); // no selection file yet
        QVERIFY2(fx.dialogs.messages.isEmpty(), qPrintable(fx.dialogs.messages.join("|")));
    }

    // The ticks go to "dev.ini" on "Закрыть" and come back next time;
    // "Выделить все" and "Удалить все" tick and clear every row.
    void ticksSurviveBetweenUses() {
        Fixture fx;
        {
            TProgrammingF w(fx.project, *fx.link->can);
            w.show();
            QTest::mouseClick(fx.button(w, "b2"), Qt::LeftButton);
            QCOMPARE(w.ticks(), QList<bool>(4, false));
            QTest::mouseClick(fx.button(w, "b1"), Qt::LeftButton);
            QCOMPARE(w.ticks(), QList<bool>(4, true));
            w.setTick(0, false);
            w.setTick(2, false);
            QTest::mouseClick(fx.button(w, "ButCancel"), Qt::LeftButton);
            QVERIFY(!w.isVisible());
        }
        QCOMPARE(fx.selectionBytes(), QByteArray("\x00\x01\x00\x01", 4));
        TProgrammingF again(fx.project, *fx.link->can);
        again.show();
        QCOMPARE(again.ticks(), (QList<bool>{false, true, false, true}));

        // A selection file that cannot be read ticks every device.
        writeBytes(fx.dir.filePath("dev.ini"), QByteArray("\x01\x07", 2));
        TProgrammingF third(fx.project, *fx.link->can);
        third.show();
        QCOMPARE(third.ticks(), QList<bool>(4, true));
    }

    // Every ticked device holds exactly its packets; the unticked one hears
    // nothing; the log is shown and saved, the success message said.
    void programsTickedDevices() {
        Fixture fx;
        TProgrammingF w(fx.project, *fx.link->can);
        w.show();
        w.setTick(1, false);
        QTest::mouseClick(fx.button(w, "ButStart"), Qt::LeftButton);
        QVERIFY(w.running());
        QVERIFY(!fx.button(w, "ButStart")->isEnabled());
        QVERIFY(!fx.button(w, "ButCancel")->isEnabled());
        QVERIFY(fx.button(w, "BStop")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 60000);
        QVERIFY(fx.button(w, "ButStart")->isEnabled());
        QCOMPARE(fx.dialogs.messages, QStringList{QStringLiteral("Устройство(а) успешно запрограммированы!")});
        int sent = 0;
        for (const QString uid : {"00A101", "00C303", "00D404"}) {
            QCOMPARE(fx.received(uid), packetsFor(w.commands(), uid));
            sent += int(packetsFor(w.commands(), uid).size());
        }
        QCOMPARE(fx.received("00B202"), QStringList());
        QListWidget *log = w.logList();
        QCOMPARE(log->count(), sent + 1);
        QCOMPARE(log->item(0)->text(), QStringLiteral("Старт программирования устройств"));
        QVERIFY(log->item(1)->text().endsWith(QStringLiteral(" - Команда: 71 - OK")));
        QCOMPARE(w.progressBar()->value(), 0);
        QCOMPARE(fx.logFiles().size(), 1);
    }

    // A device that never answers holds the run for the whole time-out of
    // its packet; the window goes on answering, the stop button ends the run
    // after that packet, the failed line is red and no log is saved.
    void stopWhileDeviceIsAwaited() {
        Fixture fx(QStringLiteral("device uid=00B202 addr=0012 cat=400 silent"));
        TProgrammingF w(fx.project, *fx.link->can);
        w.show();
        QTest::mouseClick(fx.button(w, "b2"), Qt::LeftButton);
        w.setTick(1, true);
        QTest::mouseClick(fx.button(w, "ButStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!fx.received("00B202").isEmpty(), 10000);
        QTest::mouseClick(fx.button(w, "BStop"), Qt::LeftButton);
        w.reject(); // closing is refused while the job runs
        QVERIFY(w.isVisible());
        QVERIFY(w.running()); // still awaiting the answer
        QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 20000);
        QCOMPARE(fx.dialogs.messages, QStringList{QStringLiteral("Программирование устройств остановлено!")});
        QCOMPARE(fx.received("00B202"), QStringList{"71"});
        QListWidget *log = w.logList();
        QCOMPARE(log->count(), 2);
        QVERIFY(log->item(1)->text().endsWith(QStringLiteral(" - Команда: 71 - Ошибка!")));
        QCOMPARE(log->item(1)->foreground().color(), QColor(Qt::red));
        QVERIFY(log->item(0)->foreground().color() != QColor(Qt::red));
        QVERIFY(fx.logFiles().isEmpty());
        QVERIFY(fx.button(w, "ButCancel")->isEnabled());
    }

    void nothingTicked() {
        Fixture fx;
        const int before = fx.link->modem->packetsFromPc();
        TProgrammingF w(fx.project, *fx.link->can);
        w.show();
        QTest::mouseClick(fx.button(w, "b2"), Qt::LeftButton);
        QTest::mouseClick(fx.button(w, "ButStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 10000);
        QCOMPARE(fx.dialogs.questions.size(), 1);
        QCOMPARE(fx.dialogs.questions[0].text,
                 QStringLiteral("Не выбрано ни одного устройства для программирования!"));
        QCOMPARE(fx.dialogs.questions[0].title, QStringLiteral("Программирование устройств"));
        QCOMPARE(fx.link->modem->packetsFromPc(), before);
        QVERIFY(fx.logFiles().isEmpty());
    }

    // A line too short: the rows before it are shown, the device list stays
    // empty, and closing keeps the ticks on disk as they were.
    void shortOutputLine() {
        Fixture fx;
        writeBytes(fx.dir.filePath("flat.lf"), "00A101:CMND:71\r\n00A101:CMND:72\r\n00A1\r\n00A101:CMND:7000\r\n");
        writeBytes(fx.dir.filePath("dev.ini"), QByteArray("\x00\x01\x01\x00", 4));
        TProgrammingF w(fx.project, *fx.link->can);
        w.show();
        QCOMPARE(fx.dialogs.messages, QStringList{QStringLiteral("Ошибка в длине строки файла!")});
        QCOMPARE(w.commandGrid()->rowCount(), 2);
        QCOMPARE(w.deviceGrid()->rowCount(), 0);
        QTest::mouseClick(fx.button(w, "ButCancel"), Qt::LeftButton);
        QCOMPARE(fx.selectionBytes(), QByteArray("\x00\x01\x01\x00", 4));
    }
};

QTEST_MAIN(TstProgrammingF)
#include "tst_programmingf.moc"
