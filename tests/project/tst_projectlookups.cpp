// Names by UID and address, link addresses, catalogue texts, input types
// and the project grid rows.
#include "project/project.h"

#include "app/askuser.h"
#include "app/gridmodel.h"
#include "projectfixture.h"

class TstProjectLookups : public QObject {
    Q_OBJECT
    TDM *dm = openTestCatalogue(this);

    void fill(TProject &p) {
        ScriptedDialogs quiet;
        ScopedUserDialogs scope(quiet);
        p.AddDevice("Hall", 0xA1F3, 0, 0, 1, 300, 0x10);
        p.AddDevice("Clock", 0x12, 0, 0, 1, 2000, 0x801);
        p.AddDevice("Odd", 0x13, 0, 0, 1, 9999, 0x13);
        p.globalLinks() << TGlobalLink{"all_off", {}, "0x0001", "0x0800", {}, {}}
                        << TGlobalLink{"night", {}, "0x0002", "0x0801", {}, {}}
                        << TGlobalLink{"party", {}, "0x0003", "0x0802", {}, {}};
        p.compiledLinks() << TLocalLink{"Reset", {}, "0x0001", "0x0000", {}}
                          << TLocalLink{"toggle", {}, "0x0002", "0x001A", {}}
                          << TLocalLink{"party", {}, "0x0003", "0x001B", {}};
    }

private slots:
    void namesByUidAndAddress() {
        TProject p(dm);
        fill(p);
        QCOMPARE(p.DeviceNameByUid(0xA1F3), QStringLiteral("Hall"));
        QCOMPARE(p.DeviceNameByUid(0xBEEF), QStringLiteral("00BEEF"));
        QCOMPARE(p.DeviceNameByUid(0xA1F3, 0xA1F3), QStringLiteral("MODEM")); // the modem wins
        QCOMPARE(p.DeviceNameByAddress(0x10), QStringLiteral("Hall"));
        QCOMPARE(p.DeviceNameByAddress(0x801), QStringLiteral("Clock")); // devices before links
        QCOMPARE(p.DeviceNameByAddress(0x802), QStringLiteral("party"));
        QCOMPARE(p.DeviceNameByAddress(0x3F, 0x3F), QStringLiteral("MODEM"));
        QCOMPARE(p.DeviceNameByAddress(0xAB), QStringLiteral("00AB"));
    }

    void linkAddresses() {
        TProject p(dm);
        fill(p);
        QCOMPARE(p.LinkAddress("ALL_OFF"), QStringLiteral("0800"));
        QCOMPARE(p.LinkAddress("party"), QStringLiteral("0802")); // global links first
        QCOMPARE(p.LinkAddress("toggle"), QStringLiteral("001A"));
        QCOMPARE(p.LinkAddress("missing"), QString());
    }

    void catalogueTexts() {
        TProject p(dm);
        fill(p);
        QCOMPARE(p.CatalogueText(0, "vktypename"), QStringLiteral("rel"));
        QCOMPARE(p.CatalogueText(1, "catnum"), QStringLiteral("2000"));
        QCOMPARE(p.CatalogueText(2, "vktypename"), QString());
        QCOMPARE(p.CatalogueText(7, "catnum"), QString());
    }

    void inputTypeName_data() {
        QTest::addColumn<QString>("conf");
        QTest::addColumn<int>("input");
        QTest::addColumn<QString>("type");
        QTest::newRow("plain name") << "AC" << 3 << "AC";
        QTest::newRow("digit and one letter") << "8D" << 1 << "";
        QTest::newRow("one group") << "8DC" << 8 << "DC";
        QTest::newRow("beyond the group") << "8DC" << 9 << "";
        QTest::newRow("first of two") << "8AC.8DC" << 8 << "AC";
        QTest::newRow("second of two") << "8AC.8DC" << 9 << "DC";
        QTest::newRow("third group") << "2AC.2DC.4X" << 5 << "X";
        QTest::newRow("fourth group not looked at") << "1A.1B.1C.1D" << 4 << "";
        QTest::newRow("unreadable") << "8AC.DC" << 9 << "";
    }

    void inputTypeName() {
        QFETCH(QString, conf);
        QFETCH(int, input);
        QFETCH(QString, type);
        QCOMPARE(TProject::InputTypeName(conf, input), type);
    }

    void inputTypeNameOfTheCurrentDevice() {
        TProject p(dm);
        fill(p);
        TGridModel grid;
        ScriptedDialogs quiet;
        ScopedUserDialogs scope(quiet);
        p.ShowDevicesInGrid(grid);
        p.setCurrentDevice(0); // relay 300: "8AC"
        QCOMPARE(p.InputTypeName(grid, "Вход 3"), QStringLiteral("AC"));
        p.setCurrentDevice(-1);
        QCOMPARE(p.InputTypeName(grid, "Вход 3"), QStringLiteral("AC"));
    }

    void gridRows() {
        TProject p(dm);
        fill(p);
        TGridModel grid;
        ScriptedDialogs dialogs;
        ScopedUserDialogs scope(dialogs);
        p.ShowDevicesInGrid(grid);
        QCOMPARE(grid.rowCount(), 3);
        const GridRow &hall = grid.rowAt(grid.findByAlias("hall"));
        QCOMPARE(hall.uid, QStringLiteral("00A1F3"));
        QCOMPARE(hall.uaddr, QStringLiteral("000010"));
        QCOMPARE(hall.descr, QStringLiteral("Реле 8 каналов"));
        QCOMPARE(hall.inputs, std::optional<int>(8));
        QCOMPARE(hall.conf, QStringLiteral("8AC"));
        QVERIFY(hall.check);
        QVERIFY(!hall.net);
        const GridRow &odd = grid.rowAt(grid.findByAlias("Odd"));
        QVERIFY(odd.descr.isEmpty());
        QVERIFY(!odd.inputs);
        QCOMPARE(dialogs.messages, QStringList{"Ошибка! Не удается найти в базе каталожный номер!"});
    }
};

QTEST_GUILESS_MAIN(TstProjectLookups)
#include "tst_projectlookups.moc"
