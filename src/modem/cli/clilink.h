#pragma once
// What every vodiz-cli command that talks to the bus shares: the options
// --port, --uart and --log-dir, and connecting to the modem.
#include <QCommandLineParser>
#include <memory>

class TMCan;

void cliAddLinkOptions(QCommandLineParser &parser);
// The link options' part of a usage line.
QString cliLinkUsage();

// Opens the packet log (in --log-dir, else beside the program), checks that
// the port can be opened and connects with the speed search. On failure
// prints why and returns nullptr; *exitCode is then CliBadInput.
std::unique_ptr<TMCan> cliConnectLink(const QString &command, const QCommandLineParser &parser, int *exitCode);

// An integer option within bounds; prints why and returns false otherwise.
bool cliIntOption(const QString &command, const QCommandLineParser &parser, const QString &name, int low, int high,
                  int &value);
