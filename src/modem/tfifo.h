#pragma once
// A bounded ring of Packet records between threads, fixed at creation, with
// a lock of its own. Put refuses when full, so a queue nobody reads (the
// monitor queue without a debugger) simply stops taking new entries.
#include "packet.h"

#include <mutex>
#include <vector>

class TFIFO {
public:
    explicit TFIFO(int capacity = 2048);
    bool Put(const TPacket &p);
    bool Get(TPacket &p);
    void Clear();
    int count() const;
    int capacity() const { return int(ring_.size()); }

private:
    mutable std::mutex mutex_;
    std::vector<TPacket> ring_;
    int write_ = 0, read_ = 0, count_ = 0;
};
