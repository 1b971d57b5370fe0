#pragma once
// The two workers of a connection. They sleep on events, not on a clock: the
// sending worker wakes when a packet is queued or the port opens, the
// receiving worker waits inside the port read. Stopping wakes both and
// returns only after they have left the port and the queues.
#include "frame.h"

#include <atomic>
#include <thread>

class TMCan;

class TTXThread {
public:
    explicit TTXThread(TMCan &can);
    ~TTXThread(); // stops and joins
    void stop();

private:
    void run();
    TMCan &can_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class TRXThread {
public:
    explicit TRXThread(TMCan &can);
    ~TRXThread();
    void stop();

private:
    void run();
    TMCan &can_;
    std::atomic<bool> stop_{false};
    FrameParser parser_;
    std::thread thread_;
};
