// vodiz-cli scan: connects to the CAN modem on a port and lists the devices
// on the bus, as the network auto-detection finds them.
#include "app/catalogue.h"
#include "app/cli/clicatalogue.h"
#include "app/cli/clicommand.h"
#include "modem/cli/clilink.h"
#include "modem/mcan.h"
#include "network/autodetect.h"

namespace {

int run(const QStringList &args) {
    const QString usage = QStringLiteral("scan ") + cliLinkUsage() + QStringLiteral(" [--detect-time S] [--tsv]");
    QCommandLineParser parser;
    cliAddLinkOptions(parser);
    parser.addOption({QStringLiteral("detect-time"), QStringLiteral("Seconds of silence that end a scan (default 2)"),
                      QStringLiteral("S")});
    parser.addOption({QStringLiteral("tsv"), QStringLiteral("Tab-separated columns")});
    if (!cliParse(parser, usage, args))
        return CliBadInput;
    int detectTime = 2;
    if (!parser.positionalArguments().isEmpty() || !parser.isSet(QStringLiteral("port"))) {
        cliErr(QStringLiteral("usage: vodiz-cli ") + usage);
        return CliBadInput;
    }
    if (!cliIntOption(QStringLiteral("scan"), parser, QStringLiteral("detect-time"), 1, 255, detectTime))
        return CliBadInput;
    TDM dm;
    if (!cliConnectCatalogue(dm))
        return CliBadInput;
    int exitCode = CliOk;
    std::unique_ptr<TMCan> can = cliConnectLink(QStringLiteral("scan"), parser, &exitCode);
    if (!can)
        return exitCode;
    can->setDetectTime(uint8_t(detectTime));

    TDMDetectCatalogue catalogue(dm);
    TAutoDetect detector(*can, catalogue);
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
