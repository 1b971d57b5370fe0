#pragma once
// Serves a simulated modem on a serial port (a pseudo-terminal master or the
// device side of a loopback wire) from a thread of its own.
#include "serialport.h"
#include "simmodem.h"

#include <atomic>
#include <thread>

class SimRunner {
public:
    // The port must be open; the runner sets its speed to the modem's.
    SimRunner(SimModem &modem, std::unique_ptr<SerialPort> port);
    ~SimRunner(); // stops
    void stop();

private:
    void run();
    SimModem &modem_;
    std::unique_ptr<SerialPort> port_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
