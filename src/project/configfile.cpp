#include "configfile.h"

#include "deviceconfig.h"
#include "lexis.h"

#include <QLocale>

namespace configfile {

QString dateText(double days) {
    QString s = QString::number(days, 'g', 15);
    return s.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

namespace {

void addInputLines(QStringList &out, const TInConfig &in, bool x10) {
    out << QStringLiteral("    nmbr  = %1").arg(in.nmbr) << QStringLiteral("    tip   = %1").arg(in.tip)
        << QStringLiteral("    reset = %1").arg(in.reset) << QStringLiteral("    gl    = %1").arg(in.gl)
        << QStringLiteral("    invert= %1").arg(in.invert) << QStringLiteral("    link  = ") + in.link;
    if (x10)
        out << QStringLiteral("    name  = ") + in.name;
    else
        out << QStringLiteral("    stepup= %1").arg(in.stepup) << QStringLiteral("  stepdown= %1").arg(in.stepdown)
            << QStringLiteral("stepevents= %1").arg(in.stepevents);
}

void addTimerLines(QStringList &out, const TTimerConfig &t) {
    out << QStringLiteral(" name     = ") + t.name << QStringLiteral(" nmbr     = %1").arg(t.nmbr)
        << QStringLiteral(" tip      = %1").arg(t.tip) << QStringLiteral(" reset    = %1").arg(t.reset)
        << QStringLiteral(" gl       = %1").arg(t.gl) << QStringLiteral(" invert   = %1").arg(t.invert)
        << QStringLiteral(" link     = ") + t.link << QStringLiteral(" uptip    = %1").arg(t.uptip)
        << QStringLiteral(" uptime   = %1").arg(t.uptime) << QStringLiteral(" downtip  = %1").arg(t.downtip)
        << QStringLiteral(" downtime = %1").arg(t.downtime) << QStringLiteral(" week     = %1").arg(t.week)
        << QStringLiteral(" timertip = %1").arg(t.timertip) << QStringLiteral(" singlerun= %1").arg(t.singlerun)
        << QStringLiteral(" yrdateon = ") + dateText(t.yrdateon)
        << QStringLiteral(" yrdateoff= ") + dateText(t.yrdateoff) << QStringLiteral(" holiday  = %1").arg(t.holiday)
        << QStringLiteral(" rand1    = %1").arg(t.rand1) << QStringLiteral(" rand2    = %1").arg(t.rand2);
}

} // namespace

QStringList configurationLines(const TGlobalLinksArray &globals, const TDeviceArray &devices) {
    QStringList out{QStringLiteral("global_links_count = %1").arg(globals.size())};
    for (const TGlobalLink &g : globals)
        out << g.name + QLatin1Char(';') + g.description;
    for (const TDevice &d : devices) {
        out << QStringLiteral("device = ") + d.alias << QStringLiteral("links_count = %1").arg(d.links.size());
        for (const TLocalLink &l : d.links)
            out << l.name + QLatin1Char(';') + l.description;
        out << QStringLiteral("inputs_count = %1").arg(d.inputCount);
        for (int i = 0; i < d.inputCount && i < d.inputs.size(); ++i)
            addInputLines(out, d.inputs[i], deviceconfig::isX10(d));
        out << QStringLiteral("timers_count = %1").arg(d.timerCount);
        for (int i = 0; i < d.timerCount && i < d.timers.size(); ++i)
            addTimerLines(out, d.timers[i]);
    }
    return out;
}

namespace {
QString hex4(int v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')).toUpper(); }
} // namespace

void assignGlobalLinkIds(TGlobalLinksArray &globals) {
    for (int i = 0; i < globals.size(); ++i) {
        globals[i].numberText = QStringLiteral("0x") + hex4(i + 1);
        globals[i].idText = QStringLiteral("0x") + hex4(0x800 + i);
        globals[i].devices.clear();
    }
}

namespace {

struct Failure {
    QString message;
};

QString generalError() { return QStringLiteral("Ошибка чтения файла конфигурации"); }

class Reader {
public:
    explicit Reader(const QStringList &lines) : lines_(lines) {}

    void read(TGlobalLinksArray &globals, TDeviceArray &devices) {
        const QStringList head = tokens();
        quint64 count = 0;
        if (head.size() < 3 || !sameWord(head[0], "global_links_count") || head[1] != QLatin1String("=") ||
            !lexis::readDecimal(head[2], &count))
            throw Failure{QStringLiteral("Ошибка чтения количества глобальных линков проекта!")};
        for (quint64 i = 0; i < count; ++i) {
            const TLocalLink l = link();
            TGlobalLink g;
            g.name = l.name;
            g.description = l.description;
            globals << g;
        }
        for (TDevice &d : devices)
            device(d);
    }

private:
    static bool sameWord(const QString &a, const char *b) {
        return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
    }

    bool atEnd() const { return line_ >= lines_.size(); }
    QString rawLine() {
        if (atEnd())
            throw Failure{generalError()};
        return lines_[line_++];
    }
    QStringList tokens() { return lexis::splitTokens(rawLine()); }

    // A link line: name and description around the first ";", as they stand.
    TLocalLink link() {
        const QString line = rawLine();
        TLocalLink l;
        const qsizetype semi = line.indexOf(QLatin1Char(';'));
        if (semi >= 0) {
            l.name = line.left(semi);
            l.description = line.mid(semi + 1);
            return l;
        }
        const QStringList t = lexis::splitTokens(line);
        if (t.isEmpty())
            throw Failure{generalError()};
        l.name = t[0];
        return l;
    }

    // The value of a "key = value" line: its third token, a decimal number.
    quint64 number(quint64 max = ~quint64(0)) {
        const QStringList t = tokens();
        quint64 v = 0;
        if (t.size() < 3 || !lexis::readDecimal(t[2], &v) || v > max)
            throw Failure{generalError()};
        return v;
    }
    quint8 byte() { return quint8(number() % 256); }
    qint32 int32() { return qint32(number(0x7FFFFFFF)); }

    // A "key = value" line whose value is taken only when it is one word.
    void word(QString &target) {
        const QStringList t = tokens();
        if (t.size() == 3)
            target = t[2];
    }

    // A count line "key = number" with the key compared.
    quint64 count(const char *key, const QString &message) {
        const QStringList t = tokens();
        quint64 v = 0;
        if (t.size() < 3 || !sameWord(t[0], key) || t[1] != QLatin1String("=") || !lexis::readDecimal(t[2], &v))
            throw Failure{message};
        return v;
    }

    // Runs one block; any failure inside it is reported with the block's message.
    template <typename F> void block(const QString &message, F body) {
        try {
            body();
        } catch (const Failure &) {
            throw Failure{message};
        }
    }

    bool nextStartsWith(const char *word) const {
        if (atEnd())
            return false;
        const QStringList t = lexis::splitTokens(lines_[line_]);
        return !t.isEmpty() && t[0] == QLatin1String(word);
    }

    void device(TDevice &d) {
        const QStringList head = tokens();
        if (head.size() < 3 || !sameWord(head[0], "device") || head[1] != QLatin1String("=") || head[2] != d.alias)
            throw Failure{QStringLiteral("Ошибка чтения блока конфигурации устройства  ") + d.alias};
        const QString countMessage = QStringLiteral("Ошибка чтения количества локальных линков устройства ") + d.alias;
        const quint64 links = count("links_count", countMessage);
        if (links == 0)
            throw Failure{countMessage};
        d.links.clear();
        for (quint64 i = 0; i < links; ++i)
            d.links << link();
        inputs(d, count("inputs_count", countMessage));
        timers(d, countMessage);
    }

    QString inputMessage(int position, const TDevice &d) const {
        return QStringLiteral("Ошибка чтения конфигурации для входа №%1 устройства %2").arg(position).arg(d.alias);
    }

    void inputs(TDevice &d, quint64 written) {
        if (!deviceconfig::isX10(d)) {
            // The catalogue, not the file, says how many inputs the type has.
            for (int i = 0; i < d.inputCount && i < d.inputs.size(); ++i)
                block(inputMessage(i + 1, d), [&] { plainInput(d.inputs[i]); });
            return;
        }
        if (written == 0) {
            deviceconfig::DefaultInputs(d);
            return;
        }
        // The blocks read replace the three default X10 inputs.
        d.inputs.clear();
        d.inputCount = quint8(written % 256);
        for (int i = 0; i < d.inputCount; ++i) {
            TInConfig in;
            block(inputMessage(i + 1, d), [&] {
                commonInput(in);
                word(in.name);
            });
            d.inputs << in;
        }
    }

    void commonInput(TInConfig &in) {
        in.nmbr = byte();
        in.tip = int32();
        in.reset = byte();
        in.gl = byte();
        in.invert = byte();
        word(in.link);
    }

    void plainInput(TInConfig &in) {
        commonInput(in);
        if (nextStartsWith("stepup")) {
            in.stepup = byte();
            in.stepdown = byte();
            in.stepevents = byte();
        }
    }

    void timers(TDevice &d, const QString &countMessage) {
        d.timers.clear();
        d.timerCount = 0;
        if (atEnd())
            return;
        const QStringList t = lexis::splitTokens(lines_[line_]);
        if (t.size() < 2 || !sameWord(t[0], "timers_count") || t[1] != QLatin1String("="))
            return; // an older file: no timers, the line belongs to the next device
        const int n = int(count("timers_count", countMessage) % 256);
        for (int i = 1; i <= n; ++i) {
            TTimerConfig tm;
            block(QStringLiteral("Ошибка чтения конфигурации таймера №%1 устройства %2").arg(i).arg(d.alias),
                  [&] { timer(tm, i); });
            d.timers << tm;
            d.timerCount = quint8(d.timers.size());
        }
    }

    void timer(TTimerConfig &t, int position) {
        const QStringList name = atEnd() ? QStringList() : tokens();
        t.name = name.size() >= 3 ? name[2] : QStringLiteral("Таймер_%1").arg(position);
        t.nmbr = byte();
        t.tip = int32();
        t.reset = byte();
        t.gl = byte();
        t.invert = byte();
        word(t.link);
        t.uptip = int32();
        t.uptime = int32();
        t.downtip = int32();
        t.downtime = int32();
        t.week = byte();
        if (nextStartsWith("timertip")) {
            t.timertip = byte();
            t.singlerun = byte();
            // Dates are tokenized too: a fraction after "." or "," is not kept.
            t.yrdateon = double(number());
            t.yrdateoff = double(number());
            t.holiday = byte();
        }
        if (nextStartsWith("rand1")) {
            t.rand1 = int32();
            t.rand2 = int32();
        }
    }

    const QStringList &lines_;
    qsizetype line_ = 0;
};

} // namespace

QString read(const QStringList &lines, TGlobalLinksArray &globals, TDeviceArray &devices) {
    try {
        Reader(lines).read(globals, devices);
    } catch (const Failure &f) {
        return f.message;
    }
    return QString();
}

} // namespace configfile
