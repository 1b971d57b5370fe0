#include "lexis.h"

#include <array>

namespace lexis {
namespace {

bool isScannerWordChar(QChar c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == u'_'; }

// Characters below 32 count as blanks everywhere (normalisation).
bool isBlank(QChar c) { return c.unicode() <= 32; }

// One shared string per ASCII character: delimiter and operator tokens are
// then copies of these instead of new allocations.
QString singleCharToken(QChar c) {
    static const std::array<QString, 128> table = [] {
        std::array<QString, 128> t;
        for (int i = 0; i < 128; ++i)
            t[i] = QString(QChar(i));
        return t;
    }();
    return c.unicode() < 128 ? table[c.unicode()] : QString(c);
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

const QStringList &sectionWords() {
    static const QStringList words = {"end", "endprogram", "links", "const", "var", "program", "endmacro"};
    return words;
}

bool isSectionWord(QStringView word) {
    // Asked for every word of every source line: no copies, no hashing.
    if (word.size() < 3 || word.size() > 10)
        return false;
    for (const QString &w : sectionWords())
        if (word.compare(w, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void normalizeInPlace(QString &text, bool removeBlanks) {
    qsizetype first = -1, last = -1, out = 0;
    const qsizetype n = text.size();
    QChar *d = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        QChar c = d[i];
        if (c.unicode() < 32)
            c = u' ';
        if (c == u' ' && (removeBlanks || first < 0))
            continue;
        if (first < 0)
            first = out;
        d[out++] = c;
        if (c != u' ')
            last = out;
    }
    text.truncate(first < 0 ? 0 : last);
}

QString normalizeText(const QString &text, bool removeBlanks) {
    QString s = text;
    normalizeInPlace(s, removeBlanks);
    return s;
}

// Normalising, the ";" after section words and the comment cut are done in
// one pass: the first "//" of the result is found as it is written.
void prepareSourceLine(QStringView line, QString &out) {
    out.resize(0);
    qsizetype begin = 0, end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    qsizetype i = begin;
    while (i < end) {
        const QChar c = line[i];
        if (isAsciiLetter(c)) {
            qsizetype j = i;
            while (j < end && isScannerWordChar(line[j]))
                ++j;
            const QStringView word = line.sliced(i, j - i);
            out += word;
            if (isSectionWord(word)) {
                qsizetype k = j;
                while (k < end && isBlank(line[k]))
                    ++k;
                // The ";" goes right after the word: "var x" becomes "var; x".
                if (k == end || line[k] != u';')
                    out += u';';
            }
            i = j;
            continue;
        }
        if (c == u'/' && out.endsWith(u'/')) {
            out.chop(1);
            break;
        }
        out += isBlank(c) ? QChar(u' ') : c;
        ++i;
    }
    qsizetype n = out.size();
    while (n > 0 && out[n - 1] == u' ')
        --n;
    out.truncate(n);
}

QString prepareSourceLine(const QString &line) {
    QString out;
    out.reserve(line.size() + 4);
    prepareSourceLine(line, out);
    return out;
}

QStringList splitTokens(const QString &text) {
    QStringList tokens;
    qsizetype wordStart = -1;
    const qsizetype n = text.size();
    tokens.reserve(n); // never more tokens than characters: no regrowth
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (!isBlank(c) && isWordChar(c)) {
            if (wordStart < 0)
                wordStart = i;
            continue;
        }
        if (wordStart >= 0) {
            tokens.append(text.mid(wordStart, i - wordStart));
            wordStart = -1;
        }
        if (!isBlank(c))
            tokens.append(singleCharToken(c));
    }
    if (wordStart >= 0)
        tokens.append(text.mid(wordStart));
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
