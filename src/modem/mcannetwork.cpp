// The network-wide procedures of the connection: scanning the bus and
// setting the CAN speed of the modem and of every device.
#include "mcan.h"

#include <algorithm>

namespace {
QByteArray bytes(std::initializer_list<int> list) {
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}
} // namespace

bool TMCan::SetModemCanSpeed(int index) {
    const QString mask = QStringLiteral("FF F1") + hexText(uint8_t(index), 2) + QStringLiteral("00");
    if (!TXU(UID(), bytes({0xF1, index}), 1000, mask))
        return false;
    TPacket answer;
    answers_.Get(answer);
    return true;
}

bool TMCan::SetNetworkCanSpeed(int index) {
    {
        std::lock_guard l(stateMutex_);
        canSpeed_ = 255;
        if (index < 0 || index > 3)
            index = 0;
        if (demo_) {
            canSpeed_ = uint8_t(index);
            return true;
        }
    }
    // Devices may run at any of the four speeds: visit each with the modem.
    for (int round = 0; round < 2; ++round) {
        for (int j = 0; j < 4; ++j) {
            pumpEvents();
            SetModemCanSpeed(j);
            TXU(0, bytes({0x05, index}), 500, QString());
            TPacket answer;
            answers_.Get(answer);
        }
    }
    if (!SetModemCanSpeed(index))
        return false;
    std::lock_guard l(stateMutex_);
    canSpeed_ = uint8_t(index);
    return true;
}

TDevInfoFromCan scanEntryFromAnswer(const TPacket &p, int mode) {
    TDevInfoFromCan e;
    e.UID = PacketUid(p);
    e.Addr = uint16_t((p.data(2) & 0x3F) << 8 | p.data(3));
    e.Type = uint32_t(p.data(4)) << 24 | uint32_t(p.data(5)) << 16 | uint32_t(p.data(6)) << 8 | p.data(7);
    if (mode == 1)
        e.Type >>= 8;
    return e;
}

bool TMCan::ScanNetwork(int mode) {
    if (!PortOpened())
        return false;
    ClearAnswers();
    setCTS(true);
    TXU(UID(), bytes({0xF3}), 1, QStringLiteral("FF"));

    SetAnswerMask(true, -1, mode == 0 ? QStringLiteral("FF 00 ** ** ** ** ** **") : QStringLiteral("FF 01 ** ** ** ** ** **"));
    SetSecondMask(true, -1, 0, 0, 2, QStringLiteral("FF F0"));
    TXPacket(false, 0, 0, 0, mode == 0 ? QStringLiteral("00") : QStringLiteral("01"));

    {
        std::lock_guard l(scanMutex_);
        scanList_.clear();
    }
    // Every answer restarts the silence time; an answer of an unexpected
    // length ends the scan at once.
    bool finished = false;
    while (!finished && WaitAnswer(DetectTime() * 1000)) {
        std::lock_guard l(scanMutex_);
        TPacket p;
        while (answers_.Get(p)) {
            if (p.length() == 8) {
                // A device repeats its answer until our stop reaches it: a
                // repeat that crossed the stop is the same device again.
                const TDevInfoFromCan e = scanEntryFromAnswer(p, mode);
                const bool listed = std::any_of(scanList_.cbegin(), scanList_.cend(),
                                                [&](const TDevInfoFromCan &x) { return x.UID == e.UID; });
                if (!listed)
                    scanList_.append(e);
                TXBytes(false, e.UID, 0, 0, bytes({0xFF}));
            } else if (p.length() != 2) {
                finished = true;
            }
        }
    }

    TDevInfoFromCanArray list = ScanList();
    for (TDevInfoFromCan &e : list) {
        if (mode == 1) {
            // Only this device's answer may fill its versions: a late answer
            // to an earlier request would otherwise be taken for it.
            ClearAnswers();
            TPacket p;
            if (TXU(e.UID, bytes({0x02}), 2000, QString()) && answers_.Get(p)) {
                e.Release = p.data(2);
                e.Soft = uint16_t(p.data(3) << 8 | p.data(4));
                e.Hard = p.data(5);
                e.Boot = p.data(6);
            }
            TXBytes(false, e.UID, 0, 0, bytes({0xFF}));
        } else {
            e.Release = 0, e.Soft = 0, e.Hard = 0, e.Boot = 0;
        }
    }
    std::lock_guard l(scanMutex_);
    scanList_ = list;
    return true;
}

TDevInfoFromCanArray TMCan::ScanList() const {
    std::lock_guard l(scanMutex_);
    TDevInfoFromCanArray copy = scanList_;
    copy.detach(); // the scan grows its list in place
    return copy;
}
