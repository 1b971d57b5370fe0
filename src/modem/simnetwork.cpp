#include "simnetwork.h"

#include "app/textfile.h"

#include <QHash>

uint32_t simTypeWordFor(uint32_t catNum) {
    static const QHash<uint32_t, uint32_t> words = {
        {100, 0x00020100}, {150, 0x00020200}, {300, 0x00030100}, {400, 0x00030200},
        {500, 0x00040100}, {550, 0x00040200}, {1010, 0x00080100}, {2000, 0x00090100}};
    return words.value(catNum, 0);
}

namespace {

// key=value words after the line's kind; a bare word is a flag ("silent").
struct Words {
    QHash<QString, QString> values;
    QString error;

    bool number(const QString &key, uint32_t &out, int base, uint32_t max) {
        if (!values.contains(key))
            return true;
        bool ok = false;
        const qulonglong v = values.value(key).toULongLong(&ok, base);
        if (!ok || v > max) {
            error = QStringLiteral("неверное значение %1=%2").arg(key, values.value(key));
            return false;
        }
        out = uint32_t(v);
        return true;
    }
    template <typename T> bool field(const QString &key, T &out, int base, uint32_t max) {
        uint32_t v = uint32_t(out);
        if (!number(key, v, base, max))
            return false;
        out = T(v);
        return true;
    }
};

Words splitWords(const QStringList &parts) {
    Words w;
    for (const QString &p : parts) {
        const qsizetype eq = p.indexOf(QLatin1Char('='));
        w.values.insert(eq < 0 ? p.toLower() : p.left(eq).toLower(), eq < 0 ? QString() : p.mid(eq + 1));
    }
    return w;
}

bool readModem(Words &w, SimNetworkSpec &spec) {
    return w.field(QStringLiteral("uid"), spec.modemUid, 16, 0xFFFFFF) &&
           w.field(QStringLiteral("addr"), spec.modemAddr, 16, 0x3FFF) &&
           w.field(QStringLiteral("can"), spec.modemCanSpeed, 10, 3) &&
           w.field(QStringLiteral("uart"), spec.modemUartSpeed, 10, 5);
}

bool readDevice(Words &w, SimDeviceSpec &d) {
    if (!w.values.contains(QStringLiteral("uid"))) {
        w.error = QStringLiteral("нет uid");
        return false;
    }
    const QString scan = w.values.value(QStringLiteral("scan"), QStringLiteral("both")).toLower();
    if (scan != QLatin1String("0") && scan != QLatin1String("1") && scan != QLatin1String("both")) {
        w.error = QStringLiteral("scan должен быть 0, 1 или both");
        return false;
    }
    d.scan0 = scan != QLatin1String("1");
    d.scan1 = scan != QLatin1String("0");
    d.silent = w.values.contains(QStringLiteral("silent"));
    if (!(w.field(QStringLiteral("uid"), d.uid, 16, 0xFFFFFF) && w.field(QStringLiteral("addr"), d.addr, 16, 0x3FFF) &&
          w.field(QStringLiteral("cat"), d.catNum, 10, 0xFFFFFF) && w.field(QStringLiteral("release"), d.release, 10, 255) &&
          w.field(QStringLiteral("soft"), d.soft, 10, 0xFFFF) && w.field(QStringLiteral("hard"), d.hard, 10, 255) &&
          w.field(QStringLiteral("boot"), d.boot, 10, 255) && w.field(QStringLiteral("type"), d.typeWord, 16, 0xFFFFFFFF) &&
          w.field(QStringLiteral("can"), d.canSpeed, 10, 3)))
        return false;
    if (!w.values.contains(QStringLiteral("type")))
        d.typeWord = simTypeWordFor(d.catNum);
    return true;
}

} // namespace

bool parseSimNetwork(const QString &text, SimNetworkSpec &spec, QString *error) {
    SimNetworkSpec out;
    const QStringList lines = textfile::splitLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString kind = parts.takeFirst().toLower();
        Words w = splitWords(parts);
        bool ok = false;
        if (kind == QLatin1String("modem")) {
            ok = readModem(w, out);
        } else if (kind == QLatin1String("device")) {
            SimDeviceSpec d;
            ok = readDevice(w, d);
            out.devices.append(d);
        } else if (kind == QLatin1String("faults")) {
            ok = parseSimFaults(parts.join(QLatin1Char(',')), out.faults, &w.error);
        } else {
            w.error = QStringLiteral("неизвестная строка \"%1\"").arg(kind);
        }
        if (!ok) {
            if (error)
                *error = QStringLiteral("строка %1: %2").arg(i + 1).arg(w.error);
            return false;
        }
    }
    spec = out;
    return true;
}

bool readSimNetwork(const QString &path, SimNetworkSpec &spec, QString *error) {
    QString text;
    if (!textfile::readText(path, text, error))
        return false;
    QString why;
    if (parseSimNetwork(text, spec, &why))
        return true;
    if (error)
        *error = QStringLiteral("%1: %2").arg(path, why);
    return false;
}

bool parseSimFaults(const QString &text, SimFaults &faults, QString *error) {
    SimFaults f;
    Words w = splitWords(text.split(QLatin1Char(','), Qt::SkipEmptyParts));
    for (auto it = w.values.cbegin(); it != w.values.cend(); ++it) {
        static const QStringList known = {QStringLiteral("latency"), QStringLiteral("drop"), QStringLiteral("corrupt"),
                                          QStringLiteral("garbage"), QStringLiteral("mute")};
        if (!known.contains(it.key())) {
            if (error)
                *error = QStringLiteral("неизвестная помеха \"%1\"").arg(it.key());
            return false;
        }
    }
    f.garbage = w.values.contains(QStringLiteral("garbage"));
    bool ok = w.field(QStringLiteral("latency"), f.latencyMs, 10, 60000) &&
              w.field(QStringLiteral("drop"), f.dropEvery, 10, 1000000) &&
              w.field(QStringLiteral("corrupt"), f.corruptEvery, 10, 1000000);
    if (ok && w.values.contains(QStringLiteral("mute"))) {
        // mute=UID or mute=UID:ANSWERS
        const QStringList m = w.values.value(QStringLiteral("mute")).split(QLatin1Char(':'));
        Words mw;
        mw.values.insert(QStringLiteral("uid"), m.value(0));
        mw.values.insert(QStringLiteral("after"), m.value(1, QStringLiteral("0")));
        f.muteAfter = 0;
        ok = mw.field(QStringLiteral("uid"), f.muteUid, 16, 0xFFFFFF) &&
             mw.field(QStringLiteral("after"), f.muteAfter, 10, 1000000);
        w.error = mw.error;
    }
    if (!ok) {
        if (error)
            *error = w.error;
        return false;
    }
    faults = f;
    return true;
}

SimNetworkSpec defaultSimNetwork() {
    SimNetworkSpec spec;
    parseSimNetwork(QStringLiteral("modem uid=00A001 addr=0001\n"
                                   "device uid=001001 addr=0010 cat=100 release=1 soft=258 hard=2 boot=3 scan=both\n"
                                   "device uid=001002 addr=0011 cat=300 release=2 soft=513 hard=1 boot=4 scan=1\n"
                                   "device uid=001003 addr=0012 cat=1010 scan=0\n"),
                    spec, nullptr);
    return spec;
}
