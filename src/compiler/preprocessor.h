#pragma once
// Preprocessing of one device program file: labels get unique names, calls
// of functions ("$name(args)") are replaced by the function bodies, and the
// result is written as the statement listing and the position file.
#include "lexer.h"

#include <QHash>
#include <QStringList>

struct TPreprocessFailure {
    QString message;
    TStatementRecord at; // the statement concerned; empty when the whole file is
};

class TPreprocessor {
public:
    enum Status { Ok = 0, Failed = 1, TooShort = 2 };

    // Expansion stops here: a device cannot address more code lines than
    // this, so a longer program is a runaway expansion, not a real one.
    static constexpr int MaxStatements = 65536;

    // functionFolder: where "name.pf" files are looked up; empty means the
    // current directory.
    explicit TPreprocessor(const QString &functionFolder) : functionFolder_(functionFolder) {}

    Status PreprocessProgram(const QString &programPath);

    // Program files already read in this compile run, by path: a program
    // found here is taken out and used instead of reading its file.
    void setReadPrograms(QHash<QString, TArrayStringsTable> *programs) { readPrograms_ = programs; }

    // The body of a function call with its parameters bound and its labels
    // renamed from labelCounter on. A missing or malformed function gives
    // one statement "0", "1" or "2". Empty only when the function file
    // exists but cannot be read (failure() tells why).
    TArrayStringsTable ExpandFunctionCall(const QString &callText, int &labelCounter);

    // The statements of the last listing written, as its position records
    // hold them (lower-cased texts, recorded paths); empty after a failure.
    const TArrayStringsTable &listed() const { return listed_; }

    // Why the last operation failed (also set for TooShort).
    const TPreprocessFailure &failure() const { return failure_; }

    QString FunctionPath(const QString &name) const;

private:
    struct FunctionFile {
        QString path; // as found on disk
        bool exists = false;
        QString readError; // set when it exists but cannot be read
        TArrayStringsTable statements;
    };
    const FunctionFile &functionFile(const QString &path);
    QString findCaseInsensitive(const QString &path);
    bool expandCalls(TArrayStringsTable &table, int &labelCounter);
    bool fail(const QString &message, const TStatementRecord &at = {});

    QString functionFolder_;
    QHash<QString, TArrayStringsTable> *readPrograms_ = nullptr;
    TArrayStringsTable listed_;
    // A function used many times in one program is read once.
    QHash<QString, FunctionFile> functions_;
    // Lower-cased file name -> file name in the function folder, read once.
    QHash<QString, QString> folderNames_;
    bool folderListed_ = false;
    TPreprocessFailure failure_;
};
