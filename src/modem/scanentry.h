#pragma once
// One device found on the bus by a network scan.
#include "packet.h"

#include <QList>
#include <cstdint>

struct TDevInfoFromCan {
    uint32_t UID = 0;      // 24 bits used
    uint16_t Addr = 0;     // 14 bits used
    uint32_t Type = 0;     // mode 1: catalogue number; mode 0: the raw type word
    uint8_t Release = 0;
    uint16_t Soft = 0;
    uint8_t Hard = 0;
    uint8_t Boot = 0;
};

using TDevInfoFromCanArray = QList<TDevInfoFromCan>;

// The entry of a scan answer (8 data bytes: FF, mode, address, type):
// Addr = (byte 2 AND 3F) * 256 + byte 3; type from bytes 4-7 (mode 0) or
// bytes 4-6 (mode 1, the catalogue number). Versions stay 0.
TDevInfoFromCan scanEntryFromAnswer(const TPacket &p, int mode);
