#pragma once
// Wire framing towards the CAN modem, both directions: 0x55, 4 header bytes,
// the length byte, the data bytes and a checksum that makes every byte after
// 0x55 sum to 0 mod 256. There is no escaping, so 0x55 may occur inside.
#include "packet.h"

namespace frame {

constexpr uint8_t Start = 0x55;

uint8_t checksum(const TPacket &p);
// The frame of a record (7 + length bytes); the length must be 0 to 8.
QByteArray encode(const TPacket &p);

} // namespace frame

// Byte-at-a-time frame reader. Its position survives between reads, so a
// frame split across reads is reassembled; there is no time-out inside a
// frame, a frame cut short is completed by whatever bytes follow.
class FrameParser {
public:
    // Returns true when b completed a valid frame, now in packet(); the
    // checksum sits right after the data, at byte 5 + length.
    bool feed(uint8_t b);
    const TPacket &packet() const { return packet_; }
    bool hunting() const { return pos_ < 0; }
    void reset() { pos_ = -1; }

private:
    TPacket packet_;
    int pos_ = -1; // -1: hunting for 0x55; else index of the next record byte
    uint8_t sum_ = 0;
};
