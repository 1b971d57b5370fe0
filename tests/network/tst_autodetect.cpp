// Network auto-detection: mode-0 type mapping, the merge of both scans, the
// modem's own entry, catalogue names, demo rows and the failure messages,
// against the simulated bus.
#include "simlink.h"

#include "app/askuser.h"
#include "app/waitpanel.h"
#include "network/autodetect.h"

#include <QTest>
#include <algorithm>

namespace {

class FakeCatalogue : public DetectCatalogue {
public:
    QHash<int, QString> names{{100, QStringLiteral("Диммер")}, {300, QStringLiteral("Реле")},
                              {1010, QStringLiteral("Шлюз X10")}};
    std::optional<QString> deviceName(int catNum) const override {
        if (names.contains(catNum))
            return names.value(catNum);
        return std::nullopt;
    }
};

SimNetworkSpec network(const char *text) {
    SimNetworkSpec spec;
    QString error;
    if (!parseSimNetwork(QString::fromLatin1(text), spec, &error))
        qFatal("%s", qPrintable(error));
    return spec;
}

QStringList rows(TMemTable &t) {
    QStringList out;
    const QStringList fields = {"nmbr", "catN", "name", "UID", "UIDhex", "UAddr", "UAddrHex", "BootVer", "HardVer", "SoftVer"};
    for (int r = 0; r < t.rowCount(); ++r) {
        QStringList cells;
        for (const QString &f : fields)
            cells << t.value(r, f).toString();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

TDevInfoFromCan entry(uint32_t uid, uint16_t addr, uint32_t type, int soft = 0) {
    TDevInfoFromCan e;
    e.UID = uid;
    e.Addr = addr;
    e.Type = type;
    e.Soft = uint16_t(soft);
    e.Hard = soft ? 1 : 0;
    return e;
}

} // namespace

class TstAutoDetect : public QObject {
    Q_OBJECT
private slots:
    void typeMapping_data() {
        QTest::addColumn<uint>("word");
        QTest::addColumn<uint>("cat");
        const uint table[][2] = {{0x00020100, 100}, {0x00020200, 150},  {0x00030100, 300}, {0x00030200, 400},
                                 {0x00040100, 500}, {0x00040200, 550},  {0x00080100, 1010}, {0x00090100, 2000},
                                 {0x00050100, 3},   {0x00080200, 3},    {0xFF0201FF, 100}, {0, 3}};
        for (const auto &row : table)
            QTest::addRow("%08X", row[0]) << row[0] << row[1];
    }
    void typeMapping() {
        QFETCH(uint, word);
        QFETCH(uint, cat);
        QCOMPARE(TAutoDetect::catalogueNumberOfType(word), cat);
    }

    void mergeRules_data() {
        QTest::addColumn<TDevInfoFromCanArray>("mode0");
        QTest::addColumn<TDevInfoFromCanArray>("mode1");
        QTest::addColumn<QStringList>("expected"); // uid:type:soft in list order
        QTest::newRow("both scans: mode-1 number, mode-0 versions")
            << TDevInfoFromCanArray{entry(1, 0x10, 0x00020100)} << TDevInfoFromCanArray{entry(1, 0x10, 150, 300)}
            << QStringList{"1:150:0"};
        QTest::newRow("mode-1 number of 10000 or more is not taken")
            << TDevInfoFromCanArray{entry(1, 0x10, 0x00020100)} << TDevInfoFromCanArray{entry(1, 0x10, 10000, 5)}
            << QStringList{"1:100:0"};
        QTest::newRow("mode 1 only: appended with its versions")
            << TDevInfoFromCanArray{entry(1, 0x10, 0x00080100)} << TDevInfoFromCanArray{entry(2, 0x11, 300, 513)}
            << QStringList{"1:1010:0", "2:300:513"};
        QTest::newRow("unknown old type") << TDevInfoFromCanArray{entry(1, 0x10, 0x00050100)} << TDevInfoFromCanArray{}
                                          << QStringList{"1:3:0"};
        QTest::newRow("modem's own entry is not listed")
            << TDevInfoFromCanArray{entry(0xA001, 0x22, 0), entry(1, 0x10, 0x00020100)}
            << TDevInfoFromCanArray{entry(0xA001, 0x22, 0)} << QStringList{"1:100:0"};
    }
    void mergeRules() {
        QFETCH(TDevInfoFromCanArray, mode0);
        QFETCH(TDevInfoFromCanArray, mode1);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        TMCan can(dir.path());
        can.setUID(0xA001);
        FakeCatalogue catalogue;
        TAutoDetect detector(can, catalogue);
        detector.mergeScan(0, mode0);
        detector.mergeScan(1, mode1);
        QStringList got;
        for (const TDevInfoFromCan &e : detector.workingList())
            got << QStringLiteral("%1:%2:%3").arg(e.UID, 0, 16).arg(e.Type).arg(e.Soft);
        QCOMPARE(got, expected);
        QCOMPARE(can.Addr(), uint16_t(mode0.isEmpty() || mode0[0].UID != 0xA001 ? 0 : 0x22));
    }

    void detectsTheSimulatedNetwork() {
        SimLink link(network("modem uid=00A001 addr=0022\n"
                             "device uid=001001 addr=0010 cat=100 release=1 soft=258 hard=2 boot=3 scan=both\n"
                             "device uid=001002 addr=2345 cat=300 release=2 soft=513 hard=1 boot=4 scan=1\n"
                             "device uid=001003 addr=0012 cat=1010 scan=0\n"
                             "device uid=ABCDEF addr=0013 cat=4242 soft=7 scan=1\n"));
        link.can->setDetectTime(1);
        QVERIFY(link.connect());
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        TWaitPanel panel;
        FakeCatalogue catalogue;
        TAutoDetect detector(*link.can, catalogue);
        detector.SetWaitPanel(&panel);
        QVERIFY(detector.Detect());
        // Devices of the old scan come first, those only the new scan found
        // after them; within each group the bus decides who answers first.
        QStringList found = rows(detector.table());
        QCOMPARE(found.size(), 4);
        for (int i = 0; i < found.size(); ++i) {
            QVERIFY(found[i].startsWith(QString::number(i + 1) + QLatin1Char('|')));
            found[i] = found[i].section(QLatin1Char('|'), 1);
        }
        std::sort(found.begin(), found.begin() + 2);
        std::sort(found.begin() + 2, found.end());
        QCOMPARE(found, (QStringList{"100|Диммер|4097|00-1001|16|000010|0|0|0",
                                     "1010|Шлюз X10|4099|00-1003|18|000012|0|0|0",
                                     "300|Реле|4098|00-1002|9029|002345|4|1|513",
                                     "4242|Неизвестный каталожный номер|11259375|00-ABCDEF|19|000013|0|0|7"}));
        QCOMPARE(link.can->Addr(), uint16_t(0x22));
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(panel.accumulator(), 50.0);
        const QStringList log = link.logLines();
        QVERIFY(log.contains(QStringLiteral("Автодетект Модем : UID = 1001, cat = 020100, uaddr = 0010")));
        QVERIFY(log.contains(QStringLiteral("Автодетект Модем : UID = 1002, cat = 00012C, uaddr = 2345")));
        QVERIFY(!log.join(QLatin1Char('\n')).contains(QStringLiteral("UID = A001")));
        // All devices stopped at the end, then the modem identified again.
        QVERIFY(log.contains(QStringLiteral("<<     55 00 00 00 00 01 FF 00 ")));
        QVERIFY(QTest::qWaitFor([&] { return link.logLines().last().startsWith(QStringLiteral("   >>  55 01 00 A0 01 02 FF F3")); }, 10000));
    }

    void nothingOnTheBus() {
        SimLink link(network("modem uid=00A001\ndevice uid=000777 silent"));
        link.can->setDetectTime(1);
        QVERIFY(link.connect());
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        FakeCatalogue catalogue;
        TAutoDetect detector(*link.can, catalogue);
        QVERIFY(!detector.Detect());
        QCOMPARE(dialogs.messages, QStringList{"Устройства в сети не найдены !"});
        QCOMPARE(detector.table().rowCount(), 0);
        QVERIFY(QTest::qWaitFor([&] { return link.logLines().last() == QStringLiteral("   >>  55 01 00 A0 01 02 FF F3 6A "); }, 10000));
    }

    void noConnection() {
        QTemporaryDir dir;
        TMCan can(dir.path());
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        FakeCatalogue catalogue;
        TAutoDetect detector(can, catalogue);
        QVERIFY(!detector.Detect());
        QCOMPARE(dialogs.messages, (QStringList{"Неудачный автодетект! Обратитесь к разработчику",
                                                "Неудачный автодетект! Обратитесь к разработчику",
                                                "Устройства в сети не найдены !"}));
    }

    void demoRows() {
        QTemporaryDir dir;
        TMCan can(dir.path());
        can.setDemo(true);
        FakeCatalogue catalogue; // has 100 and 300 of the demo list, not 150 or 400
        TAutoDetect detector(can, catalogue);
        detector.setDemo(true);
        QVERIFY(detector.Detect());
        TMemTable &t = detector.table();
        QCOMPARE(t.rowCount(), 3);
        const int nmbr[] = {1, 3, 5}, cat[] = {100, 300, 100};
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(t.value(r, "nmbr").toInt(), nmbr[r]);
            QCOMPARE(t.value(r, "catN").toInt(), cat[r]);
            QVERIFY(t.value(r, "UID").toInt() < 1000 && t.value(r, "SoftVer").toInt() < 256);
            QCOMPARE(t.value(r, "UIDhex").toString(), QStringLiteral("00-") + hexText(t.value(r, "UID").toUInt(), 4));
        }
    }
};

QTEST_GUILESS_MAIN(TstAutoDetect)
#include "tst_autodetect.moc"
