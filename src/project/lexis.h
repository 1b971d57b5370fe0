#pragma once
// The lexical rules of the device language: character classes, the section
// words, normalising, source line preparation and the tokenizer. The project
// reads its own text files with them, and the compiler builds on them, so
// there is one statement of the rules for both.
#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace lexis {

inline bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}
inline bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// blank " ( ) , . : ; [ ] { }
bool isDelimiter(QChar c);
// * + - / < = >
bool isOperator(QChar c);
inline bool isWordChar(QChar c) { return !isDelimiter(c) && !isOperator(c); }

// The 7 words that open or close a section, and membership in them
// (letter case ignored).
const QStringList &sectionWords();
bool isSectionWord(QStringView word);

// Characters below 32 become blanks, then blanks are cut from both ends;
// with removeBlanks every blank goes.
QString normalizeText(const QString &text, bool removeBlanks = false);
void normalizeInPlace(QString &text, bool removeBlanks);

// A source line as the compiler sees it: a ";" after every section word that
// lacks one, the "//" comment removed, normalised.
QString prepareSourceLine(const QString &line);
// The same into out, reusing its storage (for loops over many lines).
void prepareSourceLine(QStringView line, QString &out);

// Words are runs of word characters; every delimiter and operator is a token
// of its own; blanks (and characters below 32) are dropped.
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
