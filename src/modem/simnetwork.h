#pragma once
// Description of a simulated CAN network: the modem and the devices on the
// bus, read from a small text file (see README, "Simulated network"), and the
// faults to inject into what the bus answers.
#include <QList>
#include <QString>
#include <cstdint>

struct SimDeviceSpec {
    uint32_t uid = 0;
    uint16_t addr = 0;
    uint32_t catNum = 0;
    uint8_t release = 0;
    uint16_t soft = 0;
    uint8_t hard = 0;
    uint8_t boot = 0;
    bool scan0 = true; // answers the mode-0 scan (older devices)
    bool scan1 = true; // answers the mode-1 scan
    uint32_t typeWord = 0; // mode-0 type word; 0: derived from catNum
    int canSpeed = 0;      // CAN speed index the device runs at
    bool silent = false;   // hears, records, never answers
};

struct SimFaults {
    int latencyMs = 0;     // delay of every device answer
    int dropEvery = 0;     // every n-th device answer is lost (0: none)
    int corruptEvery = 0;  // every n-th device answer has a byte flipped
    bool garbage = false;  // noise bytes between frames
    uint32_t muteUid = 0;  // this device stops answering ...
    int muteAfter = -1;    // ... after this many answers (-1: no such device)
};

struct SimNetworkSpec {
    uint32_t modemUid = 0xA001;
    uint16_t modemAddr = 1;
    int modemCanSpeed = 0;
    int modemUartSpeed = 3;
    QList<SimDeviceSpec> devices;
    SimFaults faults;
};

// Mode-0 type word of a catalogue number (the detector maps it back); 0 for
// numbers older devices never had.
uint32_t simTypeWordFor(uint32_t catNum);

// Parses the network file text; false with a message naming the line.
bool parseSimNetwork(const QString &text, SimNetworkSpec &spec, QString *error);
bool readSimNetwork(const QString &path, SimNetworkSpec &spec, QString *error);
// Faults as written on the command line: "latency=5,drop=3,garbage,mute=1234:2".
bool parseSimFaults(const QString &text, SimFaults &faults, QString *error);
// A small network used when no file is given.
SimNetworkSpec defaultSimNetwork();
