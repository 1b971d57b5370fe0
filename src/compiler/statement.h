#pragma once
// One statement while it is compiled: its tokens after the label prefix,
// the prefix of its command line and the device it addresses. Used by the
// statement form files only.
#include "analis.h"
#include "compilertext.h"

struct TAnalis::Statement {
    TStringArray t;
    QString prefix = QStringLiteral("ADDR");
    int pos = 0;     // the statement word (after a device prefix)
    int target = -1; // device named by the prefix, -1 for none

    int size() const { return int(t.size()); }
    bool has(int i) const { return i >= 0 && i < t.size(); }
    // A token that must be there: reading past the end fails the statement.
    const QString &at(int i) const {
        if (!has(i))
            throw TStatementFailure();
        return t[i];
    }
    bool is(int i, const char *text) const { return has(i) && t[i] == QLatin1String(text); }
    bool isWord(int i, const char *text) const {
        return has(i) && t[i].compare(QLatin1String(text), Qt::CaseInsensitive) == 0;
    }
    // The macro-end variant: the statement ends with "endmacro".
    bool endsWithEndMacro() const { return !t.isEmpty() && t.last().compare(QLatin1String("endmacro"), Qt::CaseInsensitive) == 0; }
    QString line(const QString &command) const { return prefix + QLatin1Char(':') + command; }
};

// The command followed by the zeros of its unused digits. The count is
// fixed by the form, so a field of the wrong width shows in the line's
// length, which the assembly checks.
inline QString withZeros(const QString &command, int zeros) { return command + QString(zeros, u'0'); }
