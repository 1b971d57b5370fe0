#pragma once
// Small text helpers of the compiler: hexadecimal formatting as the device
// commands need it, quoting of tokens in messages and the integer-text rule.
#include <QString>

#include <optional>

namespace compilertext {

// value in upper-case hexadecimal, at least digits long; negative values
// are written as their 32-bit two's complement.
QString hex(qint64 value, int digits);

// "0x" + four upper-case digits: the form of link ids and numbers.
QString linkText(int value);

// The value of a link id or number text ("0x0802"); -1 when unreadable.
int linkTextValue(const QString &text);

// token in single (sq) or double (dq) quotes, the quote inside doubled.
QString sq(const QString &token);
QString dq(const QString &token);

// An integer text: leading blanks, an optional sign, then decimal digits or
// "$", "x", "X", "0x", "0X" and hexadecimal digits; the value must fit a
// signed 32-bit integer. Nothing when the text does not convert.
std::optional<qint32> IntegerText(const QString &text);

// As IntegerText, throwing TStatementFailure when it does not convert.
qint32 IntegerTextOrFail(const QString &text);

// True when the token's first character is an operator character.
bool BeginsWithOperator(const QString &token);

// Keeps the first value inserted under a key (look-ups that answer the
// first match of a list).
template <class Hash, class Key, class Value> void insertFirst(Hash &hash, const Key &key, const Value &value) {
    if (!hash.contains(key))
        hash.insert(key, value);
}

} // namespace compilertext
