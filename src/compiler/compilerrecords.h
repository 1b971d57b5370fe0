#pragma once
// The compiler's tables: constants and labels of one program file, the
// project-wide variable declarations and the diagnostics of a run.
#include "statementtable.h"

#include <QList>
#include <QString>

// A constant of the program being compiled: the value as written (a number
// or the name of another constant).
struct TConst {
    QString name;
    QString value;
};
using TConstArray = QList<TConst>;

// A variable declared in the var section of a device's program.
struct TVars {
    // Marks a variable without an initial value.
    static constexpr quint16 NoInitialValue = 0x3333;
    enum Memory : quint8 { Eeprom = 0, Ram = 1 };
    enum Size : quint8 { Byte = 0, Word = 1 };

    QString alias;     // device alias cut to 20 characters (for display)
    QString uid;       // the device's UID text
    QString uniqAddr;  // the device's unique-address text
    QString fullAlias; // the device's alias; decides which device owns it
    quint8 memory = Eeprom;
    quint8 size = Byte;
    QString name;
    quint16 address = 0;
    quint16 initValue = NoInitialValue;
};
using TVarsArray = QList<TVars>;

// A label of the program being compiled. codeAddress is filled when the
// device's code lines are assembled; placeholder stands in for it until then.
struct TLabelGoto {
    QString name;        // as preprocessing renamed it ("@l1")
    QString codeAddress; // four hexadecimal digits
    QString placeholder; // "L" + three hexadecimal digits of its position
};
using TLabelArray = QList<TLabelGoto>;

// One diagnostic.
struct TErrorTable {
    QString kind; // "Error" or "Warning"
    qint32 code = 0;
    QString file; // file name without folder
    qint32 line = 0;
    QString text;
};
using TErrorArray = QList<TErrorTable>;

namespace compilerrecords {

inline const QString ErrorKind = QStringLiteral("Error");
inline const QString WarningKind = QStringLiteral("Warning");

// Diagnostic codes kept with each record.
enum ErrorCode { ConstantDeclarationCode = 30, GeneralCode = 33, LabelCode = 40 };

// Appends a diagnostic at the statement's file (name only) and line.
void AddError(TErrorArray &errors, const QString &kind, qint32 code, const TStatementRecord &at,
              const QString &text);

// "[kind] file(line): text", as the error file holds it.
QString ErrorFileLine(const TErrorTable &error);

bool IsErrorLine(const QString &line);   // second character "e"
bool IsWarningLine(const QString &line); // second character "w"

} // namespace compilerrecords
