#pragma once
// Subcommands of vodiz-cli. Each subsystem registers its own in its cli/
// folder with a static CliRegistration; main() dispatches by name.
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <functional>

// Exit codes shared by every subcommand.
enum CliExit { CliOk = 0, CliJobFailed = 1, CliBadInput = 2 };

// Options that apply to every subcommand (given before or after its name).
struct CliGlobals {
    QString cataloguePath; // --catalogue PATH; empty: the settings' default
    QString programDir;    // folder of the vodiz-cli program
};
CliGlobals &cliGlobals();

struct CliCommand {
    QString name;    // e.g. "catalogue" or "project"
    QString summary; // one line for --help
    // args: the words after the command name, global options removed.
    std::function<int(const QStringList &args)> run;
};

class CliRegistration {
public:
    explicit CliRegistration(CliCommand command);
};

const QList<CliCommand> &cliCommands();

// Output helpers: UTF-8 on the terminal whatever the locale.
void cliOut(const QString &line);  // line + '\n' to stdout
void cliErr(const QString &line);  // line + '\n' to stderr

// Parses a subcommand's own options. On a usage error prints it with the
// usage text and returns false (the caller exits with CliBadInput).
bool cliParse(QCommandLineParser &parser, const QString &usage, const QStringList &args);

// Tab-separated or aligned rows under a header line.
void cliPrintTable(const QStringList &header, const QList<QStringList> &rows, bool tsv);
