#pragma once
// The modem open worker: runs Connect off the user-interface thread. The
// network timer posts a UART speed index; the worker connects at it and
// clears the request, so a new one can be posted. It sleeps until a request
// comes instead of polling.
#include <condition_variable>
#include <mutex>
#include <thread>

class TMCan;

class TOpenModemThread {
public:
    explicit TOpenModemThread(TMCan &can); // created suspended
    ~TOpenModemThread();                   // stops (after a Connect in progress)

    void resume();
    bool suspended() const;
    // Stores the request when none is pending; false otherwise.
    bool post(int speedIndex);
    int request() const; // -1: none pending
    // Waits until the worker has no pending request.
    void waitIdle();

private:
    void run();
    TMCan &can_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int request_ = -1;
    bool stop_ = false;
    std::thread thread_;
};
