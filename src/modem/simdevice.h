#pragma once
// A simulated device on the bus. Commands are dispatched through a table of
// handlers keyed by the command byte, so new device features (boot loader,
// inputs, outputs, clock, ...) are added as new rows.
#include "packet.h"
#include "simnetwork.h"

#include <QList>

class SimDevice {
public:
    explicit SimDevice(const SimDeviceSpec &spec);

    // How the packet reached the device.
    enum class Route { Broadcast, ByUid, ByAddress };
    // Handles one packet; the data of every answer is appended to answers.
    void receive(const TPacket &p, Route route, QList<QByteArray> &answers);

    const SimDeviceSpec &spec() const { return spec_; }
    int canSpeed() const { return spec_.canSpeed; }
    // Packets addressed to this device (broadcasts excluded), in order.
    const QList<TPacket> &received() const { return received_; }
    void clearReceived() { received_.clear(); }
    bool inScan() const { return scanning_; }

private:
    using Handler = void (SimDevice::*)(const TPacket &p, Route route, QList<QByteArray> &answers);
    struct Command {
        uint8_t code;
        Handler handler;
        bool broadcast; // also obeyed when sent to UID 0
    };
    static const QList<Command> &commands();

    void scan(const TPacket &p, Route route, QList<QByteArray> &answers);
    void stop(const TPacket &p, Route route, QList<QByteArray> &answers);
    void parameters(const TPacket &p, Route route, QList<QByteArray> &answers);
    void setAddress(const TPacket &p, Route route, QList<QByteArray> &answers);
    void catalogueOrInput(const TPacket &p, Route route, QList<QByteArray> &answers);
    void confirm(const TPacket &p, Route route, QList<QByteArray> &answers);
    void setCanSpeed(const TPacket &p, Route route, QList<QByteArray> &answers);
    void acknowledge(const TPacket &p, Route route, QList<QByteArray> &answers);

    SimDeviceSpec spec_;
    bool scanning_ = false;
    QList<TPacket> received_;
};
