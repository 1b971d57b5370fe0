// The configuration file: defaults, exact text, reader messages and the
// forms older files take; the timer list of the current device.
#include "project/configfile.h"
#include "project/deviceconfig.h"
#include "project/project.h"

#include "app/askuser.h"
#include "projectfixture.h"

#include <QTemporaryDir>

namespace {

QStringList inputLines(int n, const QString &link = QString()) {
    return {QStringLiteral("    nmbr  = %1").arg(n), "    tip   = 4", "    reset = 1", "    gl    = 0", "    invert= 1",
            "    link  = " + link};
}

QStringList timerLines(int n, const QString &name) {
    return {" name     = " + name, QStringLiteral(" nmbr     = %1").arg(n), " tip      = 4", " reset    = 1",
            " gl       = 0", " invert   = 1", " link     = ", " uptip    = 0", " uptime   = 0", " downtip  = 0",
            " downtime = 0", " week     = 255", " timertip = 0", " singlerun= 0", " yrdateon = 0", " yrdateoff= 0",
            " holiday  = 0", " rand1    = 0", " rand2    = 0"};
}

// The text the writer gives a dimmer (4 inputs), the X10 bridge and a clock
// as they are when added, with two global links.
QStringList defaultText() {
    QStringList t{"global_links_count = 2", "lamp_on;Включить свет", "all_off;", "device = dim4", "links_count = 1",
                  "Reset;", "inputs_count = 4"};
    for (int i = 1; i <= 4; ++i)
        t << inputLines(i) << "    stepup= 70" << "  stepdown= 30" << "stepevents= 15";
    t << "timers_count = 0" << "device = x10" << "links_count = 1" << "Reset;" << "inputs_count = 3";
    const QStringList names{"ДОБАВИТЬ", "X10", "House"};
    for (int i = 1; i <= 3; ++i)
        t << inputLines(i) << "    name  = " + names[i - 1];
    t << "timers_count = 0" << "device = rtc" << "links_count = 1" << "Reset;" << "inputs_count = 0"
      << "timers_count = 3";
    for (int i = 1; i <= 3; ++i)
        t << timerLines(i, QStringLiteral("Таймер_%1").arg(i));
    return t;
}

// Index of the first line equal to text, from start on.
int lineOf(const QStringList &lines, const QString &text, int start = 0) { return int(lines.indexOf(text, start)); }

} // namespace

class TstConfigFile : public QObject {
    Q_OBJECT
    TDM *dm = openTestCatalogue(this);
    QTemporaryDir dir;

    // A saved project of the three devices; its configuration file is then
    // replaced by cfg (none: removed) and the project opened again.
    std::unique_ptr<TProject> reopen(const QStringList *cfg, ScriptedDialogs &dialogs) {
        {
            TProject p(dm);
            p.AddDevice("dim4", 1, 0, 0, 1, 150, 1);
            p.AddDevice("x10", 2, 0, 0, 1, 1010, 2);
            p.AddDevice("rtc", 3, 0, 0, 1, 2000, 3);
            p.globalLinks() << TGlobalLink{"lamp_on", "Включить свет", {}, {}, {}, {}}
                            << TGlobalLink{"all_off", "", {}, {}, {}, {}};
            p.setProjectFile(dir.filePath("p.lpr"));
            if (!p.SaveProject())
                return nullptr;
        }
        if (cfg)
            writeFile(dir.filePath("p.cfg"), *cfg);
        else
            QFile::remove(dir.filePath("p.cfg"));
        auto p = std::make_unique<TProject>(dm);
        ScopedUserDialogs scope(dialogs);
        return p->OpenProject(dir.filePath("p.lpr")) ? std::move(p) : nullptr;
    }

    static void verifyResetDefaults(const TProject &p) {
        for (const TDevice &d : p.devices()) {
            QCOMPARE(d.links.size(), 1);
            QCOMPARE(d.links[0].name, QStringLiteral("Reset"));
        }
        const TDevice &x10 = p.devices()[1];
        QCOMPARE(int(x10.inputCount), 3);
        QCOMPARE(x10.inputs[2].name, QStringLiteral("House"));
        const TDevice &rtc = p.devices()[2];
        QCOMPARE(int(rtc.timerCount), 3);
        QCOMPARE(int(rtc.timers[2].nmbr), 3);
        QCOMPARE(int(rtc.timers[2].week), 0);
        QVERIFY(rtc.timers[2].name.isEmpty());
    }

private slots:
    void catalogueDefaults_data() {
        QTest::addColumn<int>("catNum");
        QTest::addColumn<int>("inputs");
        QTest::addColumn<int>("outputs");
        QTest::addColumn<int>("timers");
        QTest::newRow("dimmer") << 150 << 4 << 4 << 0;
        QTest::newRow("input module") << 500 << 16 << 0 << 0;
        QTest::newRow("X10 bridge") << 1010 << 3 << 0 << 0;
        QTest::newRow("clock") << 2000 << 0 << 0 << 3;
        QTest::newRow("not in the catalogue") << 9999 << 0 << 0 << 0;
    }

    void catalogueDefaults() {
        QFETCH(int, catNum);
        QFETCH(int, inputs);
        QFETCH(int, outputs);
        QFETCH(int, timers);
        TProject p(dm);
        TDevice d;
        d.cat_num = catNum;
        p.InitDeviceConfiguration(d);
        QCOMPARE(int(d.inputCount), inputs);
        QCOMPARE(d.inputs.size(), inputs);
        QCOMPARE(int(d.outputCount), outputs);
        QCOMPARE(int(d.timerCount), timers);
        QCOMPARE(d.timers.size(), timers);
        QCOMPARE(d.links.size(), 1);
        QCOMPARE(d.links[0].name, QStringLiteral("Reset"));
        QCOMPARE(d.links[0].numberText, QStringLiteral("0x0001"));
        for (int i = 0; i < inputs; ++i) {
            QCOMPARE(int(d.inputs[i].nmbr), i + 1);
            QCOMPARE(d.inputs[i].tip, 4);
            QCOMPARE(int(d.inputs[i].stepup), 70);
        }
        for (int i = 0; i < timers; ++i) {
            QCOMPARE(d.timers[i].name, QStringLiteral("Таймер_%1").arg(i + 1));
            QCOMPARE(int(d.timers[i].week), 255);
            QVERIFY(!deviceconfig::TimerIsConfigured(d.timers[i]));
        }
    }

    void writerWritesTheExactText() {
        ScriptedDialogs dialogs;
        auto p = reopen(nullptr, dialogs);
        QVERIFY(p);
        // A missing file is created with the defaults of a reset...
        QVERIFY(dialogs.messages.isEmpty());
        verifyResetDefaults(*p);
        // ...and a project saved with the catalogue defaults writes exactly this.
        TProject q(dm);
        q.AddDevice("dim4", 1, 0, 0, 1, 150, 1);
        q.AddDevice("x10", 2, 0, 0, 1, 1010, 2);
        q.AddDevice("rtc", 3, 0, 0, 1, 2000, 3);
        q.globalLinks() << TGlobalLink{"lamp_on", "Включить свет", {}, {}, {}, {}}
                        << TGlobalLink{"all_off", "", {}, {}, {}, {}};
        q.setProjectFile(dir.filePath("q.lpr"));
        ScopedUserDialogs scope(dialogs);
        QVERIFY(q.SaveProject());
        QCOMPARE(fileBytes(dir.filePath("q.cfg")), crlf(defaultText()));
    }

    void fileReadsBackWhatWasWritten() {
        ScriptedDialogs dialogs;
        const QStringList cfg = defaultText();
        auto p = reopen(&cfg, dialogs);
        QVERIFY(p);
        TDevice &dim = p->device(0);
        dim.links << TLocalLink{"toggle", "Переключить; второй", {}, {}, {}};
        dim.inputs[1] = TInConfig{2, 7, 0, 1, 0, {}, "toggle", 80, 20, 10};
        TDevice &rtc = p->device(2);
        rtc.timers[0] = TTimerConfig{1, 5, 0, 1, 0, 1, 4656, 6, 48, 127, "Рассвет", "toggle", 2, 1, 40000, 40100, 3, 10, 1440};
        p->setCurrentDevice(2);
        QCOMPARE(p->AddTimer(), QStringLiteral("Таймер_1")); // the first name is free again
        QVERIFY(p->SaveProject());
        const TDeviceArray written = p->devices();

        TProject q(dm);
        ScopedUserDialogs scope(dialogs);
        QVERIFY(q.OpenProject(dir.filePath("p.lpr")));
        QVERIFY(dialogs.messages.isEmpty());
        for (int i = 0; i < written.size(); ++i) {
            QCOMPARE(q.devices()[i].inputs, written[i].inputs);
            QCOMPARE(q.devices()[i].timers, written[i].timers);
            QCOMPARE(int(q.devices()[i].timerCount), written[i].timers.size());
            QCOMPARE(q.devices()[i].links.size(), written[i].links.size());
        }
        QCOMPARE(q.devices()[0].links[1].description, QStringLiteral("Переключить; второй"));
        QCOMPARE(q.globalLinks().size(), 2);
        QCOMPARE(q.globalLinks()[1].numberText, QStringLiteral("0x0002"));
        QCOMPARE(q.globalLinks()[1].idText, QStringLiteral("0x0801"));
    }

    void readerMessages_data() {
        QTest::addColumn<QStringList>("cfg");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("globalsRead");
        const QStringList good = defaultText();
        auto with = [&good](const QString &line, const QString &replacement, int nth = 0) {
            QStringList t = good;
            int at = -1;
            for (int k = 0; k <= nth; ++k)
                at = lineOf(t, line, at + 1);
            t[at] = replacement;
            return t;
        };
        QTest::newRow("first line") << with("global_links_count = 2", "global_links = 2")
                                    << "Ошибка чтения количества глобальных линков проекта!" << 0;
        QTest::newRow("file too short") << good.mid(0, 2) << "Ошибка чтения файла конфигурации" << 1;
        QTest::newRow("alias in other letter case") << with("device = dim4", "device = DIM4")
                                                    << "Ошибка чтения блока конфигурации устройства  dim4" << 2;
        QTest::newRow("devices out of order") << with("device = x10", "device = rtc")
                                              << "Ошибка чтения блока конфигурации устройства  x10" << 2;
        QTest::newRow("no links") << with("links_count = 1", "links_count = 0")
                                  << "Ошибка чтения количества локальных линков устройства dim4" << 2;
        QTest::newRow("inputs count not a number") << with("inputs_count = 3", "inputs_count = three")
                                                   << "Ошибка чтения количества локальных линков устройства x10" << 2;
        QTest::newRow("timers count not a number") << with("timers_count = 3", "timers_count = -3")
                                                   << "Ошибка чтения количества локальных линков устройства rtc" << 2;
        QTest::newRow("negative input value") << with("    nmbr  = 1", "    nmbr  = -1")
                                              << "Ошибка чтения конфигурации для входа №1 устройства dim4" << 2;
        QTest::newRow("second input unreadable") << with("    tip   = 4", "    tip   = abc", 1)
                                                 << "Ошибка чтения конфигурации для входа №2 устройства dim4" << 2;
        QTest::newRow("X10 input unreadable") << with("    gl    = 0", "    gl    =", 6)
                                              << "Ошибка чтения конфигурации для входа №3 устройства x10" << 2;
        QTest::newRow("timer unreadable") << with(" week     = 255", " week     = -1", 1)
                                          << "Ошибка чтения конфигурации таймера №2 устройства rtc" << 2;
        QTest::newRow("file ends in a timer") << good.mid(0, good.size() - 5)
                                              << "Ошибка чтения конфигурации таймера №3 устройства rtc" << 2;
    }

    void readerMessages() {
        QFETCH(QStringList, cfg);
        QFETCH(QString, message);
        QFETCH(int, globalsRead);
        ScriptedDialogs dialogs;
        auto p = reopen(&cfg, dialogs);
        QVERIFY(p); // the project stays open
        QCOMPARE(dialogs.messages, QStringList{message});
        verifyResetDefaults(*p);
        // The global links read so far are kept, with their ids.
        QCOMPARE(p->globalLinks().size(), globalsRead);
        if (globalsRead > 0) {
            QCOMPARE(p->globalLinks()[0].name, QStringLiteral("lamp_on"));
            QCOMPARE(p->globalLinks()[0].numberText, QStringLiteral("0x0001"));
            QCOMPARE(p->globalLinks()[0].idText, QStringLiteral("0x0800"));
        }
        // The unreadable file stays on disk until the next save.
        QCOMPARE(readFile(dir.filePath("p.cfg")), cfg);
    }

    void olderAndLooserFormsAreRead() {
        QStringList cfg = defaultText();
        // Timers without the keys timertip to holiday and rand1, rand2.
        const int t1 = lineOf(cfg, " timertip = 0");
        cfg.remove(t1, 7);
        // A yearly date written with a fraction keeps its whole days only.
        cfg[lineOf(cfg, " yrdateon = 0")] = " yrdateon = 40000,5";
        cfg[lineOf(cfg, " yrdateoff= 0")] = " yrdateoff= 40001.5";
        // A link name with a blank is not taken; an empty one stays empty.
        cfg[lineOf(cfg, "    link  = ")] = "    link  = lamp on";
        cfg[lineOf(cfg, "    link  = ", lineOf(cfg, "    nmbr  = 2"))] = "    link  = lamp_on";
        // An X10 input name with a blank is read back empty.
        cfg[lineOf(cfg, "    name  = X10")] = "    name  = Living room";
        // A device without a timers line: the next device reads from there.
        cfg.removeAt(lineOf(cfg, "timers_count = 0"));
        ScriptedDialogs dialogs;
        auto p = reopen(&cfg, dialogs);
        QVERIFY(p);
        QCOMPARE(dialogs.messages, QStringList());
        const TDevice &dim = p->devices()[0];
        QVERIFY(dim.inputs[0].link.isEmpty());
        QCOMPARE(dim.inputs[1].link, QStringLiteral("lamp_on"));
        QCOMPARE(int(dim.timerCount), 0);
        QCOMPARE(p->devices()[1].inputs[1].name, QString());
        QCOMPARE(p->devices()[1].inputs[2].name, QStringLiteral("House"));
        const TDevice &rtc = p->devices()[2];
        QCOMPARE(rtc.timers.size(), 3);
        QCOMPARE(int(rtc.timers[0].timertip), 0);
        QCOMPARE(rtc.timers[0].yrdateon, 0.0);
        QCOMPARE(rtc.timers[1].yrdateon, 40000.0);
        QCOMPARE(rtc.timers[1].yrdateoff, 40001.0);
        QCOMPARE(rtc.timers[1].rand2, 0);
    }

    void x10BlocksReplaceTheDefaultInputs_data() {
        QTest::addColumn<int>("written");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("two blocks") << 2 << QStringList{"Кухня", "Зал"};
        QTest::newRow("none written") << 0 << QStringList{"ДОБАВИТЬ", "X10", "House"};
    }

    void x10BlocksReplaceTheDefaultInputs() {
        QFETCH(int, written);
        QFETCH(QStringList, names);
        QStringList cfg = defaultText();
        const int at = lineOf(cfg, "inputs_count = 3");
        cfg.remove(at, 1 + 3 * 7);
        QStringList blocks{QStringLiteral("inputs_count = %1").arg(written)};
        for (int i = 1; i <= written; ++i)
            blocks << inputLines(i) << "    name  = " + names[i - 1];
        for (int i = 0; i < blocks.size(); ++i)
            cfg.insert(at + i, blocks[i]);
        ScriptedDialogs dialogs;
        auto p = reopen(&cfg, dialogs);
        QVERIFY(p);
        QCOMPARE(dialogs.messages, QStringList());
        const TDevice &x10 = p->devices()[1];
        QCOMPARE(int(x10.inputCount), names.size());
        QStringList read;
        for (const TInConfig &in : x10.inputs)
            read << in.name;
        QCOMPARE(read, names);
    }

    void timerNamesAndState() {
        TDevice clock;
        clock.cat_num = 2000;
        deviceconfig::InitDeviceConfiguration(clock, DeviceTypeRow{});
        QVERIFY(deviceconfig::DeleteTimer(clock, QStringLiteral("таймер_2")));
        QCOMPARE(clock.timers[1].name, QStringLiteral("Таймер_3"));
        QCOMPARE(int(clock.timerCount), 2);
        QVERIFY(!deviceconfig::DeleteTimer(clock, QStringLiteral("Таймер_9")));
        QCOMPARE(deviceconfig::AddTimer(clock), QStringLiteral("Таймер_2"));
        QCOMPARE(deviceconfig::AddTimer(clock), QStringLiteral("Таймер_4"));
        QCOMPARE(int(clock.timerCount), 4);
        QCOMPARE(int(clock.timers.last().nmbr), 1);
        QCOMPARE(int(clock.timers.last().week), 255);
    }

    void timerIsConfigured_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<bool>("configured");
        QTest::newRow("untouched") << -1 << false;
        QTest::newRow("single run") << 0 << true;
        QTest::newRow("some days") << 1 << true;
        QTest::newRow("switch-off time") << 2 << true;
        QTest::newRow("type") << 3 << true;
        QTest::newRow("link") << 4 << true;
        QTest::newRow("switch-on kind") << 5 << true;
        QTest::newRow("yearly date only") << 6 << false;
        QTest::newRow("random interval only") << 7 << false;
    }

    void timerIsConfigured() {
        QFETCH(int, field);
        QFETCH(bool, configured);
        TTimerConfig t;
        switch (field) {
        case 0: t.singlerun = 1; break;
        case 1: t.week = 31; break;
        case 2: t.downtime = 0x1230; break;
        case 3: t.tip = 1; break;
        case 4: t.link = "lamp_on"; break;
        case 5: t.uptip = 1; break;
        case 6: t.yrdateon = 40000; break;
        case 7: t.rand2 = 60; break;
        default: break;
        }
        QCOMPARE(deviceconfig::TimerIsConfigured(t), configured);
    }
};

QTEST_GUILESS_MAIN(TstConfigFile)
#include "tst_configfile.moc"
