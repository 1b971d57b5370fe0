#include "simdevice.h"

namespace {
QByteArray bytes(std::initializer_list<int> list) {
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}
} // namespace

SimDevice::SimDevice(const SimDeviceSpec &spec) : spec_(spec) {}

const QList<SimDevice::Command> &SimDevice::commands() {
    static const QList<Command> table = {
        {0x00, &SimDevice::scan, true},
        {0x01, &SimDevice::scan, true},
        {0xFF, &SimDevice::stop, true},
        {0x02, &SimDevice::parameters, false},
        {0xA2, &SimDevice::setAddress, false},
        {0x03, &SimDevice::catalogueOrInput, false},
        {0x70, &SimDevice::confirm, false},
        {0x05, &SimDevice::setCanSpeed, true},
    };
    return table;
}

void SimDevice::receive(const TPacket &p, Route route, QList<QByteArray> &answers) {
    if (p.length() == 0)
        return;
    if (route != Route::Broadcast)
        received_.append(p);
    const uint8_t code = p.data(0);
    for (const Command &c : commands()) {
        if (c.code == code) {
            if (route != Route::Broadcast || c.broadcast)
                (this->*c.handler)(p, route, answers);
            return;
        }
    }
    if (route == Route::ByUid)
        acknowledge(p, route, answers);
}

// 00: FF 00 aH aL + the 32-bit type word; 01: FF 01 aH aL + catalogue number
// (24 bits) + 00. A scan request puts the device in scan mode until FF.
void SimDevice::scan(const TPacket &p, Route, QList<QByteArray> &answers) {
    const bool mode1 = p.data(0) == 0x01;
    if (!(mode1 ? spec_.scan1 : spec_.scan0))
        return;
    scanning_ = true;
    QByteArray a = bytes({0xFF, p.data(0), spec_.addr >> 8 & 0x3F, spec_.addr & 0xFF});
    const uint32_t word = mode1 ? spec_.catNum << 8 : spec_.typeWord;
    for (int shift = 24; shift >= 0; shift -= 8)
        a.append(char(word >> shift));
    answers.append(a);
}

void SimDevice::stop(const TPacket &, Route, QList<QByteArray> &) { scanning_ = false; }

void SimDevice::parameters(const TPacket &p, Route route, QList<QByteArray> &answers) {
    if (route == Route::ByAddress || p.length() != 1)
        return acknowledge(p, route, answers);
    answers.append(bytes({0xFF, 0x02, spec_.release, spec_.soft >> 8, spec_.soft & 0xFF, spec_.hard, spec_.boot}));
}

// A2 00 hh ll FF FF
void SimDevice::setAddress(const TPacket &p, Route route, QList<QByteArray> &answers) {
    if (p.length() >= 4)
        spec_.addr = uint16_t((p.data(2) << 8 | p.data(3)) & 0x3FFF);
    acknowledge(p, route, answers);
}

// By UID: 03 00 c2 c1 c0 sets the catalogue number. By address: 03 ii reads
// input ii (a simulated input reads 0).
void SimDevice::catalogueOrInput(const TPacket &p, Route route, QList<QByteArray> &answers) {
    if (route == Route::ByAddress) {
        answers.append(bytes({0xFF, 0x03, p.data(1), 0x00, 0x00}));
        return;
    }
    if (p.length() >= 5)
        spec_.catNum = uint32_t(p.data(2)) << 16 | uint32_t(p.data(3)) << 8 | p.data(4);
    acknowledge(p, route, answers);
}

void SimDevice::confirm(const TPacket &p, Route route, QList<QByteArray> &answers) { acknowledge(p, route, answers); }

// 05 cc: answer 00 when set, F0 when already at that speed, FF when the
// index is not a speed; the new speed takes effect after the answer.
void SimDevice::setCanSpeed(const TPacket &p, Route, QList<QByteArray> &answers) {
    const int wanted = p.data(1);
    const int result = wanted > 3 ? 0xFF : wanted == spec_.canSpeed ? 0xF0 : 0x00;
    answers.append(bytes({0xFF, 0x05, result}));
    if (wanted <= 3)
        spec_.canSpeed = wanted;
}

// Programming packets and everything without a handler of its own.
void SimDevice::acknowledge(const TPacket &p, Route, QList<QByteArray> &answers) {
    answers.append(bytes({0xFF, p.data(0)}));
}
