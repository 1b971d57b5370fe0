// vodiz-cli scan: connects to the CAN modem on a port and lists the devices
// on the bus, as the network auto-detection finds them.
#include "app/catalogue.h"
#include "app/cli/clicatalogue.h"
#include "app/cli/clicommand.h"
#include "modem/mcan.h"
#include "network/autodetect.h"

namespace {

const QString kUsage =
    QStringLiteral("scan --port PORT [--uart N] [--detect-time S] [--log-dir DIR] [--tsv]");

bool intOption(const QCommandLineParser &parser, const QString &name, int low, int high, int &value) {
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int v = parser.value(name).toInt(&ok);
    if (!ok || v < low || v > high) {
        cliErr(QStringLiteral("vodiz-cli scan: --%1 must be %2 to %3").arg(name).arg(low).arg(high));
        return false;
    }
    value = v;
    return true;
}

int run(const QStringList &args) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("port"), QStringLiteral("Serial port of the modem"), QStringLiteral("PORT")});
    parser.addOption({QStringLiteral("uart"), QStringLiteral("UART speed index 0-5 (default 3)"), QStringLiteral("N")});
    parser.addOption({QStringLiteral("detect-time"), QStringLiteral("Seconds of silence that end a scan (default 2)"),
                      QStringLiteral("S")});
    parser.addOption({QStringLiteral("log-dir"), QStringLiteral("Folder for the packet log folder"), QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("tsv"), QStringLiteral("Tab-separated columns")});
    if (!cliParse(parser, kUsage, args))
        return CliBadInput;
    int uart = 3, detectTime = 2;
    if (!parser.positionalArguments().isEmpty() || !parser.isSet(QStringLiteral("port"))) {
        cliErr(QStringLiteral("usage: vodiz-cli ") + kUsage);
        return CliBadInput;
    }
    if (!intOption(parser, QStringLiteral("uart"), 0, 5, uart) ||
        !intOption(parser, QStringLiteral("detect-time"), 1, 255, detectTime))
        return CliBadInput;
    const QString port = parser.value(QStringLiteral("port"));

    TDM dm;
    if (!cliConnectCatalogue(dm))
        return CliBadInput;
    TMCan can(parser.isSet(QStringLiteral("log-dir")) ? parser.value(QStringLiteral("log-dir")) : cliGlobals().programDir);
    if (!can.logOpened()) {
        cliErr(QStringLiteral("vodiz-cli scan: cannot open the packet log: %1").arg(can.logError()));
        return CliBadInput;
    }
    // Say why a port cannot be used before the connection tries every speed.
    {
        std::unique_ptr<SerialPort> probe = makeSystemSerialPort();
        if (!probe->open(port)) {
            cliErr(QStringLiteral("vodiz-cli scan: cannot open %1: %2").arg(port, probe->errorString()));
            return CliBadInput;
        }
    }
    can.SelectPort(port);
    can.setDetectTime(uint8_t(detectTime));
    if (!can.Connect(uart)) {
        cliErr(QStringLiteral("vodiz-cli scan: no modem answers on %1 (see %2)").arg(port, can.logPath()));
        return CliBadInput;
    }
    TDMDetectCatalogue catalogue(dm);
    TAutoDetect detector(can, catalogue);
    if (!detector.Detect())
        return CliJobFailed; // the detector said why
    const QStringList columns = {QStringLiteral("nmbr"),     QStringLiteral("catN"),    QStringLiteral("name"),
                                 QStringLiteral("UIDhex"),   QStringLiteral("UAddrHex"), QStringLiteral("BootVer"),
                                 QStringLiteral("HardVer"),  QStringLiteral("SoftVer")};
    QList<QStringList> rows;
    TMemTable &table = detector.table();
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList row;
        for (const QString &c : columns)
            row << table.value(r, c).toString();
        rows << row;
    }
    cliPrintTable(columns, rows, parser.isSet(QStringLiteral("tsv")));
    return CliOk;
}

CliRegistration reg({QStringLiteral("scan"), QStringLiteral("list the devices on the CAN bus through the modem"), run});

} // namespace
