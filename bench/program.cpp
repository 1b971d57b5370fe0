// Programming a large compiled project into the simulator over a pseudo-
// terminal with zero device latency: packets per second of the job (the
// pauses on a change of device left out and counted apart) and its overhead
// per packet above a bare TXU round trip of the same packets. Target: at
// least 2,000 packets per second.
#include "modem/mcan.h"
#include "modem/ptypair.h"
#include "modem/simrunner.h"
#include "network/programming.h"
#include "simpty.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Devices = 20;
constexpr int Rounds = 3;

QString uidOf(int d) { return QStringLiteral("%1").arg(0x1000 + d, 6, 16, QLatin1Char('0')).toUpper(); }

SimNetworkSpec network() {
    QString text = QStringLiteral("modem uid=00A001\n");
    for (int d = 0; d < Devices; ++d)
        text += QStringLiteral("device uid=%1 addr=%2 cat=300\n").arg(uidOf(d)).arg(0x10 + d, 4, 16, QLatin1Char('0'));
    SimNetworkSpec spec;
    parseSimNetwork(text, spec, nullptr);
    return spec;
}

// Per device: the header commands, codeLines code lines and a tail of
// configuration commands, as the compiler lays them out.
TProgCommandList project(int codeLines) {
    TProgCommandList rows;
    for (int d = 0; d < Devices; ++d) {
        const QString u = uidOf(d);
        QStringList lines{u + ":CMND:71", u + ":CMND:72"};
        for (int n = 0; n < 32; ++n)
            lines << u + QStringLiteral(":CMND:A2%1FFFFFFFF").arg(n, 2, 16, QLatin1Char('0')).toUpper();
        for (int c = 0; c < codeLines; ++c)
            lines << u + QStringLiteral(":%1:").arg(c, 4, 16, QLatin1Char('0')).toUpper() +
                         QStringLiteral("0123456789ABCDEF").repeated(2);
        for (int i = 0; i < 8; ++i)
            lines << u + QStringLiteral(":CMND:21%1 45").arg(i, 2, 10, QLatin1Char('0'))
                  << u + QStringLiteral(":CMND:25%1").arg(i, 2, 10, QLatin1Char('0')) + QStringLiteral("461E0F");
        lines << u + ":CMND:7000";
        for (const QString &l : lines)
            rows += programcommands::cutLine(l);
    }
    return rows;
}

QStringList allUids() {
    QStringList out;
    for (int d = 0; d < Devices; ++d)
        out << uidOf(d);
    return out;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int codeLines = argc > 1 ? QByteArray(argv[1]).toInt() : 300;
    QTemporaryDir logs;
    SimPtyLink link;
    if (!link.connect(network(), logs.path()))
        return 1;
    TMCan &can = *link.can;
    SimModem &modem = *link.modem;
    const TProgCommandList rows = project(codeLines);

    // The link and the simulator alone (the same packets, TXU after TXU)
    // and then the job, in alternating rounds; the best round of each counts,
    // as other programs share the processor.
    double bareSeconds = 1e9, jobSeconds = 1e9;
    int bareFailed = 0, pauses = 0;
    TProgrammingResult result;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer t;
        t.start();
        for (const TProgCommand &r : rows) {
            QByteArray bytes;
            programcommands::packetBytes(r.packet, bytes);
            if (!can.TXU(r.uid.toUInt(nullptr, 16), bytes, TProgramming::AnswerTimeoutMs, QString()))
                ++bareFailed;
        }
        bareSeconds = qMin(bareSeconds, double(t.nsecsElapsed()) / 1e9);
        modem.clearReceived();

        TProgramming job(can);
        pauses = 0;
        job.setPause([&](int) { ++pauses; });
        t.restart();
        result = job.Run(rows, allUids());
        jobSeconds = qMin(jobSeconds, double(t.nsecsElapsed()) / 1e9);
        modem.clearReceived();
        if (result.outcome != TProgrammingResult::Completed) {
            std::printf("the run did not complete (outcome %d)\n", int(result.outcome));
            return 1;
        }
    }

    const int n = int(rows.size());
    if (result.outcome != TProgrammingResult::Completed) {
        std::printf("the run did not complete (outcome %d)\n", int(result.outcome));
        return 1;
    }
    const double rate = n / jobSeconds;
    std::printf("pty        %d devices, %d packets (%d code lines each)\n", Devices, n, codeLines);
    std::printf("bare TXU   %8.0f packets/s, %7.1f us per packet (best of %d), failed %d\n", n / bareSeconds,
                1e6 * bareSeconds / n, Rounds, bareFailed);
    std::printf("job        %8.0f packets/s, %7.1f us per packet (best of %d), errors %d\n", rate, 1e6 * jobSeconds / n,
                Rounds, result.errors);
    std::printf("overhead   %7.1f us per packet above the bare round trip\n", 1e6 * (jobSeconds - bareSeconds) / n);
    std::printf("pauses     %d changes of device x %d ms = %.1f s, not counted above\n", pauses,
                TProgramming::DeviceChangePauseMs, pauses * TProgramming::DeviceChangePauseMs / 1000.0);
    std::printf("target     >= 2000 packets/s: %s\n", rate >= 2000 ? "met" : "NOT met");
    return result.allAcknowledged() ? 0 : 1;
}
