#pragma once
// The two intermediate files that preprocessing leaves beside a program file:
// the statement listing (".pdc", one statement a line) and the statement
// position file (".pdl", one fixed 544-byte record a statement, telling the
// file and line each statement came from).
#include "statementtable.h"

#include <QByteArray>

namespace listingfiles {

// Record layout of the position file. Strings are a length byte followed by
// the characters (Windows-1251); unused bytes are written as zeros.
constexpr int RecordSize = 544;
constexpr int PathOffset = 0;        // 1 + 255
constexpr int LineOffset = 256;      // signed 32-bit little-endian
constexpr int TextOffset = 260;      // 1 + 255
constexpr int ShortNameOffset = 516; // 1 + 20
constexpr int ShortNameLength = 20;
constexpr int LineCopyOffset = 540;  // the line again

// "dev1.pd" gives "dev1.pdc" and "dev1.pdl".
QString ListingPath(const QString &programPath);
QString PositionPath(const QString &programPath);

// A path as a position record gives it back: cut to the record's length,
// characters the code page lacks read as "?".
QString RecordedPath(const QString &path);

// The file name without its folder ("\" or "/"), cut to 20 characters.
QString ShortFileName(const QString &path);

// One position-file record of a statement, text as it stands.
QByteArray PositionRecord(const TStatementRecord &statement);
// The statement of one record (path, line and text). record must hold
// RecordSize bytes.
TStatementRecord StatementFromRecord(const QByteArray &record);

// Both write the whole file or none of it (a failed write removes it);
// texts are lower-cased (ASCII only).
bool WriteListing(const QString &path, const TArrayStringsTable &table, QString *error = nullptr);
bool WritePositionFile(const QString &path, const TArrayStringsTable &table, QString *error = nullptr);

// Reads a position file back. A file whose size is not a whole number of
// records is refused with a message.
bool ReadPositionFile(const QString &path, TArrayStringsTable &table, QString *error = nullptr);

// The statements of a preprocessed program: the listing's texts, each with
// the file and line of its position record. Refused when the two files do
// not hold the same number of statements.
bool ReadPreprocessedProgram(const QString &programPath, TArrayStringsTable &table, QString *error = nullptr);

} // namespace listingfiles
