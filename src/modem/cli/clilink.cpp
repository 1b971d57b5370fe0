#include "clilink.h"

#include "app/cli/clicommand.h"
#include "modem/mcan.h"

void cliAddLinkOptions(QCommandLineParser &parser) {
    parser.addOption({QStringLiteral("port"), QStringLiteral("Serial port of the modem"), QStringLiteral("PORT")});
    parser.addOption({QStringLiteral("uart"), QStringLiteral("UART speed index 0-5 (default 3)"), QStringLiteral("N")});
    parser.addOption({QStringLiteral("log-dir"), QStringLiteral("Folder for the packet log folder"), QStringLiteral("DIR")});
}

QString cliLinkUsage() { return QStringLiteral("--port PORT [--uart N] [--log-dir DIR]"); }

bool cliIntOption(const QString &command, const QCommandLineParser &parser, const QString &name, int low, int high,
                  int &value) {
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int v = parser.value(name).toInt(&ok);
    if (!ok || v < low || v > high) {
        cliErr(QStringLiteral("vodiz-cli %1: --%2 must be %3 to %4").arg(command, name).arg(low).arg(high));
        return false;
    }
    value = v;
    return true;
}

std::unique_ptr<TMCan> cliConnectLink(const QString &command, const QCommandLineParser &parser, int *exitCode) {
    *exitCode = CliBadInput;
    int uart = 3;
    if (!parser.isSet(QStringLiteral("port"))) {
        cliErr(QStringLiteral("vodiz-cli %1: --port is required").arg(command));
        return nullptr;
    }
    if (!cliIntOption(command, parser, QStringLiteral("uart"), 0, 5, uart))
        return nullptr;
    const QString port = parser.value(QStringLiteral("port"));
    const QString logDir =
        parser.isSet(QStringLiteral("log-dir")) ? parser.value(QStringLiteral("log-dir")) : cliGlobals().programDir;
    auto can = std::make_unique<TMCan>(logDir);
    if (!can->logOpened()) {
        cliErr(QStringLiteral("vodiz-cli %1: cannot open the packet log: %2").arg(command, can->logError()));
        return nullptr;
    }
    // Say why a port cannot be used before the connection tries every speed.
    {
        std::unique_ptr<SerialPort> probe = makeSystemSerialPort();
        if (!probe->open(port)) {
            cliErr(QStringLiteral("vodiz-cli %1: cannot open %2: %3").arg(command, port, probe->errorString()));
            return nullptr;
        }
    }
    can->SelectPort(port);
    if (!can->Connect(uart)) {
        cliErr(QStringLiteral("vodiz-cli %1: no modem answers on %2 (see %3)").arg(command, port, can->logPath()));
        return nullptr;
    }
    *exitCode = CliOk;
    return can;
}
