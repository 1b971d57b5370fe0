#include "ptypair.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyPair::~PtyPair() {
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

bool PtyPair::open(QString *error) {
    auto fail = [&](const char *what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    };
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0)
        return fail("posix_openpt");
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return fail("unlockpt");
    const char *name = ::ptsname(master_);
    if (!name)
        return fail("ptsname");
    slavePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave_ < 0)
        return fail("open slave");
    // Raw from the start: no echo or line editing of binary frames.
    termios t{};
    if (::tcgetattr(slave_, &t) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&t);
    if (::tcsetattr(slave_, TCSANOW, &t) != 0)
        return fail("tcsetattr");
    if (::tcgetattr(master_, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(master_, TCSANOW, &t);
    }
    return true;
}

std::unique_ptr<SerialPort> PtyPair::takeMasterPort() {
    auto port = std::make_unique<TermiosSerialPort>();
    if (master_ < 0 || !port->adopt(master_))
        return nullptr;
    master_ = -1;
    return port;
}
