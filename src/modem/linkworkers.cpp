#include "linkworkers.h"

#include "mcan.h"

#include <chrono>

using namespace std::chrono_literals;

TTXThread::TTXThread(TMCan &can) : can_(can), thread_([this] { run(); }) {}

TTXThread::~TTXThread() { stop(); }

void TTXThread::stop() {
    {
        std::lock_guard lock(can_.stateMutex_);
        stop_ = true;
    }
    can_.wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void TTXThread::run() {
    std::unique_lock lock(can_.stateMutex_);
    while (!stop_) {
        // At most 2 s asleep, as the send event's wait; anything queued
        // meanwhile still goes out after it.
        can_.wake_.wait_for(lock, 2000ms, [&] { return stop_ || (can_.portOpenedLocked() && can_.sendSignalled_); });
        if (stop_)
            break;
        if (!can_.portOpenedLocked())
            continue;
        can_.sendSignalled_ = false;
        lock.unlock();
        TPacket p;
        while (!stop_ && can_.sendQueue_.Get(p))
            can_.sendFrame(p);
        lock.lock();
    }
}

TRXThread::TRXThread(TMCan &can) : can_(can), thread_([this] { run(); }) {}

TRXThread::~TRXThread() { stop(); }

void TRXThread::stop() {
    {
        std::lock_guard lock(can_.stateMutex_);
        stop_ = true;
        if (can_.port_)
            can_.port_->cancelRead();
    }
    can_.wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void TRXThread::run() {
    char buffer[16];
    while (!stop_) {
        SerialPort *port = can_.borrowPort(true, &stop_);
        if (!port)
            break; // stopped
        const qint64 n = port->read(buffer, sizeof buffer);
        can_.returnPort();
        if (n < 0) {
            // The line failed (adapter pulled, other side gone): do not spin.
            std::unique_lock lock(can_.stateMutex_);
            can_.wake_.wait_for(lock, 50ms, [&] { return bool(stop_); });
            continue;
        }
        for (qint64 i = 0; i < n; ++i)
            if (parser_.feed(uint8_t(buffer[i])))
                can_.deliver(parser_.packet());
    }
}
