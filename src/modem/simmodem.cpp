#include "simmodem.h"

#include <algorithm>

namespace {
SimDeviceSpec modemPresence(const SimNetworkSpec &spec) {
    SimDeviceSpec d;
    d.uid = spec.modemUid;
    d.addr = spec.modemAddr;
    return d;
}
} // namespace

SimModem::SimModem(const SimNetworkSpec &spec)
    : spec_(spec), uartSpeed_(spec.modemUartSpeed), canSpeed_(spec.modemCanSpeed) {
    devices_.append(SimDevice(modemPresence(spec)));
    for (const SimDeviceSpec &d : spec.devices)
        devices_.append(SimDevice(d));
}

void SimModem::receiveBytes(const QByteArray &bytes, qint64 nowMs) {
    std::lock_guard l(mutex_);
    for (char c : bytes)
        if (parser_.feed(uint8_t(c)))
            onPacket(parser_.packet(), nowMs);
}

void SimModem::onPacket(const TPacket &p, qint64 now) {
    ++packetsFromPc_;
    if (!modemCommand(p, now))
        toBus(p, now);
}

// Requests the modem answers itself: F3 and F0 to UID 0, F3 and F1 to its UID.
bool SimModem::modemCommand(const TPacket &p, qint64 now) {
    const uint32_t to = PacketUid(p);
    if (p.b[0] != 0x00 || p.length() == 0 || (to != 0 && to != spec_.modemUid))
        return false;
    const uint8_t code = p.data(0);
    if (code == 0xF3) {
        schedule(now, spec_.modemUid, QByteArray::fromHex("FFF3"));
    } else if (code == 0xF0 && to == 0 && p.length() >= 2) {
        // Answered at the old speed, then the modem switches.
        const int wanted = p.data(1) <= 5 ? p.data(1) : uartSpeed_;
        schedule(now, spec_.modemUid, QByteArray::fromHex("FFF0"), wanted);
        uartSpeed_ = wanted;
    } else if (code == 0xF1 && to == spec_.modemUid && p.length() >= 2) {
        const uint8_t cc = p.data(1);
        QByteArray a = QByteArray::fromHex("FFF1");
        a.append(char(cc));
        a.append(char(cc <= 3 ? 0x00 : 0xFF));
        if (cc <= 3)
            canSpeed_ = cc;
        schedule(now, spec_.modemUid, a);
    } else {
        return false;
    }
    return true;
}

// The modem's own presence (entry 0) always hears it; devices only at the
// modem's CAN speed.
void SimModem::toBus(const TPacket &p, qint64 now) {
    const bool uidForm = p.b[0] == 0x00;
    const uint32_t to = PacketUid(p);
    const uint16_t receiver = uint16_t(p.header() & 0x3FFF);
    for (int i = 0; i < devices_.size(); ++i) {
        SimDevice &d = devices_[i];
        if (i > 0 && d.canSpeed() != canSpeed_)
            continue;
        SimDevice::Route route;
        if (uidForm && to == 0)
            route = SimDevice::Route::Broadcast;
        else if (uidForm && to == d.spec().uid)
            route = SimDevice::Route::ByUid;
        else if (!uidForm && (p.header() >> 28) == 1 && receiver == d.spec().addr)
            route = SimDevice::Route::ByAddress;
        else
            continue;
        QList<QByteArray> answers;
        const bool scanRequest = route == SimDevice::Route::Broadcast && (p.data(0) == 0x00 || p.data(0) == 0x01);
        d.receive(p, route, answers);
        if (d.spec().silent)
            continue;
        deviceAnswers(d, answers, now);
        if (scanRequest && d.inScan() && !answers.isEmpty()) {
            repeats_.removeIf([&](const ScanRepeat &r) { return r.device == i; });
            repeats_.append({i, answers.first(), now + RepeatForMs, now + spec_.faults.latencyMs + RepeatMs + 7 * i});
        }
    }
}

void SimModem::deviceAnswers(SimDevice &d, const QList<QByteArray> &answers, qint64 now) {
    const SimFaults &f = spec_.faults;
    for (const QByteArray &a : answers) {
        const uint32_t uid = d.spec().uid;
        if (f.muteAfter >= 0 && uid == f.muteUid && answersOf_.value(uid) >= f.muteAfter)
            return;
        answersOf_[uid] += 1;
        ++answerCount_;
        if (f.dropEvery > 0 && answerCount_ % f.dropEvery == 0)
            continue;
        QByteArray data = a;
        if (f.corruptEvery > 0 && answerCount_ % f.corruptEvery == 0)
            data[data.size() - 1] = char(data.back() ^ 0x5A); // the checksum no longer fits
        schedule(now + f.latencyMs, uid, data);
    }
}

void SimModem::schedule(qint64 due, uint32_t fromUid, const QByteArray &data, int uartAfter) {
    Output o;
    o.due = due;
    o.uartSpeedAfter = uartAfter;
    if (spec_.faults.garbage)
        o.bytes = noise();
    TPacket p = uidPacket(fromUid, data);
    p.b[0] = 0x01; // answers carry 01 in header byte 0
    o.bytes += frame::encode(p);
    const auto at = std::upper_bound(pending_.begin(), pending_.end(), due,
                                     [](qint64 d, const Output &x) { return d < x.due; });
    pending_.insert(at, o);
}

// Line noise the parser must get over: bytes other than 0x55, and now and
// then a false start whose length byte is impossible.
QByteArray SimModem::noise() {
    QByteArray n;
    const int count = 1 + int(random_.bounded(4));
    for (int i = 0; i < count; ++i) {
        uint8_t b = uint8_t(random_.bounded(256));
        n.append(char(b == 0x55 ? 0x54 : b));
    }
    if (random_.bounded(2))
        n += QByteArray::fromHex("55010203040C");
    return n;
}

void SimModem::repeatScanAnswers(qint64 now) {
    for (qsizetype k = 0; k < repeats_.size();) {
        ScanRepeat &r = repeats_[k];
        SimDevice &d = devices_[r.device];
        if (!d.inScan() || now > r.until || (r.device > 0 && d.canSpeed() != canSpeed_)) {
            repeats_.removeAt(k);
            continue;
        }
        if (r.due <= now) {
            // One answer however late the simulator woke: a burst of the
            // missed ones would reach the PC back to back, and all but the
            // first would be lost. The slots keep their phase, so devices
            // keep answering at different moments.
            deviceAnswers(d, {r.answer}, now - spec_.faults.latencyMs);
            while (r.due <= now)
                r.due += RepeatMs;
        }
        ++k;
    }
}

QList<SimModem::Output> SimModem::takeDue(qint64 nowMs) {
    std::lock_guard l(mutex_);
    repeatScanAnswers(nowMs);
    QList<Output> due;
    while (!pending_.isEmpty() && pending_.first().due <= nowMs)
        due.append(pending_.takeFirst());
    return due;
}

qint64 SimModem::nextDue() const {
    std::lock_guard l(mutex_);
    qint64 next = pending_.isEmpty() ? -1 : pending_.first().due;
    for (const ScanRepeat &r : repeats_)
        if (next < 0 || r.due < next)
            next = r.due;
    return next;
}

int SimModem::uartSpeed() const { std::lock_guard l(mutex_); return uartSpeed_; }
int SimModem::canSpeed() const { std::lock_guard l(mutex_); return canSpeed_; }
uint32_t SimModem::uid() const { std::lock_guard l(mutex_); return spec_.modemUid; }
int SimModem::packetsFromPc() const { std::lock_guard l(mutex_); return packetsFromPc_; }

QList<TPacket> SimModem::received(uint32_t uid) const {
    std::lock_guard l(mutex_);
    for (const SimDevice &d : devices_) {
        if (d.spec().uid == uid) {
            // A copy of its own: a shared one would be grown in place by the
            // simulator's thread while the caller still reads it.
            QList<TPacket> copy = d.received();
            copy.detach();
            return copy;
        }
    }
    return {};
}

SimDeviceSpec SimModem::deviceSpec(uint32_t uid) const {
    std::lock_guard l(mutex_);
    for (const SimDevice &d : devices_)
        if (d.spec().uid == uid)
            return d.spec();
    return {};
}

void SimModem::clearReceived() {
    std::lock_guard l(mutex_);
    for (SimDevice &d : devices_)
        d.clearReceived();
}
