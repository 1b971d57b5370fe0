#include "commands.h"

#include "mcan.h"

namespace Commands {

namespace {
QByteArray bytes(std::initializer_list<int> list) {
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

bool byUid(TMCan *can, uint32_t uid, const QByteArray &data) {
    return can && can->TXBytes(false, uid, 0, 0, data);
}

// Address form from the modem's own address to the device.
bool byAddress(TMCan *can, uint16_t address, const QByteArray &data) {
    return can && can->TXBytes(true, 0, can->Addr(), address, data);
}

// A request whose answer is taken off the queue, then 70 to confirm it.
bool requestThenConfirm(TMCan *can, uint32_t uid, const QByteArray &data, const QString &mask) {
    if (!can)
        return false;
    TPacket p;
    const bool first = can->TXU(uid, data, 2000, mask);
    if (first)
        can->TakeAnswer(p);
    const bool second = can->TXU(uid, bytes({0x70}), 2000, QString());
    if (second)
        can->TakeAnswer(p);
    return first || second;
}
} // namespace

bool SetUniqueAddress(TMCan *can, uint32_t uid, uint16_t address) {
    return requestThenConfirm(can, uid, bytes({0xA2, 0x00, address >> 8, address & 0xFF, 0xFF, 0xFF}),
                              QStringLiteral("FF A2"));
}

bool SetCatalogueNumber(TMCan *can, uint32_t uid, uint32_t number) {
    return requestThenConfirm(can, uid, bytes({0x03, 0x00, int(number >> 16 & 0xFF), int(number >> 8 & 0xFF), int(number & 0xFF)}),
                              QStringLiteral("FF 03"));
}

bool AskInputByAddress(TMCan *can, uint16_t address, uint8_t input) {
    return can && can->PortOpened() && byAddress(can, address, bytes({0x03, input}));
}

bool RequestTemperature(TMCan *can, uint32_t uid) {
    return can && can->PortOpened() && byUid(can, uid, bytes({0x40}));
}

bool RequestAdc(TMCan *can, uint32_t uid, uint8_t input) { return byUid(can, uid, bytes({0x2F, input})); }
bool ReadErrorBuffer(TMCan *can, uint32_t uid) { return byUid(can, uid, bytes({0xF5, 0x00})); }
bool ClearErrorBuffer(TMCan *can, uint32_t uid) { return byUid(can, uid, bytes({0xF5, 0xFF})); }

bool SetErrorSending(TMCan *can, uint32_t uid, bool allow) {
    return byUid(can, uid, bytes({0xFA, allow ? 0x00 : 0xFF, 0x00}));
}

bool RebootCountersCommand(TMCan *can, uint32_t uid, bool read) {
    return byUid(can, uid, bytes({0xCF, read ? 0x00 : 0xFF}));
}

bool SetDimmerOutput(TMCan *can, uint16_t address, uint8_t output, uint8_t level, uint16_t time) {
    return byAddress(can, address, bytes({0x02, output, level, 0x00, 0x00, time >> 8, time & 0xFF}));
}

bool SetRelayOutput(TMCan *can, uint16_t address, uint8_t output, uint8_t state, uint16_t extra) {
    return byAddress(can, address, bytes({0x02, output, state, extra >> 8, extra & 0xFF}));
}

bool AskOutput(TMCan *can, uint16_t address, uint8_t output) {
    return byAddress(can, address, bytes({0x06, 0x08, output, 0x00, output}));
}

bool SendAcknowledged(TMCan *can, uint32_t uid, const QByteArray &data) {
    if (!can || data.isEmpty())
        return false;
    const QString mask = QStringLiteral("FF") + hexText(uint8_t(data[0]), 2);
    if (!can->TXU(uid, data, 1000, mask))
        return false;
    TPacket p;
    can->TakeAnswer(p);
    return true;
}

bool ussdPacket(uint8_t v, const QString &text, QByteArray &out, QString *error) {
    if (text.size() > 11) {
        if (error)
            *error = QStringLiteral("Слишком длинный запрос: %1").arg(text);
        return false;
    }
    const QString padded = text.leftJustified(12, QLatin1Char('f'));
    QByteArray b = bytes({0xB7, v});
    for (int i = 0; i < 12; i += 2) {
        int nibble[2];
        for (int k = 0; k < 2; ++k) {
            const QChar c = padded[i + k];
            bool ok = false;
            nibble[k] = c == QLatin1Char('*') ? 10 : c == QLatin1Char('#') ? 11 : QString(c).toInt(&ok, 16);
            if (c != QLatin1Char('*') && c != QLatin1Char('#') && !ok) {
                if (error)
                    *error = QStringLiteral("Недопустимый символ \"%1\" в запросе").arg(c);
                return false;
            }
        }
        b.append(char(nibble[0] << 4 | nibble[1]));
    }
    out = b;
    return true;
}

bool SendUssd(TMCan *can, uint32_t uid, uint8_t v, const QString &text, QString *error) {
    QByteArray packet;
    if (!can || !ussdPacket(v, text, packet, error))
        return false;
    return can->TXBytes(false, uid, 0, 0, packet);
}

} // namespace Commands
