#include "openmodemthread.h"

#include "mcan.h"

TOpenModemThread::TOpenModemThread(TMCan &can) : can_(can) {}

TOpenModemThread::~TOpenModemThread() {
    {
        std::lock_guard l(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void TOpenModemThread::resume() {
    std::lock_guard l(mutex_);
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
}

bool TOpenModemThread::suspended() const {
    std::lock_guard l(mutex_);
    return !thread_.joinable();
}

bool TOpenModemThread::post(int speedIndex) {
    {
        std::lock_guard l(mutex_);
        if (request_ != -1)
            return false;
        request_ = speedIndex;
    }
    changed_.notify_all();
    return true;
}

int TOpenModemThread::request() const {
    std::lock_guard l(mutex_);
    return request_;
}

void TOpenModemThread::waitIdle() {
    std::unique_lock l(mutex_);
    if (thread_.joinable())
        changed_.wait(l, [&] { return request_ == -1 || stop_; });
}

void TOpenModemThread::run() {
    std::unique_lock l(mutex_);
    for (;;) {
        changed_.wait(l, [&] { return stop_ || request_ != -1; });
        if (stop_)
            return;
        const int speed = request_;
        l.unlock();
        can_.Connect(speed);
        l.lock();
        request_ = -1;
        changed_.notify_all();
    }
}
