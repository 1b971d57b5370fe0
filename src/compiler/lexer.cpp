#include "lexer.h"

#include "app/textfile.h"

#include <array>

namespace {

bool isScannerWordChar(QChar c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == u'_'; }

// Characters below 32 count as blanks everywhere (normalisation).
bool isBlank(QChar c) { return c.unicode() <= 32; }

// The prepared form of a line into out, whose storage is reused from line
// to line. Normalising, the ";" after section words and the comment cut are
// done in one pass: the first "//" of the result is found as it is written.
void prepareLine(QStringView line, QString &out) {
    out.resize(0);
    qsizetype begin = 0, end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    qsizetype i = begin;
    while (i < end) {
        const QChar c = line[i];
        if (IsAsciiLetter(c)) {
            qsizetype j = i;
            while (j < end && isScannerWordChar(line[j]))
                ++j;
            const QStringView word = line.sliced(i, j - i);
            out += word;
            if (IsSectionWord(word)) {
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

bool sameWord(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

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

bool startsWithWordChar(const QString &token) { return !token.isEmpty() && IsWordChar(token[0]); }

bool isSlash(const QString &token) { return token.size() == 1 && token[0] == u'/'; }

} // namespace

void TLexer::NormalizeText(QString &text, bool removeBlanks) {
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

QString TLexer::PrepareSourceLine(const QString &line) {
    QString out;
    out.reserve(line.size() + 4);
    prepareLine(line, out);
    return out;
}

void TLexer::PrepareSourceLine(QStringView line, QString &out) { prepareLine(line, out); }

TArrayStringsTable TLexer::SplitStatements(const QStringList &lines, const QString &path) {
    TArrayStringsTable table;
    QString pending, prepared;
    auto finish = [&](qsizetype lineIndex) {
        NormalizeText(pending, false);
        // A copy of its own (no longer than a record keeps), so pending
        // keeps its storage for the next statement.
        const qsizetype kept = qMin<qsizetype>(pending.size(), TStatementRecord::MaxTextLength);
        table.append(TStatementRecord(path, qint32(lineIndex), QString(pending.constData(), kept)));
        pending.resize(0);
    };
    for (qsizetype li = 0; li < lines.size(); ++li) {
        prepareLine(lines[li], prepared);
        if (prepared.isEmpty())
            continue;
        qsizetype start = 0;
        for (qsizetype semi = prepared.indexOf(u';'); semi >= 0; semi = prepared.indexOf(u';', start)) {
            pending += QStringView(prepared).sliced(start, semi - start);
            finish(li);
            start = semi + 1;
        }
        pending += QStringView(prepared).sliced(start);
        // A line end inside a statement reads as a blank.
        if (!prepared.endsWith(u';'))
            pending += u' ';
    }
    return table; // text after the last ";" is not a statement
}

bool TLexer::ReadStatementTable(const QString &path, TArrayStringsTable &table, QString *error) {
    QStringList lines;
    if (!textfile::readLines(path, lines, error))
        return false;
    table = SplitStatements(lines, path);
    return true;
}

TStringArray TLexer::SplitTokens(const QString &text) {
    // Characters below 32 act as blanks, which is what normalising first
    // would give, without copying the text.
    TStringArray tokens;
    qsizetype wordStart = -1;
    const qsizetype n = text.size();
    tokens.reserve(n); // never more tokens than characters: no regrowth

    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (!isBlank(c) && IsWordChar(c)) {
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

QString TLexer::JoinTokens(const TStringArray &tokens) {
    QString out;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (i > 0) {
            const QString &a = tokens[i - 1], &b = tokens[i];
            if ((startsWithWordChar(a) && startsWithWordChar(b)) || (isSlash(a) && isSlash(b)))
                out += u' ';
        }
        out += tokens[i];
    }
    return out;
}

QString TLexer::GlueTokens(const TStringArray &tokens) {
    QString out;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (i > 0 && isSlash(tokens[i - 1]) && isSlash(tokens[i]))
            out += u' ';
        out += tokens[i];
    }
    return out;
}

TArrayStringsTable TLexer::ExtractSection(TArrayStringsTable &table, const QString &startWord,
                                          const QString &endWord) {
    if (table.size() < 3)
        return {TStatementRecord(QString(), 0, TableTooShort)};
    qsizetype i = 0;
    while (i < table.size() && !sameWord(table[i].text(), startWord))
        ++i;
    if (i == table.size()) {
        TStatementRecord marker = table.first();
        marker.setText(SectionMissing);
        marker.setLine(0);
        return {marker};
    }
    table[i].setText(QString());
    TArrayStringsTable section;
    for (++i; i < table.size(); ++i) {
        TStatementRecord &st = table[i];
        if (sameWord(st.text(), endWord)) {
            st.setText(QString());
            return section;
        }
        section.append(st);
        st.setText(QString());
    }
    TStatementRecord marker = section.isEmpty() ? TStatementRecord() : section.first();
    marker.setText(SectionUnterminated);
    marker.setLine(table.last().line());
    return {marker};
}
