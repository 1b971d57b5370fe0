#include "compilerlib.h"

#include <QSet>

namespace {

QSet<QString> lowerSet(const QStringList &words) {
    QSet<QString> set;
    for (const QString &w : words)
        set.insert(w.toLower());
    return set;
}

// Only words made of ASCII letters can be in the lists; checking that first
// spares the lower-casing copy for most tokens.
bool inLowerSet(const QSet<QString> &set, const QString &word) {
    for (QChar c : word)
        if (!IsAsciiLetter(c))
            return false;
    return !word.isEmpty() && set.contains(word.toLower());
}

} // namespace

const QStringList &ReservedWords() {
    static const QStringList words = {
        "setout", "end", "endprogram", "links", "const", "var", "if", "goto", "send",
        "program", "function", "device", "endmacro", "script", "eeprom", "ram", "byte",
        "word", "global", "fardev", "mov", "param", "statusend", "endcycle", "reset",
        "changeout", "module", "calc", "inc", "dec", "runlink", "timer", "wait",
        "setinputalarm", "resetinputalarm", "IREmit"};
    return words;
}

bool IsReservedWord(const QString &word) {
    static const QSet<QString> set = lowerSet(ReservedWords());
    return inLowerSet(set, word);
}

bool IsIdentifier(const QString &text) {
    if (text.isEmpty() || !IsAsciiLetter(text[0]))
        return false;
    for (QChar c : text)
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != u'_')
            return false;
    return true;
}

bool IsDigitString(const QString &text) {
    for (QChar c : text)
        if (!IsAsciiDigit(c))
            return false;
    return true;
}

bool IsHexLiteral(const QString &text) {
    if (text.size() < 2 || text[0] != u'0' || (text[1] != u'x' && text[1] != u'X'))
        return false;
    for (qsizetype i = 2; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const bool hex = (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
        if (!hex)
            return false;
    }
    return true;
}

QString LowerAscii(const QString &text) {
    auto isUpper = [](QChar c) { return c.unicode() >= 'A' && c.unicode() <= 'Z'; };
    qsizetype i = 0;
    while (i < text.size() && !isUpper(text[i]))
        ++i;
    if (i == text.size())
        return text; // shared, no copy
    QString out = text;
    for (; i < out.size(); ++i)
        if (isUpper(out[i]))
            out[i] = QChar(out[i].unicode() + ('a' - 'A'));
    return out;
}
