// vodiz-cli sim: a simulated CAN modem and bus on a pseudo-terminal, for
// trying the link commands without hardware. Prints "PORT <path>" first,
// then serves until stdin closes or the process is terminated.
#include "app/cli/clicommand.h"
#include "modem/ptypair.h"
#include "modem/simrunner.h"

#include <cstdio>

namespace {

const QString kUsage = QStringLiteral(
    "sim [--network FILE] [--modem-uid HEX] [--latency MS] [--drop N] [--corrupt N] [--garbage] [--mute UID[:N]]");

bool readFaults(const QCommandLineParser &parser, SimFaults &faults) {
    QStringList words;
    for (const char *name : {"latency", "drop", "corrupt", "mute"})
        if (parser.isSet(QString::fromLatin1(name)))
            words << QStringLiteral("%1=%2").arg(QString::fromLatin1(name), parser.value(QString::fromLatin1(name)));
    if (parser.isSet(QStringLiteral("garbage")))
        words << QStringLiteral("garbage");
    if (words.isEmpty())
        return true;
    QString error;
    if (parseSimFaults(words.join(QLatin1Char(',')), faults, &error))
        return true;
    cliErr(QStringLiteral("vodiz-cli sim: %1").arg(error));
    return false;
}

int run(const QStringList &args) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("network"), QStringLiteral("Network description file"), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("modem-uid"), QStringLiteral("UID of the modem (hex)"), QStringLiteral("HEX")});
    parser.addOption({QStringLiteral("latency"), QStringLiteral("Delay of device answers"), QStringLiteral("MS")});
    parser.addOption({QStringLiteral("drop"), QStringLiteral("Lose every N-th device answer"), QStringLiteral("N")});
    parser.addOption({QStringLiteral("corrupt"), QStringLiteral("Corrupt every N-th device answer"), QStringLiteral("N")});
    parser.addOption({QStringLiteral("garbage"), QStringLiteral("Noise bytes between frames")});
    parser.addOption({QStringLiteral("mute"), QStringLiteral("Device that stops answering after N answers"),
                      QStringLiteral("UID[:N]")});
    if (!cliParse(parser, kUsage, args))
        return CliBadInput;
    if (!parser.positionalArguments().isEmpty()) {
        cliErr(QStringLiteral("usage: vodiz-cli ") + kUsage);
        return CliBadInput;
    }
    SimNetworkSpec spec = defaultSimNetwork();
    QString error;
    if (parser.isSet(QStringLiteral("network")) && !readSimNetwork(parser.value(QStringLiteral("network")), spec, &error)) {
        cliErr(QStringLiteral("vodiz-cli sim: %1").arg(error));
        return CliBadInput;
    }
    if (parser.isSet(QStringLiteral("modem-uid"))) {
        bool ok = false;
        const uint uid = parser.value(QStringLiteral("modem-uid")).toUInt(&ok, 16);
        if (!ok || uid > 0xFFFFFF) {
            cliErr(QStringLiteral("vodiz-cli sim: bad modem UID \"%1\"").arg(parser.value(QStringLiteral("modem-uid"))));
            return CliBadInput;
        }
        spec.modemUid = uid;
    }
    if (!readFaults(parser, spec.faults))
        return CliBadInput;

    PtyPair pty;
    if (!pty.open(&error)) {
        cliErr(QStringLiteral("vodiz-cli sim: cannot create a pseudo-terminal: %1").arg(error));
        return CliJobFailed;
    }
    SimModem modem(spec);
    SimRunner runner(modem, pty.takeMasterPort());
    cliOut(QStringLiteral("PORT ") + pty.slavePath());
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    return CliOk;
}

CliRegistration reg({QStringLiteral("sim"), QStringLiteral("simulated CAN modem and devices on a pseudo-terminal"), run});

} // namespace
