#pragma once
// A connection object wired to a simulated network over an in-process
// loopback line: what the link tests and the detector tests run against.
#include "modem/loopbackport.h"
#include "modem/mcan.h"
#include "modem/simmodem.h"
#include "modem/simrunner.h"

#include <QTemporaryDir>

class SimLink {
public:
    static QString portName() { return QStringLiteral("LOOP1"); }

    explicit SimLink(const SimNetworkSpec &spec = defaultSimNetwork());
    ~SimLink();

    // Selects the loopback port and connects at the given UART speed.
    bool connect(int speed = 3);
    // The packet log's lines without their time stamps.
    QStringList logLines() const;
    QString logDir() const { return dir.path(); }

    QTemporaryDir dir;
    std::shared_ptr<LoopbackWire> wire;
    std::unique_ptr<SimModem> modem;
    std::unique_ptr<SimRunner> runner;
    std::unique_ptr<TMCan> can;
    int opens = 0;     // ports the link opened
    int failOpenAfter = -1; // opens that succeed before the next fail (-1: never fail)
};
