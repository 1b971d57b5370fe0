#include "lexer.h"

#include "app/textfile.h"

namespace {

bool sameWord(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool startsWithWordChar(const QString &token) { return !token.isEmpty() && IsWordChar(token[0]); }

bool isSlash(const QString &token) { return token.size() == 1 && token[0] == u'/'; }

} // namespace

void TLexer::NormalizeText(QString &text, bool removeBlanks) { lexis::normalizeInPlace(text, removeBlanks); }

QString TLexer::PrepareSourceLine(const QString &line) { return lexis::prepareSourceLine(line); }

void TLexer::PrepareSourceLine(QStringView line, QString &out) { lexis::prepareSourceLine(line, out); }

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
        lexis::prepareSourceLine(lines[li], prepared);
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

TStringArray TLexer::SplitTokens(const QString &text) { return lexis::splitTokens(text); }

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
