#pragma once
// An alias is the base name of its device's program file and a single word
// of the project file, so not every text can be one.
#include <QString>

// Why alias cannot name a device (a message for the user), or empty when it
// can: it must be one word of the project file (no blanks, delimiters or
// operators), a valid file name on every platform (no \ | ? or control
// characters, no reserved device name such as CON or LPT1) and storable in
// Windows-1251.
QString aliasProblem(const QString &alias);

// The same rules for any name that becomes a file name and a word of the
// device language (function names); what names the thing in the message,
// e.g. "Имя функции".
QString fileWordProblem(const QString &name, const QString &what);
