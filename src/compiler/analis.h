#pragma once
// The script compiler. One object serves one compile run; its lexical
// services (inherited from TLexer) keep no state and may be used by anyone.
// Declarations and statement compilation are added to this class by their
// own source files.
#include "lexer.h"
#include "preprocessor.h"

class TAnalis : public TLexer {
public:
    // Folder of the project's function files; empty means the current
    // directory, which opening a project makes the project folder.
    void SetProjectFolder(const QString &folder) { FProjectFolder = folder; }
    const QString &ProjectFolder() const { return FProjectFolder; }

    // Writes the statement listing (path + "c") and the statement position
    // file (path + "l") of a program file. Ok (0): both written; TooShort
    // (2): fewer than three statements, nothing written; Failed (1): a file
    // could not be read or written, or function expansion ran away.
    // Whenever it is not Ok, no listing of the program is left behind and
    // PreprocessFailure() tells why.
    TPreprocessor::Status PreprocessProgram(const QString &programPath);

    // The statements that replace one function call (see TPreprocessor).
    // labelCounter is the running label number of the program being
    // preprocessed. Empty only when the function file cannot be read.
    TArrayStringsTable ExpandFunctionCall(const QString &callText, int &labelCounter);

    const TPreprocessFailure &PreprocessFailure() const { return FPreprocessFailure; }

private:
    QString FProjectFolder;
    TPreprocessFailure FPreprocessFailure;
};
