#pragma once
// The lexical rules of the device language that the project's own text
// files share with it: the project and configuration files are read token by
// token, and the program files are searched line by line. The compiler builds
// on the project library, so the project carries its own copy of these few
// stateless rules; they must stay in step with the compiler's tokenizer.
#include <QChar>
#include <QString>
#include <QStringList>

namespace lexis {

// blank " ( ) , . : ; [ ] { }
bool isDelimiter(QChar c);
// * + - / < = >
bool isOperator(QChar c);

// Characters below 32 become blanks, then blanks are cut from both ends;
// with removeBlanks every blank goes.
QString normalizeText(const QString &text, bool removeBlanks = false);

// A source line as the compiler sees it: a ";" after every section word that
// lacks one, the "//" comment removed, normalised.
QString prepareSourceLine(const QString &line);

// Words are runs of word characters; every delimiter and operator is a token
// of its own; blanks are dropped.
QStringList splitTokens(const QString &text);

// Decimal digits only, at least one.
bool isDecimal(const QString &text);
// Hexadecimal digits only, at least one.
bool isHexDigits(const QString &text);

// Reads a bare decimal or hexadecimal text into *value; false when the
// text is not of that form or too large for 64 bits.
bool readDecimal(const QString &text, quint64 *value);
bool readHex(const QString &text, quint64 *value);

} // namespace lexis
