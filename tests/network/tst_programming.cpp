// Device programming: cutting the compiler's output into packets, the
// selection file, and runs against the simulated bus (exact packets per
// device, pauses on a change of device, a device that falls silent, stop
// requests, nothing ticked, broken packets, the final messages and log).
#include "programmedpackets.h"
#include "simlink.h"

#include "app/askuser.h"
#include "app/text1251.h"
#include "app/textfile.h"
#include "network/deviceselection.h"
#include "network/programcommands.h"
#include "network/programming.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString A = QStringLiteral("00A101"), B = QStringLiteral("00B202"), C = QStringLiteral("00C303");

SimNetworkSpec network(const SimFaults &faults = {}) {
    SimNetworkSpec spec;
    QString error;
    if (!parseSimNetwork(QStringLiteral("modem uid=00A001\n"
                                        "device uid=00A101 addr=0011 cat=150\n"
                                        "device uid=00B202 addr=0012 cat=400\n"
                                        "device uid=00C303 addr=0013 cat=550\n"),
                         spec, &error))
        qFatal("%s", qPrintable(error));
    spec.faults = faults;
    return spec;
}

// Output lines of three devices: configuration commands and code lines.
QStringList outputLines() {
    return {A + ":CMND:71",
            A + ":CMND:72",
            A + ":0000:0102030405060708090A0B0C0D0E0F10",
            A + ":CMND:A2000011FFFF",
            B + ":CMND:71",
            B + ":CMND:2101 4D",
            B + ":0000:1112131415161718191A1B1C1D1E1F20",
            C + ":CMND:71",
            C + ":CMND:7000"};
}

TProgCommandList commandsOf(const QStringList &lines) {
    TProgCommandList rows;
    for (const QString &l : lines)
        rows += programcommands::cutLine(l);
    return rows;
}

QStringList received(SimModem &modem, const QString &uid) {
    QStringList out;
    for (const TPacket &p : modem.received(uid.toUInt(nullptr, 16)))
        out << QString::fromLatin1(p.dataBytes().toHex().toUpper());
    return out;
}

struct Recorder : TProgrammingListener {
    QList<int> positions;
    QStringList lines;
    QList<bool> failed;
    std::function<void()> onLine;
    void progress(int position) override { positions << position; }
    void logLine(const QString &line, bool f) override {
        lines << line;
        failed << f;
        if (onLine)
            onLine();
    }
};

} // namespace

class TstProgramming : public QObject {
    Q_OBJECT
private slots:
    void cutLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("packets");
        QTest::newRow("nineteen data bytes with blanks")
            << "0A1B2C:0100:11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 10 20 30 40"
            << QStringList{"8111223344556677", "828899AABBCCDDEE", "800100FF10203040"};
        QTest::newRow("three data bytes") << "0A1B2C:0100:112233" << QStringList{"81112233", "82", "800100"};
        QTest::newRow("no data") << "0A1B2C:0007:" << QStringList{"81", "82", "800007"};
        QTest::newRow("compiled code line, 16 bytes")
            << "00A101:0003:0102030405060708090A0B0C0D0E0F10"
            << QStringList{"8101020304050607", "8208090A0B0C0D0E", "8000030F10"};
        QTest::newRow("data beyond 19 bytes is not sent")
            << "0A1B2C:0100:11223344556677 8899AABBCCDDEE FF1020304050"
            << QStringList{"8111223344556677", "828899AABBCCDDEE", "800100FF10203040"};
        QTest::newRow("configuration command") << "00A101:CMND:A2 00 FF FF FFFF" << QStringList{"A200FFFFFFFF"};
        QTest::newRow("configuration command without data") << "00A101:CMND" << QStringList{""};
    }
    void cutLine() {
        QFETCH(QString, line);
        QFETCH(QStringList, packets);
        const TProgCommandList rows = programcommands::cutLine(line);
        QStringList got;
        for (const TProgCommand &r : rows) {
            QCOMPARE(r.uid, line.left(6));
            got << r.packet;
        }
        QCOMPARE(got, packets);
    }

    void readOutputFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.lf");
        // A short line stops the reading; what came before is kept.
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("00A101:CMND:71\r\n00A101:0000:0102030405060708090A0B0C0D0E0F10\r\n00A101\r\n00B202:CMND:71\r\n");
        f.close();
        programcommands::Reading r = programcommands::readOutputFile(path);
        QCOMPARE(r.error, programcommands::lineLengthMessage());
        QCOMPARE(r.rows.size(), 4);
        QCOMPARE(r.rows.last().packet, QStringLiteral("8000000F10"));

        QVERIFY(textfile::writeLines(path, outputLines()));
        r = programcommands::readOutputFile(path);
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.rows, commandsOf(outputLines()));

        r = programcommands::readOutputFile(dir.filePath("missing.lf"));
        QVERIFY(!r.error.isEmpty());
        QVERIFY(r.rows.isEmpty());
    }

    void packetBytes_data() {
        QTest::addColumn<QString>("packet");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("upper") << "A200FF" << true << QByteArray("\xA2\x00\xFF", 3);
        QTest::newRow("lower") << "a2ff" << true << QByteArray("\xA2\xFF", 2);
        QTest::newRow("empty") << "" << true << QByteArray();
        QTest::newRow("odd count") << "A2F" << false << QByteArray();
        QTest::newRow("not hex") << "A2G0" << false << QByteArray();
        QTest::newRow("sign") << "+1" << false << QByteArray();
    }
    void packetBytes() {
        QFETCH(QString, packet);
        QFETCH(bool, ok);
        QFETCH(QByteArray, bytes);
        QByteArray got;
        QCOMPARE(programcommands::packetBytes(packet, got), ok);
        if (ok)
            QCOMPARE(got, bytes);
    }

    void selectionFile_data() {
        QTest::addColumn<QByteArray>("content"); // "-": no file
        QTest::addColumn<QList<bool>>("ticks");
        QTest::newRow("no file") << QByteArray("-") << QList<bool>{true, true, true};
        QTest::newRow("one byte per device") << QByteArray("\x01\x00\x01", 3) << QList<bool>{true, false, true};
        QTest::newRow("a device more in the file") << QByteArray("\x00\x01\x01\x00", 4)
                                                   << QList<bool>{false, true, true};
        QTest::newRow("short") << QByteArray("\x00\x00", 2) << QList<bool>{true, true, true};
        QTest::newRow("empty") << QByteArray() << QList<bool>{true, true, true};
        QTest::newRow("not a tick byte") << QByteArray("\x00\x31\x00", 3) << QList<bool>{true, true, true};
    }
    void selectionFile() {
        QFETCH(QByteArray, content);
        QFETCH(QList<bool>, ticks);
        QTemporaryDir dir;
        const QString path = deviceselection::pathFor(dir.filePath("p.lf"));
        QCOMPARE(path, dir.filePath("dev.ini"));
        if (content != "-")
            QVERIFY(textfile::writeBytes(path, content));
        QCOMPARE(deviceselection::read(path, 3), ticks);
    }

    void selectionFileRoundTrip() {
        QTemporaryDir dir;
        const QString path = dir.filePath("dev.ini");
        const QList<bool> ticks{false, true, false, true};
        QVERIFY(deviceselection::write(path, ticks));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\x00\x01\x00\x01", 4));
        QCOMPARE(deviceselection::read(path, 4), ticks);
    }

    // Each ticked device holds exactly its packets, in order; the others
    // hear nothing. Every row moves the progress, which ends at 0.
    void programsTickedDevicesExactly() {
        SimLink link(network());
        QVERIFY(link.connect());
        const TProgCommandList rows = commandsOf(outputLines());
        TProgramming job(*link.can);
        Recorder rec;
        job.setListener(&rec);
        job.setPause([](int) {});
        const TProgrammingResult r = job.Run(rows, {"A101", "0C303"});
        QCOMPARE(r.outcome, TProgrammingResult::Completed);
        QCOMPARE(r.errors, 0);
        QVERIFY(r.allAcknowledged());
        QCOMPARE(received(*link.modem, A), packetsFor(rows, A));
        QCOMPARE(received(*link.modem, B), QStringList());
        QCOMPARE(received(*link.modem, C), packetsFor(rows, C));
        const int sent = int(packetsFor(rows, A).size() + packetsFor(rows, C).size());
        QCOMPARE(r.sent, sent);
        QCOMPARE(r.log.size(), sent + 1);
        QCOMPARE(r.log.first(), TProgramming::startLine());
        QCOMPARE(rec.lines, r.log);
        QVERIFY(!rec.failed.contains(true));
        QVERIFY(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d - Команда: 71 - OK$").match(r.log[1]).hasMatch());
        QCOMPARE(rec.positions.size(), rows.size() + 1);
        QCOMPARE(rec.positions[rows.size() - 1], int(rows.size()));
        QCOMPARE(rec.positions.last(), 0);
    }

    // A pause before the first packet and before every change of device,
    // none between two packets of the same device.
    void pausesOnChangeOfDevice_data() {
        QTest::addColumn<QStringList>("uids");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QList<int>>("pausedBefore"); // indexes of the sent packets
        QTest::newRow("one device") << QStringList{A, A, A} << QStringList{A} << QList<int>{0};
        QTest::newRow("two devices") << QStringList{A, A, B, B} << QStringList{A, B} << QList<int>{0, 2};
        QTest::newRow("back and forth") << QStringList{A, B, A} << QStringList{A, B} << QList<int>{0, 1, 2};
        QTest::newRow("unticked between") << QStringList{A, B, A} << QStringList{A} << QList<int>{0};
        QTest::newRow("same number, other spelling") << QStringList{A, "A101"} << QStringList{A} << QList<int>{0};
    }
    void pausesOnChangeOfDevice() {
        QFETCH(QStringList, uids);
        QFETCH(QStringList, ticked);
        QFETCH(QList<int>, pausedBefore);
        QTemporaryDir dir;
        TMCan can(dir.path());
        can.setDemo(true);
        TProgCommandList rows;
        for (const QString &u : uids)
            rows.append({u, QStringLiteral("71")});
        TProgramming job(can);
        job.setDemo(true);
        Recorder rec;
        job.setListener(&rec);
        QList<int> paused;
        job.setPause([&](int ms) {
            QCOMPARE(ms, TProgramming::DeviceChangePauseMs);
            paused << int(rec.lines.size()) - 1; // log lines so far, without the start line
        });
        const TProgrammingResult r = job.Run(rows, ticked);
        QCOMPARE(paused, pausedBefore);
        QVERIFY(r.allAcknowledged());
    }

    // A device that falls silent: its remaining packets fail, are logged and
    // counted, and the run goes on with the next device.
    void silentDeviceCountsErrors() {
        SimFaults faults;
        faults.muteUid = 0xB202;
        faults.muteAfter = 1;
        SimLink link(network(faults));
        QVERIFY(link.connect());
        const TProgCommandList rows = commandsOf(outputLines());
        TProgramming job(*link.can);
        Recorder rec;
        job.setListener(&rec);
        job.setPause([](int) {});
        job.setAnswerTimeout(150);
        const TProgrammingResult r = job.Run(rows, {A, B, C});
        const QStringList bPackets = packetsFor(rows, B);
        QCOMPARE(bPackets.size(), 5);
        QCOMPARE(r.outcome, TProgrammingResult::Completed);
        QCOMPARE(r.errors, bPackets.size() - 1);
        QVERIFY(!r.allAcknowledged());
        QCOMPARE(received(*link.modem, B), bPackets); // it heard them all
        QCOMPARE(received(*link.modem, C), packetsFor(rows, C));
        QList<bool> expectFailed{false};
        for (const TProgCommand &row : rows)
            expectFailed << (row.uid == B && row.packet != bPackets.first());
        QCOMPARE(rec.failed, expectFailed);
        for (int i = 0; i < rec.lines.size(); ++i)
            QCOMPARE(rec.lines[i].endsWith(QStringLiteral(" - Ошибка!")), expectFailed[i]);
        const QStringList log = link.logLines();
        for (const QString &p : bPackets.mid(1))
            QVERIFY2(log.contains(QStringLiteral("Ошибка записи команды - ") + p), qPrintable(p));

        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        const QString path = TProgramming::Finish(r, dir.path(), QTime(9, 5, 7));
        QCOMPARE(dialogs.messages,
                 QStringList{QStringLiteral("Внимание! Устройство(а) запрограммированы с 4 ошибками!")});
        QCOMPARE(path, dir.filePath(QStringLiteral("Лог программирования 09_05_07.log")));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(cp1251::decode(f.readAll()), r.log.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    }

    // A stop asked for during a packet ends the run after it; nothing more
    // goes out, no log is saved.
    void stopEndsAfterPacketInProgress() {
        SimLink link(network());
        QVERIFY(link.connect());
        const int before = link.modem->packetsFromPc();
        const TProgCommandList rows = commandsOf(outputLines());
        TProgramming job(*link.can);
        Recorder rec;
        job.setListener(&rec);
        job.setPause([](int) {});
        rec.onLine = [&] {
            if (rec.lines.size() == 3)
                job.RequestStop();
        };
        const TProgrammingResult r = job.Run(rows, {A, B, C});
        QCOMPARE(r.outcome, TProgrammingResult::Stopped);
        QCOMPARE(r.sent, 2);
        QCOMPARE(received(*link.modem, A), packetsFor(rows, A).mid(0, 2));
        QCOMPARE(link.modem->packetsFromPc(), before + 2);

        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        QCOMPARE(TProgramming::Finish(r, dir.path(), QTime(10, 0)), QString());
        QCOMPARE(dialogs.messages, QStringList{TProgramming::stoppedMessage()});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    // Nothing ticked, or ticked devices without rows: nothing is sent and the
    // information box says so.
    void nothingSelected_data() {
        QTest::addColumn<QStringList>("ticked");
        QTest::newRow("none ticked") << QStringList();
        QTest::newRow("ticked device without rows") << QStringList{"00D404"};
        QTest::newRow("UID that is not hexadecimal") << QStringList{"??"};
    }
    void nothingSelected() {
        QFETCH(QStringList, ticked);
        SimLink link(network());
        QVERIFY(link.connect());
        const int before = link.modem->packetsFromPc();
        TProgramming job(*link.can);
        job.setPause([](int) { QFAIL("paused with nothing to send"); });
        const TProgrammingResult r = job.Run(commandsOf(outputLines()), ticked);
        QCOMPARE(r.outcome, TProgrammingResult::NothingSelected);
        QCOMPARE(link.modem->packetsFromPc(), before);
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProgramming::Finish(r, dir.path(), QTime(10, 0));
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(dialogs.questions[0].text, TProgramming::nothingSelectedMessage());
        QCOMPARE(dialogs.questions[0].title, QStringLiteral("Программирование устройств"));
        QCOMPARE(dialogs.questions[0].icon, int(UserDialogs::InformationIcon));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    // A packet text that is not hexadecimal stops the run before the first
    // packet, so no device is left half programmed; one of an unticked
    // device does not matter.
    void brokenPacketRefusedBeforeSending() {
        SimLink link(network());
        QVERIFY(link.connect());
        const int before = link.modem->packetsFromPc();
        QStringList lines = outputLines();
        lines << B + ":CMND:2XZ1";
        TProgramming job(*link.can);
        job.setPause([](int) {});
        TProgrammingResult r = job.Run(commandsOf(lines), {A, B});
        QCOMPARE(r.outcome, TProgrammingResult::BadCommand);
        QCOMPARE(r.badPacket, QStringLiteral("2XZ1"));
        QCOMPARE(link.modem->packetsFromPc(), before);
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TProgramming::Finish(r, QDir::tempPath(), QTime(10, 0));
        QCOMPARE(dialogs.messages, QStringList{TProgramming::badCommandMessage("2XZ1")});

        r = TProgramming(*link.can).Run(commandsOf(lines), {A});
        QCOMPARE(r.outcome, TProgrammingResult::Completed);
    }

    // Demo mode sends nothing and reports every packet as done.
    void demoSendsNothing() {
        SimLink link(network());
        QVERIFY(link.connect());
        const int before = link.modem->packetsFromPc();
        TProgramming job(*link.can);
        job.setDemo(true);
        job.setPause([](int) {});
        const TProgrammingResult r = job.Run(commandsOf(outputLines()), {A, B, C});
        QVERIFY(r.allAcknowledged());
        QCOMPARE(link.modem->packetsFromPc(), before);
        QVERIFY(r.log.last().endsWith(" - OK"));
    }

    void successMessageAndLog() {
        TProgrammingResult r;
        r.log = QStringList{TProgramming::startLine(), "12:00:00 - Команда: 71 - OK"};
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        const QString path = TProgramming::Finish(r, dir.path(), QTime(23, 59, 1));
        QCOMPARE(dialogs.messages, QStringList{QStringLiteral("Устройство(а) успешно запрограммированы!")});
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Лог программирования 23_59_01.log"));
        QStringList lines;
        QVERIFY(textfile::readLines(path, lines));
        QCOMPARE(lines, r.log);

        // A log that cannot be written is said so.
        dialogs.messages.clear();
        QCOMPARE(TProgramming::Finish(r, dir.filePath("no/such/folder"), QTime(1, 2, 3)), QString());
        QCOMPARE(dialogs.messages.size(), 2);
        QVERIFY(dialogs.messages[1].startsWith(QStringLiteral("Не удалось сохранить лог программирования")));
    }
};

QTEST_GUILESS_MAIN(TstProgramming)
#include "tst_programming.moc"
