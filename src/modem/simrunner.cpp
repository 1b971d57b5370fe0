#include "simrunner.h"

#include "mcan.h"

#include <QElapsedTimer>
#include <chrono>

SimRunner::SimRunner(SimModem &modem, std::unique_ptr<SerialPort> port)
    : modem_(modem), port_(std::move(port)) {
    port_->setLine(TMCan::uartBaud(modem_.uartSpeed()), SerialPort::Parity::None);
    thread_ = std::thread([this] { run(); });
}

SimRunner::~SimRunner() { stop(); }

void SimRunner::stop() {
    stop_ = true;
    port_->cancelRead();
    if (thread_.joinable())
        thread_.join();
}

void SimRunner::run() {
    QElapsedTimer clock;
    clock.start();
    char buffer[256];
    while (!stop_) {
        // Sleep in the read until the next answer is due (at most 50 ms, so
        // a hang-up of the other side is noticed).
        const qint64 next = modem_.nextDue();
        const int wait = next < 0 ? 50 : int(qBound(qint64(0), next - clock.elapsed(), qint64(50)));
        port_->setReadTimeouts(0, 0, wait);
        const qint64 n = wait > 0 || next < 0 ? port_->read(buffer, sizeof buffer) : 0;
        if (n > 0)
            modem_.receiveBytes(QByteArray(buffer, n), clock.elapsed());
        else if (n < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20)); // nobody on the line yet
        for (const SimModem::Output &o : modem_.takeDue(clock.elapsed())) {
            port_->write(o.bytes);
            if (o.uartSpeedAfter >= 0)
                port_->setLine(TMCan::uartBaud(o.uartSpeedAfter), SerialPort::Parity::None);
        }
    }
}
