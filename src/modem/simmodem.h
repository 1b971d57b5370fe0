#pragma once
// The simulated CAN modem and the bus behind it. Bytes from the PC go in;
// frames for the PC come out when due. The modem answers identification
// (F3), the UART speed (F0) and its CAN speed (F1) itself and passes every
// other packet to the devices that hear it (same CAN speed as the modem).
// Faults apply to what the devices answer. Thread-safe.
#include "frame.h"
#include "simdevice.h"

#include <QHash>
#include <QRandomGenerator>
#include <mutex>

class SimModem {
public:
    explicit SimModem(const SimNetworkSpec &spec);

    void receiveBytes(const QByteArray &bytes, qint64 nowMs);

    struct Output {
        qint64 due = 0;
        QByteArray bytes;
        int uartSpeedAfter = -1; // the modem changes its UART speed once these are out
    };
    QList<Output> takeDue(qint64 nowMs);
    qint64 nextDue() const; // -1: nothing pending

    int uartSpeed() const;
    int canSpeed() const;
    uint32_t uid() const;
    // Packets addressed to the device, in order; empty for an unknown UID.
    QList<TPacket> received(uint32_t uid) const;
    void clearReceived();
    SimDeviceSpec deviceSpec(uint32_t uid) const;
    int packetsFromPc() const;

private:
    void onPacket(const TPacket &p, qint64 now);
    bool modemCommand(const TPacket &p, qint64 now);
    void toBus(const TPacket &p, qint64 now);
    void deviceAnswers(SimDevice &d, const QList<QByteArray> &answers, qint64 now);
    void schedule(qint64 due, uint32_t fromUid, const QByteArray &data, int uartAfter = -1);
    void repeatScanAnswers(qint64 now);
    QByteArray noise();

    mutable std::mutex mutex_;
    SimNetworkSpec spec_;
    QList<SimDevice> devices_; // the modem's own bus presence first
    FrameParser parser_;
    QList<Output> pending_; // in due order
    // A device in scan mode repeats its answer until it is stopped (FF),
    // as answers that come while the PC is not listening are lost. It gives
    // up after a while, so a scan left unfinished does not fill the line.
    struct ScanRepeat {
        int device;
        QByteArray answer;
        qint64 until;
        qint64 due;
    };
    QList<ScanRepeat> repeats_;
    QRandomGenerator random_{20260101};
    int uartSpeed_, canSpeed_;
    static constexpr int RepeatMs = 40, RepeatForMs = 30000;
    int answerCount_ = 0, packetsFromPc_ = 0;
    QHash<uint32_t, int> answersOf_;
};
