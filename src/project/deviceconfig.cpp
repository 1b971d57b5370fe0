#include "deviceconfig.h"

#include "app/devicekind.h"

namespace deviceconfig {
namespace {

QString timerName(int k) { return QStringLiteral("Таймер_%1").arg(k); }

TTimerConfig plainTimer(int nmbr, quint8 week, const QString &name) {
    TTimerConfig t;
    t.nmbr = quint8(nmbr);
    t.week = week;
    t.name = name;
    return t;
}

void setClockTimers(TDevice &d, quint8 week, bool named) {
    d.timers.clear();
    d.timerCount = isClock(d) ? 3 : 0;
    for (int i = 1; i <= d.timerCount; ++i)
        d.timers << plainTimer(i, week, named ? timerName(i) : QString());
}

} // namespace

bool isX10(const TDevice &d) { return d.cat_num == X10CatalogueNumber; }
bool isClock(const TDevice &d) { return DeviceKind(d.cat_num) == KindClock; }

void DefaultInputs(TDevice &d) {
    d.inputs.clear();
    if (isX10(d)) {
        d.inputCount = 3;
        const QStringList names{QStringLiteral("ДОБАВИТЬ"), QStringLiteral("X10"), QStringLiteral("House")};
        for (int i = 0; i < 3; ++i) {
            TInConfig in;
            in.nmbr = quint8(i + 1);
            in.name = names[i];
            d.inputs << in;
        }
        return;
    }
    for (int i = 1; i <= d.inputCount; ++i) {
        TInConfig in;
        in.nmbr = quint8(i);
        d.inputs << in;
    }
}

void InitDeviceConfiguration(TDevice &d, const std::optional<DeviceTypeRow> &row) {
    d.inputCount = row ? quint8(row->ins) : 0;
    d.outputCount = row ? quint8(row->outs) : 0;
    d.links = {resetLink()};
    DefaultInputs(d);
    if (row)
        setClockTimers(d, 255, true);
    else {
        d.timers.clear();
        d.timerCount = 0;
    }
}

void ResetConfiguration(TDevice &d) {
    d.links = {resetLink()};
    DefaultInputs(d);
    setClockTimers(d, 0, false);
}

QString AddTimer(TDevice &d) {
    int k = 1;
    auto taken = [&d](const QString &name) {
        for (const TTimerConfig &t : d.timers)
            if (t.name.compare(name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    while (taken(timerName(k)))
        ++k;
    d.timers << plainTimer(1, 255, timerName(k));
    d.timerCount = quint8(d.timers.size());
    return timerName(k);
}

bool DeleteTimer(TDevice &d, const QString &name) {
    for (int i = 0; i < d.timers.size(); ++i) {
        if (d.timers[i].name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        d.timers.removeAt(i);
        d.timerCount = quint8(d.timers.size());
        return true;
    }
    return false;
}

bool TimerIsConfigured(const TTimerConfig &t) {
    return t.singlerun == 1 || t.week != 255 || t.downtime != 0 || t.tip != 4 || t.reset != 1 || t.gl != 0 ||
           t.invert != 1 || !t.link.isEmpty() || t.uptip != 0 || t.uptime != 0 || t.downtip != 0;
}

} // namespace deviceconfig
