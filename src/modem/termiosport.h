#pragma once
// The real serial line through POSIX termios: USB serial adapters and
// pseudo-terminals alike. A pseudo-terminal has no modem lines, so cts()
// answers Unsupported there. A pending read waits in poll() together with a
// wake-up pipe, so cancelRead() ends it at once and an idle link costs no CPU.
#include "serialport.h"

#include <atomic>

class TermiosSerialPort : public SerialPort {
public:
    TermiosSerialPort() = default;
    ~TermiosSerialPort() override;

    // Takes over an already open descriptor (the simulator's side of a
    // pseudo-terminal); the port closes it.
    bool adopt(int fd);

    bool open(const QString &name) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    bool clearErrors() override;
    bool setBufferSizes(int input, int output) override;
    bool setLine(int baud, Parity parity) override;
    bool setReadTimeouts(int intervalMs, int perByteMs, int constantMs) override;
    bool purgeInput() override;
    Cts cts() override;
    bool write(const QByteArray &bytes) override;
    qint64 read(char *buffer, qint64 max) override;
    void cancelRead() override;
    QString errorString() const override { return error_; }

    // "/dev/" is put before a bare name such as ttyUSB0.
    static QString devicePath(const QString &name);

private:
    bool fail(const QString &what);
    bool openWakePipe();

    int fd_ = -1;
    bool exclusive_ = false; // we set TIOCEXCL on fd_
    int wake_[2] = {-1, -1};
    std::atomic<int> readTimeoutMs_{548};
    QString error_;
};
