#include "tfifo.h"

TFIFO::TFIFO(int capacity) : ring_(size_t(capacity)) {}

bool TFIFO::Put(const TPacket &p) {
    std::lock_guard lock(mutex_);
    if (count_ == capacity())
        return false;
    ring_[size_t(write_)] = p;
    write_ = (write_ + 1) % capacity();
    ++count_;
    return true;
}

bool TFIFO::Get(TPacket &p) {
    std::lock_guard lock(mutex_);
    if (count_ == 0)
        return false;
    p = ring_[size_t(read_)];
    read_ = (read_ + 1) % capacity();
    --count_;
    return true;
}

void TFIFO::Clear() {
    std::lock_guard lock(mutex_);
    read_ = write_;
    count_ = 0;
}

int TFIFO::count() const {
    std::lock_guard lock(mutex_);
    return count_;
}
