// vodiz-cli: the system's jobs without windows.
#include "clicommand.h"

#include <QCoreApplication>
#include <QDir>

namespace {

void printHelp() {
    cliOut(QStringLiteral("usage: vodiz-cli [--catalogue PATH] COMMAND [ARGS...]"));
    cliOut(QString());
    cliOut(QStringLiteral("Commands:"));
    for (const CliCommand &c : cliCommands())
        cliOut(QStringLiteral("  %1  %2").arg(c.name.leftJustified(12), c.summary));
    cliOut(QString());
    cliOut(QStringLiteral("Global options:"));
    cliOut(QStringLiteral("  --catalogue PATH  catalogue database file (default: from the settings)"));
    cliOut(QStringLiteral("Exit codes: 0 success, 1 the job failed, 2 bad usage or unreadable input."));
}

// Takes the global options out of args, wherever they stand.
bool takeGlobals(QStringList &args) {
    for (int i = 0; i < args.size();) {
        const QString a = args[i];
        if (a == QLatin1String("--catalogue")) {
            if (i + 1 >= args.size()) {
                cliErr(QStringLiteral("--catalogue needs a file name"));
                return false;
            }
            cliGlobals().cataloguePath = args[i + 1];
            args.remove(i, 2);
        } else if (a.startsWith(QLatin1String("--catalogue="))) {
            cliGlobals().cataloguePath = a.mid(12);
            args.remove(i);
        } else {
            ++i;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vodiz"));
    cliGlobals().programDir = QCoreApplication::applicationDirPath();

    QStringList args = app.arguments().mid(1);
    if (!takeGlobals(args))
        return CliBadInput;
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") ||
        args[0] == QLatin1String("help")) {
        printHelp();
        return args.isEmpty() ? CliBadInput : CliOk;
    }
    const QString name = args.takeFirst();
    for (const CliCommand &c : cliCommands())
        if (c.name == name)
            return c.run(args);
    cliErr(QStringLiteral("vodiz-cli: unknown command \"%1\" (see vodiz-cli --help)").arg(name));
    return CliBadInput;
}
