#include "termiosport.h"

#include <QFile>
#include <QSerialPortInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

speed_t speedConstant(int baud) {
    switch (baud) {
    case 921600: return B921600;
    case 460800: return B460800;
    case 230400: return B230400;
    case 115200: return B115200;
    case 57600: return B57600;
    case 38400: return B38400;
    case 19200: return B19200;
    case 9600: return B9600;
    default: return B0;
    }
}

// A stuck line must not hold the sending worker for ever (it has to stop
// when the connection closes); a 15-byte frame takes far less than this.
constexpr int WriteLimitMs = 2000;

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

} // namespace

TermiosSerialPort::~TermiosSerialPort() { close(); }

QString TermiosSerialPort::devicePath(const QString &name) {
    return name.startsWith(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
}

bool TermiosSerialPort::fail(const QString &what) {
    error_ = what + QStringLiteral(": ") + systemError();
    return false;
}

bool TermiosSerialPort::openWakePipe() {
    if (::pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0)
        return fail(QStringLiteral("pipe"));
    return true;
}

bool TermiosSerialPort::adopt(int fd) {
    close();
    fd_ = fd;
    if (!openWakePipe()) {
        close();
        return false;
    }
    return true;
}

bool TermiosSerialPort::open(const QString &name) {
    close();
    const QByteArray path = QFile::encodeName(devicePath(name));
    fd_ = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        return fail(QString::fromLocal8Bit(path));
    // Exclusive like the modem's driver: a second program cannot open it.
    exclusive_ = ::ioctl(fd_, TIOCEXCL) == 0;
    if (!exclusive_ || !openWakePipe()) {
        const QString saved = systemError();
        close();
        error_ = saved;
        return false;
    }
    return true;
}

void TermiosSerialPort::close() {
    // The exclusive flag belongs to the terminal, not to this descriptor: it
    // would outlive us while anyone else keeps the terminal open (the
    // simulator keeps its pseudo-terminal open) and lock out our next open.
    if (fd_ >= 0 && exclusive_)
        ::ioctl(fd_, TIOCNXCL);
    exclusive_ = false;
    for (int *fd : {&fd_, &wake_[0], &wake_[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

bool TermiosSerialPort::clearErrors() { return fd_ >= 0 || fail(QStringLiteral("clear errors")); }

// The kernel's buffers are fixed and ample; nothing to set.
bool TermiosSerialPort::setBufferSizes(int, int) { return fd_ >= 0 || fail(QStringLiteral("buffers")); }

bool TermiosSerialPort::setLine(int baud, Parity parity) {
    termios t{};
    if (::tcgetattr(fd_, &t) != 0)
        return fail(QStringLiteral("tcgetattr"));
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD | CS8;
    t.c_cflag &= ~(CSTOPB | CRTSCTS | PARENB | PARODD);
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (parity != Parity::None)
        t.c_cflag |= PARENB | (parity == Parity::Odd ? PARODD : 0);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    const speed_t s = speedConstant(baud);
    if (s == B0 || ::cfsetispeed(&t, s) != 0 || ::cfsetospeed(&t, s) != 0)
        return fail(QStringLiteral("baud rate %1").arg(baud));
    if (::tcsetattr(fd_, TCSANOW, &t) != 0)
        return fail(QStringLiteral("tcsetattr"));
    // Pseudo-terminals have no DTR/RTS; that is not a failure.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd_, TIOCMBIS, &lines) != 0 && errno != ENOTTY && errno != EINVAL)
        return fail(QStringLiteral("DTR/RTS"));
    return true;
}

bool TermiosSerialPort::setReadTimeouts(int, int perByteMs, int constantMs) {
    readTimeoutMs_ = constantMs + perByteMs * 16;
    return fd_ >= 0 || fail(QStringLiteral("time-outs"));
}

bool TermiosSerialPort::purgeInput() { return ::tcflush(fd_, TCIFLUSH) == 0 || fail(QStringLiteral("purge")); }

SerialPort::Cts TermiosSerialPort::cts() {
    int status = 0;
    if (::ioctl(fd_, TIOCMGET, &status) != 0)
        return Cts::Unsupported;
    return status & TIOCM_CTS ? Cts::On : Cts::Off;
}

bool TermiosSerialPort::write(const QByteArray &bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, WriteLimitMs) <= 0)
            return false;
    }
    return true;
}

qint64 TermiosSerialPort::read(char *buffer, qint64 max) {
    pollfd p[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    const int r = ::poll(p, 2, readTimeoutMs_);
    if (r < 0)
        return errno == EINTR ? 0 : -1;
    if (p[1].revents & POLLIN) {
        char drain[64];
        while (::read(wake_[0], drain, sizeof drain) > 0) {
        }
        return 0;
    }
    if (r == 0)
        return 0;
    const ssize_t n = ::read(fd_, buffer, size_t(max));
    if (n > 0)
        return n;
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return 0;
    return -1; // hang-up (the other side of a pseudo-terminal went away) or error
}

void TermiosSerialPort::cancelRead() {
    if (wake_[1] >= 0) {
        const char b = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_[1], &b, 1);
    }
}

QList<SerialDeviceInfo> systemSerialDevices() {
    QList<SerialDeviceInfo> list;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialDeviceInfo d;
        d.deviceName = info.description().isEmpty() ? info.portName() : info.description();
        d.portName = info.systemLocation();
        d.usbSerial = info.hasVendorIdentifier() || info.portName().startsWith(QLatin1String("ttyUSB")) ||
                      info.portName().startsWith(QLatin1String("ttyACM"));
        list.append(d);
    }
    return list;
}

std::unique_ptr<SerialPort> makeSystemSerialPort() { return std::make_unique<TermiosSerialPort>(); }
