#pragma once
// The catalogue for command-line jobs: --catalogue PATH when given, else the
// database named by the windowed program's settings (read, never rewritten).
#include <QString>

class TDM;

QString cliCataloguePath();
// Connects dm; on failure prints why and returns false (exit CliBadInput).
bool cliConnectCatalogue(TDM &dm);
