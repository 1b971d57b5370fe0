// What the compiler asks of an IR configuration: preparing the button list
// (slots, codes, flags), the button commands, "iremit" buttons, and the
// link queries of the link views.
#include "compiler/irconfiglist.h"

#include "app/catalogue.h"
#include "project/project.h"
#include "testcatalogue.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kShipped = QStringLiteral(VODIZ_BIN_DIR "/Database/database_vk.db");
const QString kSchema = QStringLiteral(VODIZ_SOURCE_DIR "/data/catalogue/schema.sql");
const QString kPrefix = QStringLiteral("00A1F3:CMND:");

// The shipped sample: remote 1 "Телевизор" with NEC buttons (address 4),
// remote 2 "Кондиционер" with "Режим" (RC5) and "Питание" (a recorded
// signal of 12 bytes).
constexpr int TV = 1;
constexpr int AC = 2;

// A small catalogue of signals of every length, a broken one, and a remote
// of 256 protocol buttons.
QStringList smallCatalogue() {
    QStringList sql = {
        "insert into IRProtocolZ values (0, 'NEC', ''), (255, 'Сигнал', '')",
        "insert into IRRemote values (10, 'Пульт', ''), (20, 'Большой', '')",
        "insert into IRRemoteButton values (1, 10, 'Три', '', 255, 255, 255, '0aff03'),"
        " (2, 10, 'Нечёт', '', 255, 255, 255, 'ABC'), (3, 10, 'Пусто', '', 255, 255, 255, ''),"
        " (4, 10, 'Пять', '', 255, 255, 255, '0102030405'), (5, 10, 'Шесть', '', 255, 255, 255, '010203040506'),"
        " (6, 10, 'Битый', '', 255, 255, 255, '0G'), (7, 10, 'Длинный', '', 255, 255, 255, '" +
            QString(512, QLatin1Char('A')) + "')",
    };
    QStringList big; // one statement: each one is a transaction of its own
    for (int i = 0; i < 256; ++i)
        big << QStringLiteral("(%1, 20, 'B%2', '', 0, %2, %2, '')").arg(100 + i).arg(i);
    sql << QStringLiteral("insert into IRRemoteButton values ") + big.join(QLatin1Char(','));
    return sql;
}

TGlobalLink globalLink(const char *name, const char *id) {
    TGlobalLink g;
    g.name = QString::fromLatin1(name);
    g.idText = QString::fromLatin1(id);
    return g;
}

TLocalLink localLink(const char *name, const char *id) {
    TLocalLink l;
    l.name = QString::fromLatin1(name);
    l.idText = QString::fromLatin1(id);
    return l;
}

// A project with the global links tv_on (0x0800) and ac_on (0x0801) whose
// compiled device has the link vol (0x0003), and its IR list over a catalogue.
struct Setup {
    TDM dm;
    TProject project{&dm};
    TIRConfigList list{&dm, &project};

    explicit Setup(const QString &catalogue) {
        if (!dm.ConnectCatalogue(catalogue))
            qFatal("%s", qPrintable(dm.lastError()));
        project.globalLinks() << globalLink("tv_on", "0x0800") << globalLink("ac_on", "0x0801");
        project.compiledLinks() << localLink("Reset", "0x0001") << localLink("vol", "0x0003");
    }

    TIRConfig *config(const QString &name = QStringLiteral("ir_01")) { return list.AddConfig(name); }

    static TRButton *button(TIRConfig *c, int remoteID, const QString &name, const QString &link = QString()) {
        c->AddRemote(remoteID, 0);
        for (int i = 0; i < c->RemoteList.Count(); ++i)
            if (c->RemoteList.Item(i)->RemoteID == remoteID) {
                TRButton *b = c->RemoteList.Item(i)->AddButton(name, remoteID, 0);
                b->Link = link;
                return b;
            }
        return nullptr;
    }

    QStringList lines(const TIRConfig *c) const {
        QStringList out;
        c->WriteButtonLines(kPrefix, out);
        for (QString &line : out)
            line.remove(0, kPrefix.size());
        return out;
    }
};

} // namespace

class TstIRConfig : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString small_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        small_ = dir_.filePath(QStringLiteral("small.db"));
        QString error;
        QVERIFY2(buildTestCatalogue(small_, kSchema, smallCatalogue(), &error), qPrintable(error));
    }

    // Two protocol buttons and one signal button: protocol slots 0 and 1,
    // signal slot 0; both "44" lines, "49" with its "47" lines, the "45"
    // lines, the "46" line.
    void buttonCommandsInTheirOrder() {
        Setup s(kShipped);
        TIRConfig *c = s.config();
        Setup::button(c, TV, QStringLiteral("Питание"), QStringLiteral("tv_on"));
        Setup::button(c, AC, QStringLiteral("Питание"), QStringLiteral("AC_ON"));
        Setup::button(c, TV, QStringLiteral("Громкость+"), QStringLiteral("vol"));
        QVERIFY(c->PrepareButtonList());
        const QStringList expected = {
            "440000600408",     "440100600402",     "49000C60",  "4700000AFF031234", "4700010C2A55AA0F",
            "4700020F80000000", "45000800",         "45010003",  "46000801",
        };
        QCOMPARE(s.lines(c), expected);
        QStringList withPrefix;
        c->WriteButtonLines(kPrefix, withPrefix);
        QCOMPARE(withPrefix.first(), kPrefix + "440000600408");
    }

    void flagsAndLinkLines_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("byIremit");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("link") << "tv_on" << false << QStringList{"440000600408", "45000800"};
        QTest::newRow("no link") << "" << false << QStringList{"440000200408"};
        QTest::newRow("no-link marker") << "Отсутствует" << false << QStringList{"440000200408"};
        QTest::newRow("link of neither project nor device") << "nowhere" << false << QStringList{"440000600408"};
        QTest::newRow("iremit, link") << "tv_on" << true << QStringList{"440000E00408", "45000800"};
        QTest::newRow("iremit, no link") << "" << true << QStringList{"440000A00408"};
    }
    void flagsAndLinkLines() {
        QFETCH(QString, link);
        QFETCH(bool, byIremit);
        QFETCH(QStringList, expected);
        Setup s(kShipped);
        TIRConfig *c = s.config();
        if (byIremit) {
            c->AddRemote(TV, 0);
            QString code;
            QVERIFY(c->LookUpButtonCode(QStringLiteral("телевизор"), QStringLiteral("питание"), code));
            c->RemoteList.Item(0)->ButtonList.Item(0)->Link = link;
        } else {
            Setup::button(c, TV, QStringLiteral("Питание"), link);
        }
        QVERIFY(c->PrepareButtonList());
        QCOMPARE(s.lines(c), expected);
    }

    void signalCommands_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("three bytes, lower-case digits") << "Три" << QStringList{"49000320", "4700000AFF030000"};
        QTest::newRow("odd digit count") << "Нечёт" << QStringList{"49000220", "470000ABC0000000"};
        QTest::newRow("empty signal") << "Пусто" << QStringList{"49000020"};
        QTest::newRow("one full line") << "Пять" << QStringList{"49000520", "4700000102030405"};
        QTest::newRow("one byte more") << "Шесть" << QStringList{"49000620", "4700000102030405", "4700010600000000"};
    }
    void signalCommands() {
        QFETCH(QString, button);
        QFETCH(QStringList, expected);
        Setup s(small_);
        TIRConfig *c = s.config();
        Setup::button(c, 10, button);
        QVERIFY(c->PrepareButtonList());
        QCOMPARE(s.lines(c), expected);
    }

    void buttonsThatCannotBePrepared_data() {
        QTest::addColumn<int>("remote");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("problem");
        QTest::newRow("gone from the catalogue") << 10 << "Нет такой" << "не найдена в справочнике";
        QTest::newRow("remote gone") << 99 << "Три" << "не найдена в справочнике";
        QTest::newRow("signal not hexadecimal") << 10 << "Битый" << "сигнал в справочнике повреждён";
        QTest::newRow("signal longer than a length byte counts") << 10 << "Длинный" << "сигнал в справочнике повреждён";
    }
    void buttonsThatCannotBePrepared() {
        QFETCH(int, remote);
        QFETCH(QString, button);
        QFETCH(QString, problem);
        Setup s(small_);
        TIRConfig *c = s.config();
        Setup::button(c, 10, QStringLiteral("Три"));
        Setup::button(c, remote, button);
        QVERIFY(!c->PrepareButtonList());
        QVERIFY2(c->PrepareProblem().contains(problem), qPrintable(c->PrepareProblem()));
        QVERIFY(c->PrepareProblem().contains(button));
    }

    void slotsRunOutAfter255Buttons() {
        Setup s(small_);
        TIRConfig *c = s.config();
        for (int i = 0; i < 255; ++i)
            Setup::button(c, 20, QStringLiteral("B%1").arg(i));
        QVERIFY(c->PrepareButtonList());
        QCOMPARE(s.lines(c).last(), QStringLiteral("44FE0020FEFE"));
        Setup::button(c, 20, QStringLiteral("B255"));
        QVERIFY(!c->PrepareButtonList());
        QVERIFY(c->PrepareProblem().contains(QStringLiteral("B255")));
    }

    void preparingAgainStartsTheSlotsAnew() {
        Setup s(kShipped);
        TIRConfig *c = s.config();
        Setup::button(c, TV, QStringLiteral("Питание"));
        QVERIFY(c->PrepareButtonList());
        QVERIFY(c->PrepareButtonList());
        QCOMPARE(s.lines(c), QStringList{"440000200408"});
    }

    void iremitButtonCodes_data() {
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("code"); // empty: not found
        QTest::addColumn<QString>("added"); // the button added to the configuration
        QTest::newRow("protocol button") << "Телевизор" << "Питание" << "0000000100" << "";
        QTest::newRow("names in other letter case") << "телевизор" << "ГРОМКОСТЬ+" << "0000000101" << "";
        QTest::newRow("signal button") << "кондиционер" << "питание" << "0000000000" << "";
        QTest::newRow("catalogue button taken on") << "телевизор" << "канал-" << "0000000102" << "Канал-";
        QTest::newRow("catalogue button of another kind") << "кондиционер" << "режим" << "0000000102" << "Режим";
        QTest::newRow("remote not configured") << "Радио" << "Питание" << "" << "";
        QTest::newRow("button nowhere") << "Телевизор" << "Пауза" << "" << "";
    }
    void iremitButtonCodes() {
        QFETCH(QString, remote);
        QFETCH(QString, button);
        QFETCH(QString, code);
        QFETCH(QString, added);
        Setup s(kShipped);
        TIRConfig *c = s.config();
        Setup::button(c, TV, QStringLiteral("Питание"));
        Setup::button(c, TV, QStringLiteral("Громкость+"));
        Setup::button(c, AC, QStringLiteral("Питание"));
        QVERIFY(c->PrepareButtonList());
        s.project.setSaved(true);

        QString answer;
        QCOMPARE(c->LookUpButtonCode(remote, button, answer), !code.isEmpty());
        QCOMPARE(answer, code);
        int count = 0;
        for (int i = 0; i < c->RemoteList.Count(); ++i)
            count += c->RemoteList.Item(i)->ButtonList.Count();
        QCOMPARE(count, added.isEmpty() ? 3 : 4);
        QCOMPARE(s.project.saved(), added.isEmpty());
        if (added.isEmpty())
            return;
        // Added with the catalogue's spelling, marked as the compiler's, and
        // written with the other buttons.
        const TRemote *owner = c->RemoteList.Item(remote.startsWith(QStringLiteral("тел")) ? 0 : 1);
        const TRButton *b = owner->ButtonList.Item(owner->ButtonList.Count() - 1);
        QCOMPARE(b->ButtonName, added);
        QVERIFY(b->AddedByCompiler);
        QVERIFY(s.lines(c).contains(QStringLiteral("4402") + (added == "Режим" ? "01A0000C" : "00A00401")));
    }

    void unpreparedButtonHasNoCode() {
        Setup s(kShipped);
        TIRConfig *c = s.config();
        Setup::button(c, TV, QStringLiteral("Питание"));
        QString code;
        QVERIFY(!c->LookUpButtonCode(QStringLiteral("Телевизор"), QStringLiteral("Питание"), code));
        QVERIFY(c->PrepareButtonList());
        QVERIFY(c->LookUpButtonCode(QStringLiteral("Телевизор"), QStringLiteral("Питание"), code));
        QCOMPARE(code, QStringLiteral("0000000100"));
    }

    void iremitLooksAtEveryRemoteOfTheName() {
        Setup s(kShipped);
        TIRConfig *c = s.config();
        c->AddRemote(TV, 0);
        c->AddRemote(TV, 1); // the same remote under another SysDBType
        c->RemoteList.Item(1)->AddButton(QStringLiteral("Питание"), TV, 1);
        QVERIFY(c->PrepareButtonList());
        QString code;
        QVERIFY(c->LookUpButtonCode(QStringLiteral("Телевизор"), QStringLiteral("Питание"), code));
        QCOMPARE(code, QStringLiteral("0000000100"));
        QCOMPARE(c->RemoteList.Item(0)->ButtonList.Count(), 0);
        // A button neither has goes to the first remote of the name, with its SysDBType.
        QVERIFY(c->LookUpButtonCode(QStringLiteral("Телевизор"), QStringLiteral("Канал+"), code));
        QCOMPARE(c->RemoteList.Item(0)->ButtonList.Count(), 1);
        QCOMPARE(c->RemoteList.Item(0)->ButtonList.Item(0)->SysDBType, 0);
    }

    void remoteNames() {
        Setup s(kShipped);
        TIRConfig *c = s.config();
        c->AddRemote(TV, 0);
        c->AddRemote(42, 0);
        QCOMPARE(c->RemoteList.Item(0)->RemoteName(), QStringLiteral("Телевизор"));
        QCOMPARE(c->RemoteList.Item(1)->RemoteName(), QStringLiteral("Не найден!!!"));
        TRemote alone; // in no list: no catalogue to ask
        alone.RemoteID = TV;
        QCOMPARE(alone.RemoteName(), QStringLiteral("Не найден!!!"));
    }

    void loadedConfigurationsReachTheCatalogue() {
        Setup s(kShipped);
        Setup::button(s.config(QStringLiteral("hall")), TV, QStringLiteral("Питание"), QStringLiteral("tv_on"));
        const QString project = dir_.filePath(QStringLiteral("reach.lpr"));
        QVERIFY(s.list.SaveToFile(project));
        Setup t(kShipped);
        QVERIFY(t.list.LoadFromFile(project));
        TIRConfig *c = t.list.ConfigByName(QStringLiteral("HALL"));
        QVERIFY(c);
        QVERIFY(c->PrepareButtonList());
        QCOMPARE(t.lines(c), QStringList({"440000600408", "45000800"}));
        QCOMPARE(t.list.ButtonsUsingLink(QStringLiteral("tv_on")), QStringList{"hall=Телевизор.Питание"});
    }

    void linkQueries() {
        Setup s(kShipped);
        TIRConfig *hall = s.config(QStringLiteral("hall"));
        Setup::button(hall, TV, QStringLiteral("Питание"), QStringLiteral("Scene"));
        Setup::button(hall, AC, QStringLiteral("Питание"), QStringLiteral("scene"));
        Setup::button(hall, TV, QStringLiteral("Канал+"), QStringLiteral("other"));
        Setup::button(s.config(QStringLiteral("kitchen")), TV, QStringLiteral("Канал-"), QStringLiteral("SCENE"));
        const QStringList users = {"hall=Телевизор.Питание", "hall=Кондиционер.Питание", "kitchen=Телевизор.Канал-"};
        QCOMPARE(s.list.ButtonsUsingLink(QStringLiteral("scene")), users);
        QVERIFY(s.list.LinkUsedByButtons(QStringLiteral("OTHER")));
        QVERIFY(!s.list.LinkUsedByButtons(QStringLiteral("none")));
        Setup::button(hall, AC, QStringLiteral("Режим"), QStringLiteral("Отсутствует"));
        Setup::button(hall, AC, QStringLiteral("Режим"));
        QVERIFY(s.list.ButtonsUsingLink(QStringLiteral("Отсутствует")).isEmpty());
        QVERIFY(!s.list.LinkUsedByButtons(QString()));

        s.project.setSaved(true);
        s.list.RenameLinkInButtons(QStringLiteral("nothing"), QStringLiteral("x"));
        QVERIFY(s.project.saved()); // nothing changed
        s.list.RenameLinkInButtons(QStringLiteral("SCENE"), QStringLiteral("evening"));
        QVERIFY(!s.project.saved());
        QVERIFY(s.list.ButtonsUsingLink(QStringLiteral("scene")).isEmpty());
        QCOMPARE(s.list.ButtonsUsingLink(QStringLiteral("Evening")), users);

        s.list.ClearLinkInButtons(QStringLiteral("evening"));
        QVERIFY(!s.list.LinkUsedByButtons(QStringLiteral("evening")));
        QCOMPARE(hall->RemoteList.Item(0)->ButtonList.Item(0)->Link, QString());
        QCOMPARE(hall->RemoteList.Item(0)->ButtonList.Item(1)->Link, QStringLiteral("other"));
    }
};

QTEST_GUILESS_MAIN(TstIRConfig)
#include "tst_irconfig.moc"
