// Packet record, header forms, wire frames, the frame parser and answer masks.
#include "modem/answermask.h"
#include "modem/frame.h"
#include "modem/packet.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
QByteArray hex(const char *text) { return QByteArray::fromHex(QByteArray(text)); }

// Every packet the parser completes while eating bytes, in order.
QList<TPacket> parseAll(FrameParser &parser, const QByteArray &bytes) {
    QList<TPacket> out;
    for (char c : bytes)
        if (parser.feed(uint8_t(c)))
            out.append(parser.packet());
    return out;
}
} // namespace

class TstPacketFraming : public QObject {
    Q_OBJECT
private slots:
    void headerForms_data() {
        QTest::addColumn<bool>("byAddress");
        QTest::addColumn<uint>("uid");
        QTest::addColumn<uint>("sender");
        QTest::addColumn<uint>("receiver");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("uid") << false << 0x123456u << 0u << 0u << hex("00123456");
        QTest::newRow("uid 0 is the modem/broadcast") << false << 0u << 0u << 0u << hex("00000000");
        QTest::newRow("uid keeps 24 bits") << false << 0xAB123456u << 0u << 0u << hex("00123456");
        // 0x10000000 + 0x0010 + 0x0001 * 16384
        QTest::newRow("address") << true << 0u << 1u << 0x10u << hex("10004010");
        QTest::newRow("address sender 0") << true << 0u << 0u << 0x3FFFu << hex("10003FFF");
        QTest::newRow("address, largest") << true << 0u << 0x3FFFu << 0x3FFFu << hex("1FFFFFFF");
    }
    void headerForms() {
        QFETCH(bool, byAddress);
        QFETCH(uint, uid);
        QFETCH(uint, sender);
        QFETCH(uint, receiver);
        QFETCH(QByteArray, header);
        const QByteArray data = hex("0102");
        const TPacket p = byAddress ? addressPacket(uint16_t(sender), uint16_t(receiver), data) : uidPacket(uid, data);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(p.b.data()), 4), header);
        QCOMPARE(p.length(), 2);
        QCOMPARE(p.dataBytes(), data);
        QCOMPARE(p.b[16], uint8_t(0));
    }

    void frames_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<uint>("uid");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("modem identification") << hex("F3") << 0u << hex("5500000000 01 F3 0C");
        QTest::newRow("length 0: negated header sum") << QByteArray() << 0x010203u << hex("5500010203 00 FA");
        QTest::newRow("eight bytes") << hex("0102030405060708") << 0x5u << hex("5500000005 08 0102030405060708 CF");
        QTest::newRow("0x55 inside") << hex("5555") << 0x55u << hex("5500000055 02 5555 FF");
    }
    void frames() {
        QFETCH(QByteArray, data);
        QFETCH(uint, uid);
        QFETCH(QByteArray, wire);
        const TPacket p = uidPacket(uid, data);
        QCOMPARE(frame::encode(p), wire);
        uint8_t sum = 0;
        for (int i = 1; i < wire.size(); ++i)
            sum = uint8_t(sum + uint8_t(wire[i]));
        QCOMPARE(sum, uint8_t(0));
        // What goes out comes back as the same record, checksum after the data.
        FrameParser parser;
        const QList<TPacket> got = parseAll(parser, wire);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got[0].header(), p.header());
        QCOMPARE(got[0].dataBytes(), data);
        QCOMPARE(got[0].b[5 + data.size()], uint8_t(wire.back()));
    }

    void parser_data() {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QStringList>("expected"); // data bytes of each packet, hex
        const QByteArray f3 = hex("5500000000 01 F3 0C");
        const QByteArray ans = hex("5501123456 02 FF F3") ;
        const QByteArray ansFrame = ans + char(uint8_t(0 - (0x01 + 0x12 + 0x34 + 0x56 + 0x02 + 0xFF + 0xF3)));
        QTest::newRow("one read") << QList<QByteArray>{f3} << QStringList{"f3"};
        QTest::newRow("split across reads") << QList<QByteArray>{f3.left(3), f3.mid(3, 2), f3.mid(5)} << QStringList{"f3"};
        QTest::newRow("byte by byte") << [&] { QList<QByteArray> l; for (char c : f3) l << QByteArray(1, c); return l; }()
                                      << QStringList{"f3"};
        QTest::newRow("garbage before") << QList<QByteArray>{hex("0001FFAA") + f3} << QStringList{"f3"};
        QTest::newRow("two frames in one read") << QList<QByteArray>{f3 + ansFrame} << QStringList{"f3", "fff3"};
        QTest::newRow("0x55 in data does not restart")
            << QList<QByteArray>{hex("5500000055 02 5555 FF")} << QStringList{"5555"};
        QTest::newRow("bad checksum dropped, next frame read")
            << QList<QByteArray>{hex("5500000000 01 F3 0D") + f3} << QStringList{"f3"};
        // Length 9 abandons the frame; hunting restarts with the next byte,
        // so the 0x55 right after the length byte starts the real frame.
        QTest::newRow("length over 8") << QList<QByteArray>{hex("5512345678 09") + f3} << QStringList{"f3"};
        QTest::newRow("length FF") << QList<QByteArray>{hex("55000000 00FF"), f3} << QStringList{"f3"};
        // A frame cut short swallows what follows: no time-out inside a frame.
        QTest::newRow("cut short, completed by the next bytes")
            << QList<QByteArray>{hex("5500000000 02 01"), f3} << QStringList{};
    }
    void parser() {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QStringList, expected);
        FrameParser parser;
        QStringList got;
        for (const QByteArray &r : reads)
            for (const TPacket &p : parseAll(parser, r))
                got << QString::fromLatin1(p.dataBytes().toHex());
        QCOMPARE(got, expected);
    }

    void noiseBetweenFramesIsSkipped() {
        QRandomGenerator random(7);
        FrameParser parser;
        QList<QByteArray> sent;
        QByteArray stream;
        for (int i = 0; i < 500; ++i) {
            QByteArray data;
            for (int k = int(random.bounded(9)); k > 0; --k)
                data.append(char(random.bounded(256))); // 0x55 allowed inside frames
            sent << data;
            stream += frame::encode(uidPacket(random.bounded(0x1000000u), data));
            for (int k = int(random.bounded(5)); k > 0; --k) {
                const char b = char(random.bounded(256));
                stream.append(b == 0x55 ? char(0x56) : b);
            }
        }
        QList<QByteArray> got;
        for (const TPacket &p : parseAll(parser, stream))
            got << p.dataBytes();
        QCOMPARE(got, sent);
    }

    void randomBytesNeverYieldBadFrames() {
        QRandomGenerator random(11);
        FrameParser parser;
        for (int i = 0; i < 200000; ++i) {
            if (!parser.feed(uint8_t(random.bounded(256))))
                continue;
            const TPacket &p = parser.packet();
            QVERIFY(p.length() <= 8);
            uint8_t sum = 0;
            for (int k = 0; k <= 5 + p.length(); ++k)
                sum = uint8_t(sum + p.b[size_t(k)]);
            QCOMPARE(sum, uint8_t(0));
        }
    }

    void masks_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QByteArray>("record"); // first bytes of the 17-byte record
        QTest::addColumn<bool>("match");
        const QString anyFF = answermask::answerMask(true, -1, QStringLiteral("FF"));
        QTest::newRow("worked example") << anyFF << hex("0100123402FFF3") << true;
        QTest::newRow("first data byte differs") << anyFF << hex("0100123402FEF3") << false;
        QTest::newRow("by uid, same")
            << answermask::answerMask(true, 0x1234, "ff a2") << hex("0100123402FFA2") << true;
        QTest::newRow("by uid, other device")
            << answermask::answerMask(true, 0x1235, "FF A2") << hex("0100123402FFA2") << false;
        QTest::newRow("not by uid ignores uid")
            << answermask::answerMask(false, 0x1235, "FF A2") << hex("0100123402FFA2") << true;
        QTest::newRow("star digits")
            << answermask::answerMask(true, -1, "FF 01 ** ** ** ** ** **") << hex("01000001 08 FF01 0010 000064 00") << true;
        QTest::newRow("dash matches nothing") << answermask::answerMask(true, -1, "-") << hex("0100000001FF") << false;
        QTest::newRow("second mask, length compared")
            << answermask::secondMask(true, -1, 0, 0, 2, "FF F0") << hex("0100ABCD02FFF0") << true;
        QTest::newRow("second mask, other length")
            << answermask::secondMask(true, -1, 0, 0, 2, "FF F0") << hex("0100ABCD03FFF0") << false;
        QTest::newRow("second mask, address form")
            << answermask::secondMask(false, -1, 1, 0x10, 1, "FF") << hex("1000401001FF") << true;
        QTest::newRow("header byte 0 not compared") << anyFF << hex("0000000001FF") << true;
    }
    void masks() {
        QFETCH(QString, mask);
        QFETCH(QByteArray, record);
        QFETCH(bool, match);
        TPacket p;
        for (int i = 0; i < record.size(); ++i)
            p.b[size_t(i)] = uint8_t(record[i]);
        QCOMPARE(answermask::matches(mask, packetRendering(p)), match);
    }

    void maskTexts() {
        QCOMPARE(answermask::answerMask(true, -1, QStringLiteral("FF")), QStringLiteral("**********FF"));
        QCOMPARE(answermask::answerMask(true, 0xAB, QStringLiteral("ff a2")), QStringLiteral("**0000AB**FFA2"));
        QCOMPARE(answermask::secondMask(true, -1, 0, 0, 2, QStringLiteral("FF F0")), QStringLiteral("01******02FFF0"));
        QCOMPARE(answermask::secondMask(true, 0x1234, 0, 0, 8, QString()), QStringLiteral("0100123408"));
        QCOMPARE(answermask::secondMask(false, 0, 2, 5, 1, QString()), QStringLiteral("1000800501"));
    }

    void workedExampleUid() {
        TPacket p;
        const QByteArray r = hex("0100123402FFF3");
        std::copy(r.begin(), r.end(), p.b.begin());
        QCOMPARE(PacketUid(p), 4660u);
    }

    void hexTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("blanks and case") << "ff 0a B7" << true << hex("FF0AB7");
        QTest::newRow("odd last character ignored") << "F3 0" << true << hex("F3");
        QTest::newRow("stars are not hex") << "FF **" << false << QByteArray();
        QTest::newRow("sign is not hex") << "+1" << false << QByteArray();
        QTest::newRow("empty") << "" << true << QByteArray();
    }
    void hexTexts() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(QByteArray, bytes);
        bool good = !ok;
        QCOMPARE(packetTextBytes(text, &good), bytes);
        QCOMPARE(good, ok);
        QCOMPARE(hexWithBlanks(hex("F30A")), QStringLiteral("F3 0A "));
    }
};

QTEST_GUILESS_MAIN(TstPacketFraming)
#include "tst_packetframing.moc"
