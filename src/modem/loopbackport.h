#pragma once
// An in-process serial line for tests: a wire with two ends. What one end
// writes the other reads. Bytes sent while the two ends run at different
// baud rates are lost, as a real UART would garble them, so the link's speed
// search can be exercised; the CTS line the link sees can be held off.
#include "serialport.h"

#include <condition_variable>
#include <deque>
#include <mutex>

// Create it with std::make_shared: the ports keep it alive.
class LoopbackWire : public std::enable_shared_from_this<LoopbackWire> {
public:
    enum Side { LinkSide = 0, DeviceSide = 1 };

    // Names the link side may open; empty accepts any name.
    explicit LoopbackWire(QStringList portNames = {});

    std::unique_ptr<SerialPort> makePort(Side side);
    void setCts(SerialPort::Cts cts);
    int baud(Side side) const;

private:
    friend class LoopbackPort;
    mutable std::mutex mutex_;
    std::condition_variable dataReady_;
    QStringList names_;
    std::deque<char> inbox_[2];
    int baud_[2] = {0, 0};
    bool open_[2] = {false, false};
    bool cancel_[2] = {false, false};
    SerialPort::Cts cts_ = SerialPort::Cts::On;
};

class LoopbackPort : public SerialPort {
public:
    LoopbackPort(std::shared_ptr<LoopbackWire> wire, LoopbackWire::Side side);
    ~LoopbackPort() override;

    bool open(const QString &name) override;
    void close() override;
    bool isOpen() const override;
    bool clearErrors() override { return true; }
    bool setBufferSizes(int, int) override { return true; }
    bool setLine(int baud, Parity parity) override;
    bool setReadTimeouts(int intervalMs, int perByteMs, int constantMs) override;
    bool purgeInput() override;
    Cts cts() override;
    bool write(const QByteArray &bytes) override;
    qint64 read(char *buffer, qint64 max) override;
    void cancelRead() override;
    QString errorString() const override { return error_; }

private:
    std::shared_ptr<LoopbackWire> wire_;
    int side_;
    bool mine_ = false; // this handle holds its side open
    int timeoutMs_ = 548;
    QString error_;
};
