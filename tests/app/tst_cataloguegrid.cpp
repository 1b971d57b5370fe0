// The project grid dataset: state keys, computed fields, the order by state
// and alias as rows come and go, and the model contract.
#include "app/catalogue.h"
#include "app/gridcurrentrow.h"
#include "app/gridmodel.h"
#include "app/textfile.h"
#include "app/memtable.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QPersistentModelIndex>
#include <QTemporaryDir>
#include <QTest>

namespace {

GridRow device(const QString &alias, bool check, bool net, int catNum = 100, const QString &uid = "00A1F3") {
    GridRow r;
    r.alias = alias;
    r.uid = uid;
    r.check = check;
    r.net = net;
    r.cat_num = catNum;
    return r;
}

QStringList aliases(const TGridModel &m) {
    QStringList a;
    for (const GridRow &r : m.rows())
        a.append(r.alias);
    return a;
}

QVariant cell(const TGridModel &m, int row, const char *field, int role = Qt::DisplayRole) {
    return m.data(m.index(row, m.fieldColumn(QLatin1String(field))), role);
}

} // namespace

using Show = CurrentRowPanels::Show;
Q_DECLARE_METATYPE(CurrentRowPanels::Show)

class TstCatalogueGrid : public QObject {
    Q_OBJECT

    QTemporaryDir programDir_;

private slots:
    void initTestCase() {
        // A program folder with a description and photo of 300 and only a
        // diagram of 400.
        QDir dir(programDir_.path());
        for (const char *sub : {"Database/catalog_desc", "Database/catalog_pict", "Database/catalog_sh"})
            QVERIFY(dir.mkpath(sub));
        QVERIFY(textfile::writeLines(dir.filePath("Database/catalog_desc/00300.txt"), {"Реле 8 каналов", "230 В"}));
        for (const char *file : {"Database/catalog_pict/00300.jpg", "Database/catalog_sh/00400.jpg"}) {
            QFile f(dir.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("picture");
        }
    }

    void currentRowPanels_data() {
        QTest::addColumn<int>("catNum"); // 0: no current row
        QTest::addColumn<bool>("check");
        QTest::addColumn<bool>("testMode");
        QTest::addColumn<bool>("gridLive");
        QTest::addColumn<bool>("include");
        QTest::addColumn<Show>("description");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Show>("photo");
        QTest::addColumn<Show>("diagram");

        const QString none = QStringLiteral("Описание отсутствует");
        QTest::newRow("no row") << 0 << false << false << true << false << Show::Set << none << Show::Clear
                                << Show::Clear;
        QTest::newRow("in project, description and photo")
            << 300 << true << false << true << false << Show::Set << QStringLiteral("Реле 8 каналов\r\n230 В\r\n")
            << Show::Set << Show::Clear;
        QTest::newRow("not in project, diagram only")
            << 400 << false << false << true << true << Show::Set << none << Show::Clear << Show::Set;
        QTest::newRow("test mode keeps the panels")
            << 300 << false << true << true << true << Show::Keep << QString() << Show::Keep << Show::Keep;
        QTest::newRow("grid being rebuilt")
            << 300 << true << false << false << false << Show::Clear << QString() << Show::Clear << Show::Keep;
    }

    void currentRowPanels() {
        QFETCH(int, catNum);
        QFETCH(bool, check);
        QFETCH(bool, testMode);
        QFETCH(bool, gridLive);
        const GridRow row = device("a", check, false, catNum);
        const CurrentRowPanels p = ::currentRowPanels(catNum ? &row : nullptr, testMode, gridLive, programDir_.path());
        QTEST(p.includeEnabled, "include");
        QTEST(p.description, "description");
        QTEST(p.descriptionText, "text");
        QTEST(p.photo, "photo");
        QTEST(p.diagram, "diagram");
        QCOMPARE(p.photoFile.isEmpty(), p.photo != Show::Set);
        QCOMPARE(p.diagramFile.isEmpty(), p.diagram != Show::Set);
        if (p.photo == Show::Set)
            QVERIFY(p.photoFile.endsWith("/Database/catalog_pict/00300.jpg"));
    }

    void stateKey_data() {
        QTest::addColumn<bool>("check");
        QTest::addColumn<bool>("net");
        QTest::addColumn<int>("sort");
        QTest::newRow("in project only") << true << false << 1;
        QTest::newRow("on network only") << false << true << 2;
        QTest::newRow("neither") << false << false << 3;
        QTest::newRow("both") << true << true << 4;
    }

    void stateKey() {
        QFETCH(bool, check);
        QFETCH(bool, net);
        QFETCH(int, sort);
        GridRow r = device("a", check, net);
        r.sort = 0;
        SetRowState(r);
        QCOMPARE(r.sort, sort);
        // The model sets the key itself, whatever the caller left in it.
        TGridModel m;
        r.sort = 99;
        m.appendRow(r);
        QCOMPARE(cell(m, 0, "sort").toInt(), sort);
    }

    void uid00_data() {
        QTest::addColumn<QString>("uid");
        QTest::addColumn<QString>("shown");
        QTest::newRow("leading zeros dropped to 4 digits") << "00A1F3" << "00-A1F3";
        QTest::newRow("six significant digits") << "1A2B3C" << "00-1A2B3C";
        QTest::newRow("zero") << "000000" << "00-0000";
        QTest::newRow("small") << "00000F" << "00-000F";
        QTest::newRow("lower case") << "00abcd" << "00-ABCD";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("not hexadecimal") << "XYZ" << "";
    }

    void uid00() {
        QFETCH(QString, uid);
        QFETCH(QString, shown);
        QCOMPARE(GridUid00(uid), shown);
        TGridModel m;
        m.appendRow(device("a", true, false, 100, uid));
        QCOMPARE(cell(m, 0, "uid00").toString(), shown);
    }

    void computedAndFormattedFields() {
        TGridModel m;
        GridRow r = device("rel", true, false, 300);
        r.inputs = 8;
        m.appendRow(r);
        m.appendRow(device("ir", true, false, 5000));
        QCOMPARE(cell(m, 0, "image").toInt(), 100); // ir: no picture
        QCOMPARE(cell(m, 1, "image").toInt(), 4);
        QCOMPARE(cell(m, 1, "cat_num").toString(), QStringLiteral("00300"));
        QCOMPARE(cell(m, 1, "cat_num", Qt::EditRole).toInt(), 300);
        QCOMPARE(cell(m, 1, "inputs").toInt(), 8);
        // A type missing from the catalogue leaves the counts empty, not 0.
        QVERIFY(cell(m, 1, "outputs").isNull());
        QCOMPARE(m.fieldColumn(QStringLiteral("UID00")), int(TGridModel::ColUid00));
        QCOMPARE(m.fieldColumn(QStringLiteral("nosuch")), -1);
        QCOMPARE(m.headerData(TGridModel::ColCatNum, Qt::Horizontal).toString(), QStringLiteral("cat_num"));
    }

    void rowsKeepStateThenAliasOrder() {
        TGridModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.appendRow(device("zeta", true, true));     // 4
        m.appendRow(device("Beta", false, false));   // 3
        m.appendRow(device("alpha", false, false));  // 3
        m.appendRow(device("gamma", true, false));   // 1
        m.appendRow(device("delta", false, true));   // 2
        m.appendRow(device("Alpha2", true, false));  // 1
        QCOMPARE(aliases(m), (QStringList{"Alpha2", "gamma", "delta", "alpha", "Beta", "zeta"}));

        // Row numbers count up in the order of appending, wherever rows land.
        QCOMPARE(m.rowAt(m.findByAlias("zeta")).nmbr, 1);
        QCOMPARE(m.rowAt(m.findByAlias("Alpha2")).nmbr, 6);

        // Ticking a network-only device into the project moves it after all
        // the others, among the rows in both.
        const int deltaRow = m.findByAlias("DELTA");
        QPersistentModelIndex tracked(m.index(deltaRow, TGridModel::ColAlias));
        GridRow d = m.rowAt(deltaRow);
        d.check = true;
        const int moved = m.updateRow(deltaRow, d);
        QCOMPARE(moved, 4);
        QCOMPARE(aliases(m), (QStringList{"Alpha2", "gamma", "alpha", "Beta", "delta", "zeta"}));
        QCOMPARE(tracked.row(), moved);
        QCOMPARE(m.rowAt(moved).nmbr, 5);
        QCOMPARE(m.rowAt(moved).sort, 4);

        // Renaming moves a row within its state.
        GridRow g = m.rowAt(1);
        g.alias = "aaa";
        QCOMPARE(m.updateRow(1, g), 0);
        QCOMPARE(aliases(m), (QStringList{"aaa", "Alpha2", "alpha", "Beta", "delta", "zeta"}));

        // A change that keeps the place updates in place.
        GridRow b = m.rowAt(3);
        b.descr = "Реле";
        QCOMPARE(m.updateRow(3, b), 3);
        QCOMPARE(cell(m, 3, "descr").toString(), QStringLiteral("Реле"));

        QVERIFY(m.removeAt(0));
        QCOMPARE(aliases(m), (QStringList{"Alpha2", "alpha", "Beta", "delta", "zeta"}));
        QVERIFY(!m.removeAt(5));
        QCOMPARE(m.updateRow(-1, b), -1);

        m.clear();
        QCOMPARE(m.rowCount(), 0);
        m.appendRow(device("new", true, false));
        QCOMPARE(m.rowAt(0).nmbr, 7); // numbers are not reused
    }

    void sameAliasKeepsAppendOrder() {
        TGridModel m;
        m.appendRow(device("dup", false, true, 100, "000001"));
        m.appendRow(device("dup", false, true, 150, "000002"));
        QCOMPARE(m.rowAt(0).uid, QStringLiteral("000001"));
        QCOMPARE(m.rowAt(1).uid, QStringLiteral("000002"));
    }

    void findRows() {
        TGridModel m;
        m.appendRow(device("Hall", true, false, 300, "00A1F3"));
        m.appendRow(device("Kitchen", false, true, 400, "1A2B3C"));
        QCOMPARE(m.findByAlias("hall"), 0);
        QCOMPARE(m.findByAlias("cellar"), -1);
        QCOMPARE(m.findByUid("A1F3"), 0);
        QCOMPARE(m.findByUid("1a2b3c"), 1);
        QCOMPARE(m.findByUid("000000"), -1);
        QCOMPARE(m.findByUid(""), -1);
        QCOMPARE(m.findByNmbr(2), 1);
        QCOMPARE(m.findByNmbr(3), -1);
    }

    void firstFreeAliasNumber() {
        TGridModel m;
        QCOMPARE(m.firstFreeAliasNumber("dim8_"), 1);
        m.appendRow(device("dim8_01", true, false));
        m.appendRow(device("DIM8_02", false, true));
        m.appendRow(device("dim8_04", true, false));
        m.appendRow(device("dim8_3", true, false)); // not two digits: no match
        QCOMPARE(m.firstFreeAliasNumber("dim8_"), 3);
        QCOMPARE(m.firstFreeAliasNumber("Dim8_"), 3);
        QCOMPARE(m.firstFreeAliasNumber("rel4_"), 1);
    }

    void runTimeFields_data() {
        QTest::addColumn<QString>("typeWord");
        QTest::addColumn<bool>("added");
        QTest::addColumn<QVariant>("given");
        QTest::addColumn<QVariant>("stored"); // null: the value is refused
        QTest::newRow("int") << "int" << true << QVariant("42") << QVariant(42LL);
        QTest::newRow("INT, upper case") << "INT" << true << QVariant(7) << QVariant(7LL);
        QTest::newRow("int, an address") << "int" << true << QVariant(qulonglong(0x7ffe12345678))
                                         << QVariant(0x7ffe12345678LL);
        QTest::newRow("int refuses text") << "int" << true << QVariant("abc") << QVariant();
        QTest::newRow("str") << "str" << true << QVariant("Пульт") << QVariant("Пульт");
        QTest::newRow("Bool") << "Bool" << true << QVariant(true) << QVariant(true);
        QTest::newRow("unknown word") << "date" << false << QVariant() << QVariant();
    }

    void runTimeFields() {
        QFETCH(QString, typeWord);
        QFETCH(bool, added);
        QFETCH(QVariant, given);
        QFETCH(QVariant, stored);

        TMemTable t;
        QAbstractItemModelTester tester(&t, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(t.AddGridField("ptr", "int", false, true));
        t.appendRow({{"ptr", 1}});
        QCOMPARE(t.AddGridField("value", typeWord, true, false), added);
        if (!added) {
            QCOMPARE(t.columnCount(), 1);
            return;
        }
        QCOMPARE(t.columnCount(), 2);
        QVERIFY(t.value(0, "VALUE").isNull()); // rows get the new field empty
        const QModelIndex cell = t.index(0, 1);
        QVERIFY(t.flags(cell) & Qt::ItemIsEditable);
        QCOMPARE(t.setData(cell, given), !stored.isNull());
        QCOMPARE(t.value(0, "value"), stored);
    }

    void runTimeFieldRules() {
        TMemTable t;
        QAbstractItemModelTester tester(&t, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(t.AddGridField("ptr", "int", false, true));
        QVERIFY(t.AddGridField("RemoteName", "str", true, true));
        QVERIFY(!t.AddGridField("remotename", "int", true, true)); // name in use
        QVERIFY(!t.AddGridField("", "int", true, true));
        QCOMPARE(t.fields()[1].size, 100);
        QVERIFY(!t.fields()[0].visible);
        t.setFieldTitle("RemoteName", "Пульт", 100);
        QCOMPARE(t.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Пульт"));
        QCOMPARE(t.fields()[1].width, 100);

        t.appendRow({{"ptr", 10}, {"RemoteName", "ТВ"}, {"unknown", 1}});
        t.appendRow({{"ptr", 11}, {"RemoteName", "Кондиционер"}});
        QCOMPARE(t.locate("remotename", "Кондиционер"), 1);
        QCOMPARE(t.locate("ptr", 10), 0);
        QCOMPARE(t.locate("ptr", "x"), -1);
        // Read-only fields refuse grid edits but code may still set them.
        QVERIFY(!(t.flags(t.index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(!t.setData(t.index(0, 1), "X"));
        QVERIFY(t.setValue(0, "RemoteName", "X"));
        QCOMPARE(t.data(t.index(0, 1)).toString(), QStringLiteral("X"));
        QVERIFY(!t.setValue(5, "RemoteName", "X"));
        t.clearRows();
        QCOMPARE(t.rowCount(), 0);
        QCOMPARE(t.columnCount(), 2);
    }

    void dataModuleCreatesTheGridEmpty() {
        TDM dm;
        QCOMPARE(dm.cdsGrid().rowCount(), 0);
        QCOMPARE(dm.cdsGrid().columnCount(), int(TGridModel::FixedColumnCount));
    }
};

QTEST_GUILESS_MAIN(TstCatalogueGrid)
#include "tst_cataloguegrid.moc"
