#include "lexis.h"

namespace lexis {
namespace {

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}
bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

bool isSectionWord(const QString &word) {
    static const QStringList words{"end", "endprogram", "links", "const", "var", "program", "endmacro"};
    return words.contains(word, Qt::CaseInsensitive);
}

} // namespace

bool isDelimiter(QChar c) {
    switch (c.unicode()) {
    case ' ': case '"': case '(': case ')': case ',': case '.': case ':': case ';':
    case '[': case ']': case '{': case '}':
        return true;
    default:
        return false;
    }
}

bool isOperator(QChar c) {
    switch (c.unicode()) {
    case '*': case '+': case '-': case '/': case '<': case '=': case '>':
        return true;
    default:
        return false;
    }
}

QString normalizeText(const QString &text, bool removeBlanks) {
    QString s = text;
    for (QChar &c : s)
        if (c.unicode() < 32)
            c = QLatin1Char(' ');
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' '))
        ++b;
    while (e > b && s[e - 1] == QLatin1Char(' '))
        --e;
    s = s.mid(b, e - b);
    if (removeBlanks)
        s.remove(QLatin1Char(' '));
    return s;
}

QString prepareSourceLine(const QString &line) {
    QString s = normalizeText(line);
    qsizetype i = 0;
    while (i < s.size()) {
        if (!isAsciiLetter(s[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < s.size() && (isAsciiLetter(s[i]) || isAsciiDigit(s[i]) || s[i] == QLatin1Char('_')))
            ++i;
        if (!isSectionWord(s.mid(start, i - start)))
            continue;
        const qsizetype wordEnd = i;
        while (i < s.size() && s[i] == QLatin1Char(' '))
            ++i;
        if (i >= s.size() || s[i] != QLatin1Char(';')) {
            s.insert(wordEnd, QLatin1Char(';'));
            i = wordEnd + 1;
        }
    }
    const qsizetype comment = s.indexOf(QLatin1String("//"));
    if (comment >= 0)
        s.truncate(comment);
    return normalizeText(s);
}

QStringList splitTokens(const QString &text) {
    QStringList tokens;
    QString word;
    for (QChar c : normalizeText(text)) {
        if (!isDelimiter(c) && !isOperator(c)) {
            word += c;
            continue;
        }
        if (!word.isEmpty())
            tokens << word;
        word.clear();
        if (c != QLatin1Char(' '))
            tokens << QString(c);
    }
    if (!word.isEmpty())
        tokens << word;
    return tokens;
}

bool isDecimal(const QString &text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!isAsciiDigit(c))
            return false;
    return true;
}

bool isHexDigits(const QString &text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!isAsciiDigit(c) && !(u >= 'a' && u <= 'f') && !(u >= 'A' && u <= 'F'))
            return false;
    }
    return true;
}

bool readDecimal(const QString &text, quint64 *value) {
    bool ok = false;
    const quint64 v = isDecimal(text) ? text.toULongLong(&ok, 10) : 0;
    if (ok && value)
        *value = v;
    return ok;
}

bool readHex(const QString &text, quint64 *value) {
    bool ok = false;
    const quint64 v = isHexDigits(text) ? text.toULongLong(&ok, 16) : 0;
    if (ok && value)
        *value = v;
    return ok;
}

} // namespace lexis
