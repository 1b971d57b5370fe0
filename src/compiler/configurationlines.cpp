// The configuration commands of a device's command list: initial values
// of variables, unique address, inputs, timers, IR buttons, link table
// entries and the network speed.
#include "analis.h"
#include "compilertext.h"
#include "irconfig.h"

#include "project/project.h"

#include <QDate>

using compilertext::hex;

namespace {

constexpr int X10CatalogueNumber = 1010;

// Devices whose inputs count the invert flag the other way round.
bool invertsInputFlag(int catNum) {
    static const QSet<int> numbers = {100, 150, 300, 350, 400, 450, 500, 550, 2000, 102, 152, 302, 352,
                                      402, 452, 502, 552, 2002, 103, 153, 303, 353, 403, 453, 503, 553, 2003};
    return numbers.contains(catNum);
}

int inputTypeFlags(int tip) {
    switch (tip) {
    case 1: return 3;
    case 2: return 33;
    case 3: return 1;
    case 4: return 5;
    default: return 0;
    }
}

// The X10 address of an input name: "A1" is 0, "B3" is 18; "x10" and
// "house" have their own. Nothing when the name is none of these forms.
std::optional<int> x10Address(const QString &name) {
    if (name.compare(QLatin1String("x10"), Qt::CaseInsensitive) == 0)
        return 257;
    if (name.compare(QLatin1String("house"), Qt::CaseInsensitive) == 0)
        return 256;
    if (name.isEmpty())
        return std::nullopt;
    const std::optional<qint32> unit = compilertext::IntegerText(name.mid(1));
    if (!unit)
        return std::nullopt;
    const qint64 x = qint64(name[0].unicode() - 65) * 16 + *unit - 1;
    if (x < 0 || x > 0xFFFF)
        return std::nullopt;
    return int(x);
}

// Day and month of a date stored as days since 30 December 1899.
QString dayMonth(double days) {
    const QDate date = QDate(1899, 12, 30).addDays(qint64(std::floor(qBound(-1e7, days, 1e7))));
    return QStringLiteral("%1%2").arg(date.day(), 2, 10, QLatin1Char('0')).arg(date.month(), 2, 10, QLatin1Char('0'));
}

} // namespace

void TAnalis::indexProject() {
    indexDevices();
    FGlobalExact.clear();
    const TGlobalLinksArray &globals = FProject->globalLinks();
    for (int g = 0; g < globals.size(); ++g)
        compilertext::insertFirst(FGlobalExact, globals[g].name, g);
    FGlobalCount = globals.size();
    FInputLinks.clear();
    FTimerLinkDevices.clear();
    const TDeviceArray &devices = FProject->devices();
    for (int i = 0; i < devices.size(); ++i) {
        const TDevice &d = devices[i];
        for (int k = 0; k < d.inputCount && k < d.inputs.size(); ++k)
            FInputLinks.insert(d.inputs[k].link);
        for (int k = 0; k < d.timerCount && k < d.timers.size(); ++k) {
            QList<int> &users = FTimerLinkDevices[d.timers[k].link];
            if (users.isEmpty() || users.last() != i)
                users.append(i);
        }
    }
}

int TAnalis::globalLinkExact(const QString &name) const {
    ensureIndexes();
    return FGlobalExact.value(name, -1);
}

// The link table lines of an input or timer that runs link: head + the
// link's id; a local link adds its A2 entry. Nothing for no link.
void TAnalis::appendLinkLines(const QString &link, const QString &cmnd, const QString &head) {
    const int g = globalLinkExact(link);
    if (g >= 0) {
        appendLine(cmnd + head + ValueToHex(FProject->globalLinks()[g].idText, 4));
        return;
    }
    const auto l = FLocalLinkIndex.constFind(link);
    if (l == FLocalLinkIndex.constEnd())
        return;
    const TLocalLink &local = FLocalLinks[*l];
    const QString id = ValueToHex(local.idText, 4);
    appendLine(cmnd + head + id);
    appendLine(cmnd + QStringLiteral("A2") + ValueToHex(local.numberText, 2) + id + local.codeAddressText);
}

bool TAnalis::writeConfigurationLines(const TDevice &d, const QString &u, const QStringList &kept, TIRConfig *ir) {
    const QString cmnd = u + QStringLiteral(":CMND:");
    const TVariableTable &vars = Tables().variables;
    for (int i : vars.OfDevice(d.alias)) {
        const TVars &v = vars.items()[i];
        if (v.initValue != TVars::NoInitialValue)
            appendLine(cmnd + QStringLiteral("2A") + hex(v.size == TVars::Word ? 3 : 2, 2) + hex(v.address, 4) +
                       hex(v.initValue, 6));
    }
    appendLine(cmnd + QStringLiteral("A200") + hex(d.addressValue(), 4) + QStringLiteral("FFFF"));
    if (!writeInputLines(d, cmnd))
        return false;
    writeTimerLines(d, cmnd);
    if (ir) {
        QStringList buttons;
        ir->WriteButtonLines(cmnd, buttons);
        for (const QString &line : buttons)
            appendLine(line);
    }
    for (const QString &line : kept)
        appendLine(line);
    appendLine(cmnd + QStringLiteral("70") + hex(FProject->networkSpeed(), 2));
    return true;
}

bool TAnalis::writeInputLines(const TDevice &d, const QString &cmnd) {
    const bool x10 = d.cat_num == X10CatalogueNumber;
    const int count = qMin<int>(d.inputCount, d.inputs.size());
    QList<int> x10Addresses(count, -1); // -1: the input gives no lines
    for (int i = 0; i < count; ++i) {
        const TInConfig &in = d.inputs[i];
        int f = inputTypeFlags(in.tip);
        if (in.reset == 1)
            f += 64;
        if (in.invert == 0)
            f += 8;
        if (invertsInputFlag(d.cat_num))
            f ^= 8;
        if (in.gl == 1)
            f += 16;
        else if (globalLinkExact(in.link) >= 0)
            f |= 16;
        if (!x10) {
            appendLine(cmnd + QStringLiteral("21") + hex(i, 2) + hex(f, 2));
            appendLine(cmnd + QStringLiteral("25") + hex(i, 2) + hex(in.stepup, 2) + hex(in.stepdown, 2) +
                       hex(in.stepevents, 2));
            continue;
        }
        if (in.name.compare(QStringLiteral("Добавить"), Qt::CaseInsensitive) == 0)
            continue;
        const std::optional<int> x = x10Address(in.name);
        if (!x) {
            AddError(compilerrecords::ErrorKind, compilerrecords::GeneralCode,
                     TStatementRecord(FProject->programPath(d.alias), 0, QString()),
                     QStringLiteral("Неверное имя входа устройства X10 - \"") + in.name + QLatin1Char('"'));
            return false;
        }
        x10Addresses[i] = *x;
        appendLine(cmnd + QStringLiteral("2C") + hex(*x, 4) + hex(f, 2));
    }
    for (int i = 0; i < count; ++i) {
        if (x10 && x10Addresses[i] < 0)
            continue;
        const QString head = x10 ? QStringLiteral("2E") + hex(x10Addresses[i], 4) : QStringLiteral("23") + hex(i, 2);
        appendLinkLines(d.inputs[i].link, cmnd, head);
    }
    return true;
}

void TAnalis::writeTimerLines(const TDevice &d, const QString &cmnd) {
    const int count = qMin<int>(d.timerCount, d.timers.size());
    const int self = FProject->currentDevice();
    for (int i = 0; i < count; ++i) {
        const TTimerConfig &t = d.timers[i];
        int f = 5;
        if (t.reset == 1)
            f += 64;
        if (t.invert == 0)
            f += 8;
        if (t.gl == 1) {
            f += 16;
        } else if (globalLinkExact(t.link) >= 0) {
            const QList<int> users = FTimerLinkDevices.value(t.link);
            const bool otherTimer = std::any_of(users.cbegin(), users.cend(), [&](int dev) { return dev != self; });
            if (otherTimer || FInputLinks.contains(t.link))
                f |= 16;
        }
        int m = (t.holiday & 7);
        if (t.singlerun == 1)
            m += 32;
        if (t.timertip == 1)
            m += 8;
        else if (t.timertip == 2)
            m += 16;
        appendLine(cmnd + QStringLiteral("95") + hex(i, 2) + hex(f, 2) + hex(m, 2));
        const bool random = t.timertip == 2;
        appendLine(cmnd + QStringLiteral("96") + hex(i, 2) + hex(t.uptip, 1) + hex(t.downtip, 1) +
                   hex(random ? t.rand1 : t.uptime, 4) + hex(random ? t.rand2 : t.downtime, 4) + hex(t.week, 2));
        if (t.timertip == 1)
            appendLine(cmnd + QStringLiteral("A3") + hex(i, 2) + dayMonth(t.yrdateon) + dayMonth(t.yrdateoff));
    }
    for (int i = 0; i < count; ++i)
        appendLinkLines(d.timers[i].link, cmnd, QStringLiteral("98") + hex(i, 2));
}
