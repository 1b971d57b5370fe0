#include "programcommands.h"

#include "app/textfile.h"

namespace programcommands {

namespace {

constexpr int UidLength = 6;
constexpr int TagStart = 7;  // characters 8-11
constexpr int DataStart = 12; // character 13 on
constexpr int PacketDigits = 16;

QString withoutBlanks(const QString &s) {
    QString out;
    out.reserve(s.size());
    for (QChar c : s)
        if (!c.isSpace())
            out += c;
    return out;
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

QString lineLengthMessage() { return QStringLiteral("Ошибка в длине строки файла!"); }

TProgCommandList cutLine(const QString &line) {
    const QString uid = line.left(UidLength);
    const QString tag = line.mid(TagStart, 4);
    const QString data = withoutBlanks(line.mid(DataStart));
    if (tag == QLatin1String("CMND"))
        return {{uid, data}};
    // A code line travels as three packets; the last one carries its address.
    // Data past what the three hold (19 bytes) is not sent.
    TProgCommandList rows;
    int used = 0;
    for (const QString &head : {QStringLiteral("81"), QStringLiteral("82"), QStringLiteral("80") + tag}) {
        const QString part = data.mid(used, qMax(0, PacketDigits - int(head.size())));
        used += part.size();
        rows.append({uid, head + part});
    }
    return rows;
}

Reading readOutputFile(const QString &path) {
    Reading r;
    QStringList lines;
    if (!textfile::readLines(path, lines, &r.error))
        return r;
    for (const QString &line : lines) {
        if (line.size() <= UidLength) {
            r.error = lineLengthMessage();
            return r;
        }
        r.rows += cutLine(line);
    }
    return r;
}

bool packetBytes(const QString &packet, QByteArray &bytes) {
    if (packet.size() % 2 != 0)
        return false;
    bytes.clear();
    for (int i = 0; i < packet.size(); i += 2) {
        const int high = hexDigit(packet[i]), low = hexDigit(packet[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.append(char(high << 4 | low));
    }
    return true;
}

} // namespace programcommands
