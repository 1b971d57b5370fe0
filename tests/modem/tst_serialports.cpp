// The serial line implementations: termios over a pseudo-terminal (as a USB
// adapter would be used) and the in-process loopback; the link and the
// modem open worker on top of them.
#include "simlink.h"

#include "modem/openmodemthread.h"
#include "modem/ptypair.h"

#include <QElapsedTimer>
#include <QTest>
#include <thread>
#include <unistd.h>

namespace {
QByteArray readSome(SerialPort &port, int wanted) {
    QByteArray got;
    char buf[64];
    // Gives up after three reads in a row time out.
    for (int idle = 0; idle < 3 && got.size() < wanted;) {
        const qint64 n = port.read(buf, sizeof buf);
        if (n > 0)
            got.append(buf, n), idle = 0;
        else
            ++idle;
    }
    return got;
}
} // namespace

class TstSerialPorts : public QObject {
    Q_OBJECT
private slots:
    void ptyCarriesBytesBothWays() {
        PtyPair pty;
        QString error;
        QVERIFY2(pty.open(&error), qPrintable(error));
        auto master = pty.takeMasterPort();
        QVERIFY(master);
        TermiosSerialPort port;
        QVERIFY2(port.open(pty.slavePath()), qPrintable(port.errorString()));
        QVERIFY2(port.setLine(115200, SerialPort::Parity::None), qPrintable(port.errorString()));
        QVERIFY(port.setReadTimeouts(3, 3, 100));
        master->setReadTimeouts(0, 0, 100);
        // Every byte value passes unchanged (raw mode: no CR/LF or echo games).
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QVERIFY(port.write(all));
        QCOMPARE(readSome(*master, 256), all);
        QVERIFY(master->write(all));
        QCOMPARE(readSome(port, 256), all);
        QVERIFY(readSome(port, 1).isEmpty()); // nothing more: the echo is off
        // No modem lines on a pseudo-terminal.
        QCOMPARE(port.cts(), SerialPort::Cts::Unsupported);
    }

    void ptyReadIsCancelled() {
        PtyPair pty;
        QVERIFY(pty.open());
        TermiosSerialPort port;
        QVERIFY(port.open(pty.slavePath()));
        QVERIFY(port.setReadTimeouts(3, 3, 60000));
        char buf[16];
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            port.cancelRead();
        });
        QCOMPARE(port.read(buf, sizeof buf), qint64(0));
        canceller.join();
        // A cancel before the read ends the read at once too.
        port.cancelRead();
        QCOMPARE(port.read(buf, sizeof buf), qint64(0));
    }

    void ptyRefusals() {
        TermiosSerialPort port;
        QVERIFY(!port.open(QStringLiteral("/dev/no-such-port")));
        QVERIFY(port.errorString().contains(QStringLiteral("no-such-port")));
        QCOMPARE(TermiosSerialPort::devicePath(QStringLiteral("ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
        PtyPair pty;
        QVERIFY(pty.open());
        QVERIFY(port.open(pty.slavePath()));
        QVERIFY(!port.setLine(12345, SerialPort::Parity::None));
        if (::geteuid() != 0) { // exclusive use does not bind the superuser
            TermiosSerialPort second;
            QVERIFY(!second.open(pty.slavePath()));
        }
        // Closing gives the port back although the simulator side keeps the
        // terminal open.
        port.close();
        QVERIFY2(port.open(pty.slavePath()), qPrintable(port.errorString()));
    }

    void loopbackSpeedsMustAgree() {
        auto wire = std::make_shared<LoopbackWire>(QStringList{"A"});
        auto link = wire->makePort(LoopbackWire::LinkSide);
        auto dev = wire->makePort(LoopbackWire::DeviceSide);
        QVERIFY(!link->open(QStringLiteral("B")));
        QVERIFY(link->open(QStringLiteral("A")));
        QVERIFY(!wire->makePort(LoopbackWire::LinkSide)->open(QStringLiteral("A"))); // exclusive
        QVERIFY(dev->open(QStringLiteral("x")));
        link->setReadTimeouts(0, 0, 20);
        dev->setReadTimeouts(0, 0, 20);
        link->setLine(115200, SerialPort::Parity::None);
        dev->setLine(19200, SerialPort::Parity::None);
        QVERIFY(link->write("abc"));
        QVERIFY(readSome(*dev, 3).isEmpty());
        dev->setLine(115200, SerialPort::Parity::None);
        QVERIFY(link->write("abc"));
        QCOMPARE(readSome(*dev, 3), QByteArray("abc"));
    }

    void linkOverPty() {
        PtyPair pty;
        QVERIFY(pty.open());
        SimModem modem(defaultSimNetwork());
        SimRunner runner(modem, pty.takeMasterPort());
        QTemporaryDir dir;
        TMCan can(dir.path());
        can.setPortPauses(0, 0);
        can.SelectPort(pty.slavePath());
        QVERIFY(can.Connect(3));
        QCOMPARE(can.UID(), 0xA001u);
        for (int i = 0; i < 20; ++i)
            QVERIFY(can.TXU(0x1001, QByteArray(1, char(0x40 + i)), 5000, QString()));
        QCOMPARE(modem.received(0x1001).size(), 20);
    }

    void linkSurvivesTheOtherSideGoingAway() {
        auto pty = std::make_unique<PtyPair>();
        QVERIFY(pty->open());
        auto modem = std::make_unique<SimModem>(defaultSimNetwork());
        auto runner = std::make_unique<SimRunner>(*modem, pty->takeMasterPort());
        QTemporaryDir dir;
        TMCan can(dir.path());
        can.setPortPauses(0, 0);
        can.SelectPort(pty->slavePath());
        QVERIFY(can.Connect(3));
        runner.reset();
        pty.reset(); // hang-up under the receiving worker
        QVERIFY(!can.TXU(0x1001, QByteArray(1, char(0x70)), 200, QString()));
        QVERIFY(!can.OpenPort(3)); // the port is gone; the destructor still stops cleanly
    }

    void openWorkerConnectsOnRequest() {
        SimLink link;
        link.can->SelectPort(SimLink::portName());
        TOpenModemThread worker(*link.can);
        QVERIFY(worker.suspended());
        QVERIFY(worker.post(3));
        QVERIFY(!worker.post(2)); // one request at a time
        worker.resume();
        worker.waitIdle();
        QCOMPARE(worker.request(), -1);
        QCOMPARE(link.can->UartSpeed(), 3);
        QVERIFY(worker.post(3)); // already connected: returns at once
        worker.waitIdle();
        QVERIFY(link.can->PortOpened());
    }
};

QTEST_GUILESS_MAIN(TstSerialPorts)
#include "tst_serialports.moc"
