#pragma once
// Benchmarks' bus: a simulated network served on a pseudo-terminal and a
// connection object connected to it, as a user's program would be.
#include "modem/mcan.h"
#include "modem/ptypair.h"
#include "modem/simrunner.h"

#include <QString>
#include <cstdio>
#include <memory>

// Members are released in reverse order: the link before the simulator.
struct SimPtyLink {
    PtyPair pty;
    std::unique_ptr<SimModem> modem;
    std::unique_ptr<SimRunner> runner;
    std::unique_ptr<TMCan> can;

    // Prints why and returns false when the bus cannot be set up.
    bool connect(const SimNetworkSpec &network, const QString &logDir) {
        QString error;
        if (!pty.open(&error)) {
            std::printf("pty: %s\n", qPrintable(error));
            return false;
        }
        modem = std::make_unique<SimModem>(network);
        runner = std::make_unique<SimRunner>(*modem, pty.takeMasterPort());
        can = std::make_unique<TMCan>(logDir);
        can->setPortPauses(0, 0);
        can->SelectPort(pty.slavePath());
        if (!can->Connect(3)) {
            std::printf("pty: no connection\n");
            return false;
        }
        return true;
    }
};
