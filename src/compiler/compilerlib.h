#pragma once
// CompilerLib: the word lists and character classes of the device language
// and the predicates on single tokens. Stateless; used by the compiler and by
// every reader of the system's own text files.
#include <QChar>
#include <QString>
#include <QStringList>

// An ordered list of tokens.
using TStringArray = QStringList;

// The 36 reserved words, in their fixed order.
const QStringList &ReservedWords();
// The 7 words that open or close a section.
const QStringList &SectionWords();

// Membership in the lists, compared without regard to case.
bool IsReservedWord(const QString &word);
bool IsSectionWord(QStringView word);

// Not empty, an ASCII letter first, then ASCII letters, digits and "_".
bool IsIdentifier(const QString &text);
// Decimal digits only; true for the empty text.
bool IsDigitString(const QString &text);
// "0x" or "0X" followed by hexadecimal digits only ("0x" alone counts).
bool IsHexLiteral(const QString &text);

// Character classes of the tokenizer.
bool IsDelimiterChar(QChar c); // blank " ( ) , . : ; [ ] { }
bool IsOperatorChar(QChar c);  // * + - / < = >
inline bool IsWordChar(QChar c) { return !IsDelimiterChar(c) && !IsOperatorChar(c); }

inline bool IsAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}
inline bool IsAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// Lower-cases the ASCII letters A to Z only, as the intermediate files need.
QString LowerAscii(const QString &text);
