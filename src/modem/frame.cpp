#include "frame.h"

namespace frame {

uint8_t checksum(const TPacket &p) {
    uint8_t sum = 0;
    for (int i = 0; i < TPacket::DataStart + p.length(); ++i)
        sum = uint8_t(sum + p.b[i]);
    return uint8_t(0 - sum);
}

QByteArray encode(const TPacket &p) {
    QByteArray f;
    f.reserve(7 + p.length());
    f.append(char(Start));
    for (int i = 0; i < TPacket::DataStart + p.length(); ++i)
        f.append(char(p.b[i]));
    f.append(char(checksum(p)));
    return f;
}

} // namespace frame

bool FrameParser::feed(uint8_t b) {
    if (pos_ < 0) {
        if (b == frame::Start) {
            packet_ = TPacket();
            sum_ = 0;
            pos_ = 0;
        }
        return false;
    }
    packet_.b[pos_] = b;
    sum_ = uint8_t(sum_ + b);
    if (pos_ == TPacket::LengthByte && b > TPacket::MaxData) {
        pos_ = -1; // impossible length: hunt again from the next byte
        return false;
    }
    const bool complete = pos_ > TPacket::LengthByte && pos_ == TPacket::DataStart + packet_.length();
    ++pos_;
    if (!complete)
        return false;
    pos_ = -1;
    return sum_ == 0;
}
