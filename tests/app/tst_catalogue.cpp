// Catalogue data module: connection, standing queries, lookups, device kinds
// and the description files.
#include "app/catalogue.h"
#include "app/cataloguefiles.h"
#include "app/devicekind.h"
#include "app/recordtablemodel.h"
#include "testcatalogue.h"
#include "filebytes.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kShipped = QStringLiteral(VODIZ_BIN_DIR "/Database/database_vk.db");
const QString kSchema = QStringLiteral(VODIZ_SOURCE_DIR "/data/catalogue/schema.sql");

// A small catalogue unlike the shipped one: numbers out of order, one entry
// whose input configuration row is missing, one hidden entry, a family row
// missing, an IR button with an unknown protocol.
const QStringList kContent = {
    "insert into ZinType values (1, 'IN-A'), (2, 'IN-B')",
    "insert into Zkorpus values (1, 'K1')",
    "insert into ZPitanie values (1, 'P1')",
    "insert into ZOutType values (1, 'O1')",
    "insert into ZvornakelType values (1, 'fam'), (7, 'ir')",
    "insert into Devvornakel values (700, 'Seven', 1, 2, 1, 1, 1, 1, 1, 1)",
    "insert into Devvornakel values (120, 'Dim', 8, 8, 2, 1, 1, 1, 1, 1)",
    "insert into Devvornakel values (5000, 'IR', 0, 0, 1, 1, 1, 1, 7, 0)",
    "insert into Devvornakel values (410, 'NoInputRow', 4, 4, 99, 1, 1, 1, 1, 1)",
    "insert into Devvornakel values (1010, 'NoFamilyRow', 3, 0, 1, 1, 1, 1, 42, 1)",
    "insert into zbuttype values (1, 'Кнопка', 4, 'btn'), (2, 'Аналоговый', 2, 'an')",
    "insert into butinConnection values (1, 1), (2, 1), (1, 2)",
    "insert into towns values (1, 'Тверь', 57, 36), (2, 'Астрахань', 46, 48), (3, 'Омск', 55, 73)",
    "insert into Holidays values (1, '2030-01-01', 'Новый год'), (2, '2031-01-01', 'Новый год'),"
    " (3, '2030-12-31', 'Канун'), (4, '2030-05-09 00:00:00', 'День Победы')",
    "insert into IRProtocolZ values (0, 'NEC', 'n'), (255, 'Сигнал', 's')",
    "insert into IRRemote values (10, 'Пульт A', 'a'), (11, 'Пульт B', 'b')",
    "insert into IRRemoteButton values (1, 10, 'On', 'd1', 0, 4, 8, ''), (2, 10, 'Rec', 'd2', 255, 255, 255, '0AFF03'),"
    " (3, 10, 'Lost', 'd3', 77, 1, 1, ''), (4, 11, 'Off', 'd4', 0, 4, 9, '')",
};

QList<int> catNums(const QList<DeviceTypeRow> &rows) {
    QList<int> nums;
    for (const DeviceTypeRow &r : rows)
        nums.append(r.cat_num);
    return nums;
}

} // namespace

class TstCatalogue : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString built_;

    QString makeCatalogue(const QString &name, const QStringList &statements) {
        const QString path = dir_.filePath(name);
        QString error;
        if (!buildTestCatalogue(path, kSchema, statements, &error))
            qFatal("%s", qPrintable(error));
        return path;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        built_ = makeCatalogue(QStringLiteral("small.db"), kContent);
    }

    void shippedCatalogueListsTheSampleDevices() {
        TDM dm;
        QVERIFY2(dm.ConnectCatalogue(kShipped), qPrintable(dm.lastError()));
        const QList<int> nums = catNums(dm.DQDevices());
        for (int n : {100, 150, 300, 400, 500, 550, 1010, 1500, 2000, 5000})
            QVERIFY2(nums.contains(n), qPrintable(QString::number(n)));
        QVERIFY(std::is_sorted(nums.cbegin(), nums.cend()));

        const auto inputs = dm.DeviceByCatNum(500);
        QVERIFY(inputs);
        QCOMPARE(inputs->ins, 16);
        QCOMPARE(inputs->Conf_in, QStringLiteral("8AC.8DC"));
        QCOMPARE(dm.DeviceByCatNum(100)->outs, 8);
        QCOMPARE(dm.VornakelByCatNum(5000)->vktypename, QStringLiteral("ir"));
        for (const DeviceTypeRow &r : dm.VisibleDevices())
            QCOMPARE(r.Visible, 1);
        QVERIFY(dm.VisibleDevices().size() < dm.DQDevices().size());

        QVERIFY(!dm.DQTowns().isEmpty());
        QVERIFY(!dm.QRemote().isEmpty());
        // A recorded-signal button (protocol 255) must be listed too.
        bool signalButton = false;
        for (const IRButtonRow &b : dm.QButtonsAll())
            signalButton |= b.PID == 255 && !b.Signal.isEmpty();
        QVERIFY(signalButton);
        QCOMPARE(dm.ButtonTypeByIdName(QStringLiteral("an"))->name, QStringLiteral("Аналоговый"));
    }

    void devicesAreInnerJoinedAndOrdered() {
        TDM dm;
        QVERIFY2(dm.ConnectCatalogue(built_), qPrintable(dm.lastError()));
        // 410 lacks its input configuration row, 1010 its family row.
        QCOMPARE(catNums(dm.DQDevices()), (QList<int>{120, 700, 5000}));
        QVERIFY(!dm.DeviceByCatNum(410));
        QVERIFY(!dm.DeviceByCatNum(1010));
        const DeviceTypeRow dim = *dm.DeviceByCatNum(120);
        QCOMPARE(dim.name, QStringLiteral("Dim"));
        QCOMPARE(dim.Conf_in, QStringLiteral("IN-B"));
        QCOMPARE(dim.korpus, QStringLiteral("K1"));
        QCOMPARE(dim.pitanie, QStringLiteral("P1"));
        QCOMPARE(dim.Conf_out, QStringLiteral("O1"));
        QCOMPARE(dim.vktype, QStringLiteral("fam"));
        QCOMPARE(catNums(dm.VisibleDevices()), (QList<int>{120, 700}));
    }

    void familyTypesListEveryEntry() {
        TDM dm;
        QVERIFY(dm.ConnectCatalogue(built_));
        QCOMPARE(dm.QVornakelZ().size(), 5);
        const auto noFamily = dm.VornakelByCatNum(1010);
        QVERIFY(noFamily);
        QCOMPARE(noFamily->vktypenmbr, 42);
        QVERIFY(noFamily->vktypename.isEmpty());
        QCOMPARE(dm.VornakelByCatNum(5000)->vktypeDescr, QStringLiteral("ir"));
        QVERIFY(!dm.VornakelByCatNum(1));
    }

    void townsAreOrderedByName() {
        TDM dm;
        QVERIFY(dm.ConnectCatalogue(built_));
        QStringList names;
        for (const TownRow &t : dm.DQTowns())
            names.append(t.town);
        QCOMPARE(names, (QStringList{"Астрахань", "Омск", "Тверь"}));
        QCOMPARE(dm.DQTowns().first().wide, QStringLiteral("46"));
        QCOMPARE(dm.DQTowns().first().lon, QStringLiteral("48"));
    }

    void irDirectoryQueries() {
        TDM dm;
        QVERIFY(dm.ConnectCatalogue(built_));
        QCOMPARE(dm.QRemote().size(), 2);
        QCOMPARE(dm.RemoteById(11)->IRName, QStringLiteral("Пульт B"));
        QVERIFY(!dm.RemoteById(12));

        // The button with protocol 77 (not in IRProtocolZ) is left out.
        const QList<IRButtonRow> buttons = dm.QButton(10);
        QCOMPARE(buttons.size(), 2);
        QCOMPARE(buttons[0].BName, QStringLiteral("On"));
        QCOMPARE(buttons[0].PName, QStringLiteral("NEC"));
        QCOMPARE(buttons[0].RName, QStringLiteral("Пульт A"));
        QCOMPARE(buttons[1].Signal, QStringLiteral("0AFF03"));
        QCOMPARE(buttons[1].ProtocolID, 255);
        QVERIFY(dm.QButton(99).isEmpty());

        const QList<IRButtonRow> all = dm.QButtonsAll();
        QCOMPARE(all.size(), 3);
        QCOMPARE(all.last().IRID, 11);
        QCOMPARE(all.last().PID, 0);
        QCOMPARE(all.last().Code, 9);
    }

    void irDirectoryChangesShowWithoutReconnecting() {
        const QString path = makeCatalogue(QStringLiteral("edited.db"), kContent);
        TDM dm;
        QVERIFY(dm.ConnectCatalogue(path));
        // Another program (here a second module) has the file open too.
        TDM editor;
        QVERIFY(editor.ConnectCatalogue(path));
        // A name with a quote goes in as a value, not as SQL text.
        QVERIFY2(editor.Exec(QStringLiteral("insert into IRRemoteButton (IRRemoteID, Name, Descr, ProtocolID) "
                                            "values (?, ?, ?, 255)"),
                             {11, QStringLiteral("It's new"), QString()}),
                 qPrintable(editor.lastError()));
        const QList<IRButtonRow> buttons = dm.QButton(11);
        QCOMPARE(buttons.size(), 2);
        QCOMPARE(buttons.last().BName, QStringLiteral("It's new"));
        QVERIFY(buttons.last().IRBID > 4);
    }

    void freeQueriesReportErrors() {
        TDM dm;
        QVERIFY(!dm.Exec(QStringLiteral("select 1")));
        QVERIFY(!dm.lastError().isEmpty());
        QVERIFY(dm.ConnectCatalogue(built_));
        QList<QSqlRecord> rows;
        QVERIFY(!dm.Exec(QStringLiteral("select * from NoSuchTable"), {}, &rows));
        QVERIFY(dm.lastError().contains(QStringLiteral("NoSuchTable")));
        QVERIFY(dm.Exec(QStringLiteral("select val from zbuttype where idname = 'an'"), {}, &rows));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value(QStringLiteral("val")).toInt(), 2);
        QVERIFY(dm.lastError().isEmpty());
    }

    void buttonTypesOfAnInputConfiguration() {
        TDM dm;
        QVERIFY(dm.ConnectCatalogue(built_));
        QCOMPARE(dm.ButtonTypesForInput(QStringLiteral("IN-A")).size(), 2);
        const QList<ButtonTypeRow> b = dm.ButtonTypesForInput(QStringLiteral("IN-B"));
        QCOMPARE(b.size(), 1);
        QCOMPARE(b[0].val, 4);
        QVERIFY(dm.ButtonTypesForInput(QStringLiteral("x' or '1'='1")).isEmpty());
        QCOMPARE(dm.ButtonTypeByName(QStringLiteral("Аналоговый"))->idname, QStringLiteral("an"));
        QVERIFY(!dm.ButtonTypeByIdName(QStringLiteral("none")));
    }

    void holidaysOfOneYear() {
        TDM dm;
        QVERIFY(dm.ConnectCatalogue(built_));
        const QList<HolidayRow> h = dm.HolidaysOfYear(2030);
        QCOMPARE(h.size(), 3);
        QCOMPARE(h[0].date, QDate(2030, 1, 1));
        QCOMPARE(h[1].date, QDate(2030, 5, 9));
        QCOMPARE(h[2].date, QDate(2030, 12, 31));
        QCOMPARE(h[2].Descr, QStringLiteral("Канун"));
        QVERIFY(dm.HolidaysOfYear(2029).isEmpty());
    }

    void standingQueriesFillAGridModel() {
        TDM dm;
        QVERIFY(dm.ConnectCatalogue(built_));
        RecordTableModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        bool ok = false;
        model.setRecords(dm.Records(CatalogueQuery::DQDevices, 0, &ok));
        QVERIFY(ok);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Conf_in"));
        QCOMPARE(model.locate(QStringLiteral("CAT_NUM"), 700), 1);
        QCOMPARE(model.locate(QStringLiteral("cat_num"), 410), -1);
        QCOMPARE(model.locate(QStringLiteral("nosuchfield"), 700), -1);
        model.setRecords(dm.Records(CatalogueQuery::QButton, 11, &ok));
        QVERIFY(ok);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.data(model.index(0, model.fieldIndex(QStringLiteral("BName")))).toString(),
                 QStringLiteral("Off"));
        model.setRecords({});
        QCOMPARE(model.columnCount(), 0);
    }

    void connectionFailsCleanly_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // file content; null: no file at all
        QTest::addColumn<bool>("withSchema");
        QTest::addColumn<QStringList>("statements"); // build a database with these
        QTest::addColumn<QString>("reason");

        const QByteArray garbage = QByteArray("This is not a database at all.\r\n").repeated(200);
        QTest::newRow("missing file") << "missing.db" << QByteArray() << false << QStringList() << "not found";
        QTest::newRow("empty file") << "empty.db" << QByteArray("") << false << QStringList() << "missing";
        QTest::newRow("garbage") << "garbage.db" << garbage << false << QStringList() << "not a database";
        QTest::newRow("other database") << "other.db" << QByteArray() << false << QStringList{"create table t(x)"}
                                        << "table Devvornakel is missing";
        QTest::newRow("lacking a table") << "notowns.db" << QByteArray() << true << QStringList{"drop table towns"}
                                         << "table towns is missing";
        QTest::newRow("lacking a column")
            << "nolon.db" << QByteArray() << true
            << QStringList{"drop table towns", "create table towns(nmbr, town, wide)"} << "no column lon";
    }

    void connectionFailsCleanly() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, withSchema);
        QFETCH(QStringList, statements);
        QFETCH(QString, reason);

        const QString path = dir_.filePath(name);
        QString error;
        if (!statements.isEmpty())
            QVERIFY2(buildTestCatalogue(path, withSchema ? kSchema : QString(),
                                        (withSchema ? kContent : QStringList()) + statements, &error),
                     qPrintable(error));
        else if (!bytes.isNull()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const bool existed = QFile::exists(path);
        const QByteArray before = readBytes(path);

        TDM dm;
        QVERIFY(!dm.ConnectCatalogue(path));
        QVERIFY(!dm.isConnected());
        QVERIFY2(dm.lastError().contains(reason, Qt::CaseInsensitive), qPrintable(dm.lastError()));
        QVERIFY(dm.DQDevices().isEmpty());
        QVERIFY(dm.QRemote().isEmpty());
        // Nothing is created or changed.
        QCOMPARE(QFile::exists(path), existed);
        QCOMPARE(readBytes(path), before);
    }

    void directoryOrEmptyNameIsRefused() {
        TDM dm;
        QVERIFY(!dm.ConnectCatalogue(dir_.path()));
        QVERIFY(!dm.ConnectCatalogue(QString()));
        QVERIFY(!dm.lastError().isEmpty());
    }

    void reconnectingSwitchesCatalogues() {
        TDM dm;
        QVERIFY(dm.ConnectCatalogue(built_));
        QVERIFY(!dm.ConnectCatalogue(dir_.filePath(QStringLiteral("nothing.db"))));
        QVERIFY(dm.DQDevices().isEmpty());
        QVERIFY2(dm.ConnectCatalogue(kShipped), qPrintable(dm.lastError()));
        QVERIFY(dm.DeviceByCatNum(5000));
        QVERIFY(dm.ConnectCatalogue(built_));
        QVERIFY(!dm.DeviceByCatNum(300));
        QVERIFY(dm.DeviceByCatNum(120));

        // Two modules at once keep their own connections.
        TDM other;
        QVERIFY(other.ConnectCatalogue(kShipped));
        QVERIFY(other.DeviceByCatNum(300));
        QVERIFY(!dm.DeviceByCatNum(300));
    }

    void unusualFileNamesOpen() {
        QDir(dir_.path()).mkpath(QStringLiteral("папка с пробелом #1 %20?"));
        const QString path = makeCatalogue(QStringLiteral("папка с пробелом #1 %20?/каталог.db"), kContent);
        TDM dm;
        QVERIFY2(dm.ConnectCatalogue(path), qPrintable(dm.lastError()));
        QCOMPARE(dm.DQDevices().size(), 3);
    }

    void deviceKindByCatalogueNumber_data() {
        QTest::addColumn<int>("catNum");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("picture");

        const QString other = QStringLiteral("Устройство_");
        QTest::newRow("0") << 0 << 0 << other << 100;
        QTest::newRow("-100") << -100 << 0 << other << 100;
        QTest::newRow("99") << 99 << 0 << other << 100;
        QTest::newRow("100") << 100 << 1 << "dim8_" << 3;
        QTest::newRow("149") << 149 << 1 << "dim8_" << 3;
        QTest::newRow("150") << 150 << 2 << "dim4_" << 3;
        QTest::newRow("199") << 199 << 2 << "dim4_" << 3;
        QTest::newRow("200") << 200 << 0 << other << 100;
        QTest::newRow("300") << 300 << 3 << "rel8_" << 4;
        QTest::newRow("399") << 399 << 3 << "rel8_" << 4;
        QTest::newRow("400") << 400 << 4 << "rel4_" << 4;
        QTest::newRow("499") << 499 << 4 << "rel4_" << 4;
        QTest::newRow("500") << 500 << 5 << "inp16_" << 1;
        QTest::newRow("549") << 549 << 5 << "inp16_" << 1;
        QTest::newRow("550") << 550 << 6 << "inp6_" << 5;
        QTest::newRow("599") << 599 << 6 << "inp6_" << 5;
        QTest::newRow("600") << 600 << 0 << other << 100;
        QTest::newRow("1000") << 1000 << 0 << other << 100;
        QTest::newRow("1009") << 1009 << 0 << other << 100;
        QTest::newRow("1010") << 1010 << 8 << "x10_can_" << 2;
        QTest::newRow("1099") << 1099 << 8 << "x10_can_" << 2;
        QTest::newRow("1100") << 1100 << 0 << other << 100;
        QTest::newRow("1500") << 1500 << 9 << "GSM_" << 100;
        QTest::newRow("1599") << 1599 << 9 << "GSM_" << 100;
        QTest::newRow("2000") << 2000 << 10 << "RTC_" << 0;
        QTest::newRow("2499") << 2499 << 10 << "RTC_" << 0;
        QTest::newRow("2500") << 2500 << 0 << other << 100;
        QTest::newRow("4999") << 4999 << 0 << other << 100;
        QTest::newRow("5000") << 5000 << 11 << "IR_" << 100;
        QTest::newRow("5001") << 5001 << 0 << other << 100;
    }

    void deviceKindByCatalogueNumber() {
        QFETCH(int, catNum);
        QFETCH(int, kind);
        QFETCH(QString, prefix);
        QFETCH(int, picture);
        QCOMPARE(DeviceKind(catNum), kind);
        QCOMPARE(AliasPrefix(catNum), prefix);
        QCOMPARE(PictureIndex(catNum), picture);
    }

    void descriptionFiles() {
        const QString bin = QStringLiteral(VODIZ_BIN_DIR);
        QCOMPARE(catalogueDescriptionPath(bin, 100), bin + "/Database/catalog_desc/00100.txt");
        QCOMPARE(cataloguePhotoPath(bin, 5000), bin + "/Database/catalog_pict/05000.jpg");
        QCOMPARE(catalogueDiagramPath(bin, 1010), bin + "/Database/catalog_sh/01010.jpg");
        // Shipped descriptions are Windows-1251 text.
        QVERIFY(catalogueDescription(bin, 100).contains(QStringLiteral("Диммер")));
        QCOMPARE(catalogueDescription(bin, 99999), QStringLiteral("Описание отсутствует"));
        QCOMPARE(catalogueDescription(dir_.path(), 100), QStringLiteral("Описание отсутствует"));
    }
};

QTEST_GUILESS_MAIN(TstCatalogue)
#include "tst_catalogue.moc"
