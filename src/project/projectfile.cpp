#include "projectfile.h"

#include "aliasname.h"
#include "lexis.h"

#include <optional>

namespace projectfile {

QString hex6(quint32 value) { return QStringLiteral("%1").arg(value, 6, 16, QLatin1Char('0')).toUpper(); }

QStringList deviceBlock(int index, const QString &alias, const QString &uid, const QString &addr, int catNum,
                        int release, const QString &softVer, const QString &hardVer) {
    return {
        QStringLiteral("device(%1);").arg(index),
        QStringLiteral("    alias    = %1;").arg(alias),
        QStringLiteral("    uid      = %1;").arg(uid),
        QStringLiteral("    UniqAddr = %1;").arg(addr),
        QStringLiteral("    cat_num  = %1;").arg(catNum),
        QStringLiteral("    release  = %1;").arg(release),
        QStringLiteral("    SoftVer  = %1;").arg(softVer),
        QStringLiteral("    HardVer  = %1;").arg(hardVer),
        QStringLiteral("end;"),
    };
}

QStringList projectLines(const TDeviceArray &devices, quint8 speed) {
    QStringList lines{QStringLiteral("project;"), QStringLiteral("devicecount = %1;").arg(devices.size())};
    for (int i = 0; i < devices.size(); ++i) {
        const TDevice &d = devices[i];
        lines << deviceBlock(i + 1, d.alias, hex6(d.uidValue()), hex6(d.addressValue()), d.cat_num, d.release,
                             QString::number(d.SoftVer), QString::number(d.HardVer));
    }
    lines << QStringLiteral("speed = %1;").arg(speed) << QStringLiteral("endproject;");
    return lines;
}

namespace {

bool sameWord(const QString &a, const char *b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }

// The value of a line "key = value ;" (exactly four tokens).
std::optional<QString> valueOf(const QStringList &t, const char *key) {
    if (t.size() != 4 || !sameWord(t[0], key) || t[1] != QLatin1String("=") || t[3] != QLatin1String(";"))
        return std::nullopt;
    return t[2];
}

// Reading stops at the first error; the message travels as the exception.
struct Failure {
    QString message;
};

class Reader {
public:
    Reader(const QStringList &lines, const std::function<void(const QString &)> &warn) : lines_(lines), warn_(warn) {}

    void read(Content &out) {
        if (lines_.isEmpty())
            throw Failure{QStringLiteral("Файл проекта пуст")};
        const QStringList first = next();
        if (first.isEmpty() || first[0] != QLatin1String("project"))
            throw Failure{QStringLiteral("Отсутствует признак начала проекта - \"project\"")};
        const int count = deviceCount();
        for (int i = 1; i <= count; ++i)
            out.devices << device(i, out.devices);
        out.speed = speed();
        const QStringList end = next();
        if (end.size() != 2 || !sameWord(end[0], "endproject") || end[1] != QLatin1String(";"))
            throw Failure{QStringLiteral("Ошибка признака окончания файла проекта - \"ENDPROJECT\"")};
    }

private:
    // Tokens of the next line; a missing line reads as a line without tokens.
    QStringList next() { return line_ < lines_.size() ? lexis::splitTokens(lines_[line_++]) : QStringList(); }

    int deviceCount() {
        const QStringList t = next();
        if (t.size() < 2 || !sameWord(t[0], "devicecount") || t[1] != QLatin1String("="))
            throw Failure{QStringLiteral("Ошибка чтения количества устройств в проекте")};
        quint64 v = 0;
        if (t.size() < 3 || !lexis::readDecimal(t[2], &v) || v > 0x7FFFFFFF)
            throw Failure{QStringLiteral("Ошибка чтения количетсва устройств в проекте")};
        return int(v);
    }

    // A value line of the device block with its own message.
    QString value(const char *key, const char *message) {
        const std::optional<QString> v = valueOf(next(), key);
        if (!v)
            throw Failure{QString::fromUtf8(message)};
        return *v;
    }

    quint64 decimal(const char *key, const char *message, quint64 max) {
        quint64 v = 0;
        const QString text = value(key, message);
        if (!lexis::isDecimal(text))
            throw Failure{QString::fromUtf8(message)};
        if (!lexis::readDecimal(text, &v) || v > max)
            throw Failure{QStringLiteral("Ошибка формата файла проекта")};
        return v;
    }

    TDevice device(int index, const TDeviceArray &earlier) {
        const QStringList head = next();
        if (head.size() < 3 || !sameWord(head[0], "device"))
            throw Failure{QStringLiteral("Ошибка чтения данных об устройстве")};
        quint64 n = 0;
        if (!lexis::readDecimal(head[2], &n) || n != quint64(index))
            throw Failure{QStringLiteral("Ошибка чтения блока устройства")};

        TDevice d;
        d.alias = value("alias", "Ошибка чтения названия устройства");
        if (!aliasProblem(d.alias).isEmpty())
            throw Failure{QStringLiteral("Ошибка чтения названия устройства")};
        for (const TDevice &e : earlier)
            if (e.alias.compare(d.alias, Qt::CaseInsensitive) == 0)
                throw Failure{QStringLiteral("Обнаружено два устройства с алисом = ") + d.alias};

        quint64 uid = 0;
        d.uid = value("uid", "Ошибка чтения UID устройства");
        if (!lexis::readHex(d.uid, &uid) || uid > 0xFFFFFF)
            throw Failure{QStringLiteral("Ошибка чтения UID устройства")};
        if (uid != 0 && findValue(earlier, uid, &TDevice::uidValue))
            warn_(QStringLiteral("Обнаружено два устройства с UID =") + d.uid);

        quint64 addr = 0;
        d.UniqAddr = value("UniqAddr", "Ошибка чтения уникального адреса устройства");
        if (!lexis::readHex(d.UniqAddr, &addr)) {
            if (lexis::isHexDigits(d.UniqAddr)) // too long for any number
                throw Failure{QStringLiteral("Ошибка чтения уникального адреса - значение превышает допустимое")};
            throw Failure{QStringLiteral("Ошибка чтения уникального адреса устройства")};
        }
        if (addr > 0x3FFF)
            throw Failure{QStringLiteral("Ошибка чтения уникального адреса - значение превышает допустимое")};
        if (addr != 0 && findValue(earlier, addr, &TDevice::addressValue))
            warn_(QStringLiteral("Обнаружено два устройства с уникальным адресом = ") + d.UniqAddr);

        d.cat_num = qint32(decimal("cat_num", "Ошибка чтения каталожного номера устройства", 0x7FFFFFFF));
        d.release = qint32(decimal("release", "Ошибка чтения Release устройства", 0x7FFFFFFF));
        d.SoftVer = quint8(decimal("softver", "Ошибка чтения SoftVer устройства", ~quint64(0)) % 256);
        d.HardVer = quint8(decimal("hardver", "Ошибка чтения HardVer устройства", ~quint64(0)) % 256);

        const QStringList end = next();
        if (end.size() != 2 || !sameWord(end[0], "end") || end[1] != QLatin1String(";"))
            throw Failure{QStringLiteral("Отсутствует окончание блока описания устройства")};
        return d;
    }

    static bool findValue(const TDeviceArray &devices, quint64 v, quint32 (TDevice::*get)() const) {
        for (const TDevice &e : devices)
            if ((e.*get)() == v)
                return true;
        return false;
    }

    quint8 speed() {
        const QStringList t = next();
        const bool negative = t.size() == 5 && t[2] == QLatin1String("-");
        const int digits = negative ? 3 : 2;
        quint64 v = 0;
        if ((t.size() != 4 && !negative) || !sameWord(t[0], "speed") || t[1] != QLatin1String("=") ||
            t.last() != QLatin1String(";") || !lexis::readDecimal(t[digits], &v))
            throw Failure{QStringLiteral("Ошибка чтения скорости сети")};
        // Kept in 8 bits as the device stores it: -1 becomes 255.
        return quint8(negative ? (256 - v % 256) % 256 : v % 256);
    }

    const QStringList &lines_;
    const std::function<void(const QString &)> &warn_;
    qsizetype line_ = 0;
};

} // namespace

QString read(const QStringList &lines, Content &out, const std::function<void(const QString &)> &warn) {
    out = Content();
    try {
        Reader(lines, warn).read(out);
    } catch (const Failure &f) {
        return f.message;
    }
    return QString();
}

} // namespace projectfile
