#pragma once
// A pseudo-terminal pair: the simulator serves the master side, the link
// opens the slave path as it would a USB serial adapter. The slave is kept
// open here too, so the master does not report a hang-up while no program
// has the port open.
#include "termiosport.h"

class PtyPair {
public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool open(QString *error = nullptr);
    QString slavePath() const { return slavePath_; }
    // The master side as a port (once; the port owns the descriptor).
    std::unique_ptr<SerialPort> takeMasterPort();

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};
