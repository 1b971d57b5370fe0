// The connection object over a loopback line to the simulated modem:
// port search, connecting and the speed search, identification, sending
// with and without awaited answers, CTS, the queues and the packet log.
#include "simlink.h"

#include "modem/answermask.h"

#include <QFileInfo>
#include <QTest>
#include <thread>

namespace {
QByteArray hex(const char *text) { return QByteArray::fromHex(QByteArray(text)); }

SimNetworkSpec network(const char *text) {
    SimNetworkSpec spec;
    QString error;
    if (!parseSimNetwork(QString::fromLatin1(text), spec, &error))
        qFatal("%s", qPrintable(error));
    return spec;
}

bool waitFor(const std::function<bool()> &done) { return QTest::qWaitFor(done, 10000); }
} // namespace

class TstMCan : public QObject {
    Q_OBJECT
private slots:
    void constructionState() {
        QTemporaryDir dir;
        TMCan can(dir.path());
        QVERIFY(can.logOpened());
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Логирование/Все отправленные и принятые пакеты.log"))));
        QCOMPARE(can.Modem(), QStringLiteral("не найден"));
        QCOMPARE(can.OpenedModem(), QStringLiteral("не найден"));
        QVERIFY(!can.PortOpened());
        QCOMPARE(can.UartSpeed(), -1);
        QCOMPARE(can.CanSpeed(), uint8_t(255));
        QCOMPARE(can.DetectTime(), uint8_t(2));
        QVERIFY(!can.CTS() && !can.Demo());
        QCOMPARE(can.UID(), 0u);
        QCOMPARE(can.UartSpeedStr(), QStringLiteral("закрыт"));
        QCOMPARE(can.CanSpeedStr(), QStringLiteral("??? кб/с"));
        can.setDemo(true);
        QVERIFY(can.PortOpened());
        QCOMPARE(can.UartSpeedStr(), QStringLiteral("demo"));
        QCOMPARE(can.CanSpeedStr(), QStringLiteral("demo кб/с"));
    }

    void unwritableLogFolderIsReported() {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("Логирование")));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        TMCan can(dir.path());
        QVERIFY(!can.logOpened());
        QVERIFY(!can.logError().isEmpty());
        can.WriteLog(QStringLiteral("ignored")); // no crash
    }

    void speedTexts_data() {
        QTest::addColumn<int>("uart");
        QTest::addColumn<QString>("text");
        const int bauds[] = {921600, 460800, 230400, 115200, 57600, 19200};
        for (int i = 0; i < 6; ++i)
            QTest::addRow("uart %d", i) << i << QString::number(bauds[i]);
    }
    void speedTexts() {
        QFETCH(int, uart);
        QFETCH(QString, text);
        SimNetworkSpec spec = network("modem uid=00A001");
        spec.modemUartSpeed = uart;
        SimLink link(spec);
        QVERIFY(link.connect(uart));
        QCOMPARE(link.can->UartSpeedStr(), text);
    }

    void searchModems_data() {
        QTest::addColumn<QList<SerialDeviceInfo>>("devices");
        QTest::addColumn<QStringList>("modems");
        const SerialDeviceInfo a{"USB Serial", "/dev/ttyUSB0", true}, b{"USB Serial", "/dev/ttyUSB1", true},
            onboard{"16550A", "/dev/ttyS0", false};
        QTest::newRow("none") << QList<SerialDeviceInfo>{} << QStringList{};
        QTest::newRow("on-board port is not a modem") << QList<SerialDeviceInfo>{onboard} << QStringList{};
        QTest::newRow("usb adapters") << QList<SerialDeviceInfo>{a, onboard, b}
                                      << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1"};
        QTest::newRow("same name in a row counts once") << QList<SerialDeviceInfo>{a, a, b}
                                                        << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1"};
        QTest::newRow("same name apart counts twice") << QList<SerialDeviceInfo>{a, b, a}
                                                      << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB0"};
    }
    void searchModems() {
        QFETCH(QList<SerialDeviceInfo>, devices);
        QFETCH(QStringList, modems);
        QTemporaryDir dir;
        TMCan can(dir.path());
        can.setDeviceLister([&] { return devices; });
        QCOMPARE(can.SearchModems(), !modems.isEmpty());
        QCOMPARE(can.Modems(), modems);
        QCOMPARE(can.ModemFound(), !modems.isEmpty());
        QCOMPARE(can.Modem(), modems.isEmpty() ? QStringLiteral("не найден") : modems.first());
    }

    void searchModemsKeepsTheOpenPort() {
        SimLink link;
        QVERIFY(link.connect());
        link.can->setDeviceLister([] {
            return QList<SerialDeviceInfo>{{"USB", "/dev/ttyUSB0", true}, {"USB", SimLink::portName(), true}};
        });
        QVERIFY(link.can->SearchModems());
        QCOMPARE(link.can->Modem(), SimLink::portName());
        QVERIFY(link.can->PortOpened());
        // The open port disappeared: the first candidate, connection marked closed.
        link.can->setDeviceLister([] { return QList<SerialDeviceInfo>{{"USB", "/dev/ttyUSB0", true}}; });
        QVERIFY(link.can->SearchModems());
        QCOMPARE(link.can->Modem(), QStringLiteral("/dev/ttyUSB0"));
        QVERIFY(!link.can->PortOpened());
        QCOMPARE(link.can->UartSpeed(), -1);
    }

    void demoSearchListsComdemo() {
        QTemporaryDir dir;
        TMCan can(dir.path());
        can.setDemo(true);
        QVERIFY(can.SearchModems());
        QCOMPARE(can.Modems(), QStringList{"COMDEMO"});
        QVERIFY(can.Connect(3));
        QVERIFY(can.TXU(0x1234, hex("02"), 2000, QString()));
        TPacket p;
        QVERIFY(!can.TakeAnswer(p));
        QVERIFY(can.TXA(1, 2, hex("0308"), 2000, QString()));
    }

    void connectIdentifiesTheModem() {
        SimLink link;
        QVERIFY(link.connect(3));
        QCOMPARE(link.can->UID(), 0xA001u);
        QCOMPARE(link.can->UartSpeed(), 3);
        QCOMPARE(link.can->OpenedModem(), SimLink::portName());
        // Same port and speed: nothing happens on the line.
        const int before = link.modem->packetsFromPc();
        const int opens = link.opens;
        QVERIFY(link.can->Connect(3));
        QCOMPARE(link.modem->packetsFromPc(), before);
        QCOMPARE(link.opens, opens);
        // The sending worker logs after writing, possibly after the answer came.
        QVERIFY(waitFor([&] { return link.logLines().contains(QStringLiteral("<<     55 00 00 00 00 01 F3 0C ")); }));
        QVERIFY(link.logLines().contains(QStringLiteral("   >>  55 01 00 A0 01 02 FF F3 6A ")));
    }

    void connectFindsTheModemsSpeed_data() {
        QTest::addColumn<int>("modemSpeed");
        QTest::addColumn<int>("wanted");
        QTest::newRow("modem slower") << 5 << 3;
        QTest::newRow("modem faster") << 0 << 4;
    }
    void connectFindsTheModemsSpeed() {
        QFETCH(int, modemSpeed);
        QFETCH(int, wanted);
        SimNetworkSpec spec = network("modem uid=00A001");
        spec.modemUartSpeed = modemSpeed;
        SimLink link(spec);
        const bool ok = link.connect(wanted);
        QVERIFY2(ok, qPrintable(link.logLines().join('\n')));
        QCOMPARE(link.can->UartSpeed(), wanted);
        QCOMPARE(link.modem->uartSpeed(), wanted);
        QVERIFY(link.can->PortOpened());
        QVERIFY(link.logLines().contains(QStringLiteral("WARNING: Ответ по МАСКЕ не получен. Пакет = F3 ")));
    }

    void speedSearchStopsWhenAPortCannotBeOpened() {
        SimNetworkSpec spec = network("modem uid=00A001");
        spec.modemUartSpeed = 5; // not at the wanted speed: the search runs
        SimLink link(spec);
        link.failOpenAfter = 2; // the first open and the search's first open succeed
        QVERIFY(!link.connect(3));
        QCOMPARE(link.opens, 3);
        QVERIFY(!link.can->PortOpened());
        QCOMPARE(link.can->UartSpeed(), -1);
        QVERIFY(link.logLines().last().startsWith(QStringLiteral("ErrorOpenPort LOOP1 : ")));
    }

    void noModemOnTheLine() {
        SimLink link;
        link.runner.reset(); // nobody answers
        QVERIFY(!link.connect(3));
        QCOMPARE(link.opens, 1 + 6);
        QVERIFY(!link.can->PortOpened());
        QCOMPARE(link.can->UartSpeed(), -1);
    }

    void modemUidLimit_data() {
        QTest::addColumn<uint>("uid");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("100000") << 100000u << true;
        QTest::newRow("100001") << 100001u << false;
    }
    void modemUidLimit() {
        QFETCH(uint, uid);
        QFETCH(bool, accepted);
        SimNetworkSpec spec = network("modem uid=00A001");
        spec.modemUid = uid;
        SimLink link(spec);
        // Rejected, the speed search tries every speed in vain.
        QCOMPARE(link.connect(3), accepted);
        QCOMPARE(link.can->UID(), uid);
        QCOMPARE(link.logLines().contains(QStringLiteral("Error F3: Ошибка инициализации модема (UID = 0186A1)")),
                 !accepted);
    }

    void sendingNeedsAnOpenPort() {
        QTemporaryDir dir;
        TMCan can(dir.path());
        QVERIFY(!can.TXBytes(false, 1, 0, 0, hex("01")));
        QVERIFY(!can.TXPacket(false, 1, 0, 0, QStringLiteral("01")));
        QVERIFY(!can.TXU(1, hex("01"), 10, QString()));
        QVERIFY(!can.TXA(0, 1, hex("01"), 10, QString()));
        QVERIFY(!can.ScanNetwork(0));
    }

    void requestsAwaitTheirAnswer_data() {
        QTest::addColumn<uint>("uid");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("armed");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("default mask from the first byte")
            << 0x1001u << hex("A2001234FFFF") << QString() << "**001001**FFA2" << hex("FFA2");
        QTest::newRow("explicit mask") << 0x1001u << hex("02") << "FF 02 01" << "**001001**FF0201"
                                       << hex("FF0201010202");
        QTest::newRow("uid 0 compares any sender") << 0u << hex("F3") << "FF" << "**********FF" << hex("FFF3");
    }
    void requestsAwaitTheirAnswer() {
        QFETCH(uint, uid);
        QFETCH(QByteArray, data);
        QFETCH(QString, mask);
        QFETCH(QString, armed);
        QFETCH(QByteArray, answer);
        SimLink link;
        QVERIFY(link.connect());
        link.can->ClearAnswers();
        QVERIFY(link.can->TXU(uid, data, 5000, mask));
        QCOMPARE(link.can->answerMask(), armed);
        TPacket p;
        QVERIFY(link.can->TakeAnswer(p));
        QCOMPARE(p.dataBytes().left(answer.size()), answer);
        QCOMPARE(link.can->GetLastAnswer(), p);
    }

    void requestByAddress() {
        SimLink link;
        QVERIFY(link.connect());
        QVERIFY(link.can->TXA(1, 0x11, hex("0305"), 5000, QString()));
        TPacket p;
        QVERIFY(link.can->TakeAnswer(p));
        QCOMPARE(PacketUid(p), 0x1002u);
        QCOMPARE(p.dataBytes(), hex("FF03050000"));
        QCOMPARE(link.modem->received(0x1002).last().header(), addressId(1, 0x11));
    }

    void requestFailures_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("logLine");
        QTest::newRow("no data") << QByteArray() << "Error in TMCanLib.TXU - incorrect Packet length";
        QTest::newRow("nine bytes") << hex("010203040506070809") << "Error in TMCanLib.TXU - incorrect Packet length";
        QTest::newRow("no answer") << hex("02") << "WARNING: Ответ по МАСКЕ не получен. Пакет = 02 ";
    }
    void requestFailures() {
        QFETCH(QByteArray, data);
        QFETCH(QString, logLine);
        SimLink link(network("modem uid=00A001\ndevice uid=000777 silent"));
        QVERIFY(link.connect());
        QVERIFY(!link.can->TXU(0x777, data, 200, QString()));
        QVERIFY(!link.can->TXA(0, 5, data, 200, QString()));
        QCOMPARE(link.logLines().count(logLine), 2);
    }

    void dashMaskDoesNotWait() {
        SimLink link;
        QVERIFY(link.connect());
        link.can->ClearAnswers();
        QVERIFY(link.can->TXU(0x1001, hex("02"), 60000, QStringLiteral("-")));
        // The device answers, but the armed mask matches nothing.
        QVERIFY(waitFor([&] { return link.logLines().last().startsWith(QStringLiteral("   >>  55 01 00 10 01 07 FF 02")); }));
        TPacket p;
        QVERIFY(!link.can->TakeAnswer(p));
    }

    void lateAnswerIsQueuedForTheNextCaller() {
        SimNetworkSpec spec = defaultSimNetwork();
        spec.faults.latencyMs = 1000; // well beyond the wait, however loaded the machine
        SimLink link(spec);
        QVERIFY(link.connect());
        link.can->ClearAnswers();
        QVERIFY(!link.can->TXU(0x1001, hex("02"), 50, QString()));
        TPacket p;
        QVERIFY(waitFor([&] { return link.can->TakeAnswer(p); }));
        QCOMPARE(p.dataBytes().left(2), hex("FF02"));
    }

    void packetTexts() {
        SimLink link;
        QVERIFY(link.connect());
        QVERIFY(!link.can->TXPacket(false, 0x1001, 0, 0, QStringLiteral("FF **")));
        QCOMPARE(link.logLines().last(), QStringLiteral("TXPacket: incorrect command string"));
        QVERIFY(!link.can->TXPacket(false, 0x1001, 0, 0, QStringLiteral("01 02 03 04 05 06 07 08 09 0A 0B 0C 0D")));
        // 9 to 12 bytes are queued, and the sending worker drops them unsent.
        const int before = link.modem->packetsFromPc();
        QVERIFY(link.can->TXPacket(false, 0x1001, 0, 0, QStringLiteral("01 02 03 04 05 06 07 08 09")));
        QVERIFY(link.can->TXPacket(false, 0x1001, 0, 0, QStringLiteral("70")));
        QVERIFY(waitFor([&] { return link.modem->packetsFromPc() == before + 1; }));
        QCOMPARE(link.modem->received(0x1001).last().dataBytes(), hex("70"));
    }

    void ctsFlagSkipsOneWait() {
        SimLink link;
        QVERIFY(link.connect());
        link.wire->setCts(SerialPort::Cts::Off);
        link.can->setCTS(true);
        QVERIFY(link.can->TXU(0x1001, hex("70"), 5000, QString()));
        QVERIFY(!link.can->CTS());
        // Without the flag the packet waits for CTS and is given up.
        QVERIFY(!link.can->TXU(0x1001, hex("70"), 1500, QString()));
        QVERIFY(link.logLines().contains(
            QStringLiteral("ERROR: Ошибка отправки пакета в сеть. Пакет = 55 00 00 10 01 01 70 7E ")));
        TPacket p;
        bool notSent = false;
        while (link.can->TakeMonitor(p))
            notSent |= p.b[16] == MonitorNotSent && p.dataBytes() == hex("70");
        QVERIFY(notSent);
        // A line without a CTS signal (a pseudo-terminal) counts as clear.
        link.wire->setCts(SerialPort::Cts::Unsupported);
        QVERIFY(link.can->TXU(0x1001, hex("70"), 5000, QString()));
    }

    void fullSendQueue() {
        SimLink link;
        QVERIFY(link.connect());
        link.wire->setCts(SerialPort::Cts::Off); // the sending worker stalls on the first packet
        int queued = 0;
        while (queued <= TMCan::QueueSize + 1 && link.can->TXBytes(false, 0x1001, 0, 0, hex("70")))
            ++queued;
        QVERIFY(queued >= TMCan::QueueSize && queued <= TMCan::QueueSize + 1);
        // The stalled worker gives a packet up now and then, which frees a
        // place: fill it again right before each request.
        auto refusedWhenFull = [&](auto request, const QString &line) {
            for (int attempt = 0; attempt < 5; ++attempt) {
                while (link.can->TXBytes(false, 0x1001, 0, 0, hex("70"))) {
                }
                if (!request() && link.logLines().contains(line))
                    return true;
            }
            return false;
        };
        QVERIFY(refusedWhenFull([&] { return link.can->TXU(0x1001, hex("70"), 100, QString()); },
                                QStringLiteral("ERROR: (TXU)PacketSendingError. Packet = 70 ")));
        QVERIFY(refusedWhenFull([&] { return link.can->TXA(1, 0x10, hex("71"), 100, QString()); },
                                QStringLiteral("ERROR: (TXA)PacketSendingError. Packet = 71 ")));
    } // the connection closes with the queue full: the worker stops all the same

    void packetLogLines() {
        SimLink link;
        QVERIFY(link.connect());
        link.can->WriteLog(QStringLiteral("проверка"));
        QFile f(link.can->logPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray all = f.readAll();
        QVERIFY(all.endsWith("] \xEF\xF0\xEE\xE2\xE5\xF0\xEA\xE0\r\n")); // Windows-1251, CR LF
        for (const QByteArray &line : all.split('\n')) {
            if (line.isEmpty())
                continue;
            QVERIFY(line.startsWith('[') && line.contains("] ") && line.endsWith('\r'));
        }
        // Appended, never truncated: a second connection object adds to it.
        const qint64 size = all.size();
        link.can.reset();
        TMCan again(link.logDir());
        again.WriteLog(QStringLiteral("x"));
        QVERIFY(QFileInfo(f.fileName()).size() > size);
    }

    void monitorSeesBothDirections() {
        SimLink link;
        QVERIFY(link.connect());
        TPacket p;
        while (link.can->TakeMonitor(p)) {
        }
        QVERIFY(link.can->TXU(0x1001, hex("70"), 5000, QString()));
        QVERIFY(waitFor([&] { return link.can->TakeMonitor(p); }));
        QCOMPARE(p.b[16], uint8_t(MonitorSent));
        QCOMPARE(p.dataBytes(), hex("70"));
        QVERIFY(waitFor([&] { return link.can->TakeMonitor(p); }));
        QCOMPARE(p.b[16], uint8_t(MonitorReceived));
        QCOMPARE(p.dataBytes(), hex("FF70"));
    }

    void queuesAreBounded() {
        TFIFO q(3);
        TPacket p;
        for (int i = 0; i < 3; ++i) {
            p.b[5] = uint8_t(i);
            QVERIFY(q.Put(p));
        }
        QVERIFY(!q.Put(p));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(q.Get(p));
            QCOMPARE(p.b[5], uint8_t(i));
        }
        QVERIFY(!q.Get(p));
        QVERIFY(q.Put(p));
        q.Clear();
        QCOMPARE(q.count(), 0);
    }

    void manyThreadsSendWithoutMixing() {
        SimLink link;
        QVERIFY(link.connect());
        const uint uids[] = {0x1001, 0x1002};
        std::vector<std::thread> threads;
        for (uint uid : uids)
            threads.emplace_back([&, uid] {
                for (int i = 0; i < 50; ++i)
                    link.can->TXBytes(false, uid, 0, 0, QByteArray(1, char(0x10)) + char(i));
            });
        for (auto &t : threads)
            t.join();
        for (uint uid : uids) {
            QVERIFY(waitFor([&] { return link.modem->received(uid).size() == 50; }));
            const QList<TPacket> got = link.modem->received(uid);
            for (int i = 0; i < 50; ++i)
                QCOMPARE(got[i].dataBytes(), QByteArray(1, char(0x10)) + char(i));
        }
    }

    void reconnectToAnotherPortReplacesTheWorkers() {
        SimLink link;
        QVERIFY(link.connect());
        link.can->SelectPort(QStringLiteral("LOOP2")); // not on this wire
        QVERIFY(!link.can->Connect(3));
        QVERIFY(!link.can->PortOpened());
        QVERIFY(link.connect());
        QVERIFY(link.can->TXU(0x1001, hex("70"), 5000, QString()));
    }
};

QTEST_GUILESS_MAIN(TstMCan)
#include "tst_mcan.moc"
