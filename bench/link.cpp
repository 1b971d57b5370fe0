// Round trips of TXU to a simulated device without latency, over the
// in-process loopback and over a pseudo-terminal, and the CPU the link uses
// while idle. Targets: median round trip over a pty at most 0.25 ms; idle
// CPU below 1 % of a core.
#include "modem/loopbackport.h"
#include "modem/mcan.h"
#include "modem/ptypair.h"
#include "modem/simrunner.h"
#include "simpty.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <thread>

namespace {

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void roundTrips(const char *line, TMCan &can, int count) {
    QList<double> us;
    us.reserve(count);
    QElapsedTimer all;
    all.start();
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer t;
        t.start();
        if (!can.TXU(0x1001, QByteArray(1, char(0x70)), 1000, QString()))
            ++failed;
        us << double(t.nsecsElapsed()) / 1000.0;
        TPacket p;
        can.TakeAnswer(p);
    }
    const double seconds = double(all.nsecsElapsed()) / 1e9;
    std::sort(us.begin(), us.end());
    std::printf("%-10s %6d round trips: %8.0f /s, median %7.1f us, p99 %7.1f us, max %8.1f us, failed %d\n", line,
                count, count / seconds, us[count / 2], us[count * 99 / 100], us.last(), failed);
}

void idleCpu(const char *line) {
    const double before = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const double used = cpuSeconds() - before;
    std::printf("%-10s idle CPU: %.3f %% of a core (link and simulator together)\n", line,
                100.0 * used / (double(wall.nsecsElapsed()) / 1e9));
}

SimNetworkSpec network() {
    SimNetworkSpec spec;
    parseSimNetwork(QStringLiteral("modem uid=00A001\ndevice uid=001001 addr=0010 cat=100"), spec, nullptr);
    return spec;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 5000;
    QTemporaryDir logs;

    {
        auto wire = std::make_shared<LoopbackWire>();
        SimModem modem(network());
        auto side = wire->makePort(LoopbackWire::DeviceSide);
        side->open(QStringLiteral("sim"));
        SimRunner runner(modem, std::move(side));
        TMCan can(logs.path());
        can.setPortPauses(0, 0);
        can.setPortFactory([wire] { return wire->makePort(LoopbackWire::LinkSide); });
        can.SelectPort(QStringLiteral("LOOP"));
        if (!can.Connect(3)) {
            std::printf("loopback: no connection\n");
            return 1;
        }
        roundTrips("loopback", can, count);
        idleCpu("loopback");
    }
    {
        SimPtyLink link;
        if (!link.connect(network(), logs.path()))
            return 1;
        TMCan &can = *link.can;
        roundTrips("pty", can, count);
        idleCpu("pty");
    }
    return 0;
}
