#include "loopbackport.h"

#include <chrono>

LoopbackWire::LoopbackWire(QStringList portNames) : names_(std::move(portNames)) {}

std::unique_ptr<SerialPort> LoopbackWire::makePort(Side side) {
    return std::make_unique<LoopbackPort>(shared_from_this(), side);
}

void LoopbackWire::setCts(SerialPort::Cts cts) {
    std::lock_guard lock(mutex_);
    cts_ = cts;
}

int LoopbackWire::baud(Side side) const {
    std::lock_guard lock(mutex_);
    return baud_[side];
}

LoopbackPort::LoopbackPort(std::shared_ptr<LoopbackWire> wire, LoopbackWire::Side side)
    : wire_(std::move(wire)), side_(side) {}

LoopbackPort::~LoopbackPort() { close(); }

bool LoopbackPort::open(const QString &name) {
    std::lock_guard lock(wire_->mutex_);
    if (side_ == LoopbackWire::LinkSide && !wire_->names_.isEmpty() && !wire_->names_.contains(name)) {
        error_ = QStringLiteral("Не удается найти указанный файл.");
        return false;
    }
    if (wire_->open_[side_]) {
        error_ = QStringLiteral("Отказано в доступе.");
        return false;
    }
    wire_->open_[side_] = mine_ = true;
    wire_->cancel_[side_] = false;
    wire_->inbox_[side_].clear();
    return true;
}

void LoopbackPort::close() {
    if (!mine_)
        return;
    std::lock_guard lock(wire_->mutex_);
    wire_->open_[side_] = mine_ = false;
    wire_->baud_[side_] = 0;
}

bool LoopbackPort::isOpen() const { return mine_; }

bool LoopbackPort::setLine(int baud, Parity) {
    std::lock_guard lock(wire_->mutex_);
    wire_->baud_[side_] = baud;
    return true;
}

bool LoopbackPort::setReadTimeouts(int, int perByteMs, int constantMs) {
    timeoutMs_ = constantMs + perByteMs * 16;
    return true;
}

bool LoopbackPort::purgeInput() {
    std::lock_guard lock(wire_->mutex_);
    wire_->inbox_[side_].clear();
    return true;
}

SerialPort::Cts LoopbackPort::cts() {
    std::lock_guard lock(wire_->mutex_);
    return side_ == LoopbackWire::LinkSide ? wire_->cts_ : Cts::Unsupported;
}

bool LoopbackPort::write(const QByteArray &bytes) {
    std::lock_guard lock(wire_->mutex_);
    if (!mine_)
        return false;
    const int peer = 1 - side_;
    const int a = wire_->baud_[side_], b = wire_->baud_[peer];
    if (!wire_->open_[peer] || (a && b && a != b))
        return true; // nobody listening, or garbled by a speed mismatch: lost on the line
    wire_->inbox_[peer].insert(wire_->inbox_[peer].end(), bytes.begin(), bytes.end());
    wire_->dataReady_.notify_all();
    return true;
}

qint64 LoopbackPort::read(char *buffer, qint64 max) {
    std::unique_lock lock(wire_->mutex_);
    auto &inbox = wire_->inbox_[side_];
    wire_->dataReady_.wait_for(lock, std::chrono::milliseconds(timeoutMs_),
                               [&] { return !inbox.empty() || wire_->cancel_[side_]; });
    if (wire_->cancel_[side_]) {
        wire_->cancel_[side_] = false;
        return 0;
    }
    qint64 n = 0;
    while (n < max && !inbox.empty()) {
        buffer[n++] = inbox.front();
        inbox.pop_front();
    }
    return n;
}

void LoopbackPort::cancelRead() {
    std::lock_guard lock(wire_->mutex_);
    wire_->cancel_[side_] = true;
    wire_->dataReady_.notify_all();
}
