// The remote and button lists of the IR panel: their fields, how they are
// filled from a configuration and the catalogue, how an edited button row
// is stored, adding and deleting remotes, the remembered button per remote.
#include "compiler/irconfiglist.h"

#include "app/catalogue.h"
#include "project/project.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kShipped = QStringLiteral(VODIZ_BIN_DIR "/Database/database_vk.db");
constexpr int TV = 1; // "Телевизор": buttons 1 to 5
constexpr int AC = 2; // "Кондиционер": buttons 6 and 7

QStringList column(const TMemTable &table, const char *field) {
    QStringList out;
    for (int row = 0; row < table.rowCount(); ++row)
        out << table.value(row, QString::fromLatin1(field)).toString();
    return out;
}

// The configuration "hall": the TV remote with "Питание" configured, and a
// remote the catalogue no longer has.
struct Setup {
    TDM dm;
    TProject project{&dm};
    TIRConfigList list{&dm, &project};
    TIRConfig *hall = nullptr;
    QAbstractItemModelTester remoteTester{&list.RemoteTable(), QAbstractItemModelTester::FailureReportingMode::QtTest};
    QAbstractItemModelTester buttonTester{&list.ButtonTable(), QAbstractItemModelTester::FailureReportingMode::QtTest};

    Setup() {
        if (!dm.ConnectCatalogue(kShipped))
            qFatal("%s", qPrintable(dm.lastError()));
        hall = list.AddConfig(QStringLiteral("hall"));
        hall->AddRemote(TV, 0);
        hall->AddRemote(42, 0);
        TRButton *power = hall->RemoteList.Item(0)->AddButton(QStringLiteral("Питание"), TV, 0);
        power->ButtonPrimech = QStringLiteral("свет и ТВ");
        power->Link = QStringLiteral("tv_on");
        power->GL = 1;
        list.AddConfig(QStringLiteral("kitchen"));
        project.setSaved(true);
    }

    TIRButtonTable &buttons() { return list.ButtonTable(); }
    bool edit(int row, const QString &field, const QVariant &value) {
        const int col = buttons().fieldColumn(field);
        return buttons().setData(buttons().index(row, col), value);
    }
    int buttonCount(int remote = 0) const { return hall->RemoteList.Item(remote)->ButtonList.Count(); }
};

} // namespace

class TstIRListData : public QObject {
    Q_OBJECT

private slots:
    void fieldsOfTheLists_data() {
        QTest::addColumn<bool>("buttonList");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("width");
        QTest::newRow("remote ptr") << false << "ptr" << false << true << "ptr" << 0;
        QTest::newRow("remote name") << false << "RemoteName" << true << true << "Пульт" << 100;
        QTest::newRow("ptr") << true << "ptr" << false << true << "ptr" << 0;
        QTest::newRow("remote id") << true << "IRRemoteID" << false << true << "ПультID" << 0;
        QTest::newRow("remote") << true << "RemoteName" << false << true << "Пульт" << 0;
        QTest::newRow("id") << true << "ButtonID" << true << true << "ID" << 0;
        QTest::newRow("name") << true << "ButtonName" << true << true << "Кнопка" << 35;
        QTest::newRow("note") << true << "ButtonPrimech" << true << false << "Примечание" << 65;
        QTest::newRow("description") << true << "ButtonDescr" << false << true << "Описание" << 0;
        QTest::newRow("link") << true << "Link" << false << false << "Линк" << 0;
        QTest::newRow("event type") << true << "GL" << false << false << "Глоб." << 0;
    }
    void fieldsOfTheLists() {
        QFETCH(bool, buttonList);
        QFETCH(QString, field);
        QFETCH(bool, visible);
        QFETCH(bool, readOnly);
        QFETCH(QString, title);
        QFETCH(int, width);
        TIRConfigList list;
        TMemTable &table = buttonList ? static_cast<TMemTable &>(list.ButtonTable()) : list.RemoteTable();
        const int col = table.fieldColumn(field);
        QVERIFY(col >= 0);
        const TMemTable::Field &f = table.fields()[col];
        QCOMPARE(f.visible, visible);
        QCOMPARE(f.readOnly, readOnly);
        QCOMPARE(table.headerData(col, Qt::Horizontal).toString(), title);
        QCOMPARE(f.width, width);
    }

    void selectingFillsRemotesAndButtons() {
        Setup s;
        QCOMPARE(s.list.SelectConfig(QStringLiteral("HALL")), s.hall);
        QCOMPARE(s.list.CurrentConfig(), s.hall);
        QCOMPARE(column(s.list.RemoteTable(), "RemoteName"), QStringList({"Телевизор", "Не найден!!!"}));
        QCOMPARE(s.list.ListData().CurrentRemoteRow(), 0);

        // Every catalogue button of the remote, by ID; the configured one
        // carries the configuration's values.
        QCOMPARE(column(s.buttons(), "ButtonID"), QStringList({"1", "2", "3", "4", "5"}));
        QCOMPARE(column(s.buttons(), "ButtonName"),
                 QStringList({"Питание", "Громкость+", "Громкость-", "Канал+", "Канал-"}));
        QCOMPARE(column(s.buttons(), "ButtonPrimech"), QStringList({"свет и ТВ", "", "", "", ""}));
        QCOMPARE(column(s.buttons(), "Link"), QStringList({"tv_on", "", "", "", ""}));
        QCOMPARE(column(s.buttons(), "GL"), QStringList({"1", "", "", "", ""}));
        QCOMPARE(column(s.buttons(), "RemoteName"), QStringList(5, "Телевизор"));
        QCOMPARE(column(s.buttons(), "ButtonDescr").first(), QStringLiteral("Включить/выключить"));
        QCOMPARE(s.list.ListData().ButtonOfRow(0), s.hall->RemoteList.Item(0)->ButtonList.Item(0));
        QCOMPARE(s.list.ListData().ButtonOfRow(1), nullptr);
        QCOMPARE(s.list.ListData().CurrentButtonRow(), 0);

        s.list.ListData().SetCurrentRemoteRow(1); // a remote the catalogue lacks has no buttons
        QCOMPARE(s.buttons().rowCount(), 0);
        QCOMPARE(s.list.ListData().CurrentButtonRow(), -1);

        QCOMPARE(s.list.SelectConfig(QStringLiteral("nobody")), nullptr);
        QCOMPARE(s.list.RemoteTable().rowCount(), 0);
        QCOMPARE(s.buttons().rowCount(), 0);
        QVERIFY(s.project.saved()); // looking changes nothing
    }

    void storingAnEditedRow_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("used");
        QTest::newRow("note") << "ButtonPrimech" << QVariant("у окна") << true;
        QTest::newRow("link") << "Link" << QVariant("tv_on") << true;
        QTest::newRow("no-link marker") << "Link" << QVariant("Отсутствует") << false;
        QTest::newRow("empty link") << "Link" << QVariant("") << false;
        QTest::newRow("global event") << "GL" << QVariant(1) << true;
        QTest::newRow("auto event") << "GL" << QVariant(0) << false;
    }
    void storingAnEditedRow() {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(bool, used);
        Setup s;
        s.list.SelectConfig(QStringLiteral("hall"));
        QVERIFY(s.edit(1, field, value)); // "Громкость+", not configured yet
        QCOMPARE(s.buttonCount(), used ? 2 : 1);
        QVERIFY(!s.project.saved());
        TRButton *b = s.list.ListData().ButtonOfRow(1);
        QCOMPARE(b != nullptr, used);
        if (!used)
            return;
        QCOMPARE(b->ButtonName, QStringLiteral("Громкость+"));
        QCOMPARE(b->RemoteID, TV);
        QCOMPARE(b->ButtonPrimech, s.buttons().value(1, QStringLiteral("ButtonPrimech")).toString());
        QCOMPARE(b->Link, s.buttons().value(1, QStringLiteral("Link")).toString());
        QCOMPARE(b->GL, s.buttons().value(1, QStringLiteral("GL")).toInt());
    }

    void rowLeftWithNothingDropsItsButton() {
        Setup s;
        s.list.SelectConfig(QStringLiteral("hall"));
        QVERIFY(s.edit(0, "ButtonPrimech", QString()));
        QCOMPARE(s.buttonCount(), 1); // the link and the event type still hold it
        QCOMPARE(s.hall->RemoteList.Item(0)->ButtonList.Item(0)->ButtonPrimech, QString());
        QVERIFY(s.edit(0, "Link", QStringLiteral("Отсутствует")));
        QVERIFY(s.edit(0, "GL", 0));
        QCOMPARE(s.buttonCount(), 0);
        QCOMPARE(s.list.ListData().ButtonOfRow(0), nullptr);
        QVERIFY(s.buttons().value(0, QStringLiteral("ptr")).isNull());
        // Read-only fields are not edited.
        QVERIFY(!s.edit(0, "ButtonName", QStringLiteral("x")));
    }

    void addingAndDeletingRemotes() {
        Setup s;
        s.list.SelectConfig(QStringLiteral("hall"));
        QVERIFY(s.hall->AddRemote(TV, 0)); // already there
        QCOMPARE(s.list.RemoteTable().rowCount(), 2);
        QVERIFY(s.project.saved());

        QVERIFY(!s.hall->AddRemote(AC, 0));
        QVERIFY(!s.project.saved());
        QCOMPARE(column(s.list.RemoteTable(), "RemoteName"), QStringList({"Телевизор", "Не найден!!!", "Кондиционер"}));
        QCOMPARE(s.list.ListData().CurrentRemoteRow(), 2);
        QCOMPARE(column(s.buttons(), "ButtonName"), QStringList({"Режим", "Питание"}));
        QVERIFY(!s.hall->AddRemote(AC, 1)); // another SysDBType is another remote
        QCOMPARE(s.hall->RemoteList.Count(), 4);

        // A configuration the lists do not show adds no row and deletes nothing.
        TIRConfig *kitchen = s.list.ConfigByName(QStringLiteral("kitchen"));
        kitchen->AddRemote(TV, 0);
        QCOMPARE(s.list.RemoteTable().rowCount(), 4);
        kitchen->DeleteRemote();
        QCOMPARE(kitchen->RemoteList.Count(), 1);

        s.list.ListData().SetCurrentRemoteRow(0);
        s.hall->DeleteRemote();
        QCOMPARE(column(s.list.RemoteTable(), "RemoteName"), QStringList({"Не найден!!!", "Кондиционер", "Кондиционер"}));
        QCOMPARE(s.hall->RemoteList.Item(0)->RemoteID, 42);
        QCOMPARE(s.list.ListData().CurrentRemoteRow(), 0);
        s.list.ListData().SetCurrentRemoteRow(2);
        s.hall->DeleteRemote(); // the last row: the one before becomes current
        QCOMPARE(s.list.ListData().CurrentRemoteRow(), 1);
        QCOMPARE(s.list.ListData().CurrentRemote(), s.hall->RemoteList.Item(1));
        s.hall->DeleteRemote();
        s.hall->DeleteRemote();
        QCOMPARE(s.hall->RemoteList.Count(), 0);
        s.hall->DeleteRemote(); // nothing left: nothing happens
        QCOMPARE(s.list.ListData().CurrentRemoteRow(), -1);
    }

    void selectedButtonIsRememberedPerRemote() {
        Setup s;
        s.hall->AddRemote(AC, 0);
        s.list.SelectConfig(QStringLiteral("hall"));
        s.list.ListData().SetCurrentButtonRow(3);
        s.list.ListData().SetCurrentRemoteRow(2);
        s.list.ListData().SetCurrentButtonRow(1);
        s.list.ListData().SetCurrentRemoteRow(0);
        QCOMPARE(s.list.ListData().CurrentButtonRow(), 3);
        s.list.ListData().SetCurrentButtonRow(4);
        QCOMPARE(s.list.ListData().SelectedButtons(), QStringList({"Телевизор=5", "Кондиционер=7"}));
        s.list.SelectConfig(QStringLiteral("hall"));
        QCOMPARE(s.list.ListData().CurrentButtonRow(), 4);
    }

    void listsNeverKeepFreedObjects() {
        Setup s;
        s.list.SelectConfig(QStringLiteral("hall"));
        s.list.DeleteConfig(QStringLiteral("hall"));
        QCOMPARE(s.list.RemoteTable().rowCount(), 0);
        QCOMPARE(s.buttons().rowCount(), 0);

        QTemporaryDir dir;
        const QString project = dir.filePath(QStringLiteral("p.lpr"));
        s.list.ConfigByName(QStringLiteral("kitchen"))->AddRemote(TV, 0);
        QVERIFY(s.list.SaveToFile(project));
        s.list.SelectConfig(QStringLiteral("kitchen"));
        QCOMPARE(s.list.RemoteTable().rowCount(), 1);
        QVERIFY(s.list.LoadFromFile(project));
        QCOMPARE(s.list.RemoteTable().rowCount(), 0);
        QCOMPARE(s.list.CurrentConfig(), nullptr);
        QCOMPARE(s.list.SelectConfig(QStringLiteral("kitchen"))->RemoteList.Count(), 1);
        QCOMPARE(column(s.list.RemoteTable(), "RemoteName"), QStringList{"Телевизор"});
    }

    void linkChangesShowInTheRows() {
        Setup s;
        s.list.SelectConfig(QStringLiteral("hall"));
        s.list.ListData().SetCurrentButtonRow(2);
        s.list.RenameLinkInButtons(QStringLiteral("TV_ON"), QStringLiteral("evening"));
        QCOMPARE(s.buttons().value(0, QStringLiteral("Link")).toString(), QStringLiteral("evening"));
        QCOMPARE(s.list.ListData().CurrentButtonRow(), 2);
        s.list.ClearLinkInButtons(QStringLiteral("evening"));
        QCOMPARE(s.buttons().value(0, QStringLiteral("Link")).toString(), QString());
        QCOMPARE(s.buttonCount(), 1); // clearing a link keeps the button
    }
};

QTEST_GUILESS_MAIN(TstIRListData)
#include "tst_irlistdata.moc"
