// vodiz-cli catalogue list: the device types of the catalogue.
#include "app/catalogue.h"
#include "app/devicekind.h"
#include "clicatalogue.h"
#include "clicommand.h"

namespace {

const QString kUsage = QStringLiteral("catalogue list [--tsv]");

int listDevices(const QStringList &args) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("tsv"), QStringLiteral("Tab-separated columns")});
    if (!cliParse(parser, kUsage, args))
        return CliBadInput;
    if (!parser.positionalArguments().isEmpty()) {
        cliErr(QStringLiteral("usage: vodiz-cli ") + kUsage);
        return CliBadInput;
    }
    TDM dm;
    if (!cliConnectCatalogue(dm))
        return CliBadInput;
    QList<QStringList> rows;
    for (const DeviceTypeRow &d : dm.DQDevices())
        rows.append({QString::number(d.cat_num), d.name, QString::number(d.ins), QString::number(d.outs), d.Conf_in,
                     QString::number(DeviceKind(d.cat_num)), AliasPrefix(d.cat_num)});
    cliPrintTable({QStringLiteral("cat_num"), QStringLiteral("name"), QStringLiteral("ins"), QStringLiteral("outs"),
                   QStringLiteral("Conf_in"), QStringLiteral("kind"), QStringLiteral("prefix")},
                  rows, parser.isSet(QStringLiteral("tsv")));
    return CliOk;
}

int run(const QStringList &args) {
    if (args.value(0) == QLatin1String("list"))
        return listDevices(args.mid(1));
    cliErr(QStringLiteral("usage: vodiz-cli ") + kUsage);
    return CliBadInput;
}

CliRegistration reg({QStringLiteral("catalogue"), QStringLiteral("list the device types of the catalogue"), run});

} // namespace
