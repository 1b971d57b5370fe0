// Network procedures and command builders against the simulated bus:
// scans of both modes, CAN speeds, identity changes, USSD packing,
// acknowledged packets in order, and scans under injected faults.
#include "simlink.h"

#include "modem/commands.h"

#include <QTest>
#include <QThread>
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

const char *threeDevices = "modem uid=00A001 addr=0001\n"
                           "device uid=001001 addr=0010 cat=100 release=1 soft=258 hard=2 boot=3 scan=both\n"
                           "device uid=001002 addr=2345 cat=300 release=2 soft=513 hard=1 boot=4 scan=1\n"
                           "device uid=001003 addr=0012 cat=1010 scan=0\n";

QStringList entries(const TDevInfoFromCanArray &list) {
    QStringList out;
    for (const TDevInfoFromCan &e : list)
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                   .arg(hexText(e.UID, 6), hexText(e.Addr, 4), hexText(e.Type, 8))
                   .arg(e.Release).arg(e.Soft).arg(e.Hard).arg(e.Boot);
    out.sort();
    return out;
}

std::unique_ptr<SimLink> connected(const SimNetworkSpec &spec) {
    auto link = std::make_unique<SimLink>(spec);
    link->can->setDetectTime(1);
    if (!link->connect())
        qFatal("no connection to the simulated modem");
    return link;
}
} // namespace

class TstMCanNetwork : public QObject {
    Q_OBJECT
private slots:
    void scans_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("expected");
        // The modem answers too (its own entry); versions only in mode 1.
        QTest::newRow("mode 0") << 0
                                << QStringList{"001001 0010 00020100 0 0 0 0", "001003 0012 00080100 0 0 0 0",
                                               "00A001 0001 00000000 0 0 0 0"};
        QTest::newRow("mode 1") << 1
                                << QStringList{"001001 0010 00000064 1 258 2 3", "001002 2345 0000012C 2 513 1 4",
                                               "00A001 0001 00000000 0 0 0 0"};
    }
    void scans() {
        QFETCH(int, mode);
        QFETCH(QStringList, expected);
        auto link = connected(network(threeDevices));
        QVERIFY(link->can->ScanNetwork(mode));
        QCOMPARE(entries(link->can->ScanList()), expected);
        // Every device that answered was stopped (the stop is queued, not
        // awaited, so it may still be on its way when the scan returns).
        for (uint uid : {0x1001u, 0xA001u}) {
            QVERIFY(!link->modem->received(uid).isEmpty());
            QTRY_COMPARE(link->modem->received(uid).last().dataBytes(), hex("FF"));
        }
        // The second mask of the scan stays in force.
        QCOMPARE(link->can->secondMask(), QStringLiteral("01******02FFF0"));
    }

    void emptyBusScanSucceedsWithNothing() {
        auto link = connected(network("modem uid=00A001\ndevice uid=000001 silent"));
        QVERIFY(link->can->ScanNetwork(1));
        QCOMPARE(entries(link->can->ScanList()), QStringList{"00A001 0001 00000000 0 0 0 0"});
    }

    void scanAnswerDecoding_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("mode");
        QTest::addColumn<uint>("addr");
        QTest::addColumn<uint>("type");
        QTest::newRow("mode 0") << hex("FF00 0012 00080100") << 0 << 0x12u << 0x00080100u;
        QTest::newRow("address byte FF keeps 6 bits") << hex("FF00 FF34 00000000") << 0 << 0x3F34u << 0u;
        QTest::newRow("mode 1 catalogue") << hex("FF01 0203 0003F2 00") << 1 << 0x203u << 1010u;
    }
    void scanAnswerDecoding() {
        QFETCH(QByteArray, data);
        QFETCH(int, mode);
        QFETCH(uint, addr);
        QFETCH(uint, type);
        TPacket p = uidPacket(0x123456, data);
        const TDevInfoFromCan e = scanEntryFromAnswer(p, mode);
        QCOMPARE(e.UID, 0x123456u);
        QCOMPARE(uint(e.Addr), addr);
        QCOMPARE(e.Type, type);
    }

    void networkCanSpeed() {
        auto link = connected(network("modem uid=00A001\n"
                                      "device uid=000001 can=0\ndevice uid=000002 can=2\ndevice uid=000003 can=3"));
        QVERIFY(link->can->SetNetworkCanSpeed(7)); // out of range: 250 kbit/s
        QCOMPARE(link->can->CanSpeed(), uint8_t(0));
        QCOMPARE(link->can->CanSpeedStr(), QStringLiteral("250 кб/с"));
        QCOMPARE(link->modem->canSpeed(), 0);
        for (uint uid : {1u, 2u, 3u})
            QCOMPARE(link->modem->deviceSpec(uid).canSpeed, 0);
        QVERIFY(link->can->SetNetworkCanSpeed(2));
        QCOMPARE(link->can->CanSpeed(), uint8_t(2));
        for (uint uid : {1u, 2u, 3u})
            QCOMPARE(link->modem->deviceSpec(uid).canSpeed, 2);
    }

    void modemCanSpeed() {
        auto link = connected(network("modem uid=00A001"));
        QVERIFY(link->can->SetModemCanSpeed(3));
        QCOMPARE(link->modem->canSpeed(), 3);
        QVERIFY(!link->can->SetModemCanSpeed(4)); // the modem reports failure: FF F1 04 FF
        TPacket p;
        QVERIFY(!link->can->TakeAnswer(p));
    }

    void identityChanges() {
        auto link = connected(network(threeDevices));
        QVERIFY(Commands::SetUniqueAddress(link->can.get(), 0x1001, 0x0123));
        QCOMPARE(link->modem->deviceSpec(0x1001).addr, uint16_t(0x0123));
        QVERIFY(Commands::SetCatalogueNumber(link->can.get(), 0x1001, 0x0102FF));
        QCOMPARE(link->modem->deviceSpec(0x1001).catNum, 0x0102FFu);
        TPacket p;
        QVERIFY(!link->can->TakeAnswer(p)); // the builders took their answers
        QList<QByteArray> sent;
        for (const TPacket &r : link->modem->received(0x1001))
            sent << r.dataBytes();
        QCOMPARE(sent, (QList<QByteArray>{hex("A2000123FFFF"), hex("70"), hex("03000102FF"), hex("70")}));
        // No answer to the first request: the 70 still goes out.
        QVERIFY(!Commands::SetUniqueAddress(link->can.get(), 0x999999, 1));
        QCOMPARE(link->logLines().count(QStringLiteral("WARNING: Ответ по МАСКЕ не получен. Пакет = 70 ")), 1);
    }

    void buildersWithoutConnection() {
        QVERIFY(!Commands::SetUniqueAddress(nullptr, 1, 2));
        QVERIFY(!Commands::RequestAdc(nullptr, 1, 0));
        QVERIFY(!Commands::SendUssd(nullptr, 1, 0, QStringLiteral("*100#")));
        QTemporaryDir dir;
        TMCan closed(dir.path());
        QVERIFY(!Commands::AskInputByAddress(&closed, 1, 0));
        QVERIFY(!Commands::RequestTemperature(&closed, 1));
    }

    void queuedCommands_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("byAddress");
        QTest::newRow("input") << 0 << hex("0305") << true;
        QTest::newRow("temperature") << 1 << hex("40") << false;
        QTest::newRow("adc") << 2 << hex("2F05") << false;
        QTest::newRow("read errors") << 3 << hex("F500") << false;
        QTest::newRow("clear errors") << 4 << hex("F5FF") << false;
        QTest::newRow("forbid errors") << 5 << hex("FAFF00") << false;
        QTest::newRow("reboot counters") << 6 << hex("CF00") << false;
        QTest::newRow("dimmer") << 7 << hex("0205800000 0028") << true;
        QTest::newRow("relay") << 8 << hex("0205010000") << true;
        QTest::newRow("output") << 9 << hex("0608050005") << true;
        QTest::newRow("ussd") << 10 << hex("B707A100BFFFFFFF") << false;
    }
    void queuedCommands() {
        QFETCH(int, which);
        QFETCH(QByteArray, data);
        QFETCH(bool, byAddress);
        auto link = connected(network("modem uid=00A001 addr=0001\ndevice uid=001001 addr=0010"));
        TMCan *c = link->can.get();
        using namespace Commands;
        const std::function<bool()> calls[] = {
            [&] { return AskInputByAddress(c, 0x10, 5); },   [&] { return RequestTemperature(c, 0x1001); },
            [&] { return RequestAdc(c, 0x1001, 5); },        [&] { return ReadErrorBuffer(c, 0x1001); },
            [&] { return ClearErrorBuffer(c, 0x1001); },     [&] { return SetErrorSending(c, 0x1001, false); },
            [&] { return RebootCountersCommand(c, 0x1001, true); },
            [&] { return SetDimmerOutput(c, 0x10, 5, 0x80, 40); },
            [&] { return SetRelayOutput(c, 0x10, 5, 1, 0); }, [&] { return AskOutput(c, 0x10, 5); },
            [&] { return SendUssd(c, 0x1001, 7, QStringLiteral("*100#")); }};
        link->modem->clearReceived();
        QVERIFY(calls[which]());
        QVERIFY(QTest::qWaitFor([&] { return !link->modem->received(0x1001).isEmpty(); }, 10000));
        const TPacket got = link->modem->received(0x1001).first();
        QCOMPARE(got.dataBytes(), data);
        // Address form: from the modem's own network address (0 until detection).
        QCOMPARE(got.header(), byAddress ? addressId(0, 0x10) : 0x001001u);
    }

    void ussdTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("packet");
        QTest::newRow("example") << "*100#" << hex("B703A100BFFFFFFF");
        QTest::newRow("eleven characters") << "0123456789*" << hex("B703012345 6789AF");
        QTest::newRow("twelve is too long") << "0123456789*#" << QByteArray();
        QTest::newRow("letter outside hex") << "*10g#" << QByteArray();
    }
    void ussdTexts() {
        QFETCH(QString, text);
        QFETCH(QByteArray, packet);
        QByteArray out;
        QString error;
        QCOMPARE(Commands::ussdPacket(3, text, out, &error), !packet.isEmpty());
        QCOMPARE(out, packet);
        QCOMPARE(error.isEmpty(), !packet.isEmpty());
    }

    void acknowledgedPacketsArriveInOrder() {
        auto link = connected(network(threeDevices));
        link->modem->clearReceived();
        QList<QByteArray> toA, toB;
        for (int i = 0; i < 20; ++i) {
            const QByteArray a = hex("10") + char(i) + char(0x55), b = hex("20") + char(i);
            QVERIFY(Commands::SendAcknowledged(link->can.get(), 0x1001, a));
            QVERIFY(Commands::SendAcknowledged(link->can.get(), 0x1002, b));
            toA << a;
            toB << b;
        }
        const auto data = [&](uint uid) {
            QList<QByteArray> l;
            for (const TPacket &p : link->modem->received(uid))
                l << p.dataBytes();
            return l;
        };
        QCOMPARE(data(0x1001), toA);
        QCOMPARE(data(0x1002), toB);
        QVERIFY(data(0x1003).isEmpty());
    }

    void scansUnderFaults_data() {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<int>("minimum"); // entries at least found (the modem answers always)
        QTest::newRow("latency") << "latency=100" << 3;
        QTest::newRow("garbage between frames") << "garbage" << 3;
        QTest::newRow("every second answer lost") << "drop=2" << 1;
        QTest::newRow("every answer corrupted") << "corrupt=1" << 1;
        QTest::newRow("device falls silent") << "mute=001001:0" << 2;
    }
    void scansUnderFaults() {
        QFETCH(QString, faults);
        QFETCH(int, minimum);
        SimNetworkSpec spec = network(threeDevices);
        QVERIFY(parseSimFaults(faults, spec.faults, nullptr));
        auto link = connected(spec);
        QVERIFY(link->can->ScanNetwork(1));
        const TDevInfoFromCanArray list = link->can->ScanList();
        QVERIFY(list.size() >= minimum);
        QVERIFY(list.size() <= 3);
        for (const TDevInfoFromCan &e : list)
            QVERIFY(e.UID == 0x1001 || e.UID == 0x1002 || e.UID == 0xA001);
    }

    // Devices repeat their scan answer until stopped. A simulator that wakes
    // late sends each device's answer once, not the missed ones in a burst
    // (the PC hears only the first of answers that come back to back).
    void lateSimulatorRepeatsEachAnswerOnce() {
        SimModem modem(network(threeDevices));
        modem.receiveBytes(frame::encode(uidPacket(0, hex("01"))), 0);
        QCOMPARE(modem.takeDue(0).size(), 3); // the modem's presence, 001001, 001002
        QCOMPARE(modem.takeDue(10000).size(), 3);
        QCOMPARE(modem.takeDue(10000).size(), 0);
        modem.receiveBytes(frame::encode(uidPacket(0x1001, hex("FF"))), 10001);
        QCOMPARE(modem.takeDue(20000).size(), 2);
        QCOMPARE(modem.takeDue(40000).size(), 0); // given up at last
        QCOMPARE(modem.nextDue(), -1);
    }

    // A repeat that crosses our stop on the bus is the same device again:
    // here the test plays the modem and answers the scan twice.
    void deviceHeardTwiceIsListedOnce() {
        auto link = connected(network(threeDevices));
        link->runner.reset();
        std::unique_ptr<SerialPort> modemEnd = link->wire->makePort(LoopbackWire::DeviceSide);
        QVERIFY(modemEnd->open(QStringLiteral("test")));
        modemEnd->setLine(TMCan::uartBaud(3), SerialPort::Parity::None);
        modemEnd->setReadTimeouts(0, 0, 50);
        std::thread scan([&] { link->can->ScanNetwork(0); });
        FrameParser parser;
        bool scanSent = false;
        char c;
        for (int reads = 0; !scanSent && reads < 200;) {
            if (modemEnd->read(&c, 1) != 1) {
                ++reads;
                continue;
            }
            scanSent = parser.feed(uint8_t(c)) && parser.packet().dataBytes() == hex("00");
        }
        TPacket answer = uidPacket(0x1001, hex("FF00001000020100"));
        answer.b[0] = 0x01;
        for (int i = 0; i < 2; ++i) {
            modemEnd->write(frame::encode(answer));
            QThread::msleep(200);
        }
        scan.join();
        QVERIFY(scanSent);
        QCOMPARE(entries(link->can->ScanList()), QStringList{"001001 0010 00020100 0 0 0 0"});
    }

    void networkFiles_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("good") << "# comment\nmodem uid=00A001 addr=1\ndevice uid=1 cat=100 scan=0 # old\n" << "";
        QTest::newRow("unknown line") << "modem uid=1\nrouter uid=2" << "строка 2: неизвестная строка \"router\"";
        QTest::newRow("bad hex") << "device uid=XYZ" << "строка 1: неверное значение uid=XYZ";
        QTest::newRow("uid too big") << "device uid=1000000" << "строка 1: неверное значение uid=1000000";
        QTest::newRow("no uid") << "device cat=100" << "строка 1: нет uid";
        QTest::newRow("bad scan") << "device uid=1 scan=2" << "строка 1: scan должен быть 0, 1 или both";
        QTest::newRow("bad fault") << "faults loud" << "строка 1: неизвестная помеха \"loud\"";
    }
    void networkFiles() {
        QFETCH(QString, text);
        QFETCH(QString, error);
        SimNetworkSpec spec;
        QString why;
        QCOMPARE(parseSimNetwork(text, spec, &why), error.isEmpty());
        QCOMPARE(why, error);
        if (error.isEmpty()) {
            QCOMPARE(spec.devices.size(), 1);
            QCOMPARE(spec.devices[0].typeWord, 0x00020100u);
            QVERIFY(spec.devices[0].scan0 && !spec.devices[0].scan1);
        }
    }
};

QTEST_GUILESS_MAIN(TstMCanNetwork)
#include "tst_mcannetwork.moc"
