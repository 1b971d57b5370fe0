#pragma once
// Lexical services of the script compiler: text normalisation, source line
// preparation, cutting files into statements, the tokenizer, rebuilding a
// statement from tokens and section extraction. All stateless, so any reader
// of the system's text files may use them without a compiler run.
#include "compilerlib.h"
#include "statementtable.h"

#include <QStringList>

class TLexer {
public:
    // Texts of the markers that ExtractSection returns instead of a section.
    static inline const QString SectionMissing = QStringLiteral("Error[3]");
    static inline const QString SectionUnterminated = QStringLiteral("Error[1]");
    static inline const QString TableTooShort = QStringLiteral("Error[4]");

    // Characters below 32 become blanks, blanks at both ends go; with
    // removeBlanks every blank goes.
    static void NormalizeText(QString &text, bool removeBlanks);

    // A source line as the statement reader sees it: normalised, a ";" after
    // every section word that lacks one, the "//" comment removed.
    static QString PrepareSourceLine(const QString &line);
    // The same into out, reusing its storage (for loops over many lines).
    static void PrepareSourceLine(QStringView line, QString &out);

    // Reads a program, function or listing file into statements. On a read
    // failure returns false with the message in *error.
    static bool ReadStatementTable(const QString &path, TArrayStringsTable &table, QString *error = nullptr);
    // The same for lines already in memory; path is recorded in each statement.
    static TArrayStringsTable SplitStatements(const QStringList &lines, const QString &path);

    static TStringArray SplitTokens(const QString &text);

    // Program statements: a blank only between two tokens that both start
    // with a word character, and between two "/" (never a "//" comment).
    static QString JoinTokens(const TStringArray &tokens);
    // Function body statements: no separator, except between two "/".
    static QString GlueTokens(const TStringArray &tokens);

    // Takes the statements between the statement startWord and the next
    // statement endWord, blanking them in table. A failure gives one marker
    // record whose text begins with "Error[".
    static TArrayStringsTable ExtractSection(TArrayStringsTable &table, const QString &startWord,
                                             const QString &endWord);
    // The same answer, leaving the table as it is.
    static TArrayStringsTable SectionOf(const TArrayStringsTable &table, const QString &startWord,
                                        const QString &endWord);
};
