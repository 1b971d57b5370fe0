#pragma once
// One device found on the bus by a network scan.
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
