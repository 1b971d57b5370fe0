#pragma once
// CompilerLib: the word lists and character classes of the device language
// and the predicates on single tokens. Stateless. The character classes and
// section words are the project's lexical rules under the compiler's names.
#include "project/lexis.h"

#include <QChar>
#include <QString>
#include <QStringList>

// An ordered list of tokens.
using TStringArray = QStringList;

// The 36 reserved words, in their fixed order.
const QStringList &ReservedWords();
// The 7 words that open or close a section.
inline const QStringList &SectionWords() { return lexis::sectionWords(); }

// Membership in the lists, compared without regard to case.
bool IsReservedWord(const QString &word);
inline bool IsSectionWord(QStringView word) { return lexis::isSectionWord(word); }

// Not empty, an ASCII letter first, then ASCII letters, digits and "_".
bool IsIdentifier(const QString &text);
// Decimal digits only; true for the empty text.
bool IsDigitString(const QString &text);
// "0x" or "0X" followed by hexadecimal digits only ("0x" alone counts).
bool IsHexLiteral(const QString &text);

// Character classes of the tokenizer.
inline bool IsDelimiterChar(QChar c) { return lexis::isDelimiter(c); } // blank " ( ) , . : ; [ ] { }
inline bool IsOperatorChar(QChar c) { return lexis::isOperator(c); }   // * + - / < = >
inline bool IsWordChar(QChar c) { return lexis::isWordChar(c); }
inline bool IsAsciiLetter(QChar c) { return lexis::isAsciiLetter(c); }
inline bool IsAsciiDigit(QChar c) { return lexis::isAsciiDigit(c); }

// Lower-cases the ASCII letters A to Z only, as the intermediate files need.
QString LowerAscii(const QString &text);
