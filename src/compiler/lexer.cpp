#include "lexer.h"

#include "app/textfile.h"

#include <optional>

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

namespace {

// Where a section lies: the indexes of its start and end statements, or the
// marker that stands for it.
struct SectionPlace {
    qsizetype start = -1, end = -1;
    std::optional<TStatementRecord> marker;
};

SectionPlace locateSection(const TArrayStringsTable &table, const QString &startWord, const QString &endWord) {
    SectionPlace place;
    if (table.size() < 3) {
        place.marker = TStatementRecord(QString(), 0, TLexer::TableTooShort);
        return place;
    }
    qsizetype i = 0;
    while (i < table.size() && !sameWord(table[i].text(), startWord))
        ++i;
    if (i == table.size()) {
        TStatementRecord marker = table.first();
        marker.setText(TLexer::SectionMissing);
        marker.setLine(0);
        place.marker = marker;
        return place;
    }
    place.start = i;
    for (++i; i < table.size(); ++i)
        if (sameWord(table[i].text(), endWord)) {
            place.end = i;
            return place;
        }
    TStatementRecord marker = place.start + 1 < table.size() ? table[place.start + 1] : TStatementRecord();
    marker.setText(TLexer::SectionUnterminated);
    marker.setLine(table.last().line());
    place.marker = marker;
    return place;
}

} // namespace

TArrayStringsTable TLexer::SectionOf(const TArrayStringsTable &table, const QString &startWord,
                                     const QString &endWord) {
    const SectionPlace place = locateSection(table, startWord, endWord);
    if (place.marker)
        return {*place.marker};
    return table.mid(place.start + 1, place.end - place.start - 1);
}

TArrayStringsTable TLexer::ExtractSection(TArrayStringsTable &table, const QString &startWord,
                                          const QString &endWord) {
    const SectionPlace place = locateSection(table, startWord, endWord);
    TArrayStringsTable section;
    if (!place.marker)
        section = table.mid(place.start + 1, place.end - place.start - 1);
    // An unterminated section is blanked to the end of the table.
    const qsizetype last = place.end >= 0 ? place.end : table.size() - 1;
    if (place.start >= 0)
        for (qsizetype i = place.start; i <= last; ++i)
            table[i].setText(QString());
    if (place.marker)
        return {*place.marker};
    return section;
}
