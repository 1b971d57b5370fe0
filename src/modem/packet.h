#pragma once
// The Packet record: the 17-byte unit stored in every queue of the modem link,
// and the Packet text (hexadecimal byte pairs) the tools write packets in.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

struct TPacket {
    static constexpr int Size = 17;
    static constexpr int MaxData = 8;
    static constexpr int LengthByte = 4;
    static constexpr int DataStart = 5;
    static constexpr int FlagByte = 16;
    static constexpr uint8_t NoCtsWait = 0x80; // flag bit in the send queue

    std::array<uint8_t, Size> b{};

    int length() const { return b[LengthByte]; }
    uint8_t data(int i) const { return b[DataStart + i]; }
    // The meaningful data bytes (at most 8, even when the length byte says more).
    QByteArray dataBytes() const;
    uint32_t header() const;
    void setHeader(uint32_t id);
    bool operator==(const TPacket &o) const { return b == o.b; }
};

// Kinds of monitor queue entries (the flag byte there).
enum MonitorKind : uint8_t { MonitorSent = 0, MonitorReceived = 1, MonitorNotSent = 2 };

// UID form: byte 0 = 0x00 in requests, bytes 1-3 the 24-bit UID.
TPacket uidPacket(uint32_t uid, const QByteArray &data);
// Address form: identifier 0x10000000 + receiver + sender * 16384.
uint32_t addressId(uint16_t sender, uint16_t receiver);
TPacket addressPacket(uint16_t sender, uint16_t receiver, const QByteArray &data);
// Sender UID of an answer (header bytes 1-3).
uint32_t PacketUid(const TPacket &p);

// All 17 bytes as 34 upper-case hexadecimal characters (what masks compare).
QString packetRendering(const TPacket &p);
// Each byte as two upper-case hexadecimal digits followed by one blank
// ("F3 "), the form of the packet log lines.
QString hexWithBlanks(const QByteArray &bytes);

// Hexadecimal pairs without blanks to bytes; a last odd character is
// ignored. ok (when given) turns false at the first pair that is not hex.
QByteArray HexToBytes(const QString &text, bool *ok = nullptr);
// Packet text to bytes: blanks removed first, then as HexToBytes.
QByteArray packetTextBytes(const QString &text, bool *ok = nullptr);

// Hexadecimal with upper-case digits, at least width digits.
QString hexText(qulonglong value, int width);
