#include "packet.h"

QByteArray TPacket::dataBytes() const {
    const int n = qMin(length(), MaxData);
    return QByteArray(reinterpret_cast<const char *>(b.data() + DataStart), n);
}

uint32_t TPacket::header() const { return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3]; }

void TPacket::setHeader(uint32_t id) {
    b[0] = uint8_t(id >> 24);
    b[1] = uint8_t(id >> 16);
    b[2] = uint8_t(id >> 8);
    b[3] = uint8_t(id);
}

namespace {
// The length byte takes the caller's count as it is (the sender drops
// records longer than 8); only 8 data bytes fit the record.
TPacket withData(uint32_t id, const QByteArray &data) {
    TPacket p;
    p.setHeader(id);
    p.b[TPacket::LengthByte] = uint8_t(data.size());
    for (int i = 0; i < data.size() && i < TPacket::MaxData; ++i)
        p.b[TPacket::DataStart + i] = uint8_t(data[i]);
    return p;
}
} // namespace

TPacket uidPacket(uint32_t uid, const QByteArray &data) { return withData(uid & 0xFFFFFF, data); }

uint32_t addressId(uint16_t sender, uint16_t receiver) {
    return uint32_t(0x10000000u + uint32_t(receiver) + uint32_t(sender) * 16384u);
}

TPacket addressPacket(uint16_t sender, uint16_t receiver, const QByteArray &data) {
    return withData(addressId(sender, receiver), data);
}

uint32_t PacketUid(const TPacket &p) { return uint32_t(p.b[1]) << 16 | uint32_t(p.b[2]) << 8 | p.b[3]; }

QString packetRendering(const TPacket &p) {
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(p.b.data()), TPacket::Size).toHex().toUpper());
}

QString hexWithBlanks(const QByteArray &bytes) {
    QString s;
    s.reserve(bytes.size() * 3);
    for (char c : bytes)
        s += hexText(uint8_t(c), 2) + QLatin1Char(' ');
    return s;
}

QByteArray HexToBytes(const QString &text, bool *ok) {
    QByteArray out;
    if (ok)
        *ok = true;
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        bool pairOk = false;
        const uint v = QStringView(text).mid(i, 2).toUInt(&pairOk, 16);
        // toUInt accepts a sign or blank; a pair must be two hex digits.
        const bool digits = text[i].isLetterOrNumber() && text[i + 1].isLetterOrNumber();
        if (!pairOk || !digits) {
            if (ok)
                *ok = false;
            return {};
        }
        out.append(char(v));
    }
    return out;
}

QByteArray packetTextBytes(const QString &text, bool *ok) {
    QString compact = text;
    compact.remove(QLatin1Char(' '));
    return HexToBytes(compact, ok);
}

QString hexText(qulonglong value, int width) {
    return QString::number(value, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}
