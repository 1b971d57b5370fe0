#pragma once
// The serial line to the CAN modem, as the link needs it. Implementations: a
// real port (termios: USB serial adapters and pseudo-terminals) and an
// in-process loopback for tests.
//
// Threads: open, close and the set-up calls run while nobody else uses the
// port; afterwards one thread may read while others write, query CTS or
// cancel the read.
#include <QString>
#include <QStringList>
#include <memory>

class SerialPort {
public:
    enum class Parity { None, Odd, Even };
    enum class Cts { Off, On, Unsupported };

    virtual ~SerialPort() = default;

    // Opens the named port exclusively for reading and writing.
    virtual bool open(const QString &name) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual bool clearErrors() = 0;
    virtual bool setBufferSizes(int input, int output) = 0;
    // 8 data bits, one stop bit, DTR and RTS held on, no flow control,
    // null bytes kept.
    virtual bool setLine(int baud, Parity parity) = 0;
    // A read gives up after constantMs + perByteMs * requested bytes when
    // nothing comes.
    virtual bool setReadTimeouts(int intervalMs, int perByteMs, int constantMs) = 0;
    virtual bool purgeInput() = 0;

    // Lines without a CTS signal (pseudo-terminals) answer Unsupported,
    // which the link treats as clear to send.
    virtual Cts cts() = 0;
    // Writes the whole block; false when the line refused it.
    virtual bool write(const QByteArray &bytes) = 0;
    // Waits up to the read time-out for data and returns what has arrived
    // (1 to max bytes) as soon as anything has: the frame parser does not
    // need whole frames. 0: time-out or cancelled; -1: the line failed.
    virtual qint64 read(char *buffer, qint64 max) = 0;
    // Makes a pending (or the next) read return 0 at once.
    virtual void cancelRead() = 0;

    // Operating-system text of the last failed open or set-up call.
    virtual QString errorString() const = 0;
};

// A serial device present on this machine.
struct SerialDeviceInfo {
    QString deviceName; // what the system calls the device
    QString portName;   // what to open
    bool usbSerial = false; // a USB serial adapter (the modem is one)
};

// Lists the serial devices present (QSerialPortInfo underneath).
QList<SerialDeviceInfo> systemSerialDevices();

std::unique_ptr<SerialPort> makeSystemSerialPort();
